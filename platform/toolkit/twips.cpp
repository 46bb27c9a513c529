#include "twips.h"
#include "systempaths.h"

namespace vm {

namespace {
int g_mousePointer = vbDefault;

int dpi(int capability) {
    HDC screen = GetDC(nullptr);
    int value = GetDeviceCaps(screen, capability);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
}

int toPixels(int twips, int perPixel) {
    return twips >= 0 ? (twips + perPixel / 2) / perPixel : -((-twips + perPixel / 2) / perPixel);
}

void applyPointerToCursor() {
    if (HCURSOR cursor = cursorFor(g_mousePointer)) SetCursor(cursor);
    else SetCursor(LoadCursor(nullptr, IDC_ARROW));
}
} // namespace

int TwipsPerPixelX() {
    static const int value = 1440 / dpi(LOGPIXELSX);
    return value;
}
int TwipsPerPixelY() {
    static const int value = 1440 / dpi(LOGPIXELSY);
    return value;
}
int twipsToPixelsX(int twips) { return toPixels(twips, TwipsPerPixelX()); }
int twipsToPixelsY(int twips) { return toPixels(twips, TwipsPerPixelY()); }

COLORREF resolveColor(OleColor color) {
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

HFONT guiFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            return CreateFontIndirectA(&metrics.lfMessageFont);
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}

HCURSOR cursorFor(int pointer) {
    LPCSTR id = nullptr;
    switch (pointer) {
    case vbArrow: id = IDC_ARROW; break;
    case vbCrosshair: id = IDC_CROSS; break;
    case vbIbeam: id = IDC_IBEAM; break;
    case vbSizeAll: id = IDC_SIZEALL; break;
    case vbSizeNESW: id = IDC_SIZENESW; break;
    case vbSizeNS: id = IDC_SIZENS; break;
    case vbSizeNWSE: id = IDC_SIZENWSE; break;
    case vbSizeWE: id = IDC_SIZEWE; break;
    case vbUpArrow: id = IDC_UPARROW; break;
    case vbHourglass: id = IDC_WAIT; break;
    case vbNoDrop: id = IDC_NO; break;
    case vbArrowHourglass: id = IDC_APPSTARTING; break;
    case vbArrowQuestion: id = IDC_HELP; break;
    default: return nullptr;
    }
    return LoadCursorA(nullptr, id);
}

int Screen::Width() { return pixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)); }
int Screen::Height() { return pixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)); }
int Screen::MousePointer() { return g_mousePointer; }
void Screen::SetMousePointer(int pointer) {
    g_mousePointer = pointer;
    // The new pointer shows at once, not only at the next mouse move.
    applyPointerToCursor();
}

std::string App::HelpFile;

std::string App::Path() {
    const std::string path = ProgramFile();
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string App::EXEName() {
    const std::string path = ProgramFile();
    size_t slash = path.find_last_of('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

} // namespace vm
