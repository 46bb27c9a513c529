#include "form.h"

#include <climits>

#include "eventerror.h"
#include "controls_basic.h"
#include "menu.h"
#include "programicon.h"
#include "seam.h"

#include <windowsx.h>

#include <algorithm>
#include <unordered_map>

namespace vm {

std::function<void(Form&)> Form::scriptedModal;

namespace {
const char kFormClass[] = "VellumarForm";
// The forms by window, kept in the process: every message of a form and every
// dispatched message asks it, and a window property would be a round trip to
// the window server under Wine.
std::unordered_map<HWND, Form*> g_forms;
std::vector<Form*> g_loaded;
Form* g_lastActive = nullptr;
bool g_loopRunning = false;

constexpr UINT kKeepTopmostAbove = WM_APP + 0x3A1;

bool topmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// A window activated stays below those that keep on top. With no window
// manager the screen shows it over them all the same, whatever their flag
// says; putting them on top anew (from below the window, as putting a window
// where it already is changes nothing) shows them over it again.
void keepTopmostAbove(HWND raised) {
    constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (Form* form : std::vector<Form*>(g_loaded)) {
        const HWND window = form->hWnd();
        if (window == raised || !window || !topmost(window) || !IsWindowVisible(window)) continue;
        SetWindowPos(window, raised, 0, 0, 0, 0, kZOrderOnly);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
    }
}

void registerFormClass(WNDPROC proc) {
    static bool done = false;
    if (done) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // The program's own icon in the sizes of the task bar and of the caption.
    wc.hIcon = LoadProgramIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    wc.hIconSm = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);
    done = true;
}

std::pair<DWORD, DWORD> formStyles(const FormDesign& d) {
    DWORD style = WS_CLIPCHILDREN, ex = 0;
    switch (d.borderStyle) {
    case vbBSNone: style |= WS_POPUP; break;
    case vbFixedSingle: style |= WS_CAPTION | WS_BORDER; break;
    case vbFixedDialog: style |= WS_CAPTION | DS_MODALFRAME; ex |= WS_EX_DLGMODALFRAME; break;
    case vbFixedToolWindow: style |= WS_CAPTION; ex |= WS_EX_TOOLWINDOW; break;
    case vbSizableToolWindow: style |= WS_CAPTION | WS_THICKFRAME; ex |= WS_EX_TOOLWINDOW; break;
    default: style |= WS_CAPTION | WS_THICKFRAME; break;
    }
    if (d.borderStyle != vbBSNone && d.controlBox) style |= WS_SYSMENU;
    bool boxes = d.borderStyle == vbFixedSingle || d.borderStyle == vbSizable;
    if (boxes && d.minButton) style |= WS_MINIMIZEBOX;
    if (boxes && d.maxButton) style |= WS_MAXIMIZEBOX;
    return {style, ex};
}
} // namespace

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    if (hwnd_ && IsWindow(hwnd_)) {
        g_forms.erase(hwnd_);
        DestroyWindow(hwnd_);
    }
    g_loaded.erase(std::remove(g_loaded.begin(), g_loaded.end(), this), g_loaded.end());
    if (g_lastActive == this) g_lastActive = nullptr;
}

Form* Form::fromHandle(HWND hwnd) {
    auto found = g_forms.find(hwnd);
    return found == g_forms.end() ? nullptr : found->second;
}

HWND Form::hWnd() {
    // Touching a form loads it, also one whose window Create built ahead.
    if (!hwnd_ || created_) Load();
    return hwnd_;
}

int Form::loadedCount() { return static_cast<int>(g_loaded.size()); }
std::vector<Form*> Form::loadedForms() { return g_loaded; }

void Form::registerControl(Control* control) { controls_.push_back(control); }
void Form::unregisterControl(Control* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (defaultButton_ == control) defaultButton_ = nullptr;
    if (cancelButton_ == control) cancelButton_ = nullptr;
}
void Form::registerMenu(MenuItem* item) { menus_.push_back(item); }
void Form::unregisterMenu(MenuItem* item) { menus_.erase(std::remove(menus_.begin(), menus_.end(), item), menus_.end()); }

