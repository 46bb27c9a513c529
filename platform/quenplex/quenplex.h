#pragma once
// Quenplex.dll: the image library the program exports pictures through. An
// image lives in a device-independent bitmap that the library allocates; the
// program draws into it through its bitmap handle, converts a 24-bit image to
// an 8-bit one with a palette, and saves images as JPEG or GIF files.
//
// Every export returns 0 on success or one of the negative codes below, and
// never throws. A failed save leaves no file behind.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace vm {

// The descriptor of an image. The caller declares it (all fields empty) and
// passes it to allocimage, which fills it; freeimage empties it again. The
// pointer and handle fields are as wide as the platform's pointers, so no
// field sits at a fixed byte offset on every platform.
struct QuenplexImage {
    unsigned char* pixels = nullptr; // the bitmap's bits: bottom row first, rowBytes apart
    std::int32_t startX = 0;         // the area in use, in pixels (inclusive)
    std::int32_t startY = 0;
    std::int32_t endX = 0;
    std::int32_t endY = 0;
    std::int32_t rowBytes = 0;
    RGBQUAD* palette = nullptr;      // 256 entries for an 8-bit image, else null
    std::int32_t colorCount = 0;     // entries of palette in use
    std::int32_t bitsPerPixel = 0;   // 8 or 24
    HBITMAP bitmap = nullptr;        // selectable into a memory device context
};

} // namespace vm

// The library's result codes (the program shows a text for each).
enum QuenplexResult : std::int32_t {
    QP_OK = 0,
    QP_OUT_OF_RANGE = -1,
    QP_DISK_FULL = -3,
    QP_CANNOT_CREATE = -10,
    QP_NO_MEMORY = -14,
    QP_BITS_NOT_SUPPORTED = -26,
    QP_BAD_IMAGE = -42,
};

extern "C" {

// A blank (black) image of width x height pixels (1 to 32767) at 8 or 24 bits
// per pixel. An earlier image in the descriptor is not freed.
std::int32_t WINAPI allocimage(vm::QuenplexImage* image, std::int32_t width, std::int32_t height,
                               std::int32_t bitsPerPixel);

// The 24-bit source's picture into the 8-bit target of the same size, with a
// palette of at most colours entries (clamped to 2..256), each distinct. A
// source with no more colours than that is kept exactly.
std::int32_t WINAPI convertrgbtopal(std::int32_t colours, vm::QuenplexImage* source, vm::QuenplexImage* target);

// A baseline JFIF file of an 8- or 24-bit image; quality 1 to 100 (100: every
// quantiser 1).
std::int32_t WINAPI savejpg(const char* fileName, vm::QuenplexImage* image, std::int32_t quality);

// A GIF file (87a) of an 8-bit image.
std::int32_t WINAPI savegif(const char* fileName, vm::QuenplexImage* image);

// A GIF file of an 8-bit image; mode 2 makes palette entry transparentIndex
// transparent (89a with a graphic control extension), mode 0 writes as savegif.
std::int32_t WINAPI savegifex(const char* fileName, vm::QuenplexImage* image, std::int32_t mode,
                              std::int32_t transparentIndex);

// Releases what allocimage made and empties the descriptor. A descriptor that
// holds no image of the library (never allocated, or freed already) is left alone.
std::int32_t WINAPI freeimage(vm::QuenplexImage* image);

} // extern "C"

using AllocImageProc = decltype(&allocimage);
using ConvertRgbToPalProc = decltype(&convertrgbtopal);
using SaveJpgProc = decltype(&savejpg);
using SaveGifProc = decltype(&savegif);
using SaveGifExProc = decltype(&savegifex);
using FreeImageProc = decltype(&freeimage);
