// The floor of this Wine for a page of icons: a bare window whose list view
// is refilled with 150 icons that are already decoded, and painted. The
// pictures are one 32-bit strip of 150, made in memory and added to the image
// list once; a fill inserts the 150 items with drawing held, as the program's
// page does, selects the first and paints. No code of the program runs.
// bench/run takes it as the reference of the search's page and of the opened
// files' page. Run under Wine:
//   wine bench_listfloor.exe [refills] > log 2>&1
// Lines "RESULT listfloor_cold <ms>" (the first fill of the process) and
// "RESULT listfloor_warm <ms>" (the median of the refills) serve bench/run.
#include <windows.h>

#include "benchtime.h"
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::msSince;
using bench::settle;
constexpr int kIcons = 150;
constexpr int kSize = 32;

// 150 pictures side by side, each of its own colour with a lighter disc and
// soft edges, so that the list view blends real alpha.
HBITMAP makeStrip() {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kSize * kIcons;
    bi.bmiHeader.biHeight = -kSize;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP strip = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!strip) return nullptr;
    auto* pixel = static_cast<unsigned char*>(bits);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize * kIcons; ++x, pixel += 4) {
            const int icon = x / kSize, dx = x % kSize - kSize / 2, dy = y - kSize / 2;
            const int distance = dx * dx + dy * dy;
            const int alpha = distance < 144 ? 255 : distance < 225 ? 128 : 0;
            const int light = distance < 36 ? 80 : 0;
            const int channel[3] = {(icon * 37) % 176 + light, (icon * 71) % 176 + light, (icon * 13) % 176 + light};
            for (int c = 0; c < 3; ++c) pixel[c] = static_cast<unsigned char>(channel[c] * alpha / 255);
            pixel[3] = static_cast<unsigned char>(alpha);
        }
    return strip;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE) MoveWindow(GetWindow(hwnd, GW_CHILD), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// Empties the list, inserts the 150 items with their pictures while the list
// neither lays out nor paints, selects the first as a search does, and
// paints. Returns the milliseconds taken.
double fill(HWND list) {
    const auto start = Clock::now();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < kIcons; ++i) {
        std::string text = "icon" + std::to_string(i) + ".ico";
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i;
        item.pszText = text.data();
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    settle();
    UpdateWindow(GetParent(list));
    return msSince(start);
}

// Whether the list really shows the pictures: the middle of the second
// item's icon (the first is drawn selected) is not the window's colour.
bool picturesShown(HWND list) {
    RECT r{};
    r.left = LVIR_ICON;
    if (!SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r))) return false;
    HDC dc = GetDC(list);
    const COLORREF middle = GetPixel(dc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(list, dc);
    return middle != CLR_INVALID && middle != GetSysColor(COLOR_WINDOW);
}

} // namespace

int main(int argc, char** argv) {
    const int refills = std::max(1, argc > 1 ? std::atoi(argv[1]) : 15);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "ListFloor";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("ListFloor", "List floor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 900, 700,
                                nullptr, nullptr, instance, nullptr);
    // An icon view with the report's columns, as the result list has them.
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE, 0, 0, 900,
                                700, window, nullptr, instance, nullptr);
    if (!window || !list) {
        std::printf("the window could not be made\n");
        return 1;
    }
    for (const char* name : {"Name", "Type", "Origin"}) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = const_cast<char*>(name);
        SendMessageA(list, LVM_INSERTCOLUMNA, 3, reinterpret_cast<LPARAM>(&column));
    }
    HIMAGELIST images = ImageList_Create(kSize, kSize, ILC_COLOR32, kIcons, 0);
    HBITMAP strip = makeStrip();
    if (!images || !strip || ImageList_Add(images, strip, nullptr) != 0 || ImageList_GetImageCount(images) != kIcons) {
        std::printf("the pictures could not be made\n");
        return 1;
    }
    DeleteObject(strip);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    settle();

    const double cold = fill(list);
    std::vector<double> warm;
    for (int i = 0; i < refills; ++i) warm.push_back(fill(list));
    std::sort(warm.begin(), warm.end());
    if (!picturesShown(list)) {
        std::printf("the list does not show the pictures: no figure\n");
        return 1;
    }
    std::printf("%d items shown; first fill %.1f ms; %d refills: min %.1f, median %.1f, max %.1f ms\n",
                static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)), cold, refills, warm.front(),
                warm[warm.size() / 2], warm.back());
    std::printf("RESULT listfloor_cold %.1f\nRESULT listfloor_warm %.1f\n", cold, warm[warm.size() / 2]);
    DestroyWindow(window);
    ImageList_Destroy(images);
    return 0;
}
