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

namespace {

bool notRestarted(const std::string& why) {
    MsgBox("Windows could not be restarted: " + why, vbOKOnly | vbExclamation);
    return false;
}

} // namespace

bool procRestartWindows() {
    const std::string& os = identity.OSCode;
    if (lstrcmpiA(os.c_str(), "NT4") == 0 || lstrcmpiA(os.c_str(), "NT3") == 0 || lstrcmpiA(os.c_str(), "2000") == 0) {
        const std::string why = procEnableShutdownPrivilege();
        if (!why.empty()) return notRestarted(why);
    }
    // What the user would lose is asked about and kept before Windows closes every program.
    if (toolsHost.saveBeforeEnd) toolsHost.saveBeforeEnd();
    SetLastError(0);
    if (!seamExitWindows(EWX_REBOOT | EWX_FORCE, 0xFFFFFFFFu)) {
        const std::string reason = SystemErrorText(GetLastError());
        return notRestarted("Windows refused the request" + (reason.empty() ? "." : " (" + reason + ")"));
    }
    if (toolsHost.endProgram) toolsHost.endProgram();
    return true;
}

} // namespace vm