void Form::createWindow() {
    registerFormClass(windowProc);
    auto [style, ex] = formStyles(design);
    int w = twipsToPixelsX(design.width), h = twipsToPixelsY(design.height);
    int x = twipsToPixelsX(design.left), y = twipsToPixelsY(design.top);
    if (design.startUpPosition == vbStartUpWindowsDefault) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    } else if (design.startUpPosition != vbStartUpManual) {
        x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    }
    hwnd_ = CreateWindowExA(ex, kFormClass, design.caption.c_str(), style, x, y, w, h, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return;
    g_forms[hwnd_] = this;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont()), FALSE);
}

// A window of fixed size grows until its client area holds each of its own
// controls whole, with the margin its left-most control keeps: its design size
// counted a caption and borders that other systems draw larger (or not at all).
void Form::fitControls() {
    if (!hwnd_ || design.borderStyle == vbSizable || design.borderStyle == vbSizableToolWindow) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    int right = 0, bottom = 0, margin = INT_MAX;
    for (HWND h = GetWindow(hwnd_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) continue;
        char kind[16] = {};
        GetClassNameA(h, kind, sizeof kind);
        if (lstrcmpiA(kind, "ComboBox") == 0) continue; // its rectangle holds the dropped list
        RECT r{};
        GetWindowRect(h, &r);
        MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        if (r.right - r.left <= 2 || r.bottom - r.top <= 2) continue; // a line drawn across the window
        right = std::max(right, static_cast<int>(r.right));
        bottom = std::max(bottom, static_cast<int>(r.bottom));
        if (r.left >= 0) margin = std::min(margin, static_cast<int>(r.left));
    }
    if (margin == INT_MAX) return;
    const int grow = std::max(0, bottom + margin - static_cast<int>(client.bottom));
    const int widen = std::max(0, right + margin - static_cast<int>(client.right));
    if (right <= client.right && bottom <= client.bottom) return;
    RECT window{};
    GetWindowRect(hwnd_, &window);
    // No larger than the screen's work area, and moved back onto it when it grew past its edge.
    MONITORINFO screen{};
    screen.cbSize = sizeof(screen);
    GetMonitorInfoA(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &screen);
    const RECT& work = screen.rcWork;
    const int w = std::min<int>(window.right - window.left + (right > client.right ? widen : 0), work.right - work.left);
    const int h = std::min<int>(window.bottom - window.top + (bottom > client.bottom ? grow : 0), work.bottom - work.top);
    const int x = std::max<int>(work.left, std::min<int>(window.left, work.right - w));
    const int y = std::max<int>(work.top, std::min<int>(window.top, work.bottom - h));
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Create() {
    if (created_ || loaded_ || loading_) return;
    loading_ = true;
    createWindow();
    CreateControls();
    fitControls();
    buildMenus();
    loading_ = false;
    created_ = true;
}

void Form::Load() {
    if (loaded_ || loading_) return;
    Create();
    created_ = false;
    loaded_ = true;
    g_loaded.push_back(this);
    Form_Load();
}

bool Form::Unload(int mode) {
    if (!loaded_) return true;
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel) return false;
    return finishUnload();
}

bool Form::finishUnload() {
    if (!loaded_) return true;
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel) return false;
    teardown();
    return true;
}

