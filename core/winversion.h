#pragma once
// The running Windows, detected once at start-up. The rest of the program
// tests identity.OSCode; a system it does not know is handled like NT 4.0.
#include <windows.h>

#include <functional>

namespace vm {

struct WindowsVersion {
    DWORD platformId = 0; // 1 = the 9x family, 2 = the NT family
    DWORD major = 0;
    DWORD minor = 0;
};

// Where the version comes from: the system by default; tests put their own
// source in and restore the system's with an empty function.
void setWindowsVersionSource(std::function<WindowsVersion()> source);

// Sets identity.OSName ("<name> (<major>.<minor>)") and identity.OSCode.
void procGetWindowsVersion();

} // namespace vm
