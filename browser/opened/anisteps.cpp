#include "anisteps.h"

#include <algorithm>
#include <cstdint>

namespace vm {
namespace {

std::uint32_t le32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

constexpr std::size_t kChunkHeader = 8;

// Calls visit(id, body) for each chunk in [begin, end); a chunk that runs past
// the end is cut there. Chunk bodies are padded to an even length.
template <class Visit>
void forEachChunk(std::string_view b, std::size_t begin, std::size_t end, Visit&& visit) {
    std::size_t at = begin;
    while (at + kChunkHeader <= end) {
        const std::string_view id = b.substr(at, 4);
        const std::size_t size = le32(b, at + 4);
        const std::size_t bodyAt = at + kChunkHeader;
        const std::size_t bodySize = std::min(size, end - bodyAt);
        visit(id, b.substr(bodyAt, bodySize));
        if (size > end - bodyAt) return;
        at = bodyAt + size + (size & 1);
    }
}

} // namespace

int AniStepCount(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "ACON") return 1;
    const std::size_t end = std::min<std::size_t>(bytes.size(), std::size_t{8} + le32(bytes, 4));
    bool haveHeader = false, haveSequence = false;
    std::size_t headerSteps = 0, headerFrames = 0, sequence = 0, frames = 0;
    forEachChunk(bytes, 12, end, [&](std::string_view id, std::string_view body) {
        if (id == "anih" && body.size() >= 12) {
            haveHeader = true;
            headerFrames = le32(body, 4);
            headerSteps = le32(body, 8);
        } else if (id == "seq ") {
            haveSequence = true;
            sequence = body.size() / 4;
        } else if (id == "LIST" && body.size() >= 4 && body.substr(0, 4) == "fram") {
            forEachChunk(body, 4, body.size(), [&](std::string_view sub, std::string_view) {
                if (sub == "icon") ++frames;
            });
        }
    });
    std::size_t steps = haveHeader ? (headerSteps ? headerSteps : headerFrames) : frames;
    steps = std::min(steps, haveSequence ? sequence : frames);
    steps = std::min<std::size_t>(steps, kMaxAniSteps);
    return static_cast<int>(std::max<std::size_t>(steps, 1));
}

} // namespace vm
