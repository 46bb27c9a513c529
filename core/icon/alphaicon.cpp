#include "alphaicon.h"

#include <vector>

namespace vm {

HICON IconFromPixels(const std::uint32_t* pixels, int width, int height) {
    if (!pixels || width < 1 || height < 1) return nullptr;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    bool anyAlpha = false;
    for (size_t i = 0; i < count && !anyAlpha; ++i) anyAlpha = (pixels[i] >> 24) != 0;

    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    // A monochrome bitmap's rows are whole 16-bit words; a set bit is transparent.
    const size_t maskStride = (static_cast<size_t>(width) + 15) / 16 * 2;
    std::vector<std::uint8_t> maskBits(maskStride * static_cast<size_t>(height), 0);
    if (anyAlpha)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((pixels[static_cast<size_t>(y) * width + x] >> 24) == 0)
                    maskBits[y * maskStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    HBITMAP mask = CreateBitmap(width, height, 1, 1, maskBits.data());
    HICON icon = nullptr;
    if (colour && mask) {
        GdiFlush();
        auto* out = static_cast<std::uint32_t*>(bits);
        for (size_t i = 0; i < count; ++i) out[i] = anyAlpha ? pixels[i] : pixels[i] | 0xFF000000u;
        ICONINFO info{TRUE, 0, 0, mask, colour};
        icon = CreateIconIndirect(&info);
    }
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return icon;
}

HICON IconWithAlphaMask(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return nullptr;
    HICON result = nullptr;
    BITMAP bm{};
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof(bm), &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
        BITMAPINFO bmi{};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<std::uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
        HDC dc = CreateCompatibleDC(nullptr);
        if (dc && GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &bmi,
                            DIB_RGB_COLORS) == bm.bmHeight)
            result = IconFromPixels(pixels.data(), bm.bmWidth, bm.bmHeight);
        if (dc) DeleteDC(dc);
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return result;
}

} // namespace vm
