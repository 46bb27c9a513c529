#pragma once
// The export tests' hidden form as the viewers' host, the seam scripted and
// the shared state fresh for each test.
#include <gtest/gtest.h>

#include "exportform.h"
#include "scratch.h"

namespace viewertest {

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The requests of one kind ("MsgBox", "Start" ...) in the order made.
    std::vector<vm::SeamRequest> requestsOf(const std::string& kind);

    exporttest::FrmExport form;
    vm::ExportWindow w;
    vmtest::ScratchDir scratch;
};

} // namespace viewertest
