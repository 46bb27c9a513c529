#pragma once
// Clearing the colour of transparent pixels in a DIB, working on raw DIB
// memory only (no <windows.h>), so it can be built and checked natively.
#include <cstdint>

namespace orvex {

// One plane of a bottom-up DIB and the colour table that goes with it.
struct DibPlane {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitCount = 0;
    const uint8_t* colorTable = nullptr; // colorTableCount(bitCount) RGBQUADs: blue, green, red, reserved
    uint8_t* bits = nullptr;             // height rows of dibRowSize(width, bitCount) bytes
};

// The pixel value that stands for (red, green, blue) in the plane: the nearest
// table entry at palette depths (the first of equally near ones), the packed
// colour otherwise.
uint32_t colorValue(const DibPlane& plane, uint8_t red, uint8_t green, uint8_t blue);

// Every pixel the 1-bit mask marks white (transparent) gets the colour black, as
// icon readers expect: they XOR the colour over the screen where the mask is set.
// A 32-bit plane also gets its alpha: 0 where the mask is transparent, and where
// it is opaque the picture's own alpha when it has one (some opaque pixel's
// alpha is not 0), else 255, so readers that honour alpha show what the mask shows.
void ApplyMask(const DibPlane& color, const DibPlane& mask);

} // namespace orvex
