#pragma once
// Byte layout of an animated cursor: a RIFF "ACON" file whose frames are whole
// icon or cursor files. Kept free of <windows.h> so it can be built natively.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvex {

// Everything in front of the first frame: the RIFF header, the "anih" chunk,
// a "rate" chunk when there is more than one frame and one rate per frame, and
// the header of the "fram" list. rates must hold at least one value, the first
// being the default display rate. Empty when there are no frames or the sizes
// do not fit the 32-bit size fields.
std::optional<std::vector<uint8_t>> aniPrologue(const std::vector<uint32_t>& frameSizes,
                                                const std::vector<int32_t>& rates);

// The "icon" chunk header in front of one frame's bytes.
std::array<uint8_t, 8> aniFrameHeader(uint32_t frameSize);

} // namespace orvex
