#include "cicongrid.h"

#include <cmath>

#include "classerror.h"

namespace vm {

namespace {

constexpr const char* kClass = "cIconGrid";
constexpr const char* kWindowClass = "VellumarIconGrid";

// Twips per screen pixel, vertically: mouse positions reach the form in twips.
int twipsPerPixelY() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440 / dpi : 15;
}

int twipsPerPixelX() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440 / dpi : 15;
}

// The keys held with a mouse button, as shift state bits.
int shiftState(WPARAM keys) {
    int shift = 0;
    if (keys & MK_SHIFT) shift |= 1;
    if (keys & MK_CONTROL) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

int keyShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

void registerWindowClass(WNDPROC windowProcOf) {
    static ATOM atom = [windowProcOf] {
        WNDCLASSA wc{};
        // A device context of its own: the control draws outside WM_PAINT
        // too, and the font chosen once stays selected.
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = windowProcOf;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        return RegisterClassA(&wc);
    }();
    (void)atom;
}

} // namespace

std::string IconCaption(int width, int height, std::int32_t colours) {
    std::string size = std::to_string(width) + " x " + std::to_string(height) + ", ";
    if (colours > 256) return size + "Millions of Colors";
    return size + std::to_string(colours) + " Colors";
}

cIconGrid::~cIconGrid() {
    Clear();
    m_cScroll.reset();
    if (hWnd_) {
        SetWindowLongPtrA(hWnd_, GWLP_USERDATA, 0);
        DestroyWindow(hWnd_);
    }
}

void cIconGrid::Create(HWND parent, int x, int y, int width, int height) {
    registerWindowClass(&cIconGrid::windowProc);
    CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, x, y, width, height,
                    parent, nullptr, GetModuleHandleA(nullptr), this);
    if (!hWnd_) return;
    hDC_ = GetDC(hWnd_);
    SelectObject(hDC_, GetStockObject(DEFAULT_GUI_FONT));

    RECT client;
    GetClientRect(hWnd_, &client);
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;

    m_cScroll = std::make_unique<cScrollBars>();
    m_cScroll->Create(hWnd_);
    m_cScroll->SetSmallChange(SB_VERT, 8);
    // Dragging the thumb scrolls live.
    m_cScroll->onChange = [this](int&) { paintItems(); };
    m_cScroll->onScroll = [this](int&) { paintItems(); };

    RECT text{};
    DrawTextA(hDC_, "Xg", -1, &text, DT_CALCRECT);
    textHeight_ = text.bottom - text.top;
}

void cIconGrid::Init(const cFileIcon& icon) {
    Clear();
    int count = icon.ImageCount();
    for (int i = 1; i <= count; ++i) {
        Item it;
        it.hIcon = icon.IconHandle(hDC_, i);
        it.colours = icon.ImageColourCount(i);
        it.width = icon.ImageWidth(i);
        it.height = icon.ImageHeight(i);
        items_.push_back(it);
    }
    if (current_ > count) current_ = count;
    // Drawn even without rows, so that the rows of the icon before go at once.
    Draw();
}

void cIconGrid::Clear() {
    for (Item& it : items_)
        if (it.hIcon) DestroyIcon(it.hIcon);
    items_.clear();
}

cIconGrid::Item& cIconGrid::item(int index) {
    if (index < 1 || index > ItemCount()) raiseSubscriptError(kClass);
    return items_[static_cast<size_t>(index - 1)];
}

const cIconGrid::Item& cIconGrid::item(int index) const {
    if (index < 1 || index > ItemCount()) raiseSubscriptError(kClass);
    return items_[static_cast<size_t>(index - 1)];
}

bool cIconGrid::Selected(int index) const { return item(index).selected; }

void cIconGrid::SetSelected(int index, bool flag) {
    item(index).selected = flag;
    current_ = index;
    Draw();
}

