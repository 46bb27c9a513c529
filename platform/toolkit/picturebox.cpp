#include "picturebox.h"

#include "form.h"

namespace vm {

namespace {
const char kPictureClass[] = "VellumarPictureBox";

void registerPictureClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPictureClass;
    RegisterClassExA(&wc);
    done = true;
}

void fill(HDC dc, SIZE size, OleColor colour) {
    HBRUSH brush = CreateSolidBrush(resolveColor(colour));
    RECT all{0, 0, size.cx, size.cy};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}
} // namespace

PictureBox::PictureBox(Form* owner) : Control(owner) {}

PictureBox::~PictureBox() { release(); }

void PictureBox::create(Window& parent, int left, int top, int width, int height, bool border) {
    registerPictureClass();
    createWindow(parent, kPictureClass, WS_VISIBLE | WS_CLIPCHILDREN, border ? WS_EX_CLIENTEDGE : 0, "", left, top,
                 width, height);
    ensureBacking();
}

void PictureBox::release() {
    if (memory_) {
        SelectObject(memory_, oldBitmap_);
        DeleteDC(memory_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    memory_ = nullptr;
    bitmap_ = nullptr;
    size_ = SIZE{0, 0};
}

void PictureBox::ensureBacking() {
    if (!created()) return;
    RECT client{};
    GetClientRect(handle(), &client);
    SIZE wanted{std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)};
    if (memory_ && wanted.cx == size_.cx && wanted.cy == size_.cy) return;
    // A new size keeps what was drawn; new room shows the back colour.
    HDC screen = GetDC(handle());
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, wanted.cx, wanted.cy);
    ReleaseDC(handle(), screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    fill(memory, wanted, backColor_);
    if (memory_) BitBlt(memory, 0, 0, size_.cx, size_.cy, memory_, 0, 0, SRCCOPY);
    else if (picture_) picture_.render(memory, 0, 0);
    release();
    memory_ = memory;
    bitmap_ = bitmap;
    oldBitmap_ = old;
    size_ = wanted;
}

HDC PictureBox::hDC() {
    hWnd();
    ensureBacking();
    return memory_;
}

void PictureBox::SetPicture(const Picture& picture) {
    picture_ = picture;
    if (!hWnd()) return;
    if (AutoSize && picture_)
        SetWindowPos(handle(), nullptr, 0, 0, picture_.pixelWidth(), picture_.pixelHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Cls();
}

Picture PictureBox::Image() {
    if (!hDC()) return {};
    // A copy: the box goes on drawing into its own bitmap.
    HDC copy = CreateCompatibleDC(memory_);
    HBITMAP bitmap = CreateCompatibleBitmap(memory_, size_.cx, size_.cy);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, size_.cx, size_.cy, memory_, 0, 0, SRCCOPY);
    SelectObject(copy, old);
    DeleteDC(copy);
    return Picture::fromBitmap(bitmap);
}

void PictureBox::Cls() {
    if (!hDC()) return;
    fill(memory_, size_, backColor_);
    if (picture_) picture_.render(memory_, 0, 0);
    InvalidateRect(handle(), nullptr, FALSE);
}

void PictureBox::PaintPicture(const Picture& picture, float x, float y, float width, float height) {
    if (!hDC() || !picture) return;
    picture.render(memory_, toPixelsX(x), toPixelsY(y), width < 0 ? 0 : toPixelsX(width),
                   height < 0 ? 0 : toPixelsY(height));
    InvalidateRect(handle(), nullptr, FALSE);
}

void PictureBox::SetBackColor(OleColor color) {
    backColor_ = color;
    // A new back colour clears the drawing.
    Cls();
}

int PictureBox::toPixelsX(float value) const {
    return scaleMode_ == vbPixels ? static_cast<int>(value) : twipsToPixelsX(static_cast<int>(value));
}
int PictureBox::toPixelsY(float value) const {
    return scaleMode_ == vbPixels ? static_cast<int>(value) : twipsToPixelsY(static_cast<int>(value));
}
float PictureBox::scaleX(int pixels) {
    return scaleMode_ == vbPixels ? static_cast<float>(pixels) : static_cast<float>(pixelsToTwipsX(pixels));
}
float PictureBox::scaleY(int pixels) {
    return scaleMode_ == vbPixels ? static_cast<float>(pixels) : static_cast<float>(pixelsToTwipsY(pixels));
}
float PictureBox::ScaleWidth() {
    RECT client{};
    if (hWnd()) GetClientRect(handle(), &client);
    return scaleX(client.right);
}
float PictureBox::ScaleHeight() {
    RECT client{};
    if (hWnd()) GetClientRect(handle(), &client);
    return scaleY(client.bottom);
}

bool PictureBox::onMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_PAINT: {
        ensureBacking();
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(handle(), &paint);
        BitBlt(dc, 0, 0, size_.cx, size_.cy, memory_, 0, 0, SRCCOPY);
        EndPaint(handle(), &paint);
        result = 0;
        return true;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_SIZE:
        ensureBacking();
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        // A pressed box takes the keys, as any control a person clicks; a box
        // that holds controls is their frame and leaves the keys to them.
        if (msg != WM_RBUTTONDOWN && GetFocus() != handle() && !GetWindow(handle(), GW_CHILD))
            ::SetFocus(handle());
        SetCapture(handle());
        return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (GetCapture() == handle()) ReleaseCapture();
        return false;
    default: return false;
    }
}

void PictureBox::reset() {
    Control::reset();
    release();
}

} // namespace vm
