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
    // Owned by the main window, the tip stays above it when a second start
    // raises the main window. Shown last, it is the active window: its keys
    // (Esc, Enter) work at once, as the start's own paths leave it in front.
    vm::shell::splashTargets.showTip = [] { vm::frmTip().Show(vm::vbModeless, &vm::frmMain()); };
    if (vm::shell::Main(vm::shell::commandArguments(GetCommandLineA()))) vm::RunMessageLoop();
    CoUninitialize();
    return 0;
}
