// The real program, started with a folder of damaged files on its command
// line as a user starts it (and the folder's archives, which a walked folder
// does not open), is paged through to the end: at every step it is alive,
// answers its window within 5 s and keeps under 1 GB; it says what it could
// not read and what the archives left out.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <string>

#include "damagedfolder.h"
#include "scratch.h"

namespace {

constexpr DWORD kAnswerMs = 5000;
constexpr SIZE_T kMaxBytes = SIZE_T{1} << 30;

// The program under test, ended at the close of the test if it still runs.
class Program {
public:
    explicit Program(const std::string& arguments) {
        std::string line = "\"" VM_PROGRAM_EXE "\" " + arguments;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
    }
    ~Program() {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
            if (HWND w = mainWindow()) PostMessageA(w, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(pi_.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    bool started() const { return started_; }
    bool alive() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

    // The largest of its private memory and its working set.
    SIZE_T memory() const {
        PROCESS_MEMORY_COUNTERS c{};
        c.cb = sizeof c;
        if (!K32GetProcessMemoryInfo(pi_.hProcess, &c, sizeof c)) return 0;
        return std::max(c.PagefileUsage, c.WorkingSetSize);
    }
    SIZE_T peakMemory() const {
        PROCESS_MEMORY_COUNTERS c{};
        c.cb = sizeof c;
        if (!K32GetProcessMemoryInfo(pi_.hProcess, &c, sizeof c)) return 0;
        return std::max(c.PeakPagefileUsage, c.PeakWorkingSetSize);
    }

    // Its visible top-level window that holds the result list, or null.
    HWND mainWindow() const { return find(""); }
    // The Close button of a notice the program shows (a window of its own
    // with a check box that keeps it from showing again), or null.
    HWND noticeClose() const {
        struct Out {
            DWORD pid;
            HWND button;
        } out{pi_.dwProcessId, nullptr};
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto& o = *reinterpret_cast<Out*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != o.pid || !IsWindowVisible(w) || resultList(w)) return TRUE;
                o.button = FindWindowExA(w, nullptr, "Button", "Close");
                if (!o.button) o.button = FindWindowExA(w, nullptr, "Button", "&Close");
                return o.button ? FALSE : TRUE;
            },
            reinterpret_cast<LPARAM>(&out));
        return out.button;
    }
    // Its top-level windows, for the message of a failure.
    std::string windows() const {
        struct Out {
            DWORD pid;
            std::string text;
        } out{pi_.dwProcessId, {}};
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto& o = *reinterpret_cast<Out*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != o.pid) return TRUE;
                char name[64] = {}, title[128] = {};
                GetClassNameA(w, name, sizeof name);
                GetWindowTextA(w, title, sizeof title);
                o.text += std::string(name) + " \"" + title + "\"" + (IsWindowVisible(w) ? " shown; " : "; ");
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&out));
        return out.text;
    }
    // A visible dialog window of the program (a message box), or null.
    HWND dialog() const { return find("#32770"); }

private:
    struct Search {
        DWORD pid;
        const char* cls;
        HWND found;
    };
    HWND find(const char* cls) const {
        Search s{pi_.dwProcessId, cls, nullptr};
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != s.pid || !IsWindowVisible(w)) return TRUE;
                char name[64] = {}, title[64] = {};
                GetClassNameA(w, name, sizeof name);
                GetWindowTextA(w, title, sizeof title);
                const bool wanted = *s.cls ? strcmp(name, s.cls) == 0 : resultList(w) != nullptr;
                if (!wanted) return TRUE;
                s.found = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        return s.found;
    }

public:
    // The largest visible list view in the window: the result list.
    static HWND resultList(HWND window) {
        struct Best {
            HWND list = nullptr;
            LONG area = 0;
        } best;
        EnumChildWindows(
            window,
            [](HWND w, LPARAM p) -> BOOL {
                char name[64] = {};
                GetClassNameA(w, name, sizeof name);
                RECT r{};
                GetWindowRect(w, &r);
                const LONG area = (r.right - r.left) * (r.bottom - r.top);
                auto& b = *reinterpret_cast<Best*>(p);
                if (strcmp(name, WC_LISTVIEWA) == 0 && IsWindowVisible(w) && area > b.area) {
                    b.list = w;
                    b.area = area;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&best));
        return best.list;
    }

    static std::string children(HWND window) {
        std::string text;
        EnumChildWindows(
            window,
            [](HWND w, LPARAM p) -> BOOL {
                char name[64] = {};
                GetClassNameA(w, name, sizeof name);
                *reinterpret_cast<std::string*>(p) += std::string(name) + (IsWindowVisible(w) ? "+ " : " ");
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&text));
        return text;
    }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

// A message box's title and texts.
std::string dialogText(HWND box) {
    std::string text;
    char part[1024] = {};
    GetWindowTextA(box, part, sizeof part);
    text = std::string("\"") + part + "\":";
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        part[0] = 0;
        GetWindowTextA(child, part, sizeof part);
        if (*part) text += std::string(" \"") + part + "\"";
    }
    return text;
}

