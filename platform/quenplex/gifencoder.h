#pragma once
// The GIF byte layout: one image, a global colour table, LZW-packed pixels.
// No Windows headers: the DLL and its tests share it.
#include <cstdint>
#include <vector>

#include "quantizer.h"

namespace quenplex {

struct GifPicture {
    int width = 0, height = 0;            // 1 to 65535
    const std::uint8_t* indices = nullptr; // width x height palette indices, top row first
    std::vector<Rgb> palette;             // 1 to 256 colours; every index must name one
    int transparentIndex = -1;            // a palette index, or -1 for none
};

// The whole file: "GIF87a", or "GIF89a" with a graphic control extension when
// a colour is transparent. Empty when the picture breaks the rules above.
std::vector<std::uint8_t> encodeGif(const GifPicture& picture);

} // namespace quenplex
