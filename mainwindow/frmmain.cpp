// The main window's start-up, the hand-over of a later start and the program end.
#include "frmmain.h"

#include <commctrl.h>

#include "browserstate.h"
#include "commandstate.h"
#include "dialogforms.h"
#include "frmimport.h"
#include "frmmessage.h"
#include "frmsplash.h"
#include "frmzoom.h"
#include "helpfile.h"
#include "iconcache.h"

#include <algorithm>
#include <utility>
#include "instance.h"
#include "libraryindex.h"
#include "librarychunks.h"
#include "registry.h"
#include "seam.h"
#include "startfolders.h"
#include "state.h"
#include "winversion.h"
#include "zipsource.h"

namespace vm {

namespace {
// Posted to the main window after a hand-over, so the paths open once the
// sending process has its answer.
constexpr UINT kOpenHandOver = WM_APP + 74;
constexpr UINT_PTR kHandOverRetry = 74;

// While a listing runs, the paths of a hand-over wait; they are tried again a
// little later rather than posted straight back, which the listing's own
// message pumping would pick up at once, over and over.
void CALLBACK retryHandOver(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    PostMessageA(hwnd, kOpenHandOver, 0, 0);
}
constexpr const char* kHomePage = "http://www.vellumar.example/";
constexpr const char* kSupportMail = "mailto:support@vellumar.example";
} // namespace

FrmMain& frmMain() { return defaultInstance<FrmMain>(); }

std::function<void()> FrmMain::endProcess = [] { PostQuitMessage(0); };

FrmMain::FrmMain() : Form("frmMain") {
    design.caption = "Vellumar";
    // Wide enough for the standard toolbar with its labels; centred on the screen.
    design.width = 1080 * 15;
    design.height = 760 * 15;
    design.startUpPosition = vbStartUpScreen;
    design.keyPreview = true;
}

void FrmMain::CreateControls() {
    createMenus();
    createFrame();
    VM_ON(mnuFileExit, Click);
    VM_ON(mnuGoHomePage, Click);
    VM_ON(mnuGoMail, Click);
    VM_ON(mnuHelpTopics, Click);
    VM_ON(mnuHelpAbout, Click);
    VM_ON(mnuHelpTip, Click);
    VM_ON(mnuViewOptions, Click);
    VM_ON(mnuHelpSearch, Click);
    VM_ON(mnuViewLargeIcons, Click);
    VM_ON(mnuViewList, Click);
    VM_ON(mnuViewDetails, Click);
    VM_ON(mnuViewBackcolor, Click);
    VM_ON(mnuViewStatusBar, Click);
    VM_ON(mnuViewIconFormat, Click);
    VM_ON(mnuViewToolbarTextLabels, Click);
    VM_ON(mnuViewToolbarStandard, Click);
    VM_ON(mnuViewToolbarYour, Click);
    VM_ON(mnuViewToolbarCustomize, Click);
    for (int i = 0; i <= 2; ++i) VM_ON_INDEX(mnuViewArrange, i, Click);
    mnuResultClickViewLargeIcons.Click = [this] { mnuViewLargeIcons_Click(); };
    mnuResultClickViewList.Click = [this] { mnuViewList_Click(); };
    mnuResultClickViewDetails.Click = [this] { mnuViewDetails_Click(); };
    mnuResultClickViewBackColor.Click = [this] { mnuViewBackcolor_Click(); };
    for (int i = 0; i <= 2; ++i) mnuResultClickViewArrange(i).Click = [this, i] { mnuViewArrange_Click(i); };
    VM_ON(pnlCoolBar, HeightChanged);
    VM_ON(picSplitV, MouseDown);
    VM_ON(picSplitV, MouseMove);
    VM_ON(picSplitV, MouseUp);
    VM_ON(picSplitH, MouseDown);
    VM_ON(picSplitH, MouseMove);
    VM_ON(picSplitH, MouseUp);
    VM_ON(pnlToolbar, ButtonClick);
    VM_ON(pnlToolbar, ButtonMenuClick);
    VM_ON(pnlToolbar, Change);
    VM_ON(pnlToolbarYour, ButtonClick);
    VM_ON(tmrLed, Timer);
    VM_ON(cmbMode, Click);
    mnuToolsZoom2.Click = [] { procZoomAt(2); };
    mnuToolsZoom3.Click = [] { procZoomAt(3); };
    mnuToolsZoom4.Click = [] { procZoomAt(4); };
    mnuToolsZoom5.Click = [] { procZoomAt(5); };
    mnuToolsZoom10.Click = [] { procZoomAt(10); };
}

void FrmMain::Form_Load() {
    procGetWindowsVersion();
    MessagePanel = &pnlStatusbar.Panels("message");
    CountPanel = &pnlStatusbar.Panels("count");
    PagePanel = &pnlStatusbar.Panels("area");
    TypePanel = &pnlStatusbar.Panels("type");
    mainwindow::MainSettings s = mainwindow::readMainSettings();
    // While the splash is up the data-set box only chooses the icon size.
    cmbMode.SetListIndex(s.iconDataMode);
    pnlCoolBar.Bands(3).SetMinWidth(TextWidth(cmbMode.Text() + "Size----"));
    mnuToolsDefaultFolder.SetEnabled(true);
    applyToolbarPictures();
    procGetSettings();

    AttachMessage(this, hWnd(), WM_COPYDATA);
    AttachMessage(this, hWnd(), kOpenHandOver);
    shell::procTagMainWindow(hWnd());
    DeleteFileA((paths.DataPath + "Vellumar.chi").c_str());
    procFindStartFolders(s.favDir);

    DoubleClick.SearchFav = s.searchFav;
    DoubleClick.DCAction = s.dcAction;
    DoubleClick.DCZoom = s.dcZoom;
    Commands.ZoomFactor = s.dcZoom;
    runState.EndingProgram = false;
    DoubleClick.DCPlay = s.dcPlay;
    DoubleClick.DCRef = s.dcRef;
    DoubleClick.DCRun = s.dcRun;
    DoubleClick.DCChange = s.dcChange;
    App::HelpFile = paths.DataPath + "vellumar.chm";

    place_ = s.place;
    applyStartSettings(s);

    frmAdd().Load();
    frmKey().Load();
    connectBrowser();
    connectOpen();
    connectPager();
    connectSelection();
    connectExport();
    connectItems();
    connectTools();
    connectChange();
    connectDialogs();
    // Nothing is selected yet: the item commands start as the selection handler leaves them then.
    switchOffItemCommands();
    browserStart();
    procBuildTree();
    connectTree();
    procInitIconCanvas();
    pager_->procSetPageButtons();
    pnlCoolBar.Bands(1).SetMinHeight(pnlToolbar.ButtonHeight());
    pnlCoolBar.Bands(2).SetMinHeight(pnlToolbarYour.ButtonHeight());
    pnlCoolBar.Bands(3).SetMinHeight(cmbSearch.Height());
    Screen::SetMousePointer(vbDefault);

    if (!s.light && !hasLibraryArchive())
        shell::procShowMessage(
            "The Vellumar Light program is fully functional but does not contain any icons. When searching for "
            "icons on Keywords, Vellumar will show the amount of found icons but not the icons themselves. The "
            "20.000 icons are available for free at the Vellumar Homepage, accessable through Help, About, Icon "
            "Resources tab.",
            "VellumarLight", "Vellumar Light", "");
    imlResult32.SetMaskColor(RGBColor(128, 64, 64));

    runState.SplashActive = false;
    // The normal place and the state together: a maximised window keeps its normal size.
    Move(place_.left.value_or(Left()), place_.top.value_or(Top()), place_.width.value_or(Width()),
         place_.height.value_or(Height()));
    if (place_.state == vbMaximized) SetWindowState(vbMaximized);
    Form_Resize();
    Screen::SetMousePointer(vbDefault);

    loadComplete_ = true;
    // The paths of the command line open once the window is set up, before
    // those of a later start that arrived meanwhile.
    pendingHandOvers_.insert(pendingHandOvers_.begin(), shell::commandArguments(GetCommandLineA()));
    ownPathsPending_ = true;
    PostMessageA(hWnd(), kOpenHandOver, 0, 0);
}

void FrmMain::cmbMode_Click() {
    // The click that start-up raises only chooses the icon size; the index and
    // the tree of that data set are read later in the start-up.
    if (!loadComplete_) {
        Keywords.IconSize = cmbMode.ItemData(cmbMode.ListIndex());
        procDataSetCommands();
    } else {
        procSwitchDataSet();
    }
}

void FrmMain::procDataSetCommands() {
    // Favourites exist only in the 32 x 32 data set.
    const bool favorites = Keywords.IconSize == 32;
    mnuFavorite.SetEnabled(favorites);
    pnlToolbarYour.Buttons("favedit").SetEnabled(favorites);
    pnlToolbarYour.Buttons("favrefresh").SetEnabled(favorites);
    // The next Save As starts from its default file type.
    for (const char* name : {"SaveExtension", "SaveFilterIndex"}) {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, name, Variant(std::string()), REG_SZ);
    }
}

