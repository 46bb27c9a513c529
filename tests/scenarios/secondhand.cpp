// The second hand: a thread of the test that waits for a window of the
// program to show (a message box, an input box, a common dialog, a modal
// form, a pop-up menu), reads it and answers it with real input, while the
// program's thread sits in that window's modal loop.
#include "scenario.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "secondhand.h"
#include "utf8text.h"
#include "patience.h"

namespace vmscenario {

const char kPopupMenu[] = "#32768";

namespace {

constexpr DWORD kWaitForWindowMs = 15000;

std::string plainText(const std::string& caption) {
    std::string text = caption.substr(0, caption.find('\t'));
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

std::string className(HWND h) {
    char name[64] = {};
    GetClassNameA(h, name, sizeof(name));
    return name;
}

// The caption without a message to the window's thread.
std::string storedCaption(HWND h) {
    WCHAR text[256] = {};
    InternalGetWindowText(h, text, 256);
    char narrow[512] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

std::vector<HWND> programWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND h, LPARAM found) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(h, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(h))
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool matches(HWND h, const std::string& caption) {
    if (caption == kPopupMenu) return className(h) == kPopupMenu;
    return className(h) != kPopupMenu && storedCaption(h) == caption;
}

void sendInputs(std::vector<INPUT> inputs) {
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void clickScreen(POINT p) {
    sendInputs({mouseInput(p, 0), mouseInput(p, MOUSEEVENTF_LEFTDOWN), mouseInput(p, MOUSEEVENTF_LEFTUP)});
}

POINT middleOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Runs the test's own hands on the program's thread: a window of the harness
// that every modal loop of the thread dispatches to.
constexpr UINT kRunOnProgram = WM_APP + 0x51;
HWND g_programRunner = nullptr;

LRESULT CALLBACK runnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != kRunOnProgram) return DefWindowProcA(h, msg, wp, lp);
    (*reinterpret_cast<std::function<void()>*>(lp))();
    SetEvent(reinterpret_cast<HANDLE>(wp));
    return 0;
}

void makeProgramRunner() {
    if (g_programRunner) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = runnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VellumarScenarioHand";
    RegisterClassA(&wc);
    g_programRunner = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
}

} // namespace

// The hands waiting or at work, in the order they were made.
struct Answer::State {
    std::string caption;
    std::vector<HandStep> steps;
    ShownWindow seen;
    HWND claimed = nullptr;
    bool found = false, done = false, stop = false;
};

namespace {
std::mutex g_handsLock;
std::vector<std::shared_ptr<Answer::State>> g_hands;

// A window that a hand holds or is about to take.
bool heldByAHand(HWND h) {
    std::lock_guard<std::mutex> lock(g_handsLock);
    for (const auto& hand : g_hands)
        if ((hand->claimed == h && !hand->done) || (!hand->found && !hand->stop && matches(h, hand->caption)))
            return true;
    return false;
}
} // namespace

std::vector<std::string> ShownWindow::texts() const {
    std::vector<std::string> shown;
    for (const ShownControl& c : controls)
        if (c.visible && !c.text.empty()) shown.push_back(plainText(c.text));
    return shown;
}

const ShownControl* ShownWindow::find(const std::string& text, bool prefix) const {
    const std::string wanted = plainText(text);
    for (const ShownControl& c : controls) {
        if (!c.visible) continue;
        const std::string shown = plainText(c.text);
        if (shown == wanted || (prefix && shown.rfind(wanted, 0) == 0)) return &c;
    }
    return nullptr;
}

bool inFront(HWND window) {
    RECT mine{};
    GetWindowRect(window, &mine);
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        DWORD process = 0;
        GetWindowThreadProcessId(above, &process);
        if (process != GetCurrentProcessId() || !IsWindowVisible(above)) continue;
        if (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST) continue; // tool tips
        RECT r{}, both{};
        GetWindowRect(above, &r);
        if (IntersectRect(&both, &r, &mine)) return false;
    }
    return IsWindowVisible(window) != FALSE;
}

