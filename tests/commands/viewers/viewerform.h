#pragma once
// The export tests' hidden form as the viewers' host, the seam scripted and
// the shared state fresh for each test.
#include <gtest/gtest.h>

#include "exportform.h"
#include "scratch.h"

namespace viewertest {

class ViewerTest : public exporttest::ExportFormTest {
protected:
    void SetUp() override;
    void TearDown() override;

    vmtest::ScratchDir scratch;
};

} // namespace viewertest
