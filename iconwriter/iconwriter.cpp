// SaveAsIcon and SaveAsCursor: read the caller's colour and mask device
// contexts into one DIB block and write it as a one-image .ico or .cur file.
#include "orvex32.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dibmask.h"
#include "iconlayout.h"
#include "safefile.h"

namespace orvex {

namespace {

// A failed step inside one call; its text stays inside the library.
class CMyException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A device context of our own: one got for a window (the screen's included)
// goes back with ReleaseDC, one we created with DeleteDC.
class SmartDC {
public:
    static SmartDC fromWindow(HWND window) { return SmartDC(GetDC(window), true, window); }
    static SmartDC compatible(HDC dc) { return SmartDC(CreateCompatibleDC(dc), false, nullptr); }

    ~SmartDC() {
        if (fromWindow_) ReleaseDC(window_, dc_);
        else DeleteDC(dc_);
    }
    SmartDC(const SmartDC&) = delete;
    SmartDC& operator=(const SmartDC&) = delete;
    operator HDC() const { return dc_; }

private:
    SmartDC(HDC dc, bool fromWindow, HWND window) : dc_(dc), window_(window), fromWindow_(fromWindow) {
        if (!dc_) throw CMyException("null HDC passed to SmartDC ctor\n");
    }

    HDC dc_;
    HWND window_;
    bool fromWindow_;
};

// A bitmap of our own; while selected into a context it remembers what it
// replaced there, and puts that back before it is deleted.
class GDIBitmap {
public:
    explicit GDIBitmap(HBITMAP bitmap) : bitmap_(bitmap) {
        if (!bitmap_) throw CMyException("null HBITMAP passed to GDIBitmap ctor\n");
    }
    ~GDIBitmap() {
        Unselect();
        DeleteObject(bitmap_);
    }
    GDIBitmap(const GDIBitmap&) = delete;
    GDIBitmap& operator=(const GDIBitmap&) = delete;
    operator HBITMAP() const { return bitmap_; }

    void Select(HDC dc) {
        HGDIOBJ old = SelectObject(dc, bitmap_);
        if (!old || old == HGDI_ERROR) throw CMyException("SelectObject failed in GDIBitmap::Select\n");
        dc_ = dc;
        replaced_ = old;
    }
    void Unselect() {
        if (!dc_) return;
        SelectObject(dc_, replaced_);
        dc_ = nullptr;
    }

private:
    HBITMAP bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ replaced_ = nullptr;
};

void putQuad(uint8_t* q, uint8_t red, uint8_t green, uint8_t blue, uint8_t reserved = 0) {
    q[0] = blue;
    q[1] = green;
    q[2] = red;
    q[3] = reserved;
}

// The colour table asked of the read. GetDIBits may put its own in place of it;
// whatever the header holds after the read is what the file gets.
void FillColorTable(uint8_t* table, uint32_t bitCount) {
    switch (bitCount) {
    case 1:
        putQuad(table, 0, 0, 0);
        putQuad(table + 4, 255, 255, 255);
        break;
    case 4: {
        // The sixteen standard colours, as GetDIBits itself gives them: the
        // stock default palette's first sixteen would leave out white.
        static const uint8_t standard[16][3] = {
            {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
            {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (int i = 0; i < 16; ++i) putQuad(table + 4 * i, standard[i][0], standard[i][1], standard[i][2]);
        break;
    }
    case 8: {
        SmartDC screen = SmartDC::fromWindow(nullptr);
        HPALETTE palette = CreateHalftonePalette(screen);
        if (!palette) throw CMyException("CreateHalftonePalette failed\n");
        PALETTEENTRY entries[256] = {};
        GetPaletteEntries(palette, 0, 256, entries);
        DeleteObject(palette);
        for (int i = 0; i < 256; ++i)
            putQuad(table + 4 * i, entries[i].peRed, entries[i].peGreen, entries[i].peBlue, entries[i].peFlags);
        break;
    }
    default:
        break;
    }
}

// Copies (0, 0, width, height) of dc into bits, in the DIB format the header
// (followed by its colour table) describes. dc itself is left as it was.
void GrabDibBits(HDC dc, uint8_t* header, uint8_t* bits, uint32_t width, uint32_t height) {
    SmartDC memory = SmartDC::compatible(dc);
    GDIBitmap bitmap(CreateCompatibleBitmap(dc, static_cast<int>(width), static_cast<int>(height)));
    bitmap.Select(memory);
    if (!BitBlt(memory, 0, 0, static_cast<int>(width), static_cast<int>(height), dc, 0, 0, SRCCOPY))
        throw CMyException("SetBits: BitBlt failed\n");
    // GetDIBits wants the bitmap out of every context.
    bitmap.Unselect();
    if (!GetDIBits(memory, bitmap, 0, height, bits, reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS))
        throw CMyException("SetBits: GetDIBits failed\n");
}

struct IconImage {
    DirectoryImage entry;
    std::vector<uint8_t> block; // info header, colour table, colour plane, mask plane
};

bool WriteIconFile(const std::vector<IconImage>& images, uint16_t kind, const char* fileName) {
    std::vector<DirectoryImage> entries;
    for (const IconImage& image : images) entries.push_back(image.entry);
    const std::vector<uint8_t> directory = iconDirectory(kind, entries);
    SafeFileWriter file(fileName);
    file.write(directory.data(), directory.size());
    for (const IconImage& image : images) file.write(image.block.data(), image.block.size());
    return file.commit(true);
}

// A device context the pixels can be copied from: a window's or a memory one.
bool validDC(HDC dc) {
    const DWORD type = GetObjectType(dc);
    return type == OBJ_DC || type == OBJ_MEMDC;
}

bool validDepth(int32_t bitCount) {
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        return true;
    default:
        return false;
    }
}

bool validSize(int32_t pixels) { return pixels >= 1 && pixels <= 256; }

bool validHotspot(int32_t value) { return value >= 0 && value <= 0xFFFF; }

int32_t SaveIconFile(uint16_t kind, HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount,
                     int32_t hotspotX, int32_t hotspotY, const char* fileName) {
    if (!validDC(hdcImage) || !validDC(hdcMask) || !validSize(width) || !validSize(height) || !validDepth(bitCount) ||
        !validHotspot(hotspotX) || !validHotspot(hotspotY) || !validFileName(fileName))
        return 0;
    try {
        const auto w = static_cast<uint32_t>(width), h = static_cast<uint32_t>(height);
        const auto bits = static_cast<uint32_t>(bitCount);
        const ImageGeometry g = imageGeometry(w, h, bits);

        IconImage image;
        image.block.resize(g.size);
        uint8_t* header = image.block.data();
        putInfoHeader(header, w, height, bits);
        FillColorTable(header + kInfoHeaderSize, bits);
        GrabDibBits(hdcImage, header, header + g.colorPlaneOffset, w, h);

        std::vector<uint8_t> maskHeader(kInfoHeaderSize + 4 * colorTableCount(1));
        putInfoHeader(maskHeader.data(), w, height, 1);
        FillColorTable(maskHeader.data() + kInfoHeaderSize, 1);
        GrabDibBits(hdcMask, maskHeader.data(), header + g.maskPlaneOffset, w, h);

        ApplyMask(DibPlane{w, h, bits, header + kInfoHeaderSize, header + g.colorPlaneOffset},
                  DibPlane{w, h, 1, maskHeader.data() + kInfoHeaderSize, header + g.maskPlaneOffset});

        // The stored height covers both planes; the image size is left to the reader.
        setInfoHeaderHeight(header, 2 * height);
        setInfoHeaderImageSize(header, 0);
        image.entry = DirectoryImage{w, h, bits, static_cast<uint16_t>(hotspotX), static_cast<uint16_t>(hotspotY),
                                     static_cast<uint32_t>(g.size)};
        std::vector<IconImage> images;
        images.push_back(std::move(image));
        if (!WriteIconFile(images, kind, fileName)) throw CMyException("writing icon file failed\n");
        return -1;
    } catch (...) {
        // No memory, a GDI step or the file: the caller only learns it failed.
        return 0;
    }
}

} // namespace

} // namespace orvex

extern "C" int32_t WINAPI SaveAsIcon(HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount,
                                     const char* fileName) {
    return orvex::SaveIconFile(orvex::kKindIcon, hdcImage, hdcMask, width, height, bitCount, 0, 0, fileName);
}

extern "C" int32_t WINAPI SaveAsCursor(HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount,
                                       int32_t hotspotX, int32_t hotspotY, const char* fileName) {
    return orvex::SaveIconFile(orvex::kKindCursor, hdcImage, hdcMask, width, height, bitCount, hotspotX, hotspotY,
                               fileName);
}