bool FrmMain::hasLibraryArchive() {
    // File names compare without regard to case, as the file system does.
    for (const char* name : {"iconlib-16.res", "iconlib-32.res"})
        if (GetFileAttributesA((paths.DataPath + name).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return false;
}

void FrmMain::applyStartSettings(const mainwindow::MainSettings& s) {
    // Checked means "on" after the click below inverts it.
    mnuViewToolbarTextLabels.SetChecked(!s.textLabels);
    mnuViewToolbarTextLabels_Click();

    const mainwindow::Metrics m = metrics();
    pane_ = mainwindow::designedLayout(m);
    pane_.statusBar = s.statusBar;
    pnlStatusbar.SetVisible(s.statusBar);
    mnuViewStatusBar.SetChecked(s.statusBar);

    const mainwindow::Band* b = s.bands;
    pnlCoolBar.Bands(1).SetVisible(b[0].visible);
    mnuViewToolbarStandard.SetChecked(b[0].visible);
    pnlCoolBar.Bands(2).SetVisible(b[1].visible);
    mnuViewToolbarYour.SetChecked(b[1].visible);
    // A band's width counts only when the band after it shares its row.
    for (int i = 1; i < 4; ++i) {
        if (i == 1 && !b[1].visible) continue;
        pnlCoolBar.Bands(i + 1).SetNewRow(b[i].newRow);
        if (!b[i].newRow && b[i - 1].width > 0) pnlCoolBar.Bands(i).SetWidth(b[i - 1].width);
    }
    procArrangePanes();
    mainwindow::formResize(pane_, metrics());

    if (s.vSplitter) mainwindow::applySplitV(pane_, metrics(), *s.vSplitter);
    pane_.iconFormat = s.viewFormat;
    if (pane_.iconFormat) {
        pane_.iconFormat = false;
        int stored = s.hSplitter.value_or(0);
        // The stored height must fit the result pane the drag limits measure.
        if (s.hSplitter && stored <= pane_.result.height) pane_.result.height = std::max(pane_.result.height, stored + 400);
        mainwindow::toggleIconFormat(pane_, metrics(), s.hSplitter ? &stored : nullptr);
    } else {
        pane_.nav.height = pane_.result.height - 2 * TwipsPerPixelY();
    }
    placePanes();
    pnlResult.SetHotTracking(s.hotTracking);
    pnlResult.SetHoverSelection(s.hotTracking);
}

void FrmMain::Form_KeyPress(int& KeyAscii) {
    // Esc stops work that is running; pressed while idle it would stay set and
    // wipe the next listing as aborted.
    if (KeyAscii == 27 && !IsIdle(browserWindow)) Busy.AbortRequested = true;
}

LRESULT FrmMain::WindowProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        pendingHandOvers_.push_back(shell::copyDataText(*reinterpret_cast<COPYDATASTRUCT*>(lParam)));
        PostMessageA(hwnd, kOpenHandOver, 0, 0);
    } else if (msg == kOpenHandOver) {
        openPendingHandOvers();
    }
    return 0;
}

