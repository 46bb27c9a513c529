#include "scenario.h"

#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "browserstate.h"
#include "frmzoom.h"
#include "libfixtures.h"
#include "registry.h"
#include "seam.h"
#include "patience.h"
#include "secondhand.h"
#include "startpaths.h"
#include "state.h"
#include "utf8text.h"

using namespace vm;

namespace vmscenario {

namespace {

// Keys that sit in the extended block of the keyboard.
bool extendedKey(int key);

} // namespace

INPUT keyInput(int key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(key);
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT mouseInput(POINT screen, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((screen.x * 65535LL + cx / 2) / std::max(1, cx - 1));
    in.mi.dy = static_cast<LONG>((screen.y * 65535LL + cy / 2) / std::max(1, cy - 1));
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

namespace {

bool extendedKey(int key) {
    switch (key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_LEFT: case VK_UP: case VK_RIGHT:
    case VK_DOWN: case VK_INSERT: case VK_DELETE: return true;
    default: return false;
    }
}

void addKey(std::vector<INPUT>& inputs, int key, int shift) {
    const std::pair<int, int> modifiers[] = {{vbShiftMask, VK_SHIFT}, {vbCtrlMask, VK_CONTROL}, {vbAltMask, VK_MENU}};
    for (auto [mask, vk] : modifiers)
        if (shift & mask) inputs.push_back(keyInput(vk, false));
    inputs.push_back(keyInput(key, false));
    inputs.push_back(keyInput(key, true));
    for (auto [mask, vk] : modifiers)
        if (shift & mask) inputs.push_back(keyInput(vk, true));
}

void send(std::vector<INPUT>& inputs) {
    if (inputs.empty()) return;
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    EXPECT_EQ(sent, inputs.size()) << "the input was not accepted";
}

// The last press the hands sent: a press of the same button near it within the
// double-click time would be taken as a double-click's second press.
struct Press {
    POINT at{-100, -100};
    DWORD button = 0, time = 0;
} g_lastPress;

void clickAt(POINT screen, DWORD down, DWORD up, int times = 1) {
    // Separate clicks, as a person makes them: the press waits out the double-click time.
    const DWORD elapsed = GetTickCount() - g_lastPress.time, limit = GetDoubleClickTime() + 50;
    if (down == g_lastPress.button && elapsed < limit &&
        std::abs(screen.x - g_lastPress.at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        std::abs(screen.y - g_lastPress.at.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
        settle(static_cast<int>(limit - elapsed));
    std::vector<INPUT> inputs{mouseInput(screen, 0)};
    for (int i = 0; i < times; ++i) {
        inputs.push_back(mouseInput(screen, down));
        inputs.push_back(mouseInput(screen, up));
    }
    send(inputs);
    g_lastPress = {screen, down, GetTickCount()};
    settle();
}

POINT toScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

POINT middle(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::string plain(const std::string& caption) {
    std::string text = caption.substr(0, caption.find('\t'));
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

// What a menu shows while the menu loop waits for the next key: the loop
// tells the owner it is idle, and the watch reads the lines and closes the
// menu (also when a path went wrong, so that no scenario hangs in a menu).
struct MenuWatch {
    HHOOK hook = nullptr;
    HMENU read = nullptr;
    std::vector<MenuLine> lines;
    bool entered = false; // the menu loop ran
    bool idled = false;
};
MenuWatch g_watch;

LRESULT CALLBACK watchMenu(int code, WPARAM wp, LPARAM lp) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && message->message == WM_ENTERMENULOOP) g_watch.entered = true;
    if (code == HC_ACTION && message->message == WM_ENTERIDLE && message->wParam == MSGF_MENU && !g_watch.idled) {
        g_watch.idled = true;
        if (g_watch.read) g_watch.lines = menuLines(g_watch.read);
        EndMenu();
    }
    return CallNextHookEx(g_watch.hook, code, wp, lp);
}

// Runs a menu walk: the keys are all queued before the window reads them.
void runMenuKeys(std::vector<INPUT>& inputs, HMENU read) {
    g_watch = MenuWatch{};
    g_watch.read = read;
    g_watch.hook = SetWindowsHookExA(WH_CALLWNDPROC, watchMenu, nullptr, GetCurrentThreadId());
    send(inputs);
    settle();
    UnhookWindowsHookEx(g_watch.hook);
    g_watch.hook = nullptr;
}

int findTopMenu(HMENU bar, const std::string& title) {
    for (int i = 0, n = GetMenuItemCount(bar); i < n; ++i) {
        char text[256] = {};
        GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        if (title == text) return i;
    }
    return -1;
}

int mnemonicOf(const std::string& caption) {
    size_t amp = caption.find('&');
    if (amp == std::string::npos || amp + 1 >= caption.size()) return 0;
    return toupper(static_cast<unsigned char>(caption[amp + 1]));
}

} // namespace

std::vector<INPUT> keyStrokes(int key, int shift) {
    std::vector<INPUT> inputs;
    addKey(inputs, key, shift);
    return inputs;
}

std::vector<INPUT> typedStrokes(const std::string& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : vm::WideText(text)) {
        if (c >= 0x80) {
            // A letter no key of the layout types arrives as an input method hands it over.
            for (DWORD up : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)}) {
                INPUT in{};
                in.type = INPUT_KEYBOARD;
                in.ki.wScan = static_cast<WORD>(c);
                in.ki.dwFlags = KEYEVENTF_UNICODE | up;
                inputs.push_back(in);
            }
            continue;
        }
        SHORT scan = VkKeyScanW(c);
        EXPECT_NE(scan, -1) << "no key types '" << static_cast<char>(c) << "'";
        if (scan == -1) continue;
        const int states = HIBYTE(scan);
        addKey(inputs, LOBYTE(scan), (states & 1 ? vbShiftMask : 0) | (states & 2 ? vbCtrlMask : 0) |
                                          (states & 4 ? vbAltMask : 0));
    }
    return inputs;
}

// Hands.

void settle(int atLeastMs) {
    const DWORD start = GetTickCount();
    int quiet = 0;
    // Quiet means no input, posted or sent message for a few rounds; timers
    // and painting go on for ever and do not count.
    while (GetTickCount() - start < 10000) {
        DoEvents();
        const bool pending = HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0;
        quiet = pending ? 0 : quiet + 1;
        if (quiet >= 3 && static_cast<int>(GetTickCount() - start) >= atLeastMs) break;
        Sleep(10);
    }
    DoEvents();
}

void press(int key, int shift) {
    std::vector<INPUT> inputs = keyStrokes(key, shift);
    send(inputs);
    settle();
}

void typeText(const std::string& text) {
    std::vector<INPUT> inputs = typedStrokes(text);
    send(inputs);
    settle();
}

std::string programFolder() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string path = exe;
    return path.substr(0, path.rfind('\\') + 1);
}

void startProgramAgain(const std::string& path) {
    std::string command = "\"" + programFolder() + "Vellumar.exe\" \"" + path + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    for (int i = 0; i < 200 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; ++i) settle(50);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

void clickTab(TabStrip& strip, int index) {
    RECT r{};
    SendMessageA(strip.hWnd(), TCM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    click(strip, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::string stored(const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    return reg.RegValue.isEmpty() ? "<missing>" : reg.RegValue.toText();
}

void typeInto(ComboBox& box, const std::string& text) {
    HWND edit = editOf(box);
    ASSERT_NE(edit, nullptr) << "the combo box has no edit box";
    RECT r{};
    GetClientRect(edit, &r);
    clickAt(toScreen(edit, r.right - 4, r.bottom / 2), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(GetFocus(), edit) << "a click into the box did not give it the focus";
    press(VK_HOME);
    press(VK_END, vbShiftMask);
    typeText(text);
}

void click(Control& control) {
    RECT r{};
    GetClientRect(control.hWnd(), &r);
    const POINT m = middle(r);
    click(control, m.x, m.y);
}

void click(Control& control, int x, int y) {
    clickAt(toScreen(control.hWnd(), x, y), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

void rightClick(Control& control, int x, int y) {
    clickAt(toScreen(control.hWnd(), x, y), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

void doubleClick(Control& control, int x, int y) {
    clickAt(toScreen(control.hWnd(), x, y), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
}

namespace {
POINT itemPoint(ListView& list, int index) {
    HWND h = list.hWnd();
    SendMessageA(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index - 1), FALSE);
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(h, LVM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    return middle(r);
}
} // namespace

void clickItem(ListView& list, int index) {
    const POINT p = itemPoint(list, index);
    click(list, p.x, p.y);
}

void rightClickItem(ListView& list, int index) {
    const POINT p = itemPoint(list, index);
    rightClick(list, p.x, p.y);
}

void doubleClickItem(ListView& list, int index) {
    const POINT p = itemPoint(list, index);
    doubleClick(list, p.x, p.y);
}

POINT nodePoint(const std::string& key) {
    Node& node = frmMain().pnlNav.Nodes(key);
    node.EnsureVisible();
    RECT r{};
    // The tree asks for the item in the rectangle it fills.
    const HTREEITEM handle = node.handle();
    memcpy(&r, &handle, sizeof handle);
    SendMessageA(frmMain().pnlNav.hWnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return middle(r);
}

void clickNode(const std::string& key) {
    const POINT p = nodePoint(key);
    click(frmMain().pnlNav, p.x, p.y);
}

namespace {

// Holds the left button on item index of the result list, moves to the screen point in steps and lets
// go there (with Shift held over it when asked). A hand of its own moves the mouse, a step at a time as
// a person does, while this thread runs the window (and the drag loop the drag starts).
void dragItemTo(int index, POINT to, bool shift) {
    ListView& list = frmMain().pnlResult;
    RECT r{};
    r.left = LVIR_ICON;
    SendMessageA(list.hWnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    POINT from = middle(r);
    ClientToScreen(list.hWnd(), &from);
    std::vector<INPUT> inputs{mouseInput(from, 0), mouseInput(from, MOUSEEVENTF_LEFTDOWN)};
    const int steps = 12;
    for (int i = 1; i <= steps; ++i)
        inputs.push_back(
            mouseInput(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, 0));
    if (shift) inputs.push_back(keyInput(VK_SHIFT, false));
    inputs.push_back(mouseInput(to, 0));
    inputs.push_back(mouseInput(to, MOUSEEVENTF_LEFTUP));
    if (shift) inputs.push_back(keyInput(VK_SHIFT, true));
    std::atomic<bool> done{false};
    std::thread hand([&inputs, &done] {
        for (INPUT& in : inputs) {
            SendInput(1, &in, sizeof in);
            Sleep(40);
        }
        done = true;
    });
    while (!done) {
        DoEvents();
        Sleep(10);
    }
    hand.join();
    settle(200);
}

} // namespace

void dragItemOnto(int index, Control& target) {
    RECT t{};
    GetClientRect(target.hWnd(), &t);
    dragItemTo(index, toScreen(target.hWnd(), t.right / 2, t.bottom / 2), false);
}

void dragItemToNode(int index, const std::string& key, bool shift) {
    const POINT p = nodePoint(key);
    dragItemTo(index, toScreen(frmMain().pnlNav.hWnd(), p.x, p.y), shift);
}

void clickButton(Toolbar& bar, const std::string& key) {
    RECT r{};
    SendMessageA(bar.hWnd(), TB_GETITEMRECT, static_cast<WPARAM>(bar.Buttons(key).Index() - 1),
                 reinterpret_cast<LPARAM>(&r));
    // Left of the middle: a drop-down button's arrow lies at its right.
    click(bar, r.left + (r.right - r.left) / 3, (r.top + r.bottom) / 2);
}

void dropDown(ComboBox& box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(box.hWnd(), &info));
    const POINT m = middle(info.rcButton);
    click(box, m.x, m.y);
}

void clickListEntry(ComboBox& box, const std::string& text) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(box.hWnd(), &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList)) << "the list is not open";
    const LRESULT index =
        SendMessageA(info.hwndList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    ASSERT_GE(index, 0) << "the list has no entry " << text;
    RECT r{};
    SendMessageA(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const POINT m = middle(r);
    clickAt(toScreen(info.hwndList, m.x, m.y), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

namespace {
// The part of a window that its siblings above it leave uncovered, in its parent's client pixels.
HRGN shownRegion(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    HRGN shown = CreateRectRgnIndirect(&r);
    if (!IsWindowVisible(h)) SetRectRgn(shown, 0, 0, 0, 0);
    for (HWND above = GetWindow(h, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (!IsWindowVisible(above)) continue;
        RECT cover{};
        GetWindowRect(above, &cover);
        MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&cover), 2);
        HRGN covered = CreateRectRgnIndirect(&cover);
        CombineRgn(shown, shown, covered, RGN_DIFF);
        DeleteObject(covered);
    }
    return shown;
}
} // namespace

void dragSplitter(Control& bar, int dx, int dy) {
    HRGN region = shownRegion(bar.hWnd());
    RECT shown{};
    GetRgnBox(region, &shown);
    if (IsRectEmpty(&shown)) {
        DeleteObject(region);
        FAIL() << "no part of the bar shows: it cannot be grabbed";
    }
    // The point of the bar that shows nearest the middle of what shows.
    HWND parent = GetParent(bar.hWnd());
    const POINT m = middle(shown);
    POINT best = m;
    long bestDistance = -1;
    for (int y = shown.top; y < shown.bottom; ++y)
        for (int x = shown.left; x < shown.right; ++x) {
            if (!PtInRegion(region, x, y)) continue;
            const long d = (x - m.x) * (x - m.x) + (y - m.y) * (y - m.y);
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = POINT{x, y};
            }
        }
    DeleteObject(region);
    const POINT from = toScreen(parent, best.x, best.y);
    std::vector<INPUT> inputs{mouseInput(from, 0), mouseInput(from, MOUSEEVENTF_LEFTDOWN)};
    const int steps = 5;
    for (int i = 1; i <= steps; ++i)
        inputs.push_back(mouseInput(POINT{from.x + dx * i / steps, from.y + dy * i / steps}, 0));
    inputs.push_back(mouseInput(POINT{from.x + dx, from.y + dy}, MOUSEEVENTF_LEFTUP));
    send(inputs);
    settle();
}

void chooseMenu(std::initializer_list<std::string> path) {
    ASSERT_GE(path.size(), 2u);
    HMENU menu = GetMenu(frmMain().hWnd());
    auto step = path.begin();
    const int top = findTopMenu(menu, *step);
    ASSERT_GE(top, 0) << "no menu " << *step;
    const int letter = mnemonicOf(*step);
    ASSERT_NE(letter, 0);
    std::vector<INPUT> inputs;
    addKey(inputs, letter, vbAltMask);
    menu = GetSubMenu(menu, top);
    for (++step; step != path.end(); ++step) {
        ASSERT_NE(menu, nullptr);
        // The arrow keys pass over separators; the first item is selected when a menu opens.
        int downs = -1, found = -1;
        for (int i = 0, n = GetMenuItemCount(menu); i < n && found < 0; ++i) {
            MENUITEMINFOA info{};
            char text[256] = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = sizeof(text);
            GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
            if (info.fType & MFT_SEPARATOR) continue;
            ++downs;
            if (*step == text || *step == plain(text)) found = i;
        }
        ASSERT_GE(found, 0) << "no item " << *step;
        for (int i = 0; i < downs; ++i) addKey(inputs, VK_DOWN, 0);
        const bool last = step + 1 == path.end();
        addKey(inputs, last ? VK_RETURN : VK_RIGHT, 0);
        menu = GetSubMenu(menu, found);
    }
    runMenuKeys(inputs, nullptr);
    EXPECT_TRUE(g_watch.entered) << "the menu did not open";
    EXPECT_FALSE(g_watch.idled) << "the menu stayed open: the walk did not reach an item that could be chosen";
}

void systemMenu(char letter) {
    std::vector<INPUT> inputs;
    addKey(inputs, VK_SPACE, vbAltMask);
    addKey(inputs, toupper(static_cast<unsigned char>(letter)), 0);
    runMenuKeys(inputs, nullptr);
    EXPECT_TRUE(g_watch.entered) << "the system menu did not open";
    EXPECT_FALSE(g_watch.idled) << "the system menu has no item for " << letter;
}

void clickFrame(int part) {
    HWND h = frmMain().hWnd();
    RECT r{};
    GetWindowRect(h, &r);
    // The frame's parts lie along its edges and in the caption: the top rows first.
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            if (y > r.top + 64 && y < r.bottom - 8 && x > r.left + 8 && x < r.right - 8) continue;
            if (SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != part) continue;
            // Into the part a little, as a hand aims at its middle.
            int right = x, bottom = y;
            while (right + 1 < r.right && SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(right + 1, y)) == part) ++right;
            while (bottom + 1 < r.bottom && SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(x, bottom + 1)) == part) ++bottom;
            clickAt(POINT{(x + right) / 2, (y + bottom) / 2}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
            return;
        }
    ADD_FAILURE() << "the window's frame has no part " << part;
}

KeyDuringWork::KeyDuringWork(int key, std::function<bool()> started) : KeyDuringWork(keyStrokes(key), std::move(started)) {}

KeyDuringWork::KeyDuringWork(std::vector<INPUT> inputs, std::function<bool()> started) {
    readyProgramRunner();
    hand_ = std::thread([this, inputs = std::move(inputs), started = std::move(started)]() mutable {
        const DWORD start = GetTickCount();
        while (!stop_ && GetTickCount() - start < 30000) {
            if (askProgram(started) && !stop_) {
                SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
                pressed_ = true;
                break;
            }
            Sleep(1);
        }
        done_ = true;
    });
}

// The hand may be waiting for the program's thread to answer it: that
// thread handles its messages until the hand is done.
KeyDuringWork::~KeyDuringWork() {
    stop_ = true;
    vmtest::waitUntil([this] { return done_.load(); }, [] { DoEvents(); });
    hand_.join();
}

std::vector<MenuLine> openMenu(const std::string& title) {
    HMENU bar = GetMenu(frmMain().hWnd());
    const int top = findTopMenu(bar, title);
    EXPECT_GE(top, 0) << "no menu " << title;
    if (top < 0) return {};
    std::vector<INPUT> inputs;
    addKey(inputs, mnemonicOf(title), vbAltMask);
    runMenuKeys(inputs, GetSubMenu(bar, top));
    EXPECT_TRUE(g_watch.idled) << "the menu " << title << " did not open";
    return g_watch.lines;
}

std::vector<MenuLine> menuLines(HMENU menu) {
    std::vector<MenuLine> lines;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        MENUITEMINFOA info{};
        char text[256] = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        MenuLine line;
        line.separator = (info.fType & MFT_SEPARATOR) != 0;
        line.caption = line.separator ? "-" : text;
        line.enabled = !(info.fState & MFS_GRAYED);
        line.checked = (info.fState & MFS_CHECKED) != 0;
        line.bold = (info.fState & MFS_DEFAULT) != 0;
        lines.push_back(line);
    }
    return lines;
}

// Eyes.

const MenuLine* menuLine(const std::vector<MenuLine>& lines, const std::string& caption) {
    for (const MenuLine& l : lines)
        if (l.caption == caption) return &l;
    return nullptr;
}

std::vector<std::string> itemTexts(ListView& list, int column) {
    HWND h = list.hWnd();
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(h, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

int lastItemWith(ListView& list, int column, const std::string& part) {
    const std::vector<std::string> texts = itemTexts(list, column);
    for (std::size_t i = texts.size(); i > 0; --i)
        if (texts[i - 1].find(part) != std::string::npos) return static_cast<int>(i);
    return 0;
}

int selectedItem(ListView& list) {
    return static_cast<int>(SendMessageA(list.hWnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) + 1;
}

std::string panelText(const std::string& key) {
    HWND bar = frmMain().pnlStatusbar.hWnd();
    const WPARAM index = static_cast<WPARAM>(frmMain().pnlStatusbar.Panels(key).Index() - 1);
    const int length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, index, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(strlen(text.c_str()));
    return text;
}

HWND editOf(ComboBox& box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(box.hWnd(), &info) ? info.hwndItem : nullptr;
}

std::string editText(ComboBox& box) {
    char text[512] = {};
    GetWindowTextA(editOf(box), text, sizeof(text));
    return text;
}

std::vector<std::string> listEntries(ComboBox& box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(box.hWnd(), &info);
    std::vector<std::string> entries;
    for (int i = 0, n = static_cast<int>(SendMessageA(info.hwndList, LB_GETCOUNT, 0, 0)); i < n; ++i) {
        const LRESULT length = SendMessageA(info.hwndList, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        SendMessageA(info.hwndList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(strlen(text.c_str()));
        entries.push_back(text);
    }
    return entries;
}

HWND focusedWindow() { return GetFocus(); }

RECT rectOf(Control& control) {
    RECT r{};
    GetWindowRect(control.hWnd(), &r);
    MapWindowPoints(HWND_DESKTOP, frmMain().hWnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT clientRect() {
    RECT r{};
    GetClientRect(frmMain().hWnd(), &r);
    return r;
}

RECT visibleRect(Control& control) {
    HRGN region = shownRegion(control.hWnd());
    RECT shown{};
    GetRgnBox(region, &shown);
    DeleteObject(region);
    return shown;
}

bool listingRuns() { return IsWindowVisible(frmMain().pnlProgressBar.hWnd()) != FALSE; }

IDataObject* draggedFiles(const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& file : files) names += file + '\0';
    names += '\0';
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    if (!global) return nullptr;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(global));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(global);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_HDROP, global);
    CloseClipboard();
    IDataObject* data = nullptr;
    return OleGetClipboard(&data) == S_OK ? data : nullptr;
}

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void setClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    // As Unicode: text in any language pastes as it is.
    const std::wstring wide = vm::WideText(text);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(data), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
}

// The fixtures.

void MainWindowScenario::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    // Every scenario starts from its own folders, whatever one before it used.
    paths.DataPath = dir.path() + "\\";
    paths.TempPath = paths.DataPath;
    Seam::get().setScripted(true);
    Seam::get().setWindowsShown(true);
    FrmMain::endProcess = [] {};
    runState.SplashActive = true;
    runState.SystemIconsChanged = false; // a change made by a scenario before asks nothing at this one's exit
    Busy.AbortRequested = false;
    watchForUnansweredWindows();
    // The notice of a missing library stands in front of no window unless a scenario asks for it.
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "VellumarLight", Variant(std::string("1")), REG_SZ);
    // An index of one keyword: the window starts without the message of a missing or empty one.
    vmtest::writeFile(dir.file("Icondata-32.dat"), "none;1:0:00\r\n");
    prepare();
    w().Load();
    show();
}


void MainWindowScenario::show() {
    w().Show(vbModeless);
    SetForegroundWindow(w().hWnd());
    settle(100);
}

// The picker shows the cursor ten times its size.
HotspotAnswered::HotspotAnswered(int x, int y)
    : notice("Change Cursors", {clickOn("Define Hotspot Now")}),
      picker("Set the Cursor's Hotspot", {onProgram([x, y] { click(frmZoom().picZoom, x * 10 + 8, y * 10 + 8); })}) {}

void MainWindowScenario::answerAtStart(std::string caption, std::vector<HandStep> steps) {
    atStart_.push_back(std::make_unique<Answer>(std::move(caption), std::move(steps)));
}

void MainWindowScenario::TearDown() {
    atStart_.clear();
    for (const std::string& caption : stopWatchingWindows()) ADD_FAILURE() << "no hand answered the window " << caption;
    if (w().IsLoaded()) w().Unload(vbFormCode);
    SetCurrentDirectoryA("C:\\"); // start-up enters the favourites folder in the scratch folder
    // The window's companions and whatever a scenario opened stay loaded after an unload from code.
    for (Form* f : Form::loadedForms())
        if (f->IsLoaded()) f->Unload();
    Seam::get().reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
}

void LibraryScenario::prepare() {
    vmtest::writeSampleLibrary(dir.path());
    shell::procPrepareDataFolder(); // the cache folders the library icons pass through
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "IconsPerPage32", Variant(std::string("3")), REG_SZ);
}

void BoatListing::SetUp() {
    LibraryScenario::SetUp();
    typeInto(w().cmbSearch, "boat");
    press(VK_RETURN);
    ASSERT_EQ(panelText("area"), "Page 1 of 2");
}

} // namespace vmscenario
