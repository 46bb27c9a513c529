// The real main window, hidden, against the private prefix's registry and a
// scratch program folder.
#include <windows.h>

#include <gtest/gtest.h>

#include "browserstate.h"
#include "commandstate.h"
#include "dialogforms.h"
#include "frmmain.h"
#include "frmmessage.h"
#include "frmzoom.h"
#include "ico_fixtures.h"
#include "zipwriter.h"
#include "libfixtures.h"
#include "loadedwindow.h"
#include "registry.h"
#include "scratch.h"
#include "startpaths.h"
#include "seam.h"
#include "startfolders.h"
#include "state.h"
#include "patience.h"

using namespace vm;

namespace {
// The tests write the program's settings into the registry of the prefix the
// program itself may be started from later; it must not inherit them.
class ForgetSettings : public ::testing::Environment {
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar"); }
};
const auto* const forgetSettings = ::testing::AddGlobalTestEnvironment(new ForgetSettings);

using MainWindow = mwtest::LoadedMainWindow;
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

TEST_F(MainWindow, FirstStartShowsTheWholeStandardToolbarCentred) {
    FrmMain& w = frmMain();
    RECT last{}, client{};
    const HWND bar = w.pnlToolbar.hWnd();
    SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0) - 1),
                 reinterpret_cast<LPARAM>(&last));
    MapWindowPoints(bar, w.hWnd(), reinterpret_cast<POINT*>(&last), 2);
    GetClientRect(w.hWnd(), &client);
    EXPECT_LE(last.right, client.right); // "Exit" is the last button
    EXPECT_LE(w.Width() / TwipsPerPixelX(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_NEAR(w.Left() + w.Width() / 2, GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX() / 2, 2 * TwipsPerPixelX());
}

TEST_F(MainWindow, SessionEndSavesWhatTheNextStartShows) {
    FrmMain& w = frmMain();
    const OleColor back = w.pnlResult.BackColor(); // a system colour
    ASSERT_TRUE(w.mnuViewToolbarTextLabels.Checked());
    w.mnuViewDetails_Click();
    w.pnlCoolBar.Bands(2).SetVisible(false);
    SendMessageA(w.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageA(w.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    ASSERT_FALSE(w.IsLoaded());

    w.Load();
    EXPECT_TRUE(w.mnuViewToolbarTextLabels.Checked());
    EXPECT_EQ(w.pnlToolbar.Buttons("firstpage").Caption(), "First");
    EXPECT_TRUE(w.mnuViewStatusBar.Checked());
    EXPECT_TRUE(w.pnlStatusbar.Visible());
    EXPECT_EQ(w.pnlResult.BackColor(), back);
    EXPECT_TRUE(w.mnuViewDetails.Checked());
    EXPECT_FALSE(w.pnlCoolBar.Bands(2).Visible());
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
    // Idle, Esc leaves nothing behind that would wipe the next listing.
    PostMessageA(w.pnlResult.hWnd(), WM_CHAR, 27, 0);
    DoEvents();
    EXPECT_FALSE(Busy.AbortRequested);
    // Busy, it stops the work.
    w.pager().procSetAbort(false);
    EXPECT_TRUE(w.pnlToolbar.Buttons("abort").Enabled());
    PostMessageA(w.pnlResult.hWnd(), WM_CHAR, 27, 0);
    DoEvents();
    EXPECT_TRUE(Busy.AbortRequested);
    w.pager().procSetAbort(true);
    Busy.AbortRequested = false;
    EXPECT_FALSE(w.pnlToolbar.Buttons("abort").Enabled());

    OleColor before = w.pnlResult.BackColor();
    Seam::get().queueCancel();
    w.mnuViewBackcolor_Click();
    EXPECT_EQ(w.pnlResult.BackColor(), before);
    Seam::get().queueCode(static_cast<int>(RGB(10, 20, 30)));
    w.mnuViewBackcolor_Click();
    EXPECT_EQ(w.pnlResult.BackColor(), RGB(10, 20, 30));
    EXPECT_EQ(w.pnlDummy.BackColor(), RGB(10, 20, 30));
}

TEST_F(MainWindow, AtStartUpHandedOverPathsWaitUntilTheWindowShows) {
    FrmMain& w = frmMain();
    w.Unload();
    ASSERT_FALSE(w.IsLoaded());
    w.LoadUnseen(); // as during the splash's second
    ASSERT_TRUE(w.LoadComplete());
    vmtest::ScratchDir handed;
    const std::string icon = handed.file("a.ico");
    ASSERT_TRUE(vmtest::writeFile(icon, vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 8)})));
    std::string text = "\"" + icon + "\"";
    COPYDATASTRUCT cds{0, static_cast<DWORD>(text.size()), text.data()};
    SendMessageA(w.hWnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    for (int i = 0; i < 3; ++i) DoEvents();
    EXPECT_EQ(w.pnlResult.ListItems.Count(), 0);

    w.ShowLoaded();
    vmtest::waitUntil([&] { return w.pnlResult.ListItems.Count() > 0; }, [] { DoEvents(); });
    EXPECT_TRUE(IsWindowVisible(w.hWnd()));
    ASSERT_EQ(w.pnlResult.ListItems.Count(), 1);
    EXPECT_EQ(w.pnlResult.ListItems(1).Text(), "a.ico");
}

TEST_F(MainWindow, HandOverDuringAListingWaitsWithoutStallingIt) {
    FrmMain& w = frmMain();
    vmtest::ScratchDir handed;
    const std::string folder = handed.file("my icons");
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(folder + "\\a.ico", vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 8)})));
    ASSERT_TRUE(vmtest::writeFile(folder + "\\readme.txt", "not an icon"));
    runState.PassedFile.clear();
    Entries.cmbResult.AddItem("1:0:01");
    w.pnlResult.ListItems.Add(-1, "", "earlier");
    w.pager().procSetAbort(false);
    std::string text = "\"" + folder + "\"";
    COPYDATASTRUCT cds{0, static_cast<DWORD>(text.size()), text.data()};
    SendMessageA(w.hWnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    // The listing's own message pumping must come back while the paths wait.
    for (int i = 0; i < 5; ++i) {
        DoEvents();
        Sleep(100);
    }
    EXPECT_EQ(w.pnlResult.ListItems.Count(), 1);
    EXPECT_EQ(w.pnlResult.ListItems(1).Text(), "earlier");
    w.pager().procSetAbort(true);
    vmtest::waitUntil([&] { return w.pnlResult.ListItems(1).Text() != "earlier"; }, [] { DoEvents(); });
    // The earlier listing gave way to the folder's icon files, and the window is idle again.
    ASSERT_EQ(Entries.lstFiles.ListCount(), 1);
    EXPECT_EQ(Entries.lstFiles.List(0), folder + "\\a.ico");
    ASSERT_EQ(w.pnlResult.ListItems.Count(), 1);
    EXPECT_EQ(w.pnlResult.ListItems(1).Text(), "a.ico");
    EXPECT_EQ(w.pnlResult.ListItems(1).SubItems(2), "File");
    EXPECT_TRUE(runState.PassedFile.empty());
    EXPECT_TRUE(w.mnuFile.Enabled());
}

