#include "picturepixels.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace vm {

namespace {

BITMAPINFO topDown32(int width, int height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = TopDown32Header(width, height);
    return bmi;
}

bool readBits(HDC dc, HBITMAP bitmap, areaaverage::Pixels& pixels) {
    BITMAPINFO bmi = topDown32(pixels.width, pixels.height);
    return GetDIBits(dc, bitmap, 0, static_cast<UINT>(pixels.height), pixels.argb.data(), &bmi, DIB_RGB_COLORS) ==
           pixels.height;
}

// The picture rendered on a ground of one colour, its pixels read back.
bool renderedOn(const Picture& picture, HDC dc, COLORREF ground, areaaverage::Pixels& pixels) {
    std::uint32_t* bits = nullptr;
    HBITMAP surface = CreateTopDown32Bitmap(pixels.width, pixels.height, bits);
    if (!surface) return false;
    HGDIOBJ old = SelectObject(dc, surface);
    HBRUSH brush = CreateSolidBrush(ground);
    RECT all{0, 0, pixels.width, pixels.height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    picture.render(dc, 0, 0, pixels.width, pixels.height);
    SelectObject(dc, old);
    const bool ok = readBits(dc, surface, pixels);
    DeleteObject(surface);
    return ok;
}

// The pixels of a picture of width x height, read with the help of dc.
bool pixelsOf(const Picture& picture, HDC dc, areaaverage::Pixels& pixels) {
    if (HBITMAP bitmap = picture.bitmap()) {
        if (!readBits(dc, bitmap, pixels)) return false;
        bool anyAlpha = false;
        for (std::uint32_t p : pixels.argb) anyAlpha = anyAlpha || (p >> 24) != 0;
        if (!anyAlpha)
            for (std::uint32_t& p : pixels.argb) p |= 0xFF000000u;
        return true;
    }
    areaaverage::Pixels onWhite = pixels;
    if (!renderedOn(picture, dc, RGB(0, 0, 0), pixels) || !renderedOn(picture, dc, RGB(255, 255, 255), onWhite))
        return false;
    // On black a pixel shows its colour times its alpha; on white that plus
    // the white let through: the difference is what the pixel does not cover.
    for (size_t i = 0; i < pixels.argb.size(); ++i) {
        const std::uint32_t b = pixels.argb[i], w = onWhite.argb[i];
        const int through = static_cast<int>(w & 0xFF) - static_cast<int>(b & 0xFF);
        const std::uint32_t alpha = static_cast<std::uint32_t>(255 - std::clamp(through, 0, 255));
        std::uint32_t p = alpha << 24;
        if (alpha)
            for (int shift = 0; shift <= 16; shift += 8)
                p |= std::min<std::uint32_t>(255, (((b >> shift) & 0xFF) * 255 + alpha / 2) / alpha) << shift;
        pixels.argb[i] = p;
    }
    return true;
}

} // namespace

areaaverage::Pixels PicturePixels(const Picture& picture) {
    const int width = picture.pixelWidth(), height = picture.pixelHeight();
    if (width < 1 || height < 1) return {};
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return {};
    areaaverage::Pixels pixels;
    bool ok = false;
    try {
        pixels.width = width;
        pixels.height = height;
        pixels.argb.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        ok = pixelsOf(picture, dc, pixels);
    } catch (const std::bad_alloc&) {
        // A picture too large to hold gives no icon, and the window says so.
    }
    DeleteDC(dc);
    return ok ? pixels : areaaverage::Pixels{};
}

Picture OpaquePicture(const areaaverage::Pixels& pixels) {
    const areaaverage::Pixels flat = areaaverage::over(pixels, 0xFFFFFF);
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateTopDown32Bitmap(flat.width, flat.height, bits);
    if (!bitmap) return {};
    GdiFlush();
    // An opaque picture has no alpha: drawn or listed, nothing of it is see-through.
    for (size_t i = 0; i < flat.argb.size(); ++i) bits[i] = flat.argb[i] & 0xFFFFFFu;
    return Picture::fromBitmap(bitmap);
}

} // namespace vm
