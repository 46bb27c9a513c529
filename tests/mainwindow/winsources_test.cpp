// The Windows sources on the real main window, hidden.
#include <windows.h>

#include <gtest/gtest.h>

#include "busystate.h"
#include "commandstate.h"
#include "cshelllink.h"
#include "dialogforms.h"
#include "frmmain.h"
#include "frmmessage.h"
#include "ico_fixtures.h"
#include "scratch.h"
#include "seam.h"
#include "registry.h"
#include "shellfolders.h"
#include "state.h"
#include "toolshost.h"
#include "winsources.h"

using namespace vm;

namespace {

class WindowsSources : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
        paths.DataPath = dir.path() + "\\";
        Seam::get().setScripted(true);
        FrmMain::endProcess = [] {};
        runState.SplashActive = true;
        Busy.AbortRequested = false;
        frmMain().Load();
    }
    void TearDown() override {
        DeleteFileA(link.c_str());
        if (frmMain().IsLoaded()) frmMain().Unload(vbFormCode);
        SetCurrentDirectoryA("C:\\");
        for (Form* f : std::initializer_list<Form*>{&frmAdd(), &frmKey(), &shell::frmMessage()})
            if (f->IsLoaded()) f->Unload();
        Seam::get().reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    }
    vmtest::ScratchDir dir;
    std::string link = SpecialFolders().GetSpecialFolder(16) + "Vellumar Window Test.lnk";
};

} // namespace

TEST_F(WindowsSources, DesktopShortcutsListOnTheWindowWhichEndsIdleEvenWithNone) {
    FrmMain& w = frmMain();
    const std::string icon = dir.file("tool.ico");
    ASSERT_TRUE(vmtest::writeFile(icon, vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 24, 5)})));
    ShellLinkInfo info;
    info.target = icon;
    ASSERT_EQ(cShellLink().Write(link, info), S_OK);
    w.cmbSearch.SetText("arrow");

    procSearchShortcuts(w, "Desktop");
    bool found = false;
    for (int i = 1; i <= w.pnlResult.ListItems.Count(); ++i)
        if (w.pnlResult.ListItems(i).Text() == "Vellumar Window Test") found = true;
    EXPECT_TRUE(found);
    EXPECT_EQ(w.cmbSearch.Text(), "");
    EXPECT_EQ(w.MessagePanel->Text(), "");
    EXPECT_TRUE(IsIdle(w.browserWindow));

    // An empty listing leaves the busy state too.
    DeleteFileA(link.c_str());
    procSearchShortcuts(w, "Nowhere");
    EXPECT_EQ(w.pnlResult.ListItems.Count(), 0);
    EXPECT_TRUE(IsIdle(w.browserWindow));
    EXPECT_TRUE(w.pnlNav.Enabled());
}

TEST_F(WindowsSources, TheCreateIconWindowPicksTheHotspotThroughTheWindow) {
    ASSERT_TRUE(toolsHost.setHotSpot);
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "NoCursorChange", Variant("1"), REG_SZ);
    bool picked = false;
    Form::scriptedModal = [&](Form& f) {
        picked = Commands.HotSpotMode && f.Name() == "frmZoom";
        f.Unload();
    };
    toolsHost.setHotSpot();
    Form::scriptedModal = nullptr;
    EXPECT_TRUE(picked);
    EXPECT_FALSE(Commands.HotSpotMode);
}
