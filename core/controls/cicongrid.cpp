#include "cicongrid.h"

#include <algorithm>
#include <cmath>

#include "classerror.h"

namespace vm {

namespace {

constexpr const char* kClass = "cIconGrid";
constexpr const char* kWindowClass = "VellumarIconGrid";

const char* windowClass() {
    static ATOM atom = [] {
        WNDCLASSA wc{};
        // A device context of its own: the control draws outside WM_PAINT
        // too, and the font chosen once stays selected.
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        return RegisterClassA(&wc);
    }();
    (void)atom;
    return kWindowClass;
}

} // namespace

std::string IconCaption(int width, int height, std::int32_t colours) {
    std::string size = std::to_string(width) + " x " + std::to_string(height) + ", ";
    if (colours > 256) return size + "Millions of Colors";
    return size + std::to_string(colours) + " Colors";
}

cIconGrid::~cIconGrid() { release(); }

void cIconGrid::create(Window& parent, int left, int top, int width, int height) {
    release();
    createWindow(parent, windowClass(), WS_VISIBLE | WS_TABSTOP, 0, "", left, top, width, height);
    if (!handle()) return;
    hDC_ = GetDC(handle());
    SelectObject(hDC_, guiFont());
    readClientSize();

    m_cScroll = std::make_unique<cScrollBars>();
    m_cScroll->Create(handle());
    m_cScroll->SetSmallChange(SB_VERT, 8);
    // Dragging the thumb scrolls live.
    m_cScroll->onChange = [this](int&) { paintItems(); };
    m_cScroll->onScroll = [this](int&) { paintItems(); };

    RECT text{};
    DrawTextA(hDC_, "Xg", -1, &text, DT_CALCRECT);
    textHeight_ = text.bottom - text.top;
}

void cIconGrid::release() {
    Clear();
    m_cScroll.reset();
    hDC_ = nullptr;
}

void cIconGrid::reset() {
    release();
    Control::reset();
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
    return const_cast<Item&>(static_cast<const cIconGrid*>(this)->item(index));
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
    if (!handle() || !m_cScroll) return;
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

SIZE cIconGrid::drawnSize(const Item& it) const {
    const int room = std::max(clientWidth_ - 6, 1);
    if (it.width <= room || it.width <= 0) return SIZE{it.width, it.height};
    return SIZE{room, std::max(1, static_cast<int>(static_cast<long long>(it.height) * room / it.width))};
}

std::string cIconGrid::RowCaption(int index) const {
    const Item& it = item(index);
    return IconCaption(it.width, it.height, it.colours);
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
        const SIZE drawn = drawnSize(it);
        if (it.hIcon)
            DrawIconEx(hDC_, (clientWidth_ - 6 - drawn.cx) / 2 + 2, row.top + 2, it.hIcon, drawn.cx, drawn.cy, 0,
                       nullptr, DI_NORMAL);
        RECT caption{2, row.top + drawn.cy + 4, clientWidth_ - 2, row.top + drawn.cy + 4 + textHeight_};
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

void cIconGrid::OnKeyDown(int keyCode, int shift) {
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

void cIconGrid::OnMouseDown(int button, int shift, float x, float y) {
    if (button != 1 && button != 3) return;
    // A MouseDown handler that selects the row now has the grid's own selection done.
    if (inMouseDownEvent_) selectedInEvent_ = true;
    int py = static_cast<int>(std::lround(y)) / TwipsPerPixelY();
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

void cIconGrid::OnGotFocus() {
    hasFocus_ = true;
    Draw();
}

void cIconGrid::OnLostFocus() {
    hasFocus_ = false;
    Draw();
}

void cIconGrid::readClientSize() {
    RECT client;
    GetClientRect(handle(), &client);
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;
}

void cIconGrid::mouseButton(int button, WPARAM keys, LPARAM pos) {
    if (GetFocus() != handle()) ::SetFocus(handle());
    int shift = (keys & MK_SHIFT ? vbShiftMask : 0) | (keys & MK_CONTROL ? vbCtrlMask : 0) |
                (GetKeyState(VK_MENU) < 0 ? vbAltMask : 0);
    float x = static_cast<float>(pixelsToTwipsX(static_cast<short>(LOWORD(pos))));
    float y = static_cast<float>(pixelsToTwipsY(static_cast<short>(HIWORD(pos))));
    selectedInEvent_ = false;
    inMouseDownEvent_ = true;
    if (MouseDown) MouseDown(button, shift, x, y);
    inMouseDownEvent_ = false;
    // Done once: a Ctrl click selected in the event would otherwise toggle back.
    if ((button & vbLeftButton) && !selectedInEvent_) OnMouseDown(button, shift, x, y);
}

// The toolkit raises GotFocus, LostFocus and KeyDown to the form after this;
// MouseDown is raised here, ahead of the selection it may change.
bool cIconGrid::onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(handle(), &ps);
        Draw();
        EndPaint(handle(), &ps);
        return true;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_SIZE:
        readClientSize();
        Draw();
        return true;
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return true;
    case WM_SETFOCUS: OnGotFocus(); return false;
    case WM_KILLFOCUS: OnLostFocus(); return false;
    case WM_KEYDOWN: OnKeyDown(static_cast<int>(wp), currentShift()); return false;
    case WM_LBUTTONDOWN: mouseButton(vbLeftButton, wp, lp); return true;
    case WM_RBUTTONDOWN: mouseButton(vbRightButton, wp, lp); return true;
    case WM_MBUTTONDOWN: mouseButton(vbMiddleButton, wp, lp); return true;
    case WM_DESTROY:
        // The bar stops watching while the window still exists.
        release();
        return false;
    default:
        return false;
    }
}

} // namespace vm