void Form::teardown() {
    loaded_ = false;
    g_loaded.erase(std::remove(g_loaded.begin(), g_loaded.end(), this), g_loaded.end());
    if (g_lastActive == this) g_lastActive = nullptr;
    releaseModalDisabled();
    destroyMenus();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    accelerators_ = nullptr;
    HWND window = hwnd_;
    g_forms.erase(window);
    DestroyWindow(window);
    hwnd_ = nullptr;
    toolTip_ = nullptr;
    shownOnce_ = false;
    pendingState_ = vbNormal;
    for (Control* control : std::vector<Control*>(controls_)) control->reset();
    if (g_loopRunning && g_loaded.empty()) PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void Form::buildMenus() {
    menuBar_ = CreateMenu();
    std::vector<ACCEL> keys;
    for (MenuItem* item : menus_) {
        if (item->topLevel()) item->build();
        ACCEL accel{};
        if (item->shortcut(accel)) keys.push_back(accel);
    }
    menusBuilt_ = true;
    if (!keys.empty()) accelerators_ = CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
    menuBarChanged();
}

Form::MenuBarBatch::~MenuBarBatch() {
    if (!form_ || --form_->menuBatches_ > 0 || !form_->batchedMenuChange_) return;
    const bool layout = form_->batchedMenuChange_ == 2;
    form_->batchedMenuChange_ = 0;
    form_->menuBarChanged(layout);
}

void Form::menuBarChanged(bool layout) {
    if (!hwnd_ || !menuBar_) return;
    if (menuBatches_ > 0) {
        batchedMenuChange_ = std::max(batchedMenuChange_, layout ? 2 : 1);
        return;
    }
    bool any = GetMenuItemCount(menuBar_) > 0;
    if (any != (GetMenu(hwnd_) != nullptr)) SetMenu(hwnd_, any ? menuBar_ : nullptr);
    if (!any) return;
    // A greyed or checked item keeps the bar's layout: repainting the frame
    // when the window next paints is enough, and far cheaper than
    // recalculating it for each of a row of changes.
    if (layout) DrawMenuBar(hwnd_);
    else RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void Form::destroyMenus() {
    if (!menusBuilt_) return;
    if (hwnd_) SetMenu(hwnd_, nullptr);
    // Empty every menu first, so that destroying one does not destroy the
    // drop-downs it holds a second time.
    auto empty = [](HMENU menu) {
        while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
    };
    empty(menuBar_);
    for (MenuItem* item : menus_)
        if (item->popup()) empty(item->popup());
    for (MenuItem* item : menus_)
        if (item->popup()) DestroyMenu(item->popup());
    DestroyMenu(menuBar_);
    for (MenuItem* item : menus_) item->releaseHandles();
    menuBar_ = nullptr;
    menusBuilt_ = false;
}

void Form::Show(int modal, Form* owner) {
    if (modal == vbModal && Seam::get().scripted()) Seam::get().note({"Form", name_, design.caption, modal, {}});
    if (modal == vbModal && Seam::get().scripted() && !Seam::get().windowsShown()) {
        Load();
        if (loaded_ && scriptedModal) {
            ++modalShows_;
            scriptedModal(*this);
            --modalShows_;
        }
        runHandedOver();
        return;
    }
    Load();
    if (!loaded_) return; // Form_Load unloaded it
    if (!owner && modal == vbModal) owner = fromHandle(GetActiveWindow());
    if (owner && owner != this) SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner->hWnd()));
    if (!IsWindowVisible(hwnd_)) {
        int show = pendingState_ == vbMinimized ? SW_SHOWMINIMIZED : pendingState_ == vbMaximized ? SW_SHOWMAXIMIZED
                                                                                                   : SW_SHOW;
        ShowWindow(hwnd_, show);
    } else {
        SetForegroundWindow(hwnd_);
    }
    if (!shownOnce_ && loaded_) {
        shownOnce_ = true;
        fitControls();
        Form_Resize();
    }
    if (modal == vbModal && loaded_) runModal();
    if (modal == vbModal) runHandedOver();
}

void Form::runModal() {
    ++modalShows_;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM self) -> BOOL {
            auto* form = reinterpret_cast<Form*>(self);
            if (w != form->hwnd_ && fromHandle(w) && IsWindowEnabled(w)) {
                EnableWindow(w, FALSE);
                form->modalDisabled_.push_back(w);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
    while (loaded_ && IsWindowVisible(hwnd_)) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        dispatchMessage(msg);
    }
    releaseModalDisabled();
    --modalShows_;
}

void Form::runHandedOver() {
    std::vector<std::function<void()>> work;
    work.swap(handedOver_);
    for (auto& step : work) step();
}

void Form::HandOver(std::function<void()> work) {
    if (modalShows_ > 0) handedOver_.push_back(std::move(work));
    else work();
}

// Gives the windows a modal form had disabled back before it goes out of
// sight, so that activation and the keyboard focus return to them.
void Form::releaseModalDisabled() {
    for (HWND w : modalDisabled_) EnableWindow(w, TRUE);
    modalDisabled_.clear();
    // Activation goes back to the owner, as Windows gives it back from a
    // modal dialog; left to itself (with no window manager) it would go to
    // the next window in line, say an open zoom window.
    if (modalShows_ == 0 || !hwnd_ || GetActiveWindow() != hwnd_ || !IsWindowVisible(hwnd_)) return;
    const HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner && IsWindowVisible(owner) && IsWindowEnabled(owner)) SetForegroundWindow(owner);
}

