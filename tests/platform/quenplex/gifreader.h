#pragma once
// A small GIF reader of the tests' own: the first image of a file, its colour
// table, its transparent index and its pixels. No Windows headers.
#include <cstdint>
#include <string>
#include <vector>

namespace gifreader {

struct Image {
    std::string version;             // "87a" or "89a"
    int width = 0, height = 0;
    std::vector<std::uint32_t> palette; // 0xRRGGBB, the whole table
    int transparentIndex = -1;
    std::vector<std::uint8_t> indices;  // width x height, top row first
    std::string error;               // why the file could not be read
    bool ok() const { return error.empty(); }
};

Image read(const std::vector<std::uint8_t>& bytes);

} // namespace gifreader
