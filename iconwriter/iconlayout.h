#pragma once
// Byte layout of one-image icon and cursor files and of the DIB block inside
// them. Kept free of <windows.h> so it can be built and checked natively.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvex {

constexpr uint16_t kKindIcon = 1;
constexpr uint16_t kKindCursor = 2;

constexpr size_t kInfoHeaderSize = 40;   // BITMAPINFOHEADER
constexpr size_t kIconDirSize = 6;       // ICONDIR
constexpr size_t kIconDirEntrySize = 16; // ICONDIRENTRY

// Bytes of one DIB scan line: rows are padded to whole 32-bit words.
constexpr size_t dibRowSize(uint32_t width, uint32_t bits) {
    return static_cast<size_t>((static_cast<uint64_t>(width) * bits + 31) >> 3) & ~size_t{3};
}

// Entries of the colour table that precedes the pixels: only palette depths have one.
constexpr size_t colorTableCount(uint32_t bits) {
    return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
}

// Where the parts of one image block lie: info header, colour table, colour
// plane, then the 1-bit mask plane.
struct ImageGeometry {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitCount = 0;
    size_t colorPlaneOffset = 0;
    size_t maskPlaneOffset = 0;
    size_t size = 0;
};
ImageGeometry imageGeometry(uint32_t width, uint32_t height, uint32_t bitCount);

// A BITMAPINFOHEADER of an uncompressed bottom-up DIB, written at dst.
void putInfoHeader(uint8_t* dst, uint32_t width, int32_t height, uint32_t bitCount);

// The height field and the image-size field of an info header written by putInfoHeader.
void setInfoHeaderHeight(uint8_t* header, int32_t height);
void setInfoHeaderImageSize(uint8_t* header, uint32_t size);

// One image as the file directory describes it. A cursor keeps its hotspot
// where an icon keeps planes and bit count.
struct DirectoryImage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitCount = 0;
    uint16_t hotspotX = 0;
    uint16_t hotspotY = 0;
    uint32_t size = 0;
};

// ICONDIR and one ICONDIRENTRY per image, the images following in list order
// right after the directory.
std::vector<uint8_t> iconDirectory(uint16_t kind, const std::vector<DirectoryImage>& images);

} // namespace orvex
