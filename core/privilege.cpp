#include "privilege.h"

#include <windows.h>

#include "utf8text.h"

namespace vm {

std::string SystemErrorText(unsigned long code) {
    if (code == 0) return {};
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text ? Utf8Text(text) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

namespace {

// Why a step failed: what it was for, and the system's reason when it gives one.
std::string failed(const char* what, DWORD error) {
    const std::string reason = SystemErrorText(error);
    return std::string(what) + (reason.empty() ? "." : " (" + reason + ")");
}

} // namespace

std::string procEnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return failed("the program's rights could not be read", GetLastError());

    std::string why;
    LUID luid{};
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid)) {
        why = failed("the right to shut Windows down is unknown to this system", GetLastError());
    } else {
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Luid = luid;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        SetLastError(0);
        // A call that grants nothing "succeeds" and leaves ERROR_NOT_ALL_ASSIGNED as its last error.
        const BOOL done = AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr);
        const DWORD error = GetLastError();
        if (!done || error != 0) why = failed("the program was not given the right to shut Windows down", error);
    }
    CloseHandle(token);
    return why;
}

} // namespace vm