namespace {
// The window over the sample library, three icons a page.
class LibraryWindow : public MainWindow {
protected:
    void prepare() override {
        vmtest::writeSampleLibrary(dir.path());
        shell::procPrepareDataFolder(); // the cache folders the library icons pass through
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "IconsPerPage32", Variant(std::string("3")), REG_SZ);
    }
    static std::string panel(const char* key) { return frmMain().pnlStatusbar.Panels(key).Text(); }
    static int keywordIndex(const std::string& keyword) {
        ComboBox& box = frmMain().cmbSearch;
        for (int i = 0; i < box.ListCount(); ++i)
            if (box.List(i) == keyword) return i;
        return -1;
    }
};
} // namespace

TEST_F(LibraryWindow, KeywordListsPagesAndASelectedIconShowsItsFormats) {
    FrmMain& w = frmMain();
    ASSERT_TRUE(IsIdle(w.browserWindow));
    EXPECT_FALSE(w.mnuGoNextPage.Enabled()); // no list yet
    const int boat = keywordIndex("boat");
    ASSERT_GE(boat, 0);
    w.cmbSearch.SetListIndex(boat);

    // Five icons, three a page: page 1 filled and its first item selected.
    EXPECT_EQ(panel("area"), "Page 1 of 2");
    EXPECT_EQ(panel("count"), "5 Icon(s)");
    ASSERT_EQ(w.pnlResult.ListItems.Count(), 3);
    EXPECT_EQ(w.imlResult32.ListImages.Count(), 3);
    EXPECT_EQ(w.pnlResult.ListItems(1).Text(), "boat");
    EXPECT_FALSE(w.pnlResult.ListItems(1).SubItems(1).empty()); // type
    EXPECT_EQ(w.pnlResult.ListItems(1).SubItems(2).rfind("Vellumar", 0), 0u); // origin
    EXPECT_EQ(w.pnlResult.SelectedItem(), &w.pnlResult.ListItems(1));
    EXPECT_GT(w.grdIcons.ItemCount(), 0);
    EXPECT_TRUE(w.mnuFileSaveAs.Enabled());
    EXPECT_TRUE(IsIdle(w.browserWindow));

    // The toolbar, the menu, the page keys and the page menus all page.
    EXPECT_TRUE(w.pnlToolbar.Buttons("nextpage").Enabled());
    EXPECT_FALSE(w.pnlToolbar.Buttons("prevpage").Enabled());
    EXPECT_TRUE(w.mnuGoToPageNr(2).Visible());
    EXPECT_EQ(w.mnuGoToPageNr(1).Caption(), "1");
    w.mnuGoNextPage.Click();
    EXPECT_EQ(panel("area"), "Page 2 of 2");
    EXPECT_EQ(w.pnlResult.ListItems.Count(), 2);
    EXPECT_FALSE(w.mnuGoNextPage.Enabled());
    EXPECT_TRUE(w.pnlToolbar.Buttons("firstpage").Enabled());
    w.mnuGoToPageNr(1).Click();
    EXPECT_EQ(panel("area"), "Page 1 of 2");
    w.mnuGoBarToPageNr(2).Click();
    EXPECT_EQ(panel("area"), "Page 2 of 2");
    w.pnlStatusbar.PanelClick(w.pnlStatusbar.Panels("area"));
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().kind, "PopupMenu");
    w.mnuGoFirstPage.Click();
    EXPECT_EQ(panel("area"), "Page 1 of 2");

    // A click on an item: the status bar shows its origin and type, the grid its formats.
    Commands.DetailPaneActive = true;
    ListItem& second = w.pnlResult.ListItems(2);
    w.pnlResult.SetSelectedItem(&second);
    w.grdIcons.Clear();
    w.pnlResult.ItemClick(second);
    EXPECT_FALSE(Commands.DetailPaneActive);
    EXPECT_EQ(panel("message"), second.SubItems(2));
    EXPECT_EQ(panel("type"), second.SubItems(1));
    EXPECT_GT(w.grdIcons.ItemCount(), 0);

    // A right click selects the item under the pointer before its menu opens.
    RECT box{};
    box.left = LVIR_BOUNDS;
    SendMessageA(w.pnlResult.hWnd(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&box));
    const float x = static_cast<float>((box.left + box.right) / 2 * TwipsPerPixelX());
    const float y = static_cast<float>((box.top + box.bottom) / 2 * TwipsPerPixelY());
    w.pnlResult.MouseDown(vbRightButton, 0, x, y);
    EXPECT_EQ(w.pnlResult.SelectedItem(), &w.pnlResult.ListItems(3));
    EXPECT_EQ(panel("type"), w.pnlResult.ListItems(3).SubItems(1));
    EXPECT_EQ(Seam::get().requests().back().kind, "PopupMenu");
}

