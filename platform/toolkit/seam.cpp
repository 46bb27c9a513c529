#include "seam.h"

#include <shellapi.h>

namespace vm {

Seam& Seam::get() {
    static Seam seam;
    return seam;
}

void Seam::reset() {
    answers_.clear();
    requests_.clear();
}

bool Seam::record(const SeamRequest& request, SeamAnswer& answer, const SeamAnswer& fallback) {
    requests_.push_back(request);
    if (!scripted_) return false;
    if (answers_.empty()) {
        answer = fallback;
    } else {
        answer = answers_.front();
        answers_.pop_front();
    }
    return true;
}

bool Seam::scriptsPerson(const SeamRequest& request, SeamAnswer& answer, const SeamAnswer& fallback) {
    if (!windowsShown_) return record(request, answer, fallback);
    requests_.push_back(request);
    return false;
}

namespace {
HWND g_owner = nullptr;

int firstButton(int style) {
    switch (style & 0x0F) {
    case vbOKCancel: return vbOK;
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}
} // namespace

HWND seamOwner() { return g_owner && IsWindow(g_owner) ? g_owner : nullptr; }
void setSeamOwner(HWND owner) { g_owner = owner; }

int MsgBox(const std::string& prompt, int style, const std::string& title) {
    std::string caption = title.empty() ? std::string("Vellumar") : title;
    SeamAnswer answer;
    if (Seam::get().scriptsPerson({"MsgBox", prompt, caption, style}, answer, {firstButton(style), {}, false}))
        return answer.code;
    return MessageBoxA(seamOwner(), prompt.c_str(), caption.c_str(), static_cast<UINT>(style) | MB_TASKMODAL);
}

bool seamExitWindows(UINT flags, DWORD reason) {
    SeamAnswer answer;
    if (Seam::get().record({"ExitWindows", {}, {}, flags}, answer, {1, {}, false})) return answer.code != 0;
    return ExitWindowsEx(flags, reason) != 0;
}

bool seamBroadcastSettingChange(WPARAM action, UINT timeoutMs) {
    SeamAnswer answer;
    if (Seam::get().record({"Broadcast", {}, {}, static_cast<long long>(action)}, answer, {1, {}, false}))
        return answer.code != 0;
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, action, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

INT_PTR seamShellExecute(HWND owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& folder, int show) {
    SeamAnswer answer;
    if (Seam::get().record({"Shell", file, verb, show}, answer, {42, {}, false})) return answer.code;
    return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                                                   parameters.empty() ? nullptr : parameters.c_str(),
                                                   folder.empty() ? nullptr : folder.c_str(), show));
}

DWORD seamStartProgram(const std::string& commandLine, int show) {
    SeamAnswer answer;
    if (Seam::get().record({"Start", commandLine, {}, show}, answer, {0, {}, false}))
        return static_cast<DWORD>(answer.code);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    std::string line = commandLine; // CreateProcessA may write into its command line
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

bool seamHtmlHelp(HWND owner, const std::string& file, UINT command, DWORD_PTR data) {
    SeamAnswer answer;
    if (Seam::get().record({"HtmlHelp", file, {}, static_cast<long long>(data), std::to_string(command)}, answer,
                           {1, {}, false}))
        return answer.code != 0;
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HtmlHelpFn fn = [] {
        // The viewer draws its pages with the system's HTML engine; without
        // one it would open a window of blank pages.
        if (!LoadLibraryA("mshtml.dll")) return HtmlHelpFn{};
        HMODULE viewer = LoadLibraryA("hhctrl.ocx");
        return viewer ? reinterpret_cast<HtmlHelpFn>(GetProcAddress(viewer, "HtmlHelpA")) : nullptr;
    }();
    return fn && fn(owner, file.c_str(), command, data);
}

} // namespace vm
