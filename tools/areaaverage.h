#pragma once
// Scaling a picture to the icon size by area averaging, and the key colour
// that makes pixels transparent. Pure pixel work (no <windows.h>), so it can
// be checked anywhere.
#include <cstdint>
#include <vector>

namespace vm::areaaverage {

// 0xAARRGGBB pixels, top row first.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;
};

// Each new pixel is the mean of the source area it covers, each source pixel
// counted by the part of it that lies inside. Colours are weighted by alpha,
// so a transparent pixel's colour never tints its neighbours. Works both ways
// (a smaller source is spread over the larger area). An empty source, or a
// size below 1, gives an empty result.
Pixels scale(const Pixels& source, int width, int height);

// Pixels of exactly the colour rgb (0xRRGGBB) become transparent.
void clearKeyColour(Pixels& pixels, std::uint32_t rgb);

// The pixels drawn over an opaque ground of colour rgb (0xRRGGBB).
Pixels over(const Pixels& pixels, std::uint32_t rgb);

} // namespace vm::areaaverage
