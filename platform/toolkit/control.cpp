#include "control.h"

#include "eventerror.h"
#include "form.h"
#include "vberror.h"
#include "utf8text.h"

#include <windowsx.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace vm {

namespace {
// Each control window's procedure chain: the control (null once the control
// is going away, so that nothing its window says on the way out reaches it)
// and the procedure that was there before the toolkit's. Kept in the process:
// window properties and the common controls' own subclassing are looked up in
// the window server under Wine, which made every message a round trip.
struct Hook {
    Control* control;
    WNDPROC next;
    bool child = false; // a window the control owns (a combo box's edit box): only its keys reach the control
};

bool isKey(UINT msg) { return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR; }
// The messages a tool tip watches to know when to show and hide.
bool isMouseButtonOrMove(UINT msg) {
    return msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_RBUTTONDOWN ||
           msg == WM_RBUTTONUP || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP;
}
std::unordered_map<HWND, Hook> g_hooks;
// Windows that stay behind their siblings (tab strips, under the controls of their pages).
std::vector<HWND> g_behind;

void sendBehindSiblings(HWND parent) {
    for (HWND h : g_behind)
        if (GetParent(h) == parent)
            SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool insideClient(HWND hwnd, LPARAM lp) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    return PtInRect(&client, at) != FALSE;
}
} // namespace

int currentShift() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= vbShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) shift |= vbCtrlMask;
    if (GetKeyState(VK_MENU) < 0) shift |= vbAltMask;
    return shift;
}

Control::Control(Form* owner) : owner_(owner) {
    if (owner_) owner_->registerControl(this);
}

Control::~Control() {
    if (hwnd_ && IsWindow(hwnd_)) {
        // The derived parts are gone: nothing the window says on its way out may reach them.
        for (auto& [window, hook] : g_hooks)
            if (hook.control == this) hook.control = nullptr;
        DestroyWindow(hwnd_);
    }
    if (brush_) DeleteObject(brush_);
    if (owner_) owner_->unregisterControl(this);
}

HWND Control::hWnd() {
    if (owner_ && !owner_->IsLoaded() && (!hwnd_ || owner_->IsCreatedAhead())) owner_->Load();
    return hwnd_;
}

Control* Control::fromHandle(HWND hwnd) {
    // A child window's notifications go to the control that owns it, by its own window procedure.
    auto hook = g_hooks.find(hwnd);
    return hook == g_hooks.end() || hook->second.child ? nullptr : hook->second.control;
}

void Control::createWindow(Window& parent, const char* className, DWORD style, DWORD exStyle, const std::string& text,
                           int left, int top, int width, int height) {
    if (hwnd_) DestroyWindow(hwnd_);
    HWND parentWindow = parent.hWnd();
    hwnd_ = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD | WS_CLIPSIBLINGS, twipsToPixelsX(left),
                            twipsToPixelsY(top), twipsToPixelsX(width), twipsToPixelsY(height), parentWindow, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return;
    auto next = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::windowProc)));
    g_hooks[hwnd_] = Hook{this, next};
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont()), FALSE);
    if (!toolTip_.empty()) SetToolTipText(toolTip_);
    if (!g_behind.empty()) sendBehindSiblings(parentWindow);
}

void Control::keepBehindSiblings() {
    if (!hwnd_) return;
    if (std::find(g_behind.begin(), g_behind.end(), hwnd_) == g_behind.end()) g_behind.push_back(hwnd_);
    sendBehindSiblings(GetParent(hwnd_));
}

void Control::hookChild(HWND child) {
    if (!child || g_hooks.count(child)) return;
    auto next = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::windowProc)));
    g_hooks[child] = Hook{this, next, true};
}

LRESULT Control::defaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    auto hook = g_hooks.find(hwnd_);
    return hook == g_hooks.end() ? DefWindowProcW(hwnd_, msg, wp, lp) : CallWindowProcW(hook->second.next, hwnd_, msg, wp, lp);
}

void Control::reset() {
    // The window went with the form; the control forgets it.
    hwnd_ = nullptr;
}

