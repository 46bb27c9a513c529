#include "instance.h"

#include <vector>

#include "storedtext.h"

namespace vm::shell {

HANDLE InstanceMutex = nullptr;
HWND PrevInstanceWnd = nullptr;

bool procIsFirstInstance(const std::string& mutexName) {
    HANDLE handle = CreateMutexA(nullptr, TRUE, mutexName.c_str());
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (handle) CloseHandle(handle);
        return false;
    }
    InstanceMutex = handle;
    return true;
}

void procReleaseInstanceMutex() {
    if (InstanceMutex) {
        ReleaseMutex(InstanceMutex);
        CloseHandle(InstanceMutex);
        InstanceMutex = nullptr;
    }
}

namespace {
BOOL CALLBACK findTagged(HWND window, LPARAM) {
    if (reinterpret_cast<INT_PTR>(GetPropA(window, kWindowProperty)) == 1) {
        PrevInstanceWnd = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

void procFindPrevInstanceWindow() {
    PrevInstanceWnd = nullptr;
    EnumWindows(findTagged, 0);
}

void procActivatePrevInstance(HWND window) {
    if (IsIconic(window)) SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    // Topmost and back again raises the window without leaving it topmost;
    // neither call shows a hidden window.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void procTagMainWindow(HWND window) {
    SetPropA(window, kWindowProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
}

std::string commandArguments(const std::string& full) {
    size_t i = 0;
    while (i < full.size() && (full[i] == ' ' || full[i] == '\t')) ++i;
    if (i < full.size() && full[i] == '"') {
        size_t close = full.find('"', i + 1);
        i = close == std::string::npos ? full.size() : close + 1;
    }
    while (i < full.size() && full[i] != ' ' && full[i] != '\t') ++i;
    while (i < full.size() && (full[i] == ' ' || full[i] == '\t')) ++i;
    return full.substr(i);
}

HandOver procHandOver(const std::string& commandLine, DWORD waitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        procFindPrevInstanceWindow();
        if (PrevInstanceWnd || GetTickCount() - start >= waitMs) break;
        Sleep(100);
    }
    if (!PrevInstanceWnd) return HandOver::NoWindow;

    if (!commandLine.empty() || !IsWindowVisible(PrevInstanceWnd)) {
        std::vector<char> bytes(commandLine.begin(), commandLine.end());
        if (bytes.empty()) bytes.push_back('\0');
        COPYDATASTRUCT data{};
        data.dwData = 0;
        data.cbData = static_cast<DWORD>(bytes.size());
        data.lpData = bytes.data();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(PrevInstanceWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000,
                            &result);
        return HandOver::Sent;
    }
    procActivatePrevInstance(PrevInstanceWnd);
    return HandOver::Activated;
}

std::string copyDataText(const COPYDATASTRUCT& data) {
    if (data.cbData == 0 || !data.lpData) return {};
    std::string text(static_cast<const char*>(data.lpData), data.cbData);
    size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    // A start of an earlier version hands its command line over in the system's ANSI code page.
    return StoredText(text);
}

} // namespace vm::shell
