#include "dibmask.h"

#include <cstdlib>

#include "iconlayout.h"
#include "lebytes.h"

namespace orvex {

namespace {

// Row y counted from the top of the picture; the DIB stores the bottom row first.
uint8_t* rowFromTop(const DibPlane& plane, uint32_t y) {
    return plane.bits + static_cast<size_t>(plane.height - 1 - y) * dibRowSize(plane.width, plane.bitCount);
}

uint32_t maskBit(const uint8_t* row, uint32_t x) { return (row[x / 8] >> (7 - x % 8)) & 1u; }

void setPixel(const DibPlane& plane, uint8_t* row, uint32_t x, uint32_t value) {
    switch (plane.bitCount) {
    case 1: {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
        row[x / 8] = value ? row[x / 8] | bit : row[x / 8] & ~bit;
        break;
    }
    case 4: {
        uint8_t& b = row[x / 2];
        b = x % 2 == 0 ? static_cast<uint8_t>((b & 0x0F) | (value & 0x0F) << 4)
                       : static_cast<uint8_t>((b & 0xF0) | (value & 0x0F));
        break;
    }
    case 8:
        row[x] = static_cast<uint8_t>(value);
        break;
    case 16:
        putLE16(row + 2 * x, static_cast<uint16_t>(value));
        break;
    case 24:
        row[3 * x] = static_cast<uint8_t>(value);
        row[3 * x + 1] = static_cast<uint8_t>(value >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(value >> 16);
        break;
    case 32:
        putLE32(row + 4 * x, value);
        break;
    }
}

} // namespace

uint32_t colorValue(const DibPlane& plane, uint8_t red, uint8_t green, uint8_t blue) {
    switch (plane.bitCount) {
    case 1:
    case 4:
    case 8: {
        uint32_t best = 0;
        int bestDistance = 765;
        const size_t count = colorTableCount(plane.bitCount);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* q = plane.colorTable + 4 * i;
            const int distance = std::abs(red - q[2]) + std::abs(green - q[1]) + std::abs(blue - q[0]);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<uint32_t>(i);
            }
        }
        return best;
    }
    case 16: // 5-5-5, only pure channels ever asked for
        return (red / 255u) * 0x7C00u | (green / 255u) * 0x3E0u | (blue / 255u) * 0x1Fu;
    default:
        return uint32_t{red} << 16 | uint32_t{green} << 8 | blue;
    }
}

void ApplyMask(const DibPlane& color, const DibPlane& mask) {
    const uint32_t black = colorValue(color, 0, 0, 0);
    const uint32_t white = colorValue(mask, 255, 255, 255);
    bool ownAlpha = false;
    for (uint32_t y = 0; y < color.height; ++y) {
        const uint8_t* maskRow = rowFromTop(mask, y);
        uint8_t* colorRow = rowFromTop(color, y);
        for (uint32_t x = 0; x < color.width; ++x) {
            if (maskBit(maskRow, x) == white) setPixel(color, colorRow, x, black);
            else if (color.bitCount == 32 && colorRow[4 * x + 3] != 0) ownAlpha = true;
        }
    }
    if (color.bitCount != 32 || ownAlpha) return;
    for (uint32_t y = 0; y < color.height; ++y) {
        const uint8_t* maskRow = rowFromTop(mask, y);
        uint8_t* colorRow = rowFromTop(color, y);
        for (uint32_t x = 0; x < color.width; ++x)
            if (maskBit(maskRow, x) != white) colorRow[4 * x + 3] = 255;
    }
}

} // namespace orvex