// The hook is a Unicode procedure: a typed letter outside ASCII reaches the control whole
// (through an ANSI procedure Windows would squeeze it into two bytes). Texts the program sends
// with the ANSI calls are UTF-8 and are widened on the way in.
LRESULT CALLBACK Control::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto found = g_hooks.find(hwnd);
    if (found == g_hooks.end()) return DefWindowProcW(hwnd, msg, wp, lp);
    // The children of a container keep sending the ANSI notifications the program reads.
    if (msg == WM_NOTIFYFORMAT && lp == NF_QUERY) return NFR_ANSI;
    // A copy: handlers may create or destroy controls and so change the table.
    const Hook hook = found->second;
    Control* self = hook.control;
    if (msg == WM_NCDESTROY) {
        // The last message of the window. A procedure put in front of this one
        // later (the subclassing service) has let go of it already.
        g_hooks.erase(found);
        g_behind.erase(std::remove(g_behind.begin(), g_behind.end(), hwnd), g_behind.end());
        if (self && self->hwnd_ == hwnd) self->hwnd_ = nullptr;
        return CallWindowProcW(hook.next, hwnd, msg, wp, lp);
    }
    if (self && !hook.child && isMouseButtonOrMove(msg) && self->hasToolTips())
        self->relayToToolTip(hwnd, msg, wp, lp);
    LRESULT result = 0;
    try {
        if (self && hook.child) {
            if (isKey(msg) && self->keyMessage(hwnd, msg, wp, lp, result)) return result;
        } else if (self) {
            if (self->onMessage(msg, wp, lp, result)) return result;
            if (self->commonMessage(msg, wp, lp, result)) return result;
            if (isKey(msg) && self->keyMessage(hwnd, msg, wp, lp, result)) return result;
        }
    } catch (const std::exception& error) {
        ReportEventError(error);
        return 0;
    }
    return CallWindowProcW(hook.next, hwnd, msg, wp, lp);
}

bool Control::commonMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    auto mouse = [&](const std::function<void(int, int, float, float)>& handler, int button) {
        if (!handler) return;
        int shift = (wp & MK_SHIFT ? vbShiftMask : 0) | (wp & MK_CONTROL ? vbCtrlMask : 0) |
                    (GetKeyState(VK_MENU) < 0 ? vbAltMask : 0);
        handler(button, shift, scaleX(GET_X_LPARAM(lp)), scaleY(GET_Y_LPARAM(lp)));
    };
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // A container control hands its children's notifications back to them.
        return reflectToControl(msg, wp, lp, result);
    case WM_SETCURSOR: {
        HCURSOR cursor = cursorFor(Screen::MousePointer());
        if (!cursor && LOWORD(lp) == HTCLIENT) cursor = cursorFor(mousePointer_);
        if (!cursor) return false;
        SetCursor(cursor);
        result = TRUE;
        return true;
    }
    case WM_LBUTTONDOWN:
        pressed_ = true;
        upRaised_ = false;
        mouse(MouseDown, vbLeftButton);
        return false;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        upRaised_ = false;
        mouse(MouseDown, msg == WM_RBUTTONDOWN ? vbRightButton : vbMiddleButton);
        return false;
    case WM_LBUTTONUP: {
        const HWND window = hwnd_;
        const bool click = pressed_ && clicksFromButtons() && insideClient(window, lp);
        pressed_ = false;
        if (!upRaised_) {
            upRaised_ = true;
            mouse(MouseUp, vbLeftButton);
        }
        // A MouseUp handler may have closed the form.
        if (click && Click && hwnd_ == window) Click();
        return false;
    }
    case WM_LBUTTONDBLCLK:
        // The second press of a double-click: DblClick, and its release is no Click.
        pressed_ = false;
        upRaised_ = false;
        if (clicksFromButtons() && DblClick) DblClick();
        return false;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (!upRaised_) {
            upRaised_ = true;
            mouse(MouseUp, msg == WM_RBUTTONUP ? vbRightButton : vbMiddleButton);
        }
        return false;
    case WM_MOUSEMOVE:
        mouse(MouseMove, (wp & MK_LBUTTON ? vbLeftButton : 0) | (wp & MK_RBUTTON ? vbRightButton : 0) |
                             (wp & MK_MBUTTON ? vbMiddleButton : 0));
        return false;
    case WM_SETFOCUS:
        if (GotFocus) GotFocus();
        return false;
    case WM_KILLFOCUS:
        if (LostFocus) LostFocus();
        return false;
    default: return false;
    }
}

void Control::raiseMouseUp(int button, float x, float y) {
    if (upRaised_) return;
    upRaised_ = true;
    if (MouseUp) MouseUp(button, currentShift(), x, y);
}

bool Control::keyMessage(HWND from, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
        auto& handler = msg == WM_KEYDOWN ? KeyDown : KeyUp;
        if (!handler) return wp == 0;
        int key = static_cast<int>(wp);
        handler(key, currentShift());
        return key == 0;
    }
    if (!KeyPress || wp == 0) return wp == 0;
    int key = static_cast<int>(wp);
    KeyPress(key);
    if (key == static_cast<int>(wp)) return false;
    // A changed key goes on in its place; the handler may have closed the window.
    auto hook = g_hooks.find(from);
    if (key != 0 && hook != g_hooks.end())
        result = CallWindowProcW(hook->second.next, from, msg, static_cast<WPARAM>(key), lp);
    return true;
}

