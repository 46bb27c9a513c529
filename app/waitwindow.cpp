// vmwaitwindow <title prefix> [seconds]: exits 0 as soon as a visible top-level
// window whose title begins with the prefix exists, 1 when the time runs out.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {
const char* g_prefix = "";
bool g_found = false;

BOOL CALLBACK check(HWND hwnd, LPARAM) {
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (IsWindowVisible(hwnd) && std::strncmp(title, g_prefix, std::strlen(g_prefix)) == 0) {
        g_found = true;
        return FALSE;
    }
    return TRUE;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    g_prefix = argv[1];
    int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    for (int i = 0; i < seconds * 10; ++i) {
        EnumWindows(check, 0);
        if (g_found) return 0;
        Sleep(100);
    }
    return 1;
}