void FrmMain::LoadUnseen() {
    handOversHeld_ = true;
    Load();
}

void FrmMain::ShowLoaded() {
    Show(vbModeless);
    if (!handOversHeld_) return;
    handOversHeld_ = false;
    if (!pendingHandOvers_.empty()) PostMessageA(hWnd(), kOpenHandOver, 0, 0);
}

void FrmMain::openPendingHandOvers() {
    // A later start during start-up waits for the end of the load, which opens
    // everything that arrived until then; at start-up it waits until the
    // window shows.
    if (!loadComplete_ || handOversHeld_) return;
    // A listing that is running pumps messages; the paths wait until it ends.
    if (!IsIdle(browserWindow)) {
        SetTimer(hWnd(), kHandOverRetry, 250, retryHandOver);
        return;
    }
    std::vector<std::string> texts;
    texts.swap(pendingHandOvers_);
    // The start's own paths leave in front what start-up showed there (the tip
    // of the day, which has the keys); a later start's bring the window forward.
    bool own = std::exchange(ownPathsPending_, false);
    for (const std::string& text : texts) procOpenPassedFile(text, !std::exchange(own, false));
}

void FrmMain::procOpenPassedFile(const std::string& text, bool bringForward) {
    if (!text.empty()) {
        if (Entries.cmbResult.ListCount() > 0) {
            Entries.lstFiles.Clear();
            procClearZipLists(Entries, ZipExtractions);
            Entries.cmbResult.Clear();
            procClearResult();
        }
        runState.PassedFile = text;
        procOpenFolderFiles(' ');
    }
    if (!bringForward) return;
    // While a modal window is open it is what comes forward, with the keys:
    // the main window behind it takes none, and raising it would lift the
    // modal window above every other program's for good.
    if (!IsWindowEnabled(hWnd())) {
        if (HWND modal = GetLastActivePopup(hWnd()); modal && modal != hWnd()) SetForegroundWindow(modal);
        return;
    }
    if (IsWindowVisible(hWnd())) SetFocus();
    shell::procActivatePrevInstance(hWnd());
}

