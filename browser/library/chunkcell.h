#pragma once
// Cutting one icon out of a library chunk: the chunk picture is a grid of
// 10 x 10 equal cells, numbered row by row from 0, and every icon is drawn on a
// key colour of its own, which becomes transparent.
#include <cstdint>
#include <vector>

namespace vm {

// A picture as 0x00RRGGBB pixels, top row first.
struct PixelPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// One icon: its colour pixels (0x00RRGGBB, black where transparent) and its
// mask (1 = transparent), both top row first.
struct CellImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> transparent;
};

// Cell `position` of the chunk with every pixel of the key colour (a Windows
// colour value, 0x00BBGGRR) made transparent. False when the picture is too
// small for a grid or the position lies outside it.
bool CutChunkCell(const PixelPicture& chunk, long position, std::uint32_t keyColorRef, CellImage& cell);

// The picture shown for an icon whose chunk is missing: a grey frame with a
// cross, transparent elsewhere.
CellImage NoIconCell(int size);

} // namespace vm