bool reflectToControl(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND: {
        Control* control = Control::fromHandle(reinterpret_cast<HWND>(lp));
        if (!control) return false;
        control->onCommand(HIWORD(wp), LOWORD(wp));
        result = 0;
        return true;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        Control* control = Control::fromHandle(header->hwndFrom);
        if (!control) {
            // Tool tips and header controls belong to the control that owns them.
            control = Control::fromHandle(GetParent(header->hwndFrom));
        }
        return control && control->onNotify(header, result);
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
        Control* control = Control::fromHandle(reinterpret_cast<HWND>(lp));
        if (!control) return false;
        control->onScroll(LOWORD(wp));
        result = 0;
        return true;
    }
    default: {
        Control* control = Control::fromHandle(reinterpret_cast<HWND>(lp));
        if (!control) return false;
        HBRUSH brush = control->onCtlColor(reinterpret_cast<HDC>(wp));
        if (!brush) return false;
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
    }
}

HBRUSH Control::brush() {
    COLORREF colour = resolveColor(backColor_);
    if (!brush_ || brushColor_ != colour) {
        if (brush_) DeleteObject(brush_);
        brush_ = CreateSolidBrush(colour);
        brushColor_ = colour;
    }
    return brush_;
}

HBRUSH Control::onCtlColor(HDC dc) {
    SetTextColor(dc, resolveColor(foreColor_));
    SetBkColor(dc, resolveColor(backColor_));
    return brush();
}

void Control::SetBackColor(OleColor color) {
    backColor_ = color;
    if (hWnd()) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetForeColor(OleColor color) {
    foreColor_ = color;
    if (hWnd()) InvalidateRect(hwnd_, nullptr, TRUE);
}

namespace {
RECT rectInParent(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
} // namespace

int Control::Left() { return hWnd() ? pixelsToTwipsX(rectInParent(hwnd_).left) : 0; }
int Control::Top() { return hWnd() ? pixelsToTwipsY(rectInParent(hwnd_).top) : 0; }
int Control::Width() {
    RECT r = hWnd() ? rectInParent(hwnd_) : RECT{};
    return pixelsToTwipsX(r.right - r.left);
}
int Control::Height() {
    RECT r = hWnd() ? rectInParent(hwnd_) : RECT{};
    return pixelsToTwipsY(r.bottom - r.top);
}

RECT movedPixels(const RECT& now, int left, int top, int width, int height) {
    int x = left == vmKeep ? now.left : twipsToPixelsX(left);
    int y = top == vmKeep ? now.top : twipsToPixelsY(top);
    int w = width == vmKeep ? now.right - now.left : twipsToPixelsX(width);
    int h = height == vmKeep ? now.bottom - now.top : twipsToPixelsY(height);
    return RECT{x, y, x + w, y + h};
}

void Control::Move(int left, int top, int width, int height) {
    if (!hWnd()) return;
    RECT r = movedPixels(rectInParent(hwnd_), left, top, width, height);
    // A negative size is an invalid property value, as the program expects.
    if (r.right < r.left || r.bottom < r.top) throw VbError(380, "Move", "Invalid property value");
    MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void Control::ZOrder(int position) {
    if (!hWnd()) return;
    SetWindowPos(hwnd_, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!g_behind.empty()) sendBehindSiblings(GetParent(hwnd_));
}

bool Control::Enabled() { return hWnd() && IsWindowEnabled(hwnd_); }
void Control::SetEnabled(bool enabled) {
    if (hWnd()) EnableWindow(hwnd_, enabled);
}
// Visible is the control's own flag: a control of a hidden form is still Visible.
bool Control::Visible() { return hWnd() && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE); }
void Control::SetVisible(bool visible) {
    if (hWnd()) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}
void Control::SetFocus() {
    if (hWnd()) ::SetFocus(hwnd_);
}
void Control::Refresh() {
    if (!hWnd()) return;
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

std::string TextOfWindow(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return Utf8Text(text);
}

std::string Control::windowText() { return hWnd() ? TextOfWindow(hwnd_) : std::string(); }

void Control::setWindowText(const std::string& text) {
    if (hWnd()) SetWindowTextA(hwnd_, text.c_str());
}

void Control::relayToToolTip(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND tip = owner_ ? owner_->toolTipWindow() : nullptr;
    if (!tip) return;
    MSG relayed{hwnd, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
    const DWORD at = GetMessagePos();
    relayed.pt = POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void Control::SetToolTipText(const std::string& text) {
    toolTip_ = text;
    if (!hwnd_ || !owner_) return;
    HWND tip = owner_->toolTipWindow();
    if (!tip) return;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    // The control's own hook hands the tip its mouse messages; a tip that
    // subclassed the control would sit in front of every message it gets.
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(hwnd_);
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    tool.lpszText = const_cast<char*>(toolTip_.c_str());
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    if (!toolTip_.empty()) SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace vm
