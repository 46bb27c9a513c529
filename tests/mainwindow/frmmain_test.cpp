// The real main window, hidden, against the private prefix's registry and a
// scratch program folder.
#include <windows.h>

#include <gtest/gtest.h>

#include "browserstate.h"
#include "dialogforms.h"
#include "frmmain.h"
#include "frmmessage.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"

using namespace vm;

namespace {
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
        paths.DataPath = dir.path() + "\\";
        Seam::get().setScripted(true);
        FrmMain::endProcess = [] {};
        runState.SplashActive = true;
        frmMain().Load();
    }
    void TearDown() override {
        if (frmMain().IsLoaded()) frmMain().Unload(vbFormCode);
        // The window's companions stay loaded after an unload from code.
        for (Form* f : std::initializer_list<Form*>{&frmAdd(), &frmKey(), &shell::frmMessage()})
            if (f->IsLoaded()) f->Unload();
        Seam::get().reset();
    }
    vmtest::ScratchDir dir;
};
} // namespace

TEST_F(MainWindow, LayoutAndViewSurviveARestart) {
    FrmMain& w = frmMain();
    EXPECT_EQ(w.pnlStatusbar.Panels.Count(), 4);
    EXPECT_EQ(w.pnlCoolBar.Bands.Count(), 4);
    w.mnuViewStatusBar_Click();
    w.mnuViewIconFormat_Click();
    w.mnuViewDetails_Click();
    w.pnlResult.ColumnHeaders(2).SetWidth(3000);
    w.pnlCoolBar.Bands(2).SetVisible(false);
    w.picSplitV_MouseMove(1, 0, 0, 0); // not dragging: nothing moves
    int navWidth = w.pnlNav.Width();
    w.mnuFileExit_Click();
    ASSERT_FALSE(w.IsLoaded());

    w.Load();
    EXPECT_FALSE(w.mnuViewStatusBar.Checked());
    EXPECT_FALSE(w.pnlStatusbar.Visible());
    EXPECT_FALSE(w.mnuViewIconFormat.Checked());
    EXPECT_FALSE(w.grdIcons.Visible());
    EXPECT_TRUE(w.mnuViewDetails.Checked());
    EXPECT_EQ(w.pnlResult.View(), lvwReport);
    EXPECT_EQ(w.pnlResult.ColumnHeaders(2).Width(), w.pnlDummy.ColumnHeaders(2).Width());
    EXPECT_NEAR(w.pnlResult.ColumnHeaders(2).Width(), 3000, 15);
    EXPECT_FALSE(w.pnlCoolBar.Bands(2).Visible());
    EXPECT_FALSE(w.mnuViewToolbarYour.Checked());
    EXPECT_NEAR(w.pnlNav.Width(), navWidth, 15);
}

TEST_F(MainWindow, StatusBarAndDetailPaneToggleGiveAndTakeHeight) {
    FrmMain& w = frmMain();
    int result = w.pnlResult.Height(), bar = w.pnlStatusbar.Height();
    w.mnuViewStatusBar_Click();
    EXPECT_NEAR(w.pnlResult.Height(), result + bar, 15);
    w.mnuViewStatusBar_Click();
    EXPECT_NEAR(w.pnlResult.Height(), result, 15);
    ASSERT_TRUE(w.grdIcons.Visible());
    w.mnuViewIconFormat_Click();
    EXPECT_FALSE(w.grdIcons.Visible());
    EXPECT_NEAR(w.pnlNav.Height(), w.pnlResult.Height() - 2 * TwipsPerPixelY(), 15);
    w.mnuViewIconFormat_Click();
    EXPECT_TRUE(w.grdIcons.Visible());
    EXPECT_LT(w.pnlNav.Height(), w.pnlResult.Height());
}

TEST_F(MainWindow, ClearingDisablesTheItemCommandsAndStopsTheLed) {
    FrmMain& w = frmMain();
    MenuItem* items[] = {&w.mnuFileProperties, &w.mnuEditCopy, &w.mnuFileSaveAs, &w.mnuRefAdd, &w.mnuFileExtract};
    for (MenuItem* m : items) m->SetEnabled(true);
    w.mnuResultClickPlay.SetVisible(true);
    w.mnuFileOpen.SetEnabled(true);
    w.pnlToolbar.Buttons("copy").SetEnabled(true);
    w.pnlToolbar.Buttons("nextpage").SetEnabled(true);
    w.mnuGoNextPage.SetEnabled(true);
    w.tmrLed.SetEnabled(true);

    w.tmrLed_Timer();
    bool lit = w.LedLit;
    w.tmrLed_Timer();
    EXPECT_NE(w.LedLit, lit);

    w.procClearResult();
    for (MenuItem* m : items) EXPECT_FALSE(m->Enabled());
    EXPECT_FALSE(w.mnuResultClickPlay.Visible());
    EXPECT_TRUE(w.mnuFileOpen.Enabled()); // not an item command
    EXPECT_FALSE(w.pnlToolbar.Buttons("copy").Enabled());
    EXPECT_TRUE(w.pnlToolbar.Buttons("open").Enabled());
    EXPECT_FALSE(w.pnlToolbar.Buttons("nextpage").Enabled());
    EXPECT_FALSE(w.mnuGoNextPage.Enabled());
    EXPECT_FALSE(w.tmrLed.Enabled());
}

TEST_F(MainWindow, EscRequestsAbortAndCancelledColourChangesNothing) {
    FrmMain& w = frmMain();
    Busy.AbortRequested = false;
    PostMessageA(w.pnlResult.hWnd(), WM_CHAR, 27, 0);
    DoEvents();
    EXPECT_TRUE(Busy.AbortRequested);

    OleColor before = w.pnlResult.BackColor();
    Seam::get().queueCancel();
    w.mnuViewBackcolor_Click();
    EXPECT_EQ(w.pnlResult.BackColor(), before);
    Seam::get().queueCode(static_cast<int>(RGB(10, 20, 30)));
    w.mnuViewBackcolor_Click();
    EXPECT_EQ(w.pnlResult.BackColor(), RGB(10, 20, 30));
    EXPECT_EQ(w.pnlDummy.BackColor(), RGB(10, 20, 30));
}
