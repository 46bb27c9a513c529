#include "dialogs.h"

#include <algorithm>

#include "control.h"
#include "utf8text.h"
#include "vberror.h"
#include "widefile.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

namespace vm {

bool CommonDialog::cancelled() {
    if (CancelError) throw VbError(cdlCancel, "CommonDialog", "Cancel was selected.");
    return false;
}

namespace {

// The system's file dialogs and folder picker take no path of MAX_PATH characters or more
// (one of them ends the program): such a path is told and left out, and the dialog opens
// where it would without it.
bool fitsDialog(const std::string& path) {
    if (!wide::TooLongForOldCalls(path)) return true;
    MsgBox("The path\r\r" + path + "\r\ris too long for the dialog; it opens without it.", vbExclamation);
    return false;
}

} // namespace

bool CommonDialog::showFile(bool save) {
    SeamAnswer answer;
    if (Seam::get().scriptsPerson({save ? "Save" : "Open", DialogTitle, Filter, Flags, InitDir}, answer, {0, {}, true})) {
        if (answer.cancelled) return cancelled();
        FileName = answer.text;
        size_t slash = FileName.find_last_of('\\');
        FileTitle = slash == std::string::npos ? FileName : FileName.substr(slash + 1);
        if (answer.code > 0) FilterIndex = answer.code;
        return true;
    }
    // The filter names its parts with "|"; the system wants NULs and a double NUL at the end.
    std::string filter = Filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');
    if (!fitsDialog(InitDir)) InitDir.clear();
    if (!fitsDialog(FileName)) FileName = FileName.substr(FileName.find_last_of('\\') + 1);
    if (wide::TooLongForOldCalls(FileName)) FileName.clear();
    std::vector<char> file(32768, '\0');
    FileName.copy(file.data(), file.size() - 1);
    // Names in UTF-8 take up to three bytes a character.
    std::vector<char> title(3 * MAX_PATH, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = seamOwner();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
    ofn.lpstrInitialDir = InitDir.empty() ? nullptr : InitDir.c_str();
    ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = static_cast<DWORD>(Flags) | OFN_EXPLORER;
    BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return cancelled();
    // A multiple choice keeps its NUL-separated parts (folder, then the names).
    size_t length = 0;
    while (length + 1 < file.size() && !(file[length] == '\0' && file[length + 1] == '\0')) ++length;
    FileName.assign(file.data(), length);
    FileTitle = title.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool CommonDialog::ShowOpen() { return showFile(false); }
bool CommonDialog::ShowSave() { return showFile(true); }

bool CommonDialog::ShowColor() {
    SeamAnswer answer;
    if (Seam::get().record({"Color", DialogTitle, {}, Flags, std::to_string(Color)}, answer, {0, {}, true})) {
        if (answer.cancelled) return cancelled();
        Color = static_cast<COLORREF>(answer.code);
        return true;
    }
    static COLORREF custom[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = seamOwner();
    cc.rgbResult = Color;
    cc.lpCustColors = custom;
    cc.Flags = static_cast<DWORD>(Flags) | CC_RGBINIT;
    if (!ChooseColorA(&cc)) return cancelled();
    Color = cc.rgbResult;
    return true;
}

namespace {
// An input box built in memory: prompt, edit field, OK and Cancel.
class InputDialog {
public:
    InputDialog(const std::string& prompt, const std::string& text) : prompt_(prompt), text_(text) {}

    bool run(const std::string& title) {
        std::vector<WORD> t;
        auto align = [&] {
            if (t.size() % 2) t.push_back(0);
        };
        auto text = [&](const std::string& s) {
            for (char c : s) t.push_back(static_cast<unsigned char>(c));
            t.push_back(0);
        };
        auto dword = [&](DWORD v) {
            t.push_back(LOWORD(v));
            t.push_back(HIWORD(v));
        };
        dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        dword(0);
        t.push_back(4); // items
        t.push_back(0);
        t.push_back(0);
        t.push_back(240);
        t.push_back(80);
        t.push_back(0); // menu
        t.push_back(0); // class
        text(title);
        t.push_back(8);
        text("MS Shell Dlg");
        auto item = [&](DWORD style, short x, short y, short w, short h, WORD id, WORD cls, const std::string& s) {
            align();
            dword(style | WS_CHILD | WS_VISIBLE);
            dword(0);
            t.push_back(static_cast<WORD>(x));
            t.push_back(static_cast<WORD>(y));
            t.push_back(static_cast<WORD>(w));
            t.push_back(static_cast<WORD>(h));
            t.push_back(id);
            t.push_back(0xFFFF);
            t.push_back(cls);
            text(s);
            t.push_back(0);
        };
        item(SS_LEFT, 7, 7, 170, 48, 100, 0x0082, prompt_);
        item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 60, 226, 13, 101, 0x0081, "");
        item(WS_TABSTOP | BS_DEFPUSHBUTTON, 183, 7, 50, 14, IDOK, 0x0080, "OK");
        item(WS_TABSTOP | BS_PUSHBUTTON, 183, 25, 50, 14, IDCANCEL, 0x0080, "Cancel");
        return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(t.data()),
                                       seamOwner(), proc, reinterpret_cast<LPARAM>(this)) == IDOK;
    }
    const std::string& text() const { return text_; }

private:
    static INT_PTR CALLBACK proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<InputDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (msg == WM_INITDIALOG) {
            SetWindowLongPtrA(dialog, DWLP_USER, lp);
            self = reinterpret_cast<InputDialog*>(lp);
            SetDlgItemTextA(dialog, 101, self->text_.c_str());
            return TRUE;
        }
        if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
            self->text_ = TextOfWindow(GetDlgItem(dialog, 101));
            EndDialog(dialog, LOWORD(wp));
            return TRUE;
        }
        return FALSE;
    }
    std::string prompt_, text_;
};
} // namespace

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    std::string caption = title.empty() ? std::string("Vellumar") : title;
    SeamAnswer answer;
    if (Seam::get().scriptsPerson({"InputBox", prompt, caption, 0, defaultText}, answer, {0, {}, true}))
        return answer.cancelled ? std::string() : answer.text;
    InputDialog dialog(prompt, defaultText);
    return dialog.run(caption) ? dialog.text() : std::string();
}

