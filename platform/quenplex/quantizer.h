#pragma once
// Reduces a picture of 24-bit colours to a palette of at most a given number
// of entries. No Windows headers: the DLL and its tests share it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quenplex {

// 0xRRGGBB.
using Rgb = std::uint32_t;

struct Quantized {
    std::vector<Rgb> palette;          // distinct colours, at most the number asked for
    std::vector<std::uint8_t> indices; // one palette index per pixel, in the source's order
};

// maxColours is clamped to 2..256. A picture with no more colours than that
// keeps every colour exactly (in the order they first occur); a richer one is
// reduced by cutting its colour space at the weighted median, and a colour
// that covers a large share of the pixels (a background) keeps an entry of
// its own.
Quantized quantize(const Rgb* pixels, std::size_t count, int maxColours);

} // namespace quenplex
