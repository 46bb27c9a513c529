#pragma once
// The descriptor of an image held by the image library (Quenplex.dll). The
// library fills it and the program reads it; both sides build with this
// header, so its layout is the contract between them.
//
// A 32-bit build has the palette pointer at byte 24 and the colour count at
// byte 28; on x64 the pointers are 8 bytes wide and the offsets move with
// them. The library may add fields after bitsPerPixel but must keep the order
// of those before.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace vm {

struct QuenplexImage {
    unsigned char* pixels;    // the pixel rows
    std::int32_t startX;      // the area of the image in use, in pixels
    std::int32_t startY;
    std::int32_t endX;
    std::int32_t endY;
    std::int32_t rowBytes;    // bytes from one pixel row to the next
    RGBQUAD* palette;         // colour table, or null for an image without one
    std::int32_t colorCount;  // entries in palette, at most 256
    std::int32_t bitsPerPixel;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(QuenplexImage, palette) == 24 && offsetof(QuenplexImage, colorCount) == 28);
#endif

} // namespace vm
