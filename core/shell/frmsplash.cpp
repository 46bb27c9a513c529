#include "frmsplash.h"

#include <windows.h>

#include "registry.h"
#include "runfolders.h"
#include "startpaths.h"
#include "state.h"

namespace vm::shell {

SplashTargets splashTargets;

FrmSplash& frmSplash() { return defaultInstance<FrmSplash>(); }

FrmSplash::FrmSplash() : Form("frmSplash") {
    design.caption = "";
    design.borderStyle = vbBSNone;
    design.controlBox = design.minButton = design.maxButton = false;
    design.startUpPosition = vbStartUpScreen;
    design.width = 270 * 15;
    design.height = 180 * 15;
}

void FrmSplash::CreateControls() {
    lblTitle.create(*this, 300, 600, 3450, 300, "Vellumar", vbCenter);
    lblVersion.create(*this, 300, 1000, 3450, 300, "", vbCenter);
    lblMessage.create(*this, 300, 2100, 3450, 300, "Reading settings...", vbCenter);
    tmrSplash.create(*this, 0, false);
    VM_ON(tmrSplash, Timer);
}

void FrmSplash::Form_Load() {
    runState.SplashActive = true;
    identity.ProductName = "Vellumar";
    Screen::SetMousePointer(vbHourglass);
    int major = 0, minor = 0, revision = 0;
    programVersion(major, minor, revision);
    lblVersion.SetCaption(versionText(major, minor, revision));

    // A client area of 270 x 180 pixels, on screen before the slow steps.
    RECT frame{0, 0, 270, 180};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hWnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hWnd(), GWL_EXSTYLE)));
    Move(Left(), Top(), pixelsToTwipsX(frame.right - frame.left), pixelsToTwipsY(frame.bottom - frame.top));
    SetVisible(true);
    Refresh();
    DoEvents();

    runState.PassedFile.clear();
    procSetStartPaths(App::Path());
    procPrepareDataFolder();
    // What runs that ended without clearing up (a crash, a kill) left in TEMP.
    RemoveFoldersOfEndedRuns(paths.TempPath);
    Refresh();
    DoEvents();

    tmrSplash.SetInterval(1000);
    tmrSplash.SetEnabled(true);
    // The main window is built and loaded during the second the splash stays
    // up; the timer shows it.
    if (splashTargets.prepareMainWindow) splashTargets.prepareMainWindow();
}

void FrmSplash::tmrSplash_Timer() {
    if (splashTargets.mainWindowReady && !splashTargets.mainWindowReady()) {
        tmrSplash.SetInterval(100);
        return;
    }
    // The main window comes up once.
    tmrSplash.SetEnabled(false);
    if (splashTargets.showMainWindow) splashTargets.showMainWindow();
    ZOrder(0);
    Unload();
}

void FrmSplash::Form_Unload(int&) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "Tip");
    bool show = reg.RegValue.isEmpty() || reg.RegValue.toLong() == 1;
    if (show && splashTargets.showTip) splashTargets.showTip();
}

} // namespace vm::shell