void Form::Hide() {
    Load();
    if (hwnd_ && IsWindowVisible(hwnd_)) releaseModalDisabled();
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

std::string Form::Caption() {
    if (!hWnd()) return design.caption;
    return TextOfWindow(hwnd_);
}
void Form::SetCaption(const std::string& caption) {
    design.caption = caption;
    if (hWnd()) SetWindowTextA(hwnd_, caption.c_str());
}
bool Form::Visible() { return hwnd_ && IsWindowVisible(hwnd_); }
void Form::SetVisible(bool visible) {
    if (visible) Show();
    else Hide();
}
bool Form::Enabled() { return hWnd() && IsWindowEnabled(hwnd_); }
void Form::SetEnabled(bool enabled) {
    if (hWnd()) EnableWindow(hwnd_, enabled);
}

int Form::WindowState() {
    if (!hWnd()) return vbNormal;
    if (!IsWindowVisible(hwnd_)) return pendingState_;
    if (IsIconic(hwnd_)) return vbMinimized;
    if (IsZoomed(hwnd_)) return vbMaximized;
    return vbNormal;
}

void Form::SetWindowState(int state) {
    if (!hWnd()) return;
    pendingState_ = state;
    if (IsWindowVisible(hwnd_))
        ShowWindow(hwnd_, state == vbMinimized ? SW_MINIMIZE : state == vbMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

namespace {
// The normal (restored) place of a window, in screen pixels.
RECT outerRect(HWND hwnd) {
    RECT rect{};
    if (IsIconic(hwnd) || IsZoomed(hwnd)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(hwnd, &placement);
        return placement.rcNormalPosition;
    }
    GetWindowRect(hwnd, &rect);
    return rect;
}
} // namespace

int Form::Left() { return hWnd() ? pixelsToTwipsX(outerRect(hwnd_).left) : 0; }
int Form::Top() { return hWnd() ? pixelsToTwipsY(outerRect(hwnd_).top) : 0; }
int Form::Width() {
    RECT r = hWnd() ? outerRect(hwnd_) : RECT{};
    return pixelsToTwipsX(r.right - r.left);
}
int Form::Height() {
    RECT r = hWnd() ? outerRect(hwnd_) : RECT{};
    return pixelsToTwipsY(r.bottom - r.top);
}

void Form::Move(int left, int top, int width, int height) {
    if (!hWnd()) return;
    const RECT r = movedPixels(outerRect(hwnd_), left, top, width, height);
    if (IsIconic(hwnd_) || IsZoomed(hwnd_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(hwnd_, &placement);
        placement.rcNormalPosition = r;
        SetWindowPlacement(hwnd_, &placement);
        return;
    }
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::scaled(int pixels, bool horizontal) {
    if (scaleMode_ == vbPixels) return static_cast<float>(pixels);
    return static_cast<float>(horizontal ? pixelsToTwipsX(pixels) : pixelsToTwipsY(pixels));
}

int Form::ScaleWidth() {
    RECT r{};
    if (hWnd()) GetClientRect(hwnd_, &r);
    return static_cast<int>(scaled(r.right, true));
}
int Form::ScaleHeight() {
    RECT r{};
    if (hWnd()) GetClientRect(hwnd_, &r);
    return static_cast<int>(scaled(r.bottom, false));
}

int Form::TextWidth(const std::string& text) {
    HDC dc = GetDC(hWnd());
    HGDIOBJ old = SelectObject(dc, guiFont());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return static_cast<int>(scaled(size.cx, true));
}

int Form::TextHeight(const std::string& text) {
    HDC dc = GetDC(hWnd());
    HGDIOBJ old = SelectObject(dc, guiFont());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return static_cast<int>(scaled(metrics.tmHeight * lines, false));
}

void Form::SetIcon(const Picture& icon) {
    icon_ = icon;
    if (!hWnd()) return;
    LPARAM handle = reinterpret_cast<LPARAM>(icon.icon());
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, handle);
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, handle);
}

void Form::ZOrder(int position) {
    if (hWnd())
        SetWindowPos(hwnd_, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
void Form::SetFocus() {
    if (hWnd()) ::SetFocus(hwnd_);
}
void Form::Refresh() {
    if (!hWnd()) return;
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

HWND Form::toolTipWindow() {
    if (!toolTip_ && hwnd_)
        toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    return toolTip_;
}

void Form::PopupMenu(MenuItem& menu, int flags, int x, int y, MenuItem* defaultItem) {
    if (!hWnd() || !menu.popup()) return;
    SetMenuDefaultItem(menu.popup(), defaultItem ? defaultItem->id() : static_cast<UINT>(-1), FALSE);
    POINT at{};
    if (x == vmKeep || y == vmKeep) {
        GetCursorPos(&at);
    } else {
        at = POINT{twipsToPixelsX(x), twipsToPixelsY(y)};
        ClientToScreen(hwnd_, &at);
    }
    UINT chosen = trackPopup(hwnd_, menu.popup(), at, static_cast<UINT>(flags), menu.Caption());
    for (MenuItem* item : menus_)
        if (chosen && item->id() == chosen) {
            if (item->Click) item->Click();
            break;
        }
}

void Form::layoutAligned() {
    for (Control* control : controls_)
        if (control->created() && GetParent(control->hWnd()) == hwnd_) control->parentResized();
}

bool Form::keyEvent(UINT msg, WPARAM& wp) {
    int key = static_cast<int>(wp);
    if (msg == WM_CHAR) Form_KeyPress(key);
    else if (msg == WM_KEYDOWN) Form_KeyDown(key, currentShift());
    else Form_KeyUp(key, currentShift());
    wp = static_cast<WPARAM>(key);
    return key == 0;
}

namespace {
// The tab stops of a window in the order Tab visits them: its children from
// the top of the z-order, and in place of a container (a tab strip's page, a
// frame, the cool bar) the tab stops it holds. Hidden or disabled windows and
// what they hold are passed over.
void collectTabStops(HWND parent, std::vector<HWND>& stops) {
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(h, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
        if (style & WS_TABSTOP) stops.push_back(h);
        else if (Control::fromHandle(h)) collectTabStops(h, stops);
    }
}

// Tab and Shift+Tab move the focus round every control the window shows,
// also those inside its containers; a control that asks for Tab keeps it.
bool tabKey(HWND form, MSG& msg) {
    const HWND focus = GetFocus();
    if (focus && IsChild(form, focus) &&
        (SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
         (DLGC_WANTTAB | DLGC_WANTMESSAGE)))
        return false;
    std::vector<HWND> stops;
    collectTabStops(form, stops);
    if (stops.empty()) return true;
    // The stop that holds the focus (a combo box for its edit box).
    HWND at = focus;
    while (at && at != form && std::find(stops.begin(), stops.end(), at) == stops.end()) at = GetParent(at);
    const auto found = std::find(stops.begin(), stops.end(), at);
    const size_t n = stops.size(), here = static_cast<size_t>(found - stops.begin());
    const bool back = GetKeyState(VK_SHIFT) < 0;
    const HWND next = found == stops.end() ? (back ? stops.back() : stops.front()) : stops[(here + (back ? n - 1 : 1)) % n];
    // A box's text is selected, to be typed over.
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
    ::SetFocus(next);
    return true;
}
} // namespace

bool Form::preTranslate(MSG& msg) {
    if (!hwnd_) return false;
    bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
    if (key && design.keyPreview && msg.hwnd != hwnd_ && IsWindowEnabled(hwnd_)) {
        if (keyEvent(msg.message, msg.wParam)) return true;
        if (!hwnd_) return true; // the handler unloaded the form
    }
    if (accelerators_ && TranslateAcceleratorW(hwnd_, accelerators_, &msg)) return true;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return dialogKey(msg);
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0)
        return tabKey(hwnd_, msg);
    // The arrow keys between option buttons.
    return IsDialogMessageW(hwnd_, &msg) != 0;
}


// Enter clicks the button that has the focus, else the default button; Esc
// clicks the cancel button. A control that asks for the key (an open list, a
// box of several lines) keeps it, and without such a button Enter and Esc stay
// ordinary keys, so that they reach KeyPress (Esc stops long work).
bool Form::dialogKey(MSG& msg) {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus) &&
        (SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTMESSAGE))
        return false;
    Control* button = msg.wParam == VK_ESCAPE ? cancelButton_ : defaultButton_;
    if (msg.wParam == VK_RETURN && focus) {
        Control* focused = Control::fromHandle(focus);
        if (focused && focused->form() == this && dynamic_cast<CommandButton*>(focused)) button = focused;
    }
    if (!button) return false;
    if (button->created() && IsWindowEnabled(button->hWnd()) && IsWindowVisible(button->hWnd()))
        button->onCommand(BN_CLICKED, 0);
    return true;
}

LRESULT CALLBACK Form::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Form* form = fromHandle(hwnd);
    if (!form) return DefWindowProcA(hwnd, msg, wp, lp);
    // The handle may come back for another window.
    if (msg == WM_NCDESTROY) g_forms.erase(hwnd);
    try {
        return form->handle(msg, wp, lp);
    } catch (const std::exception& error) {
        ReportEventError(error);
        return 0;
    }
}

LRESULT Form::handle(UINT msg, WPARAM wp, LPARAM lp) {
    HWND self = hwnd_;
    LRESULT result = 0;
    auto mouse = [&](void (Form::*handler)(int, int, float, float), int button) {
        int shift = (wp & MK_SHIFT ? vbShiftMask : 0) | (wp & MK_CONTROL ? vbCtrlMask : 0);
        (this->*handler)(button, shift, scaled(GET_X_LPARAM(lp), true), scaled(GET_Y_LPARAM(lp), false));
    };
    switch (msg) {
    case WM_COMMAND:
        if (lp == 0) {
            UINT id = LOWORD(wp);
            if (id == IDOK || id == IDCANCEL) {
                Control* button = id == IDOK ? defaultButton_ : cancelButton_;
                if (button && button->created() && IsWindowEnabled(button->hWnd())) button->onCommand(BN_CLICKED, 0);
                return 0;
            }
            for (MenuItem* item : std::vector<MenuItem*>(menus_))
                if (item->id() == id) {
                    // A shortcut reaches only an item that could be clicked.
                    bool usable = true;
                    for (MenuItem* m = item; m; m = m->parent()) usable = usable && m->Enabled();
                    if (usable && item->Click) item->Click();
                    return 0;
                }
            return 0;
        }
        if (reflectToControl(msg, wp, lp, result)) return result;
        break;
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (reflectToControl(msg, wp, lp, result)) return result;
        break;
    case WM_SIZE:
        if (loaded_) {
            layoutAligned();
            Form_Resize();
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) {
            setSeamOwner(self);
            // Once the activation is through, which may have raised the window on the screen.
            if (!topmost(self)) PostMessageA(self, kKeepTopmostAbove, 0, 0);
            // Activate is raised when activation moves between the program's
            // forms, not when the program as a whole gets it back.
            if (g_lastActive != this && loaded_) {
                g_lastActive = this;
                Form_Activate();
            }
        }
        break;
    case kKeepTopmostAbove:
        keepTopmostAbove(self);
        return 0;
    case WM_ENABLE:
        // A modal window (a form, a message box, a common dialog) closed.
        if (wp)
            for (Control* control : std::vector<Control*>(controls_))
                if (control->created()) control->modalWindowClosed();
        break;
    case WM_CLOSE:
        Unload(vbFormControlMenu);
        return 0;
    case WM_QUERYENDSESSION: {
        int cancel = 0;
        Form_QueryUnload(cancel, vbAppWindows);
        return cancel ? FALSE : TRUE;
    }
    case WM_ENDSESSION:
        if (wp) finishUnload();
        return 0;
    case WM_SETCURSOR: {
        HCURSOR cursor = cursorFor(Screen::MousePointer());
        if (!cursor && reinterpret_cast<HWND>(wp) == self && LOWORD(lp) == HTCLIENT) cursor = cursorFor(mousePointer_);
        if (cursor) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        if (keyEvent(msg, wp)) return 0;
        break;
    case WM_LBUTTONDOWN: mouse(&Form::Form_MouseDown, vbLeftButton); return 0;
    case WM_RBUTTONDOWN: mouse(&Form::Form_MouseDown, vbRightButton); return 0;
    case WM_LBUTTONUP: mouse(&Form::Form_MouseUp, vbLeftButton); return 0;
    case WM_RBUTTONUP: mouse(&Form::Form_MouseUp, vbRightButton); return 0;
    case WM_MOUSEMOVE:
        mouse(&Form::Form_MouseMove, (wp & MK_LBUTTON ? vbLeftButton : 0) | (wp & MK_RBUTTON ? vbRightButton : 0));
        return 0;
    default: break;
    }
    return DefWindowProcA(self, msg, wp, lp);
}

void dispatchMessage(MSG& msg) {
    Form* form = msg.hwnd ? Form::fromHandle(GetAncestor(msg.hwnd, GA_ROOT)) : nullptr;
    if (form && form->preTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        dispatchMessage(msg);
    }
    return Form::loadedCount();
}

void RunMessageLoop() {
    g_loopRunning = true;
    MSG msg;
    while (Form::loadedCount() > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) dispatchMessage(msg);
    g_loopRunning = false;
}

} // namespace vm
