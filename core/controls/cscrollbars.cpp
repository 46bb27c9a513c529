#include "cscrollbars.h"

#include <commctrl.h>

#include "classerror.h"

namespace vm {

namespace {

constexpr const char* kClass = "cScrollBars";

void checkBar(int bar) {
    if (bar != SB_HORZ && bar != SB_VERT) raiseSubscriptError(kClass);
}

} // namespace

cScrollBars::~cScrollBars() { detachWindow(); }

void cScrollBars::Create(HWND hWnd) {
    detachWindow();
    hWnd_ = hWnd;
    initFlatBars();
    attached_ = AttachMessage(this, hWnd_, WM_HSCROLL) && AttachMessage(this, hWnd_, WM_VSCROLL);
}

// A window that cannot have flat bars keeps its standard ones for good.
void cScrollBars::initFlatBars() {
    plain_ = !InitializeFlatSB(hWnd_);
    if (!plain_) SetStyle(style_);
}

void cScrollBars::detachWindow() {
    if (!hWnd_) return;
    if (!plain_) UninitializeFlatSB(hWnd_);
    if (attached_) {
        DetachMessage(this, hWnd_, WM_HSCROLL);
        DetachMessage(this, hWnd_, WM_VSCROLL);
    }
    hWnd_ = nullptr;
    attached_ = false;
}

void cScrollBars::SetOrientation(int orientation) {
    orientation_ = orientation;
    bool horz = orientation == 0 || orientation == 2;
    bool vert = orientation == 1 || orientation == 2;
    showBar(SB_HORZ, horz);
    showBar(SB_VERT, vert);
}

void cScrollBars::SetStyle(int style) {
    if (plain_) {
        if (style != 0) return;
    } else {
        if (orientation_ == 0 || orientation_ == 2) FlatSB_SetScrollProp(hWnd_, WSB_PROP_HSTYLE, style, TRUE);
        if (orientation_ == 1 || orientation_ == 2) FlatSB_SetScrollProp(hWnd_, WSB_PROP_VSTYLE, style, TRUE);
    }
    style_ = style;
}

bool cScrollBars::Visible(int bar) const {
    checkBar(bar);
    return visible_[bar];
}

void cScrollBars::SetVisible(int bar, bool visible) {
    checkBar(bar);
    visible_[bar] = visible;
    showBar(bar, visible);
}

bool cScrollBars::Enabled(int bar) const {
    checkBar(bar);
    return enabled_[bar];
}

void cScrollBars::SetEnabled(int bar, bool enabled) {
    checkBar(bar);
    enabled_[bar] = enabled;
    UINT arrows = enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
    if (plain_)
        EnableScrollBar(hWnd_, bar, arrows);
    else
        FlatSB_EnableScrollBar(hWnd_, bar, arrows);
}

int cScrollBars::SmallChange(int bar) const {
    checkBar(bar);
    return smallChange_[bar];
}

void cScrollBars::SetSmallChange(int bar, int amount) {
    checkBar(bar);
    smallChange_[bar] = amount;
}

int cScrollBars::Min(int bar) const {
    checkBar(bar);
    return getInfo(bar, SIF_RANGE).nMin;
}

int cScrollBars::Max(int bar) const {
    checkBar(bar);
    SCROLLINFO info = getInfo(bar, SIF_RANGE | SIF_PAGE);
    return info.nMax - static_cast<int>(info.nPage);
}

int cScrollBars::Value(int bar) const {
    checkBar(bar);
    return getInfo(bar, SIF_POS).nPos;
}

int cScrollBars::LargeChange(int bar) const {
    checkBar(bar);
    return static_cast<int>(getInfo(bar, SIF_PAGE).nPage);
}

void cScrollBars::SetMin(int bar, int value) {
    int max = Max(bar);
    SCROLLINFO info{};
    info.fMask = SIF_RANGE;
    info.nMin = value;
    info.nMax = max + LargeChange(bar);
    setInfo(bar, info);
}

void cScrollBars::SetMax(int bar, int value) {
    checkBar(bar);
    SCROLLINFO info{};
    info.fMask = SIF_RANGE;
    info.nMin = Min(bar);
    info.nMax = value + LargeChange(bar);
    setInfo(bar, info);
    keepValueInRange(bar);
    changeCheck(bar, false);
}

void cScrollBars::SetValue(int bar, int value) {
    if (value != Value(bar)) moveTo(bar, value, false);
}

void cScrollBars::SetLargeChange(int bar, int value) {
    checkBar(bar);
    SCROLLINFO info = getInfo(bar, SIF_ALL);
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = (info.nMax - static_cast<int>(info.nPage)) + value;
    info.nPage = static_cast<UINT>(value);
    setInfo(bar, info);
    keepValueInRange(bar);
    changeCheck(bar, false);
}

SCROLLINFO cScrollBars::getInfo(int bar, UINT mask) const {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    if (plain_)
        GetScrollInfo(hWnd_, bar, &info);
    else
        FlatSB_GetScrollInfo(hWnd_, bar, &info);
    return info;
}

void cScrollBars::setInfo(int bar, SCROLLINFO& info) {
    info.cbSize = sizeof(info);
    if (plain_)
        SetScrollInfo(hWnd_, bar, &info, TRUE);
    else
        FlatSB_SetScrollInfo(hWnd_, bar, &info, TRUE);
}

void cScrollBars::showBar(int bar, bool show) {
    if (plain_)
        ShowScrollBar(hWnd_, bar, show);
    else
        FlatSB_ShowScrollBar(hWnd_, bar, show);
}

// The platform lets the position reach Max + 1 when a page is set; the value
// model never goes past Max, whichever way the value is reached.
void cScrollBars::moveTo(int bar, int value, bool dragging) {
    int max = Max(bar);
    if (value > max) value = max;
    int min = Min(bar);
    if (value < min) value = min;
    SCROLLINFO info{};
    info.fMask = SIF_POS;
    info.nPos = value;
    setInfo(bar, info);
    changeCheck(bar, dragging);
}

void cScrollBars::keepValueInRange(int bar) {
    int max = Max(bar);
    if (Value(bar) <= max) return;
    SCROLLINFO info{};
    info.fMask = SIF_POS;
    info.nPos = max;
    setInfo(bar, info);
}

void cScrollBars::changeCheck(int bar, bool dragging) {
    if (Value(bar) == lastValue_[bar]) return;
    int reported = bar;
    if (dragging) {
        if (onScroll) onScroll(reported);
    } else {
        if (onChange) onChange(reported);
    }
    lastValue_[bar] = Value(bar);
}

LRESULT cScrollBars::WindowProc(HWND, UINT msg, WPARAM wParam, LPARAM) {
    int bar;
    if (msg == WM_HSCROLL)
        bar = SB_HORZ;
    else if (msg == WM_VSCROLL)
        bar = SB_VERT;
    else
        return 0;

    switch (LOWORD(wParam)) {
    case SB_LINEUP: moveTo(bar, Value(bar) - smallChange_[bar], false); break;
    case SB_LINEDOWN: moveTo(bar, Value(bar) + smallChange_[bar], false); break;
    case SB_PAGEUP: moveTo(bar, Value(bar) - LargeChange(bar), false); break;
    case SB_PAGEDOWN: moveTo(bar, Value(bar) + LargeChange(bar), false); break;
    case SB_THUMBTRACK: moveTo(bar, getInfo(bar, SIF_TRACKPOS).nTrackPos, true); break;
    case SB_TOP: moveTo(bar, Min(bar), false); break;
    case SB_BOTTOM: moveTo(bar, Max(bar), false); break;
    case SB_ENDSCROLL: changeCheck(bar, false); break;
    default: break;
    }
    return 0;
}

} // namespace vm
