#pragma once
// The baseline JPEG byte layout (JFIF, 8-bit samples, Huffman coding with the
// standard tables, no subsampling). No Windows headers: the DLL and its tests
// share it.
#include <cstdint>
#include <vector>

namespace quenplex {

// The quantiser table of one quality for one of the two base tables (0 the
// brightness table, 1 the colour table), in natural order. Quality 100 gives
// every entry 1; lower qualities scale the base tables.
std::vector<std::uint16_t> quantiserTable(int table, int quality);

// The whole file for width x height pixels of red, green and blue bytes, top
// row first. Empty when the size is out of 1..65535 or quality out of 1..100.
std::vector<std::uint8_t> encodeJpeg(int width, int height, const std::uint8_t* rgb, int quality);

} // namespace quenplex
