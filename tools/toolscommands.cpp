#include "toolscommands.h"

#include <windows.h>

#include <string>

#include "frmimport.h"
#include "privilege.h"
#include "seam.h"
#include "state.h"
#include "toolshost.h"

namespace vm {

void procShowCreateIcon() {
    FrmImport& window = frmImport();
    window.Show(vbModeless);
    if (window.WindowState() == vbMinimized) window.SetWindowState(vbNormal);
    window.ZOrder(0);
    SetForegroundWindow(window.hWnd());
}

void procRestartWindows() {
    if (toolsHost.endProgram) toolsHost.endProgram();
    const std::string& os = identity.OSCode;
    if (lstrcmpiA(os.c_str(), "NT4") == 0 || lstrcmpiA(os.c_str(), "NT3") == 0 || lstrcmpiA(os.c_str(), "2000") == 0) {
        // The privilege step reports each of its own failures.
        procEnableShutdownPrivilege();
    }
    SetLastError(0);
    if (!seamExitWindows(EWX_REBOOT | EWX_FORCE, 0xFFFFFFFFu))
        MsgBox(std::to_string(GetLastError()), vbOKOnly);
}

} // namespace vm
