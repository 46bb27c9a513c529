// Times the start of a program to its first visible top-level window whose
// title begins with a text: from CreateProcess until the window is there
// (polled every millisecond), then closes it as the close box does and waits
// for the process to end. Each program is started several times; the first
// start, which also brings the files into memory, is shown apart.
//   wine bench_startup.exe <runs> <title prefix> <program> [<title prefix> <program> ...]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Search {
    DWORD process;
    const char* prefix;
    HWND found;
};

BOOL CALLBACK check(HWND hwnd, LPARAM lp) {
    auto& s = *reinterpret_cast<Search*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != s.process || !IsWindowVisible(hwnd)) return TRUE;
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (std::strncmp(title, s.prefix, std::strlen(s.prefix)) != 0) return TRUE;
    s.found = hwnd;
    return FALSE;
}

// Milliseconds to the window, or -1 when it did not come within 60 s.
double timeStart(const std::string& program, const char* prefix) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + program + "\"";
    const auto start = Clock::now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    Search s{pi.dwProcessId, prefix, nullptr};
    double ms = -1;
    while (std::chrono::duration<double>(Clock::now() - start).count() < 60) {
        EnumWindows(check, reinterpret_cast<LPARAM>(&s));
        if (s.found) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        Sleep(1);
    }
    // Whatever else it shows (a tip) goes with it.
    for (int i = 0; i < 100 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; ++i) {
        if (s.found) PostMessageA(s.found, WM_SYSCOMMAND, SC_CLOSE, 0);
        Sleep(50);
    }
    if (WaitForSingleObject(pi.hProcess, 5000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::printf("usage: bench_startup <runs> <title prefix> <program> [...]\n");
        return 2;
    }
    const int runs = std::max(std::atoi(argv[1]), 1);
    for (int a = 2; a + 1 < argc; a += 2) {
        std::vector<double> times;
        const double first = timeStart(argv[a + 1], argv[a]);
        for (int r = 0; r < runs; ++r) times.push_back(timeStart(argv[a + 1], argv[a]));
        std::sort(times.begin(), times.end());
        std::printf("%s: first start %.0f ms; then min %.0f ms, median %.0f ms of %d\n", argv[a + 1], first,
                    times.front(), times[times.size() / 2], runs);
    }
    return 0;
}