TEST_F(MainWindow, TipOfTheDayStepsInARingAndRemembersTheNextTip) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "TipNr", Variant(std::int32_t{29}), REG_DWORD);
    FrmTip& tip = frmTip();
    tip.Load();
    EXPECT_EQ(tip.chkTip.Value(), vbChecked); // missing "Tip": tips show at start-up
    EXPECT_EQ(tip.txtTitle.Caption(), "Tip 29 of 29. ZIP Archives");
    EXPECT_FALSE(tip.txtTip.Text().empty());
    tip.cmdNextTip_Click();
    EXPECT_EQ(tip.txtTitle.Caption(), "Tip 1 of 29. Change Icons");
    tip.chkTip.SetValue(vbUnchecked);
    tip.cmdOK_Click();
    EXPECT_FALSE(tip.IsLoaded());
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "TipNr");
    EXPECT_EQ(reg.RegValue.toLong(), 2);
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "Tip");
    EXPECT_EQ(reg.RegValue.toText(), "0");
}

namespace {
std::string stored(const char* key, const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, key, name);
    return reg.RegValue.isEmpty() ? "<missing>" : reg.RegValue.toText();
}
size_t countRequests(const char* kind, const std::string& title = "") {
    size_t n = 0;
    for (const SeamRequest& r : Seam::get().requests())
        if (r.kind == kind && (title.empty() || r.title == title)) ++n;
    return n;
}
} // namespace

