#include "anisteps.h"

#include <algorithm>

namespace vm {
namespace {

std::uint32_t le32(std::string_view b, size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

} // namespace

std::int32_t AniStepCount(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "ACON") return 1;
    // The RIFF size may claim more than the file holds; the file's end is the bound.
    const size_t end = std::min<size_t>(bytes.size(), static_cast<size_t>(le32(bytes, 4)) + 8);
    size_t at = 12;
    while (at + 8 <= end) {
        const std::uint32_t size = le32(bytes, at + 4);
        if (bytes.substr(at, 4) == "anih") {
            // cbSizeOf, then the frame and the step count.
            if (size < 12 || at + 8 + 12 > end) return 1;
            const std::uint32_t frames = le32(bytes, at + 12);
            const std::uint32_t steps = le32(bytes, at + 16);
            const std::uint32_t count = steps ? steps : frames;
            if (count == 0) return 1;
            return static_cast<std::int32_t>(std::min<std::uint32_t>(count, kMaxAniSteps));
        }
        const size_t next = at + 8 + static_cast<size_t>(size) + (size & 1);
        if (next <= at || next > end) break;
        at = next;
    }
    return 1;
}

} // namespace vm