void cIconGrid::Draw() {
    // Nothing to draw before the set-up has finished or after the window went.
    if (!hWnd_ || !m_cScroll) return;
    layoutItems();
    paintItems();
}

void cIconGrid::layoutItems() {
    int total = 0;
    for (Item& it : items_) {
        it.top = total;
        total += rowHeight(it);
    }
    if (total <= clientHeight_) {
        if (m_cScroll->Visible(SB_VERT)) m_cScroll->SetVisible(SB_VERT, false);
        return;
    }
    m_cScroll->SetMax(SB_VERT, total - clientHeight_);
    // LargeChange = client height x ((total \ (total - client height)) + 1):
    // the page grows with the share of the list that is visible, which keeps
    // the thumb large when little is hidden.
    m_cScroll->SetLargeChange(SB_VERT, clientHeight_ * ((total / (total - clientHeight_)) + 1));
    if (!m_cScroll->Visible(SB_VERT)) m_cScroll->SetVisible(SB_VERT, true);
}

int cIconGrid::scrollOffset() const {
    return m_cScroll && m_cScroll->Visible(SB_VERT) ? -m_cScroll->Value(SB_VERT) : 0;
}

void cIconGrid::paintItems() {
    if (!hDC_) return;
    int offset = scrollOffset();
    RECT client{0, 0, clientWidth_, clientHeight_};
    FillRect(hDC_, &client, GetSysColorBrush(COLOR_WINDOW));

    for (int i = 1; i <= ItemCount(); ++i) {
        const Item& it = item(i);
        RECT row{0, it.top + offset, clientWidth_, it.top + offset + rowHeight(it)};
        if (row.bottom < 1 || row.top >= clientHeight_) continue;

        if (it.selected) {
            FillRect(hDC_, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetBkMode(hDC_, OPAQUE);
            SetBkColor(hDC_, GetSysColor(COLOR_HIGHLIGHT));
            SetTextColor(hDC_, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetBkMode(hDC_, TRANSPARENT);
            SetBkColor(hDC_, GetSysColor(COLOR_WINDOW));
            SetTextColor(hDC_, GetSysColor(COLOR_WINDOWTEXT));
        }
        if (it.hIcon)
            DrawIconEx(hDC_, (clientWidth_ - 6 - it.width) / 2 + 2, row.top + 2, it.hIcon, it.width, it.height, 0,
                       nullptr, DI_NORMAL);
        RECT caption{2, row.top + it.height + 4, clientWidth_ - 2, row.top + it.height + 4 + textHeight_};
        std::string text = IconCaption(it.width, it.height, it.colours);
        DrawTextA(hDC_, text.c_str(), -1, &caption, DT_CENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);

        if (hasFocus_ && i == current_) {
            RECT focus = row;
            focus.left = 1;
            DrawFocusRect(hDC_, &focus);
        }
    }
    SetBkMode(hDC_, TRANSPARENT);
    SetBkColor(hDC_, GetSysColor(COLOR_WINDOW));
    SetTextColor(hDC_, GetSysColor(COLOR_WINDOWTEXT));
}

void cIconGrid::EnsureVisible(int index) {
    const Item& it = item(index);
    if (!m_cScroll || !m_cScroll->Visible(SB_VERT)) return;
    int value = m_cScroll->Value(SB_VERT);
    int offset = -value;
    int bottom = it.top + rowHeight(it) + offset;
    if (bottom <= clientHeight_) {
        if (it.top + offset < 0) m_cScroll->SetValue(SB_VERT, value + it.top + offset);
    } else {
        m_cScroll->SetValue(SB_VERT, value + bottom - clientHeight_);
    }
}

void cIconGrid::selectOnly(int index) {
    for (Item& it : items_) it.selected = false;
    item(index).selected = true;
}

void cIconGrid::stepCurrent(int delta, int shift) {
    int target = current_ + delta;
    if (shift & 2) {
        // Ctrl moves the focus only.
    } else if (shift & 1) {
        if (hasCurrent()) item(current_).selected = true;
        item(target).selected = true;
    } else {
        selectOnly(target);
    }
    current_ = target;
}

void cIconGrid::KeyDown(int keyCode, int shift) {
    switch (keyCode) {
    case VK_UP:
        if (!hasCurrent() || current_ < 2) return;
        stepCurrent(-1, shift);
        break;
    case VK_DOWN:
        if (current_ >= ItemCount()) return;
        stepCurrent(1, shift);
        break;
    case VK_SPACE:
        if (!hasCurrent()) return;
        item(current_).selected = !item(current_).selected;
        break;
    default:
        return;
    }
    EnsureVisible(current_);
    Draw();
}

void cIconGrid::MouseDown(int button, int shift, float x, float y) {
    if (button != 1 && button != 3) return;
    int py = static_cast<int>(std::lround(y)) / twipsPerPixelY();
    int offset = scrollOffset();
    int hit = 0;
    for (int i = 1; i <= ItemCount() && !hit; ++i) {
        const Item& it = item(i);
        if (py > it.top + offset && py < it.top + offset + rowHeight(it)) hit = i;
    }
    if (!hit) return;

    if (shift & 2) {
        item(hit).selected = !item(hit).selected;
    } else if ((shift & 1) && hasCurrent()) {
        int first = current_ < hit ? current_ : hit;
        int last = current_ < hit ? hit : current_;
        for (int i = 1; i <= ItemCount(); ++i) item(i).selected = i >= first && i <= last;
    } else {
        // A Shift click without a current row selects the clicked row alone.
        selectOnly(hit);
    }
    current_ = hit;
    Draw();
}

void cIconGrid::GotFocus() {
    hasFocus_ = true;
    Draw();
}

void cIconGrid::LostFocus() {
    hasFocus_ = false;
    Draw();
}

void cIconGrid::resize() {
    RECT client;
    GetClientRect(hWnd_, &client);
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;
    Draw();
}

void cIconGrid::mouseButton(short button, WPARAM keys, LPARAM pos) {
    if (GetFocus() != hWnd_) SetFocus(hWnd_);
    short shift = static_cast<short>(shiftState(keys));
    float x = static_cast<float>(static_cast<short>(LOWORD(pos)) * twipsPerPixelX());
    float y = static_cast<float>(static_cast<short>(HIWORD(pos)) * twipsPerPixelY());
    if (onMouseDown) onMouseDown(button, shift, x, y);
    if (button & 1) MouseDown(button, shift, x, y);
}

LRESULT CALLBACK cIconGrid::windowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* created = reinterpret_cast<cIconGrid*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        created->hWnd_ = hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* grid = reinterpret_cast<cIconGrid*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!grid) return DefWindowProcA(hWnd, msg, wParam, lParam);
    return grid->handleMessage(msg, wParam, lParam);
}

LRESULT cIconGrid::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hWnd_, &ps);
        Draw();
        EndPaint(hWnd_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        resize();
        return 0;
    case WM_SETFOCUS:
        GotFocus();
        if (onGotFocus) onGotFocus();
        return 0;
    case WM_KILLFOCUS:
        LostFocus();
        if (onLostFocus) onLostFocus();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        KeyDown(static_cast<int>(wParam), keyShiftState());
        return 0;
    case WM_LBUTTONDOWN: mouseButton(1, wParam, lParam); return 0;
    case WM_RBUTTONDOWN: mouseButton(2, wParam, lParam); return 0;
    case WM_MBUTTONDOWN: mouseButton(4, wParam, lParam); return 0;
    case WM_DESTROY:
        // The bars stop watching while the window still exists.
        m_cScroll.reset();
        break;
    case WM_NCDESTROY: {
        HWND gone = hWnd_;
        Clear();
        hDC_ = nullptr;
        hWnd_ = nullptr;
        return DefWindowProcA(gone, msg, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcA(hWnd_, msg, wParam, lParam);
}

} // namespace vm
