#pragma once
// Pictures decoded by the system's own imaging codecs (an implementation
// apart from ours), as red, green and blue bytes, top row first.
#include <cstdint>
#include <string>
#include <vector>

struct DecodedPicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    std::vector<std::uint8_t> alpha;
};

DecodedPicture decodeWithSystem(const std::vector<std::uint8_t>& fileBytes);
DecodedPicture decodeFileWithSystem(const std::string& path);