// One step's checks: alive, answering within 5 s, under 1 GB, no message box.
void checkStep(const Program& p, HWND window, const std::string& step) {
    ASSERT_TRUE(p.alive()) << "the program ended at: " << step;
    DWORD_PTR result = 0;
    const DWORD start = GetTickCount();
    ASSERT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result), 0)
        << "no answer within 5 s at: " << step;
    EXPECT_LT(GetTickCount() - start, kAnswerMs) << step;
    ASSERT_LT(p.memory(), kMaxBytes) << "over 1 GB at: " << step;
    if (HWND box = p.dialog()) FAIL() << "a message box " << dialogText(box) << " at: " << step;
}

// The message panel: the first part of the window's status bar, the
// program's message of what it did.
std::string messagePanel(HWND window) {
    char text[2048] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr), WM_GETTEXT, sizeof text,
                        reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kAnswerMs, &length);
    return text;
}

int itemCount(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kAnswerMs, &count)) return -1;
    return static_cast<int>(count);
}

// Waits, checking the program all the while, until the result list has held
// the same number of items (at least one) for a second; that number.
int settledItems(const Program& p, HWND window, HWND list, const std::string& step, DWORD limitMs = 60000) {
    int last = -1, stableSince = 0;
    for (DWORD waited = 0; waited < limitMs; waited += 250) {
        checkStep(p, window, step);
        if (testing::Test::HasFatalFailure()) return -1;
        const int n = itemCount(list);
        if (n != last) {
            last = n;
            stableSince = static_cast<int>(waited);
        } else if (n > 0 && static_cast<int>(waited) - stableSince >= 1000) {
            return n;
        }
        Sleep(250);
    }
    return last;
}

} // namespace

TEST(Program, OpensAFolderOfDamagedFilesAndPagesThroughItAnswering) {
    vmtest::ScratchDir dir;
    const std::string folder = dir.file("wrecks");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const int files = vmtest::WriteDamagedFolder(folder);
    ASSERT_GT(files, 300);

    std::string arguments = "\"" + folder + "\"";
    WIN32_FIND_DATAA found;
    if (HANDLE search = FindFirstFileA((folder + "\\*.zip").c_str(), &found); search != INVALID_HANDLE_VALUE) {
        do arguments += " \"" + folder + "\\" + found.cFileName + "\"";
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    Program program(arguments);
    ASSERT_TRUE(program.started());
    HWND window = nullptr;
    for (int i = 0; i < 240 && !window; ++i) {
        ASSERT_TRUE(program.alive()) << "the program ended while starting";
        ASSERT_LT(program.memory(), kMaxBytes);
        if (HWND box = program.dialog()) {
            // Without an icon library the program says so once as it starts; OK goes on.
            const std::string text = dialogText(box);
            ASSERT_NE(text.find("was not found."), std::string::npos) << "a message box " << text << " while starting";
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            Sleep(250);
            continue;
        }
        if (HWND close = program.noticeClose()) PostMessageA(close, BM_CLICK, 0, 0);
        window = program.mainWindow();
        if (!window) Sleep(250);
    }
    ASSERT_NE(window, nullptr) << "no main window within 60 s: " << program.windows();
    HWND list = Program::resultList(window);
    ASSERT_NE(list, nullptr) << Program::children(window);

    const int pageSize = settledItems(program, window, list, "listing the folder");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_GT(pageSize, 0) << "nothing listed";
    const std::string said = messagePanel(window);
    EXPECT_NE(said.find("15 member(s) of hostile-names.zip"), std::string::npos) << said;

    // A click in the result list gives it the keyboard; key 2 shows the next page.
    RECT r{};
    GetClientRect(list, &r);
    const LPARAM at = MAKELPARAM(r.right - 8, r.bottom - 8);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    int pages = 1;
    for (int items = pageSize; items == pageSize && pages < 40; ++pages) {
        const std::string step = "page " + std::to_string(pages + 1);
        PostMessageA(list, WM_KEYDOWN, '2', 0x00030001);
        PostMessageA(list, WM_KEYUP, '2', static_cast<LPARAM>(0xC0030001u));
        items = settledItems(program, window, list, step);
        ASSERT_FALSE(HasFatalFailure());
    }
    // 320 whole icons and the damaged files' few: more than two pages.
    EXPECT_GE(pages, 3);
    // What could not be read is told: the animation of more steps than the
    // system holds is the first file the folder gives (its name is led by digits).
    EXPECT_EQ(said.rfind("Could not read ", 0), 0u) << said;
    EXPECT_NE(said.find("32768-steps.ani"), std::string::npos) << said;
    checkStep(program, window, "the last page");
    EXPECT_LT(program.peakMemory(), kMaxBytes);
    std::printf("%d files opened, %d pages of %d, peak %u MB\n", files, pages, pageSize,
                static_cast<unsigned>(program.peakMemory() >> 20));
}