TEST_F(MainWindow, ProgramEndAsksOnceSavesTheDialogPlacesAndEmptiesTheChunkCaches) {
    FrmMain& w = frmMain();
    for (const char* size : {"16", "32"}) {
        std::string cache = dir.path() + "\\Temp" + size;
        CreateDirectoryA(cache.c_str(), nullptr);
        vmtest::writeFile(cache + "\\1.lib", "chunk");
    }
    vmtest::writeFile(dir.path() + "\\Temp32\\keep.txt", "not a chunk");
    frmKey().Move(1230, 945);
    runState.SystemIconsChanged = true;
    Seam::get().queueCode(vbNo);

    w.mnuFileExit_Click();
    EXPECT_FALSE(w.IsLoaded());
    const char* rebuild = "Rebuild Windows Icon Cache";
    ASSERT_EQ(countRequests("MsgBox", rebuild), 1u);
    for (const SeamRequest& r : Seam::get().requests())
        if (r.title == rebuild) {
            EXPECT_EQ(r.style, vbYesNo | vbExclamation);
        }
    EXPECT_FALSE(runState.SystemIconsChanged); // No drops the reminder
    EXPECT_FALSE(vmtest::fileExists(dir.path() + "\\Temp16\\1.lib"));
    EXPECT_FALSE(vmtest::fileExists(dir.path() + "\\Temp32\\1.lib"));
    EXPECT_TRUE(vmtest::fileExists(dir.path() + "\\Temp32\\keep.txt"));
    EXPECT_EQ(stored(kPosKey, "KeyLeft"), "1230");
    EXPECT_EQ(stored(kPosKey, "KeyTop"), "945");
    EXPECT_NE(stored(kPosKey, "AddTop"), "<missing>");
    EXPECT_EQ(stored(kSettingsKey, "SingleSel"), "False");
    EXPECT_EQ(stored(kSettingsKey, "IconDatamode"), "1");
    EXPECT_FALSE(frmKey().IsLoaded());
    EXPECT_FALSE(frmAdd().IsLoaded());

    // It runs once a process: a later call asks nothing and writes nothing.
    runState.SystemIconsChanged = true;
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    w.procEndProgram();
    EXPECT_EQ(countRequests("MsgBox", rebuild), 1u);
    EXPECT_EQ(stored(kSettingsKey, "IconDatamode"), "<missing>");
    runState.SystemIconsChanged = false;
}