std::string PathOfShellItem(const void* item) {
    std::wstring path(32768, L'\0');
    if (!SHGetPathFromIDListEx(static_cast<PCIDLIST_ABSOLUTE>(item), path.data(), static_cast<DWORD>(path.size()),
                               GPFIDL_DEFAULT))
        return {};
    path.resize(wcslen(path.c_str()));
    return Utf8Text(path);
}

namespace {
// A window that opens for another (the folder picker) stands in the middle of
// it, inside the work area of its screen, not where the system first puts it.
void centreOnOwner(HWND window) {
    RECT own{}, r{};
    GetWindowRect(window, &r);
    const HWND owner = GetWindow(window, GW_OWNER);
    MONITORINFO screen{};
    screen.cbSize = sizeof(screen);
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), &screen);
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &own)) own = screen.rcWork;
    const LONG w = r.right - r.left, h = r.bottom - r.top;
    const LONG x = std::clamp((own.left + own.right - w) / 2, screen.rcWork.left,
                              std::max(screen.rcWork.left, screen.rcWork.right - w));
    const LONG y = std::clamp((own.top + own.bottom - h) / 2, screen.rcWork.top,
                              std::max(screen.rcWork.top, screen.rcWork.bottom - h));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

bool seamBrowseForFolder(HWND owner, const std::string& title, UINT flags, std::string& folder) {
    SeamAnswer answer;
    if (Seam::get().scriptsPerson({"Folder", title, {}, flags, folder}, answer, {0, {}, true})) {
        if (answer.cancelled) return false;
        folder = answer.text;
        return true;
    }
    BROWSEINFOA info{};
    char display[MAX_PATH] = {};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = flags;
    info.lpfn = [](HWND window, UINT msg, LPARAM, LPARAM start) -> int {
        if (msg != BFFM_INITIALIZED) return 0;
        centreOnOwner(window);
        if (start) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, start);
        return 0;
    };
    info.lParam = folder.empty() || !fitsDialog(folder) ? 0 : reinterpret_cast<LPARAM>(folder.c_str());
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen) return false;
    const std::string path = PathOfShellItem(chosen);
    CoTaskMemFree(chosen);
    if (!path.empty()) folder = path;
    return !path.empty();
}

} // namespace vm
