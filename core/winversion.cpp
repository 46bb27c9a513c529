#include "winversion.h"

#include <string>

#include "state.h"

namespace vm {

namespace {

std::function<WindowsVersion()> g_source;

WindowsVersion systemVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&info);
#pragma GCC diagnostic pop
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

} // namespace

void setWindowsVersionSource(std::function<WindowsVersion()> source) { g_source = std::move(source); }

void procGetWindowsVersion() {
    WindowsVersion v = g_source ? g_source() : systemVersion();
    const char* name = "OS Unknown";
    const char* code = "NT4";
    if (v.platformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (v.minor == 0) name = "Windows 95", code = "95";
        else if (v.minor == 10) name = "Windows 98", code = "98";
        else if (v.minor == 90) name = "Windows ME", code = "ME";
    } else if (v.platformId == VER_PLATFORM_WIN32_NT) {
        if (v.major == 3) name = "Windows NT 3.51", code = "NT3";
        else if (v.major == 4) name = "Windows NT 4.0", code = "NT4";
        else if (v.major == 5) name = "Windows 2000", code = "2000";
    }
    identity.OSName = std::string(name) + " (" + std::to_string(v.major) + "." + std::to_string(v.minor) + ")";
    identity.OSCode = code;
}

} // namespace vm
