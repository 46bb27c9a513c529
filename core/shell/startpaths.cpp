#include "startpaths.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "registry.h"
#include "state.h"
#include "utf8text.h"
#include "systempaths.h"

namespace vm::shell {

namespace {

template <class Call>
std::string apiFolder(Call call) {
    char buffer[MAX_PATH + 1] = {};
    UINT n = call(buffer, static_cast<UINT>(sizeof buffer));
    if (n == 0 || n >= sizeof buffer) return {};
    return LowerText(std::string(buffer, n));
}
} // namespace

std::string withOneBackslash(std::string folder) {
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder + "\\";
}

std::string versionText(int major, int minor, int revision) {
    return "version " + std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
}

void programVersion(int& major, int& minor, int& revision) {
    major = minor = revision = 0;
    const std::string program = ProgramFile();
    const char* path = program.c_str();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return;
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!GetFileVersionInfoA(path, 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len) || !info)
        return;
    major = HIWORD(info->dwFileVersionMS);
    minor = LOWORD(info->dwFileVersionMS);
    revision = LOWORD(info->dwFileVersionLS);
}

void procSetStartPaths(const std::string& programFolder) {
    paths.DataPath = withOneBackslash(programFolder);
    paths.WindowsDir = apiFolder([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); });
    paths.SystemDir = apiFolder([](char* b, UINT n) { return GetSystemDirectoryA(b, n); });
    std::string temp = apiFolder([](char* b, UINT n) { return static_cast<UINT>(GetTempPathA(n, b)); });
    paths.TempPath = temp.empty() ? paths.DataPath : withOneBackslash(temp);
}

void procPrepareDataFolder() {
    CreateDirectoryA((paths.DataPath + "Temp16").c_str(), nullptr);
    CreateDirectoryA((paths.DataPath + "Temp32").c_str(), nullptr);
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "Path");
    if (reg.RegValue.toText() != paths.DataPath) {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "Path", Variant(paths.DataPath), REG_SZ);
    }
}

} // namespace vm::shell
