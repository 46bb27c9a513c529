// The main window's start-up, the hand-over of a later start and the program end.
#include "frmmain.h"

#include "browserstate.h"
#include "commandstate.h"
#include "dialogs.h"
#include "frmmessage.h"
#include "frmsplash.h"
#include "frmzoom.h"
#include "iconcache.h"
#include "instance.h"
#include "registry.h"
#include "seam.h"
#include "state.h"
#include "winversion.h"

namespace vm {

namespace {
// Posted to the main window after a hand-over, so the paths open once the
// sending process has its answer.
constexpr UINT kOpenHandOver = WM_APP + 74;
constexpr const char* kHomePage = "http://www.vellumar.example/";
constexpr const char* kSupportMail = "mailto:support@vellumar.example";
} // namespace

FrmMain& frmMain() { return defaultInstance<FrmMain>(); }

std::function<void()> FrmMain::endProcess = [] { PostQuitMessage(0); };

FrmMain::FrmMain() : Form("frmMain") {
    design.caption = "Vellumar";
    design.width = 760 * 15;
    design.height = 540 * 15;
    design.left = 1200;
    design.top = 900;
    design.startUpPosition = vbStartUpManual;
    design.keyPreview = true;
}

void FrmMain::CreateControls() {
    createMenus();
    VM_ON(mnuFileExit, Click);
    VM_ON(mnuGoHomePage, Click);
    VM_ON(mnuGoMail, Click);
    VM_ON(mnuHelpTopics, Click);
    VM_ON(mnuHelpAbout, Click);
    VM_ON(mnuHelpTip, Click);
    VM_ON(mnuViewOptions, Click);
}

void FrmMain::Form_Load() {
    procGetWindowsVersion();
    mainwindow::MainSettings s = mainwindow::readMainSettings();
    Keywords.IconSize = s.iconDataMode == 0 ? 16 : 32;

    AttachMessage(this, hWnd(), WM_COPYDATA);
    AttachMessage(this, hWnd(), kOpenHandOver);
    shell::procTagMainWindow(hWnd());

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
    frmAdd().Load();
    frmKey().Load();
    Screen::SetMousePointer(vbDefault);

    if (!s.light && GetFileAttributesA((paths.DataPath + "iconlib-16.res").c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetFileAttributesA((paths.DataPath + "iconlib-32.res").c_str()) == INVALID_FILE_ATTRIBUTES)
        shell::procShowMessage(
            "The Vellumar Light program is fully functional but does not contain any icons. When searching for "
            "icons on Keywords, Vellumar will show the amount of found icons but not the icons themselves. The "
            "20.000 icons are available for free at the Vellumar Homepage, accessable through Help, About, Icon "
            "Resources tab.",
            "VellumarLight", "Vellumar Light", "");

    runState.SplashActive = false;
    // The normal place and the state together: a maximised window keeps its normal size.
    Move(place_.left.value_or(Left()), place_.top.value_or(Top()), place_.width.value_or(Width()),
         place_.height.value_or(Height()));
    if (place_.state == vbMaximized) SetWindowState(vbMaximized);
    Screen::SetMousePointer(vbDefault);

    // The paths of the command line open once the window is set up.
    PostMessageA(hWnd(), kOpenHandOver, 0, 0);
    pendingHandOvers_.push_back(shell::commandArguments(GetCommandLineA()));
}

void FrmMain::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == 27) Busy.AbortRequested = true;
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

void FrmMain::openPendingHandOvers() {
    // A listing that is running pumps messages; the paths wait until it ends.
    if (busy_) {
        PostMessageA(hWnd(), kOpenHandOver, 0, 0);
        return;
    }
    std::vector<std::string> texts;
    texts.swap(pendingHandOvers_);
    for (const std::string& text : texts) procOpenPassedFile(text);
}

void FrmMain::procOpenPassedFile(const std::string& text) {
    if (!text.empty()) {
        if (Entries.cmbResult.ListCount() > 0) {
            Entries.lstFiles.Clear();
            Entries.lstZipFiles.Clear();
            Entries.lstZipIcons.Clear();
            Entries.cmbResult.Clear();
        }
        runState.PassedFile = text;
        // not built yet: the folder-and-file opener lists the paths here.
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
    // Log-off: the user's settings are kept, without the rebuild question.
    if (UnloadMode == vbAppWindows && !runState.EndingProgram) saveWindowSettings();
    releaseInstance();
}

void FrmMain::Form_Unload(int&) {
    if (runState.EndingProgram && endProcess) endProcess();
}

void FrmMain::mnuFileExit_Click() {
    procEndProgram();
    releaseInstance();
    Unload(vbFormCode);
}

void FrmMain::saveWindowSettings() {
    mainwindow::MainSave save;
    save.iconDataMode = Keywords.IconSize == 16 ? 0 : 1;
    save.minimised = WindowState() == vbMinimized;
    save.maximised = WindowState() == vbMaximized;
    save.top = Top();
    save.left = Left();
    save.width = Width();
    save.height = Height();
    save.vSplitter = 200 * 15;
    mainwindow::writeMainSettings(save);
}

void FrmMain::procEndProgram() {
    if (runState.EndingProgram) return;
    runState.EndingProgram = true;
    if (runState.SystemIconsChanged) {
        if (MsgBox("You have changed System Icons but did not Rebuild the Windows Icon Cache.\r"
                   "Rebuilding the Icon Cache must be performed in order to show the new System Icons.\r\r"
                   "Do you want to Rebuild the Windows Icon Cache Now?",
                   vbYesNo | vbExclamation, "Rebuild Windows Icon Cache") == vbYes)
            procRebuildIconCache();
        runState.SystemIconsChanged = false;
    }
    saveWindowSettings();
    for (int size : {16, 32}) {
        std::string folder = paths.DataPath + "Temp" + std::to_string(size) + "\\";
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "*.lib").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do DeleteFileA((folder + found.cFileName).c_str());
        while (FindNextFileA(find, &found));
        FindClose(find);
    }
    for (Form* f : std::initializer_list<Form*>{&frmAdd(), &frmInfo(), &frmKey(), &shell::frmMessage(), &frmOptions(),
                                                &frmScan(), &shell::frmSplash(), &frmTip(), &frmZoom()})
        if (f->IsLoaded()) f->Unload();
}

void FrmMain::mnuGoHomePage_Click() { seamShellExecute(nullptr, "", kHomePage, "", "c:\\", SW_SHOWNORMAL); }
void FrmMain::mnuGoMail_Click() { seamShellExecute(nullptr, "", kSupportMail, "", "c:\\", SW_SHOWNORMAL); }
void FrmMain::mnuHelpTopics_Click() { seamHtmlHelp(hWnd(), paths.DataPath + "Vellumar.chm", 15, 0); }
void FrmMain::mnuHelpAbout_Click() { frmInfo().Show(vbModal); }
void FrmMain::mnuHelpTip_Click() { frmTip().Show(vbModeless); }
void FrmMain::mnuViewOptions_Click() { frmOptions().Show(vbModal); }

} // namespace vm
