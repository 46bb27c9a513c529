// Program entry: the shell decides between first instance and hand-over; the
// splash brings up the main window and offers the tip of the day.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "dialogforms.h"
#include "form.h"
#include "frmmain.h"
#include "frmsplash.h"
#include "instance.h"
#include "main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    vm::shell::splashTargets.showMainWindow = [] { vm::frmMain().ShowLoaded(); };
    vm::shell::splashTargets.prepareMainWindow = [] {
        vm::frmMain().Create();
        vm::frmAdd().Create();
        vm::frmKey().Create();
        vm::frmMain().LoadUnseen();
    };
    // A main window unloaded meanwhile loads again as it shows.
    vm::shell::splashTargets.mainWindowReady = [] { return vm::frmMain().LoadComplete() || !vm::frmMain().IsLoaded(); };
    // Owned by the main window, the tip stays above it when the main window is
    // raised after start-up (a command line or a second start raises it).
    // It is shown while the splash goes, and the splash's end hands activation
    // on; once that is done the tip is made the active window, so its keys
    // (Esc, Enter) work at once, with or without a window manager.
    vm::shell::splashTargets.showTip = [] {
        vm::frmTip().Show(vm::vbModeless, &vm::frmMain());
        SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            if (vm::frmTip().IsLoaded() && IsWindowVisible(vm::frmTip().hWnd())) SetForegroundWindow(vm::frmTip().hWnd());
        });
    };
    if (vm::shell::Main(vm::shell::commandArguments(GetCommandLineA()))) vm::RunMessageLoop();
    CoUninitialize();
    return 0;
}
