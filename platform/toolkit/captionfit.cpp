#include "captionfit.h"

#include "twips.h"

namespace vm {

namespace {
int roomBeside(CaptionKind kind) {
    switch (kind) {
    case CaptionKind::Label: return 1;
    case CaptionKind::Button: return 4 * GetSystemMetrics(SM_CXEDGE) + 8;
    case CaptionKind::Box: return GetSystemMetrics(SM_CXMENUCHECK) + 8;
    case CaptionKind::Frame: return 20;
    }
    return 0;
}
} // namespace

SIZE captionExtent(HWND window, const std::string& caption) {
    HDC dc = GetDC(window);
    auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : guiFont());
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void fitCaption(HWND window, const std::string& caption, CaptionKind kind, bool designCaption, int alignment) {
    if (!window || caption.empty()) return;
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    const SIZE text = captionExtent(window, caption);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (kind == CaptionKind::Label && height >= 2 * text.cy) return;
    const int needed = text.cx + roomBeside(kind);
    const bool exact = designCaption && kind == CaptionKind::Label;
    if (needed == width || (needed < width && !exact)) return;
    const int left = alignment == 1 ? r.right - needed : alignment == 2 ? r.left + (width - needed) / 2 : r.left;
    SetWindowPos(window, nullptr, left, r.top, needed, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace vm
