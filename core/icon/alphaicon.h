#pragma once
// Icons made from 32-bit pixels with alpha. An image without a mask of its own
// (a PNG image, a picture with transparency) gets one from its alpha by one
// rule: transparent exactly where alpha is 0. Pixels whose alpha is 0
// throughout have no alpha at all and are opaque.
#include <windows.h>

#include <cstdint>

namespace vm {

// A new icon of width x height pixels, 0xAARRGGBB each, top row first; the
// colour keeps the alpha as given. nullptr when it cannot be made.
HICON IconFromPixels(const std::uint32_t* pixels, int width, int height);

// The icon's colour as 32-bit pixels with the mask made again by the rule
// above; nullptr for an icon without a colour bitmap or one that cannot be read.
HICON IconWithAlphaMask(HICON icon);

} // namespace vm
