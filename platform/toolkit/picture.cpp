#include "picture.h"

#include "vberror.h"

#include <fstream>
#include <vector>

namespace vm {

// An icon or a bitmap is held by its handle alone: a page of pictures would
// otherwise make an OLE object for each, which costs far more than the
// picture itself. A bitmap gets one (not owning it) only when drawn.
struct Picture::Impl {
    IPicture* ole = nullptr;
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    bool own = false;
    std::unique_ptr<Pixels> pixels;
    std::function<HICON()> makeIcon; // of pixels, until it has made the icon
    ~Impl() {
        if (ole) ole->Release();
        if (icon && own) DestroyIcon(icon);
        if (bitmap && own) DeleteObject(bitmap);
    }
    IPicture* picture() {
        if (ole || !bitmap) return ole;
        PICTDESC desc{};
        desc.cbSizeofstruct = sizeof(desc);
        desc.picType = PICTYPE_BITMAP;
        desc.bmp.hbitmap = bitmap;
        if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, FALSE, reinterpret_cast<void**>(&ole)))) ole = nullptr;
        return ole;
    }
    HICON iconHandle() {
        if (!icon && makeIcon) {
            icon = makeIcon();
            own = true;
            makeIcon = nullptr;
        }
        return icon;
    }
    SIZE bitmapSize() const {
        BITMAP bm{};
        if (!GetObjectA(bitmap, sizeof(bm), &bm)) return {0, 0};
        return {bm.bmWidth, bm.bmHeight};
    }
    // The icon's size in pixels; a monochrome icon's mask holds both its halves.
    SIZE iconSize() const {
        ICONINFO info{};
        BITMAP bitmap{};
        SIZE size{0, 0};
        if (!GetIconInfo(icon, &info)) return size;
        if (GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap)) {
            size.cx = bitmap.bmWidth;
            size.cy = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
        }
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        return size;
    }
};

namespace {
int himetricToPixels(OLE_XSIZE_HIMETRIC value, int capability) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, capability);
    ReleaseDC(nullptr, screen);
    return MulDiv(value, dpi, 2540);
}

// OLE handles are 32-bit values; window-system handles are sign-extended.
HANDLE fromOleHandle(OLE_HANDLE handle) {
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
}

Picture create(PICTDESC& desc, bool own) {
    IPicture* ole = nullptr;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, own, reinterpret_cast<void**>(&ole))) || !ole)
        throw VbError(481, "Picture", "Invalid picture");
    return Picture::fromOle(ole);
}

HBITMAP copyBitmap(HBITMAP source) {
    return static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, 0));
}

// Draws any picture onto a new screen-compatible bitmap of its size.
HBITMAP bitmapOf(const Picture& picture) {
    if (HBITMAP bitmap = picture.bitmap()) return copyBitmap(bitmap);
    int w = picture.pixelWidth(), h = picture.pixelHeight();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    picture.render(dc, 0, 0, w, h);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}
} // namespace

Picture Picture::fromOle(IPicture* picture) {
    Picture result;
    result.impl_ = std::make_shared<Impl>();
    result.impl_->ole = picture;
    return result;
}

Picture Picture::fromBitmap(HBITMAP bitmap, bool own) {
    if (!bitmap) return {};
    Picture result;
    result.impl_ = std::make_shared<Impl>();
    result.impl_->bitmap = bitmap;
    result.impl_->own = own;
    return result;
}

Picture Picture::fromIcon(HICON icon, bool own) {
    if (!icon) return {};
    Picture result;
    result.impl_ = std::make_shared<Impl>();
    result.impl_->icon = icon;
    result.impl_->own = own;
    return result;
}

Picture Picture::fromPixels(Pixels pixels, std::function<HICON()> makeIcon) {
    if (pixels.width < 1 || pixels.height < 1) return {};
    Picture result;
    result.impl_ = std::make_shared<Impl>();
    result.impl_->pixels = std::make_unique<Pixels>(std::move(pixels));
    result.impl_->makeIcon = std::move(makeIcon);
    return result;
}

const Picture::Pixels* Picture::pixels() const { return impl_ ? impl_->pixels.get() : nullptr; }

int Picture::Type() const {
    if (!impl_) return vbPicTypeNone;
    if (impl_->icon || impl_->pixels) return vbPicTypeIcon;
    if (impl_->bitmap) return vbPicTypeBitmap;
    SHORT type = PICTYPE_NONE;
    impl_->ole->get_Type(&type);
    return type;
}

HANDLE Picture::Handle() const {
    if (!impl_) return nullptr;
    if (impl_->icon || impl_->pixels) return impl_->iconHandle();
    if (impl_->bitmap) return impl_->bitmap;
    OLE_HANDLE handle = 0;
    impl_->ole->get_Handle(&handle);
    return fromOleHandle(handle);
}

int Picture::pixelWidth() const {
    if (!impl_) return 0;
    if (impl_->pixels) return impl_->pixels->width;
    if (impl_->icon) return impl_->iconSize().cx;
    if (impl_->bitmap) return impl_->bitmapSize().cx;
    OLE_XSIZE_HIMETRIC width = 0;
    impl_->ole->get_Width(&width);
    return himetricToPixels(width, LOGPIXELSX);
}

