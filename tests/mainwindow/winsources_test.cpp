// The Windows sources on the real main window, hidden.
#include <windows.h>

#include <gtest/gtest.h>

#include "busystate.h"
#include "commandstate.h"
#include "cshelllink.h"
#include "dialogforms.h"
#include "frmmain.h"
#include "frmmessage.h"
#include "frmzoom.h"
#include "loadedwindow.h"
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

class WindowsSources : public mwtest::LoadedMainWindow {
protected:
    void TearDown() override {
        DeleteFileA(link.c_str());
        LoadedMainWindow::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    }
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
    // The search message is gone; the first item's path stands there.
    EXPECT_NE(w.MessagePanel->Text(), "Searching for shortcuts, please wait...");
    EXPECT_NE(w.MessagePanel->Text(), "");
    EXPECT_TRUE(IsIdle(w.browserWindow));

    // An empty listing leaves the busy state too.
    DeleteFileA(link.c_str());
    procSearchShortcuts(w, "Nowhere");
    EXPECT_EQ(w.pnlResult.ListItems.Count(), 0);
    EXPECT_TRUE(IsIdle(w.browserWindow));
    EXPECT_TRUE(w.pnlNav.Enabled());
}

// The hotspot step in front of every cursor write, here as the create-icon
// window reaches it.
class HotSpot : public WindowsSources {
protected:
    std::vector<std::string> shown; // "<form>:<caption>" of each modal show
    bool pickerInHotSpotMode = false;

    void SetUp() override {
        WindowsSources::SetUp();
        silence("");
        Form::scriptedModal = [this](Form& f) {
            shown.push_back(f.Name() + ":" + f.Caption());
            if (&f == &shell::frmMessage()) {
                shell::frmMessage().cmdRestart.Click();
                return;
            }
            // The picker: the user clicks the cursor's tip.
            pickerInHotSpotMode = Commands.HotSpotMode;
            Commands.CursorHotSpotX = 3;
            Commands.CursorHotSpotY = 9;
            f.Unload();
        };
    }
    void TearDown() override {
        Form::scriptedModal = nullptr;
        if (frmZoom().IsLoaded()) frmZoom().Unload();
        Commands.HotSpotMode = false;
        WindowsSources::TearDown();
    }
    static void silence(const char* value) {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "NoCursorChange", Variant(value), REG_SZ);
    }
};

TEST_F(HotSpot, TheNoticeComesFirstUntilSilencedThenThePicker) {
    ASSERT_TRUE(toolsHost.setHotSpot);
    toolsHost.setHotSpot();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "frmMessage:Change Cursors");
    EXPECT_EQ(shown[1].substr(0, 8), "frmZoom:");
    EXPECT_TRUE(pickerInHotSpotMode);
    EXPECT_FALSE(Commands.HotSpotMode);
    EXPECT_EQ(Commands.CursorHotSpotX, 3);
    EXPECT_EQ(Commands.CursorHotSpotY, 9);

    shown.clear();
    silence("1");
    toolsHost.setHotSpot();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 8), "frmZoom:");
    EXPECT_FALSE(Commands.HotSpotMode);
}

TEST_F(HotSpot, AnOpenZoomWindowMakesWayForThePicker) {
    silence("1");
    frmZoom().Show(vbModeless);
    ASSERT_TRUE(Commands.ZoomWindowOpen);
    procSetHotSpot(&frmMain());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(frmZoom().IsLoaded());
    EXPECT_FALSE(Commands.ZoomWindowOpen);
}
