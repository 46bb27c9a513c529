// vmwaitwindow <title prefix> [seconds]: exits 0 as soon as a visible top-level
// window whose title begins with the prefix exists, 1 when the time runs out.
// vmwaitwindow --close <title prefix> [seconds]: asks that window to close, as
// the close box does, and exits 0 once no such window is left.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {
const char* g_prefix = "";
HWND g_found = nullptr;

BOOL CALLBACK check(HWND hwnd, LPARAM) {
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (IsWindowVisible(hwnd) && std::strncmp(title, g_prefix, std::strlen(g_prefix)) == 0) {
        g_found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND find() {
    g_found = nullptr;
    EnumWindows(check, 0);
    return g_found;
}
} // namespace

int main(int argc, char** argv) {
    bool close = argc > 1 && std::strcmp(argv[1], "--close") == 0;
    int first = close ? 2 : 1;
    if (argc <= first) return 2;
    g_prefix = argv[first];
    int seconds = argc > first + 1 ? std::atoi(argv[first + 1]) : 60;
    bool asked = false;
    for (int i = 0; i < seconds * 10; ++i) {
        HWND hwnd = find();
        if (!close && hwnd) return 0;
        if (close && !hwnd) return 0;
        if (close && !asked) {
            PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            asked = true;
        }
        Sleep(100);
    }
    return 1;
}