bool shownOnScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    // The band above the client area (caption, menu bar): the window's own drawing, still while it is read.
    const int y = (client.y - r.top) / 2;
    HDC own = GetWindowDC(window), screen = GetDC(nullptr);
    int same = 0, all = 0;
    for (int x = 2; x < r.right - r.left - 2; x += 3, ++all)
        same += GetPixel(own, x, y) == GetPixel(screen, r.left + x, r.top + y);
    ReleaseDC(nullptr, screen);
    ReleaseDC(window, own);
    return all > 0 && same * 10 >= all * 9;
}

ShownWindow readWindow(HWND window) {
    ShownWindow shown;
    shown.hwnd = window;
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    shown.caption = text;
    shown.inFront = GetForegroundWindow() == window;
    if (className(window) == kPopupMenu) {
        shown.inFront = true; // a menu shows above every window
        if (HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0))) shown.lines = menuLines(menu);
        return shown;
    }
    EnumChildWindows(
        window,
        [](HWND h, LPARAM into) -> BOOL {
            ShownControl c;
            c.hwnd = h;
            c.className = className(h);
            char t[1024] = {};
            GetWindowTextA(h, t, sizeof(t));
            c.text = t;
            c.id = GetDlgCtrlID(h);
            c.visible = IsWindowVisible(h) != FALSE;
            c.enabled = IsWindowEnabled(h) != FALSE;
            RECT r{};
            GetWindowRect(h, &r);
            HWND parent = GetParent(h);
            POINT m = middleOf(r);
            ScreenToClient(parent, &m);
            c.uncovered = c.visible && ChildWindowFromPointEx(parent, m, CWP_SKIPINVISIBLE) == h;
            reinterpret_cast<ShownWindow*>(into)->controls.push_back(c);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

HandStep clickOn(const std::string& text) {
    return {[text](const ShownWindow& w) {
                const ShownControl* c = w.find(text);
                if (!c) {
                    std::string shown;
                    for (const std::string& t : w.texts()) shown += " | " + t;
                    ADD_FAILURE() << "the window " << w.caption << " shows nothing reading " << text << shown;
                    return;
                }
                EXPECT_TRUE(c->enabled && c->uncovered) << text << " cannot be clicked in " << w.caption;
                RECT r{};
                GetWindowRect(c->hwnd, &r);
                clickScreen(middleOf(r));
            },
            nullptr};
}

HandStep typeKeys(const std::string& text) {
    return {[text](const ShownWindow&) { sendInputs(typedStrokes(text)); }, nullptr};
}

HandStep pressKey(int key, int shift) {
    return {[key, shift](const ShownWindow&) { sendInputs(keyStrokes(key, shift)); }, nullptr};
}

HandStep chooseEntry(const std::string& label, const std::string& entry) {
    return {[label, entry](const ShownWindow& w) {
                const ShownControl* c = w.find(label);
                HWND box = c ? GetWindow(c->hwnd, GW_HWNDNEXT) : nullptr;
                while (box && className(box) != "ComboBox") box = GetWindow(box, GW_HWNDNEXT);
                // A label worded otherwise (a dialog of the system): the list that holds the entry.
                for (size_t i = 0; !box && i < w.controls.size(); ++i) {
                    const ShownControl& other = w.controls[i];
                    if (other.visible && other.className == "ComboBox" &&
                        SendMessageA(other.hwnd, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(entry.c_str())) >= 0)
                        box = other.hwnd;
                }
                if (!box) {
                    ADD_FAILURE() << "no drop-down list follows " << label;
                    return;
                }
                COMBOBOXINFO info{};
                info.cbSize = sizeof(info);
                GetComboBoxInfo(box, &info);
                POINT arrow = middleOf(info.rcButton);
                ClientToScreen(box, &arrow);
                clickScreen(arrow);
                vmtest::waitUntil([&] { return IsWindowVisible(info.hwndList) != FALSE; });
                const LRESULT index = SendMessageA(info.hwndList, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(entry.c_str()));
                if (index < 0) {
                    ADD_FAILURE() << "the list after " << label << " has no entry " << entry;
                    sendInputs(keyStrokes(VK_ESCAPE));
                    return;
                }
                SendMessageA(info.hwndList, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
                RECT r{};
                SendMessageA(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
                POINT at = middleOf(r);
                ClientToScreen(info.hwndList, &at);
                clickScreen(at);
            },
            nullptr};
}

HandStep fillIn(const std::string& label, const std::string& text) {
    return {[label, text](const ShownWindow& w) {
                const ShownControl* c = w.find(label);
                HWND box = c ? GetWindow(c->hwnd, GW_HWNDNEXT) : nullptr;
                while (box && !IsWindowVisible(box)) box = GetWindow(box, GW_HWNDNEXT);
                if (!box) {
                    ADD_FAILURE() << "the window " << w.caption << " has no box after " << label;
                    return;
                }
                if (className(box) == "ComboBox") {
                    COMBOBOXINFO info{};
                    info.cbSize = sizeof(info);
                    if (GetComboBoxInfo(box, &info) && info.hwndItem) box = info.hwndItem;
                }
                RECT r{};
                GetWindowRect(box, &r);
                clickScreen(middleOf(r));
                std::vector<INPUT> keys = keyStrokes(VK_HOME);
                for (const INPUT& in : keyStrokes(VK_END, vm::vbShiftMask)) keys.push_back(in);
                for (const INPUT& in : typedStrokes(text)) keys.push_back(in);
                sendInputs(keys);
            },
            nullptr};
}

std::vector<HandStep> fileNamed(const std::string& path, const std::string& type) {
    std::vector<HandStep> steps;
    if (!type.empty()) steps.push_back(chooseEntry("Save as type:", type));
    steps.push_back(fillIn("File name:", path));
    steps.push_back(pressKey(VK_RETURN));
    return steps;
}

std::vector<HandStep> filesNamed(const std::string& folder, const std::vector<std::string>& names) {
    std::string quoted;
    for (const std::string& name : names) quoted += (quoted.empty() ? "\"" : " \"") + name + "\"";
    return {fillIn("File name:", folder), pressKey(VK_RETURN), fillIn("File name:", quoted), pressKey(VK_RETURN)};
}

namespace {
HWND treeOf(const ShownWindow& w) {
    for (const ShownControl& c : w.controls)
        if (c.visible && c.className == "SysTreeView32") return c.hwnd;
    return nullptr;
}

HTREEITEM selectedNode(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::string nodeText(HWND tree, HTREEITEM node) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return vm::Utf8Text(text);
}

// Presses the key and waits up to three seconds until the program has handled it: true once
// until() holds.
bool pressUntil(int key, const std::function<bool()>& until) {
    sendInputs(keyStrokes(key));
    for (int i = 0; i < 300; ++i) {
        if (until()) return true;
        Sleep(10);
    }
    return false;
}
} // namespace

std::vector<HandStep> folderChosen(const std::string& path) {
    HandStep walk{[path](const ShownWindow& w) {
                      HWND tree = treeOf(w);
                      if (!tree) {
                          ADD_FAILURE() << "the window " << w.caption << " shows no folder tree";
                          return;
                      }
                      // The picker opens with its OK button focused: Tab moves on to the tree.
                      auto focus = [tree] {
                          GUITHREADINFO info{};
                          info.cbSize = sizeof(info);
                          GetGUIThreadInfo(GetWindowThreadProcessId(tree, nullptr), &info);
                          return info.hwndFocus;
                      };
                      for (int i = 0; i < 5 && focus() != tree; ++i) {
                          const HWND before = focus();
                          pressUntil(VK_TAB, [&] { return focus() != before; });
                      }
                      std::vector<std::string> names;
                      for (size_t at = 0, end; at <= path.size(); at = end + 1) {
                          end = std::min(path.find('\\', at), path.size());
                          if (end > at) names.push_back(path.substr(at, end - at));
                      }
                      HTREEITEM node = selectedNode(tree);
                      const std::string startText = node ? nodeText(tree, node) : "<none>";
                      auto on = std::find(names.rbegin(), names.rend(), startText);
                      if (on == names.rend()) {
                          ADD_FAILURE() << "the window " << w.caption << " started at " << startText << ", not on the way to "
                                        << path;
                          return;
                      }
                      for (auto next = on.base(); next != names.end(); ++next) {
                          const HTREEITEM parent = node;
                          auto state = [&] {
                              return SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(parent), TVIS_EXPANDED);
                          };
                          if (!state() && !pressUntil(VK_RIGHT, [&] { return state() != 0; })) {
                              ADD_FAILURE() << "the folder " << nodeText(tree, parent) << " did not open with Right";
                              return;
                          }
                          auto parentOf = [&](HTREEITEM item) {
                              return reinterpret_cast<HTREEITEM>(
                                  SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
                          };
                          node = nullptr;
                          for (int steps = 0; steps < 200 && !node; ++steps) {
                              const HTREEITEM at = selectedNode(tree);
                              if (parentOf(at) == parent && nodeText(tree, at) == *next) node = at;
                              else if (!pressUntil(VK_DOWN, [&] { return selectedNode(tree) != at; })) break;
                          }
                          if (!node) {
                              ADD_FAILURE() << "no folder " << *next << " under " << nodeText(tree, parent) << " in "
                                            << w.caption;
                              return;
                          }
                      }
                  },
                  nullptr};
    return {walk, pressKey(VK_RETURN)};
}

HandStep chooseLine(const std::string& caption) {
    return {[caption](const ShownWindow& w) {
                HMENU menu = reinterpret_cast<HMENU>(SendMessageA(w.hwnd, MN_GETHMENU, 0, 0));
                for (size_t i = 0; i < w.lines.size(); ++i) {
                    const MenuLine& line = w.lines[i];
                    if (line.separator || plainText(line.caption) != plainText(caption)) continue;
                    EXPECT_TRUE(line.enabled) << "the menu line " << caption << " is grey";
                    RECT r{};
                    if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r)) {
                        ADD_FAILURE() << "the menu line " << caption << " has no place on the screen";
                        sendInputs(keyStrokes(VK_ESCAPE));
                        return;
                    }
                    clickScreen(middleOf(r));
                    return;
                }
                ADD_FAILURE() << "the pop-up menu has no line " << caption;
                sendInputs(keyStrokes(VK_ESCAPE));
            },
            nullptr};
}

HandStep onProgram(std::function<void()> hands) { return {nullptr, std::move(hands)}; }

void readyProgramRunner() { makeProgramRunner(); }

bool askProgram(const std::function<bool()>& question) {
    HANDLE ran = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool answer = false;
    std::function<void()> ask = [&] { answer = question(); };
    PostMessageA(g_programRunner, kRunOnProgram, reinterpret_cast<WPARAM>(ran), reinterpret_cast<LPARAM>(&ask));
    WaitForSingleObject(ran, INFINITE);
    CloseHandle(ran);
    return answer;
}

Answer::Answer(std::string caption, std::vector<HandStep> steps) : state_(std::make_shared<State>()) {
    makeProgramRunner();
    state_->caption = std::move(caption);
    state_->steps = std::move(steps);
    {
        std::lock_guard<std::mutex> lock(g_handsLock);
        g_hands.push_back(state_);
    }
    // Windows showing already are not the one awaited, until they hide.
    std::vector<HWND> before = programWindows();
    hand_ = std::thread([state = state_, before]() mutable {
        const DWORD start = GetTickCount();
        HWND found = nullptr;
        while (!found && !state->stop && GetTickCount() - start < kWaitForWindowMs) {
            const std::vector<HWND> now = programWindows();
            before.erase(std::remove_if(before.begin(), before.end(),
                                        [&](HWND h) { return std::find(now.begin(), now.end(), h) == now.end(); }),
                         before.end());
            for (HWND h : now) {
                if (std::find(before.begin(), before.end(), h) != before.end() || !matches(h, state->caption)) continue;
                std::lock_guard<std::mutex> lock(g_handsLock);
                bool free = true;
                for (const auto& hand : g_hands) {
                    if (hand == state) break;
                    if (hand->claimed == h || (!hand->found && !hand->stop && matches(h, hand->caption))) free = false;
                }
                for (const auto& hand : g_hands) free = free && (hand->claimed != h || hand == state);
                if (!free) continue;
                state->claimed = found = h;
                state->found = true;
                break;
            }
            if (!found) Sleep(5);
        }
        if (found) {
            // A window is in front once its activation has gone through (a
            // window that never comes to the front is answered all the same).
            vmtest::waitUntil([&] { return GetForegroundWindow() == found || className(found) == kPopupMenu; }, {},
                              kFrontMs);
            state->seen = readWindow(found);
            for (const HandStep& step : state->steps) {
                if (state->stop) break;
                if (step.onHand) step.onHand(readWindow(found));
                if (step.onProgram) {
                    HANDLE ran = CreateEventA(nullptr, TRUE, FALSE, nullptr);
                    auto hands = step.onProgram;
                    PostMessageA(g_programRunner, kRunOnProgram, reinterpret_cast<WPARAM>(ran),
                                 reinterpret_cast<LPARAM>(&hands));
                    WaitForSingleObject(ran, INFINITE);
                    CloseHandle(ran);
                }
                Sleep(30);
            }
        }
        std::lock_guard<std::mutex> lock(g_handsLock);
        state->done = true;
    });
}

void Answer::finish() {
    if (finished_) return;
    finished_ = true;
    // The window may show once the program has handled what the first hand did.
    const DWORD start = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(g_handsLock);
            if (state_->done || (!state_->found && GetTickCount() - start > 3000)) {
                state_->stop = true;
                break;
            }
        }
        vm::DoEvents();
        Sleep(5);
    }
    while (true) {
        {
            std::lock_guard<std::mutex> lock(g_handsLock);
            if (state_->done) break;
        }
        vm::DoEvents();
        Sleep(5);
    }
    hand_.join();
    settle();
    std::lock_guard<std::mutex> lock(g_handsLock);
    g_hands.erase(std::remove(g_hands.begin(), g_hands.end(), state_), g_hands.end());
    EXPECT_TRUE(state_->found) << "no window \"" << state_->caption << "\" showed";
}

