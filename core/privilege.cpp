#include "privilege.h"

#include <windows.h>

#include <string>

#include "seam.h"

namespace vm {

namespace {

// The last error of the step just made, reported when it is not 0.
void reportStep(const char* step) {
    DWORD error = GetLastError();
    if (error != 0) MsgBox(std::string(step) + " error==" + std::to_string(error));
}

} // namespace

void procEnableShutdownPrivilege() {
    SetLastError(0);
    HANDLE process = GetCurrentProcess();
    reportStep("GetCurrentProcess");

    HANDLE token = nullptr;
    SetLastError(0);
    OpenProcessToken(process, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
    reportStep("OpenProcessToken");

    LUID luid{};
    SetLastError(0);
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid);
    reportStep("LookupPrivilegeValue");

    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Luid = luid;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    SetLastError(0);
    // ERROR_NOT_ALL_ASSIGNED comes as a last error after a call that "succeeds".
    AdjustTokenPrivileges(token, FALSE, &wanted, sizeof(previous), &previous, &previousLength);
    reportStep("AdjustTokenPrivileges");

    if (token) CloseHandle(token);
}

} // namespace vm