TEST_F(MainWindow, SessionEndDoesNotAskToRebuild) {
    FrmMain& w = frmMain();
    runState.SystemIconsChanged = true;
    SendMessageA(w.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageA(w.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_EQ(countRequests("MsgBox", "Rebuild Windows Icon Cache"), 0u);
    EXPECT_NE(stored(kSettingsKey, "IconDatamode"), "<missing>");
    runState.SystemIconsChanged = false;
}

TEST_F(MainWindow, ToolbarButtonsOpenViewAndZoom) {
    FrmMain& w = frmMain();
    std::vector<std::string> opened;
    w.mnuFileOpen.Click = [&] { opened.push_back("file " + stored(kSettingsKey, "LastOpen")); };
    w.mnuFileOpenDir.Click = [&] { opened.push_back("folder " + stored(kSettingsKey, "LastOpen")); };
    Toolbar& bar = w.pnlToolbar;
    bar.ButtonClick(bar.Buttons("open"));
    bar.ButtonMenuClick(bar.Buttons("open").ButtonMenus("openfile"));
    bar.ButtonMenuClick(bar.Buttons("open").ButtonMenus("opendir"));
    bar.ButtonClick(bar.Buttons("open"));
    w.mnuFileOpen.Click = nullptr;
    w.mnuFileOpenDir.Click = nullptr;
    // "by File..." stores the mode before its dialog, "by Folder..." after its command.
    EXPECT_EQ(opened, (std::vector<std::string>{"file <missing>", "file File", "folder File", "folder Folder"}));

    ASSERT_TRUE(w.mnuViewLargeIcons.Checked());
    bar.ButtonClick(bar.Buttons("view"));
    EXPECT_EQ(w.pnlResult.View(), lvwList);
    EXPECT_TRUE(w.mnuResultClickViewList.Checked());
    bar.ButtonClick(bar.Buttons("view"));
    EXPECT_EQ(w.pnlDummy.View(), lvwReport);
    bar.ButtonClick(bar.Buttons("view"));
    EXPECT_EQ(w.pnlResult.View(), lvwIcon);
    EXPECT_FALSE(w.mnuViewDetails.Checked());

    bar.ButtonMenuClick(bar.Buttons("zoom").ButtonMenus("zoom10"));
    EXPECT_EQ(Commands.ZoomFactor, 10);
    EXPECT_TRUE(Commands.ZoomWindowOpen);
    bar.ButtonClick(bar.Buttons("zoom")); // opens afresh at the same factor
    EXPECT_TRUE(Commands.ZoomWindowOpen);
    EXPECT_EQ(frmZoom().Caption(), "Zoom 10:1");
    frmZoom().Unload();

    bar.ButtonClick(bar.Buttons("help"));
    w.mnuGoHomePage.Click();
    w.mnuGoMail.Click();
    const auto& asked = Seam::get().requests();
    ASSERT_GE(asked.size(), 3u);
    EXPECT_EQ(asked[asked.size() - 3].kind, "HtmlHelp");
    EXPECT_EQ(asked[asked.size() - 3].prompt, paths.DataPath + "Vellumar.chm");
    EXPECT_EQ(asked[asked.size() - 2].prompt, "http://www.vellumar.example/");
    EXPECT_EQ(asked.back().prompt, "mailto:support@vellumar.example");
}

namespace {
int buttonPixels(Toolbar& bar, const char* key) {
    RECT r{};
    SendMessageA(bar.hWnd(), TB_GETITEMRECT, static_cast<WPARAM>(bar.Buttons(key).Index() - 1), reinterpret_cast<LPARAM>(&r));
    return r.right - r.left;
}

int labelPixels(Toolbar& bar, const char* label) {
    HDC dc = GetDC(bar.hWnd());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(bar.hWnd(), WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, label, static_cast<int>(strlen(label)), &size);
    SelectObject(dc, old);
    ReleaseDC(bar.hWnd(), dc);
    return size.cx;
}
} // namespace

TEST_F(MainWindow, TextLabelsSwitchButtonSizes) {
    FrmMain& w = frmMain();
    ASSERT_TRUE(w.mnuViewToolbarTextLabels.Checked());
    const int labelled = buttonPixels(w.pnlToolbar, "prevpage");
    EXPECT_GT(labelled, labelPixels(w.pnlToolbar, "Properties")); // the widest label shows whole
    EXPECT_NEAR(w.pnlToolbar.ButtonHeight(), 689, TwipsPerPixelY());
    w.mnuViewToolbarTextLabels_Click();
    for (Toolbar* bar : {&w.pnlToolbar, &w.pnlToolbarYour}) {
        EXPECT_EQ(bar->ButtonHeight(), 24 * TwipsPerPixelY());
        EXPECT_EQ(bar->ButtonWidth(), 24 * TwipsPerPixelX());
    }
    EXPECT_EQ(w.pnlToolbarYour.Buttons("refedit").Caption(), "");
    w.mnuViewToolbarTextLabels_Click();
    EXPECT_EQ(w.pnlToolbarYour.Buttons("refedit").Caption(), "Edit");
    EXPECT_NEAR(w.pnlToolbarYour.ButtonHeight(), 689, TwipsPerPixelY());
    EXPECT_EQ(buttonPixels(w.pnlToolbar, "prevpage"), labelled); // the labels fit again
}

TEST_F(MainWindow, DataSetSwitchKeepsFavouritesToTheLargeIcons) {
    FrmMain& w = frmMain();
    EXPECT_TRUE(w.mnuFavorite.Enabled());
    EXPECT_TRUE(w.mnuToolsDefaultFolder.Enabled());
    for (const char* name : {"SaveExtension", "SaveFilterIndex"}) {
        procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
        EXPECT_TRUE(reg.RegValue.isText() && reg.RegValue.toText().empty()) << name;
    }
    w.mnuViewDetails_Click();
    w.cmbMode.SetListIndex(0);
    EXPECT_EQ(Keywords.IconSize, 16);
    EXPECT_FALSE(w.mnuFavorite.Enabled());
    EXPECT_FALSE(w.pnlToolbarYour.Buttons("favedit").Enabled());
    EXPECT_EQ(w.pnlResult.View(), lvwIcon); // the 16 x 16 set has a view of its own
    EXPECT_EQ(stored(kSettingsKey, "ViewType32"), "3");
    w.cmbMode.SetListIndex(1);
    EXPECT_TRUE(w.pnlToolbarYour.Buttons("favrefresh").Enabled());
    EXPECT_EQ(w.pnlResult.View(), lvwReport);
}

TEST_F(MainWindow, FavouritesFolderIsMadeUnderTheProgramFolder) {
    ASSERT_FALSE(folders.FavoritesFolderName.empty());
    EXPECT_EQ(folders.FavoritesFolder, paths.DataPath + folders.FavoritesFolderName);
    DWORD attributes = GetFileAttributesA(folders.FavoritesFolder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(folders.DesktopFolder.back(), '\\');
}

namespace {
std::string openSetting(const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    return reg.RegValue.isEmpty() ? std::string("<missing>") : reg.RegValue.toText();
}
} // namespace

TEST_F(MainWindow, OpenByFileListsThePickedFilesAndArchivesAndRemembersWhere) {
    namespace ico = vmtest::ico;
    FrmMain& w = frmMain();
    vmtest::ScratchDir picked;
    const std::string folder = picked.path();
    ASSERT_TRUE(vmtest::writeFile(folder + "\\a.ico", ico::icoFile({ico::dib(32, 32, 8)})));
    ASSERT_TRUE(vmtest::writeFile(folder + "\\c.ZIP",
                                  vmtest::makeZipArchive({{"icons/b.ico", ico::icoFile({ico::dib(32, 32, 4)})}})));
    paths.TempPath = dir.path() + "\\";

    // Several files of one folder, with the third filter chosen.
    Seam::get().queue({3, folder + std::string(1, '\0') + "a.ico" + std::string(1, '\0') + "c.ZIP", false});
    w.mnuFileOpen.Click();
    const SeamRequest& asked = Seam::get().requests().back();
    EXPECT_EQ(asked.kind, "Open");
    EXPECT_EQ(asked.prompt, "Open by File");
    EXPECT_EQ(asked.style, 0x280204);
    EXPECT_NE(asked.title.find("Animated Icons (*.ani)|*.ani"), std::string::npos);
    ASSERT_EQ(Entries.lstFiles.ListCount(), 1);
    EXPECT_EQ(Entries.lstFiles.List(0), folder + "\\a.ico");
    ASSERT_EQ(Entries.lstZipFiles.ListCount(), 1); // capitals are an archive too
    EXPECT_EQ(Entries.lstZipFiles.List(0), folder + "\\c.ZIP");
    EXPECT_EQ(openSetting("ScanDirectory"), folder);
    EXPECT_EQ(openSetting("OpenExtension"), "ZIP");
    EXPECT_EQ(openSetting("OpenFilterIndex"), "3");
    ListItemCollection& items = w.pnlResult.ListItems;
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items(1).Text(), "a.ico");
    EXPECT_EQ(items(1).SubItems(1), "256 Color Icon");
    EXPECT_EQ(items(2).Text(), "b.ico in " + folder + "\\c.ZIP");
    EXPECT_EQ(items(2).SubItems(2), "ZIP File");
    EXPECT_TRUE(w.mnuFile.Enabled());
    EXPECT_EQ(w.CountPanel->Text(), "2 Icon(s)");

    // One file: its folder with the trailing "\"; the dialog starts where the last file came from.
    Seam::get().queueText(folder + "\\a.ico");
    w.mnuFileOpen.Click();
    EXPECT_EQ(Seam::get().requests().back().detail, folder);
    EXPECT_EQ(openSetting("ScanDirectory"), folder + "\\");
    EXPECT_EQ(Entries.lstZipFiles.ListCount(), 0);
    EXPECT_EQ(items.Count(), 1);

    // Cancel changes nothing.
    Seam::get().queueCancel();
    w.mnuFileOpen.Click();
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(w.MessagePanel->Text(), "");

    // The small icons offer no animations, cursors or icon libraries.
    Keywords.IconSize = 16;
    Seam::get().queueCancel();
    w.mnuFileOpen.Click();
    EXPECT_EQ(Seam::get().requests().back().title.find(".ani"), std::string::npos);
    EXPECT_EQ(Seam::get().requests().back().title.find(".icl"), std::string::npos);
    Keywords.IconSize = 32;

    // Open by Folder is the scan window's.
    w.mnuFileOpenDir.Click();
    EXPECT_EQ(Seam::get().requests().back().kind, "Form");
    EXPECT_EQ(Seam::get().requests().back().prompt, "frmScan");
    frmScan().Unload();
}