const ShownWindow& Answer::seen() {
    finish();
    return state_->seen;
}

bool Answer::answered() {
    finish();
    return state_->found;
}

Answer::~Answer() { finish(); }

// The guard: a window that waits for a person and that no hand answers is
// closed after a while, so that a scenario fails instead of hanging.
namespace {
struct Guard {
    std::thread thread;
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::vector<std::string> unanswered;
};
Guard* g_guard = nullptr;

// A dialog, a menu, or a form shown modally: a modal form disables the
// program's other forms, the main window among them (shown or not yet: a
// notice in front of the window as it loads).
bool waitsForAPerson(HWND h) {
    const std::string kind = className(h);
    if (kind == "#32770" || kind == kPopupMenu) return true;
    HWND main = vm::frmMain().hWnd();
    return kind == "VellumarForm" && h != main && IsWindowEnabled(h) && main && !IsWindowEnabled(main);
}

void closeUnanswered(HWND h) {
    if (className(h) == kPopupMenu) {
        PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 0);
        sendInputs(keyStrokes(VK_ESCAPE));
    } else if (className(h) == "#32770") {
        PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(h, WM_CLOSE, 0, 0);
    } else {
        PostMessageA(h, WM_CLOSE, 0, 0);
    }
}
} // namespace

void watchForUnansweredWindows() {
    stopWatchingWindows();
    g_guard = new Guard;
    g_guard->thread = std::thread([guard = g_guard] {
        std::vector<std::pair<HWND, DWORD>> since;
        while (!guard->stop) {
            const std::vector<HWND> now = programWindows();
            std::vector<std::pair<HWND, DWORD>> still;
            for (HWND h : now) {
                if (!waitsForAPerson(h) || heldByAHand(h)) continue;
                auto seen = std::find_if(since.begin(), since.end(), [h](auto& s) { return s.first == h; });
                const DWORD first = seen == since.end() ? GetTickCount() : seen->second;
                if (GetTickCount() - first > kWaitForWindowMs / 2) {
                    std::lock_guard<std::mutex> lock(guard->lock);
                    std::string what = className(h) == kPopupMenu ? "a pop-up menu" : storedCaption(h);
                    for (const std::string& text : readWindow(h).texts()) what += " | " + text;
                    guard->unanswered.push_back(what);
                    closeUnanswered(h);
                    continue;
                }
                still.emplace_back(h, first);
            }
            since = still;
            Sleep(100);
        }
    });
}

std::vector<std::string> stopWatchingWindows() {
    if (!g_guard) return {};
    g_guard->stop = true;
    g_guard->thread.join();
    std::vector<std::string> unanswered = g_guard->unanswered;
    delete g_guard;
    g_guard = nullptr;
    return unanswered;
}

} // namespace vmscenario
