#pragma once
// Helpers for pictures exported through the image library.
#include <cstdint>
#include <string>

#include "quenplex.h"

namespace vm {

// The library's result code as a message box titled "File Save Error"
// (critical icon); code 0 shows nothing. Some texts end with the file name.
void procShowImageError(std::int32_t code, const std::string& file);

// Palette index of the mask colour (red 128, green 64, blue 64): an exact
// match first, else the first colour within 4 of it on every channel, else -1.
std::int32_t procFindMaskColorIndex(const QuenplexImage& image);

// The number of palette colours that occur exactly once, plus one.
std::int32_t procCountSingleColors(const QuenplexImage& image);

} // namespace vm