void FrmMain::releaseInstance() {
    DetachMessage(this, hWnd(), WM_COPYDATA);
    DetachMessage(this, hWnd(), kOpenHandOver);
    shell::procReleaseInstanceMutex();
}

void FrmMain::Form_QueryUnload(int&, int UnloadMode) {
    if (UnloadMode == vbFormControlMenu) procEndProgram();
    // Log-off: the user's settings are kept, without the rebuild question. A
    // window still loading would store the designed state over the settings.
    if (UnloadMode == vbAppWindows && !runState.EndingProgram && loadComplete_) saveWindowSettings();
}

void FrmMain::Form_Unload(int&) {
    // Only an unload that goes on lets go of the window: a log-off that is
    // asked about and then cancelled leaves it working and reachable.
    loadComplete_ = false;
    releaseInstance();
    if (runState.EndingProgram && endProcess) endProcess();
}

void FrmMain::mnuFileExit_Click() {
    procEndProgram();
    releaseInstance();
    Unload(vbFormCode);
}

void FrmMain::saveWindowSettings() {
    procSaveSettings();
    mainwindow::MainSave save;
    save.iconDataMode = cmbMode.ListIndex();
    save.textLabels = mnuViewToolbarTextLabels.Checked();
    save.statusBar = mnuViewStatusBar.Checked();
    for (int i = 0; i < 4; ++i) {
        Band& band = pnlCoolBar.Bands(i + 1);
        save.bands[i].visible = band.Visible();
        // Where the band shows: the bar moves a band that no longer fits beside the one before to a row of its own.
        save.bands[i].newRow = band.Visible() ? band.StartsRow() : band.NewRow();
        save.bands[i].width = band.Width();
    }
    save.hotTracking = pnlResult.HotTracking();
    // The tree's single-selection setting is the style it was made with.
    save.singleSel = (GetWindowLongPtrA(pnlNav.hWnd(), GWL_STYLE) & TVS_SINGLEEXPAND) != 0;
    save.vSplitter = pane_.nav.width;
    if (mnuViewIconFormat.Checked()) save.hSplitter = pane_.nav.height;
    save.minimised = WindowState() == vbMinimized;
    save.maximised = WindowState() == vbMaximized;
    save.top = Top();
    save.left = Left();
    save.width = Width();
    save.height = Height();
    auto corner = [](Form& f) -> std::optional<mainwindow::MainSave::Corner> {
        if (!f.IsLoaded() || f.WindowState() == vbMinimized) return std::nullopt;
        return mainwindow::MainSave::Corner{f.Top(), f.Left()};
    };
    save.key = corner(frmKey());
    save.add = corner(frmAdd());
    mainwindow::writeMainSettings(save);
    saveUserData();
}

