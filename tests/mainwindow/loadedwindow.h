#pragma once
// The real main window loaded, hidden, against the private prefix's registry
// with no stored settings, the seam scripted and a scratch program folder.
#include <gtest/gtest.h>

#include "frmmain.h"
#include "scratch.h"

namespace mwtest {

class LoadedMainWindow : public ::testing::Test {
protected:
    void SetUp() override;
    // Unloads the window and the companions an unload from code leaves loaded.
    void TearDown() override;
    // Runs before the window loads (write files, store settings).
    virtual void prepare() {}
    static vm::FrmMain& w() { return vm::frmMain(); }
    vmtest::ScratchDir dir;
};

} // namespace mwtest
