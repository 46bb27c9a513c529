#include "unzipcalls.h"

#include "zandrelbind.h"

#include <windows.h>

namespace ztest {

namespace zb = vm::zandrel;

int32_t extract(const std::string& archive, const std::string& member, const std::string& folder,
                const std::string& password, int32_t overwrite) {
    zb::addUNZIP_Initialise();
    zb::addUNZIP_ArchiveName(archive.c_str());
    if (!password.empty()) zb::addUNZIP_Decrypt(password.c_str());
    zb::addUNZIP_Include(member.c_str());
    zb::addUNZIP_ExtractTo(folder.c_str());
    zb::addUNZIP_Overwrite(overwrite);
    return zb::addUNZIP();
}

namespace {

Listing* g_received = nullptr;
WNDPROC g_editProc = nullptr;

LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SETTEXT && g_received && lp) {
        const std::string line = reinterpret_cast<const char*>(lp);
        (field(line, 5).empty() ? g_received->leftOut : g_received->lines).push_back(line);
    }
    return CallWindowProcA(g_editProc, hwnd, msg, wp, lp);
}

} // namespace

Listing list(const std::string& archive) {
    Listing out;
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&recordingProc)));
    g_received = &out;
    zb::addUNZIP_Initialise();
    zb::addUNZIP_SetWindowHandle(edit);
    zb::addUNZIP_ArchiveName(archive.c_str());
    zb::addUNZIP_View(ZANDREL_VIEW_LIST);
    out.result = zb::addUNZIP();
    g_received = nullptr;
    DestroyWindow(edit);
    return out;
}

std::string field(const std::string& line, int n) {
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        start = line.find('|', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    return line.substr(start, line.find('|', start) - start);
}

namespace {
void walk(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        out.push_back(prefix + name);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) walk(folder + "\\" + name, prefix + name + "\\", out);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}
} // namespace

std::vector<std::string> contents(const std::string& folder) {
    std::vector<std::string> out;
    walk(folder, "", out);
    return out;
}

std::string exeFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.rfind('\\') + 1);
}

} // namespace ztest