void FrmMain::procSaveBeforeEnd() {
    if (runState.SystemIconsChanged) {
        if (MsgBox("You have changed System Icons but did not Rebuild the Windows Icon Cache.\r"
                   "Rebuilding the Icon Cache must be performed in order to show the new System Icons.\r\r"
                   "Do you want to Rebuild the Windows Icon Cache Now?",
                   vbYesNo | vbExclamation, "Rebuild Windows Icon Cache") == vbYes)
            procRebuildIconCache();
        runState.SystemIconsChanged = false;
    }
    saveWindowSettings();
}

void FrmMain::procEndProgram() {
    if (runState.EndingProgram) return;
    runState.EndingProgram = true;
    procSaveBeforeEnd();
    procClearZipLists(Entries, ZipExtractions);
    // Copies still waiting would be written after the cache is emptied.
    PageLoaders.library.ForgetPictures();
    // Every data set of the selector has its own cache of extracted chunks.
    for (int i = 0; i < cmbMode.ListCount(); ++i) {
        std::string folder = ChunkCacheFolder(cmbMode.ItemData(i)) + "\\";
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "*.lib").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do DeleteFileA((folder + found.cFileName).c_str());
        while (FindNextFileA(find, &found));
        FindClose(find);
    }
    for (Form* f : std::initializer_list<Form*>{&frmAdd(), &frmInfo(), &frmKey(), &shell::frmMessage(), &frmOptions(),
                                                &frmImport(), &frmScan(), &shell::frmSplash(), &frmTip(), &frmZoom()})
        if (f->IsLoaded()) f->Unload();
    // not built yet: frmAni, frmChange and frmProp join this list, in its
    // alphabetical order, when those windows exist.
}

void FrmMain::mnuGoHomePage_Click() { seamShellExecute(nullptr, "", kHomePage, "", "c:\\", SW_SHOWNORMAL); }
void FrmMain::mnuGoMail_Click() { seamShellExecute(nullptr, "", kSupportMail, "", "c:\\", SW_SHOWNORMAL); }
void FrmMain::mnuHelpTopics_Click() { procShowHelp(hWnd(), HelpContext::Start); }
void FrmMain::mnuHelpAbout_Click() { frmInfo().Show(vbModal); }
// Owned by the main window, as at start-up, so raising the main window keeps the tip above it.
void FrmMain::mnuHelpTip_Click() { frmTip().Show(vbModeless, this); }

} // namespace vm