int Picture::pixelHeight() const {
    if (!impl_) return 0;
    if (impl_->pixels) return impl_->pixels->height;
    if (impl_->icon) return impl_->iconSize().cy;
    if (impl_->bitmap) return impl_->bitmapSize().cy;
    OLE_YSIZE_HIMETRIC height = 0;
    impl_->ole->get_Height(&height);
    return himetricToPixels(height, LOGPIXELSY);
}

void Picture::render(HDC dc, int x, int y, int width, int height) const {
    if (!impl_) return;
    if (width <= 0) width = pixelWidth();
    if (height <= 0) height = pixelHeight();
    if (HICON handle = icon()) {
        // Icons keep their transparency and pick the image nearest the size.
        DrawIconEx(dc, x, y, handle, width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    IPicture* ole = impl_->picture();
    if (!ole) return;
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    ole->get_Width(&hmWidth);
    ole->get_Height(&hmHeight);
    ole->Render(dc, x, y, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
}

void SavePicture(const Picture& picture, const std::string& fileName) {
    HBITMAP bitmap = picture.bitmap();
    if (!bitmap) throw VbError(481, "SavePicture", "Invalid picture");
    BITMAP info{};
    GetObject(bitmap, sizeof(info), &info);
    int bits = info.bmBitsPixel * info.bmPlanes;
    if (bits > 8) bits = 24;
    else if (bits > 4) bits = 8;
    else if (bits > 1) bits = 4;
    int colours = bits <= 8 ? 1 << bits : 0;
    std::vector<unsigned char> header(sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(header.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = info.bmWidth;
    bmi->bmiHeader.biHeight = info.bmHeight;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = static_cast<WORD>(bits);
    bmi->bmiHeader.biCompression = BI_RGB;
    DWORD stride = ((static_cast<DWORD>(info.bmWidth) * bits + 31) / 32) * 4;
    std::vector<unsigned char> pixels(stride * static_cast<DWORD>(info.bmHeight));
    HDC screen = GetDC(nullptr);
    int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), bmi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != info.bmHeight) throw VbError(481, "SavePicture", "Invalid picture");
    bmi->bmiHeader.biSizeImage = static_cast<DWORD>(pixels.size());
    bmi->bmiHeader.biClrUsed = static_cast<DWORD>(colours);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof(file) + header.size());
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    if (!out) throw VbError(75, "SavePicture", "Path/File access error");
}

namespace {
class OpenClipboardScope {
public:
    OpenClipboardScope() : open_(OpenClipboard(nullptr) != 0) {}
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    bool ok() const { return open_; }

private:
    bool open_;
};

void clipboardError() { throw VbError(521, "Clipboard", "Can't open Clipboard"); }
} // namespace

void Clipboard::Clear() {
    OpenClipboardScope scope;
    if (!scope.ok()) clipboardError();
    EmptyClipboard();
}

void Clipboard::SetData(const Picture& picture, int /*format*/) {
    // Bitmap and DIB both go as a bitmap; the system makes the DIB from it when asked.
    if (picture.empty()) return;
    HBITMAP bitmap = bitmapOf(picture);
    OpenClipboardScope scope;
    if (!scope.ok()) {
        DeleteObject(bitmap);
        clipboardError();
    }
    if (!SetClipboardData(CF_BITMAP, bitmap)) DeleteObject(bitmap);
}

Picture Clipboard::GetData(int format) {
    OpenClipboardScope scope;
    if (!scope.ok()) clipboardError();
    if (format == vbCFBitmap || format == vbCFDIB) {
        HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        return bitmap ? Picture::fromBitmap(copyBitmap(bitmap)) : Picture();
    }
    if (format == vbCFEMetafile) {
        HENHMETAFILE meta = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
        if (!meta) return {};
        PICTDESC desc{};
        desc.cbSizeofstruct = sizeof(desc);
        desc.picType = PICTYPE_ENHMETAFILE;
        desc.emf.hemf = CopyEnhMetaFileA(meta, nullptr);
        return create(desc, true);
    }
    return {};
}

bool Clipboard::GetFormat(int format) { return IsClipboardFormatAvailable(static_cast<UINT>(format)) != 0; }

void Clipboard::SetText(const std::string& text) {
    OpenClipboardScope scope;
    if (!scope.ok()) clipboardError();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory) return;
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
}

std::string Clipboard::GetText() {
    OpenClipboardScope scope;
    if (!scope.ok()) clipboardError();
    HANDLE memory = GetClipboardData(CF_TEXT);
    if (!memory) return {};
    std::string text(static_cast<const char*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    return text;
}

BITMAPINFOHEADER TopDown32Header(int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return header;
}

HBITMAP CreateTopDown32Bitmap(int width, int height, std::uint32_t*& pixels) {
    pixels = nullptr;
    if (width < 1 || height < 1) return nullptr;
    BITMAPINFO bmi{};
    bmi.bmiHeader = TopDown32Header(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) pixels = static_cast<std::uint32_t*>(bits);
    return bitmap;
}

} // namespace vm
