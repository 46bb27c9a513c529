// Animation chunks as they arrive from a file: the soundness check the loader
// gate asks, and the step count the lister reads. An animation the check lets
// through is listed whole: a step for every step its header announces, as the
// system's loader finds the header (the first "anih" chunk of the RIFF).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "anisteps.h"
#include "icolayout.h"

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::optional<std::uint32_t> headerSteps(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 12; at + 8 <= size;) {
        const std::uint32_t length = le32(data + at + 4);
        if (std::memcmp(data + at, "anih", 4) == 0)
            return length >= 12 && length <= size - at - 8 ? std::optional(le32(data + at + 16)) : std::nullopt;
        if (length > size - at - 8) break;
        at += 8 + length + (length & 1);
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool sound = vm::ico::aniFileIsSound(vm::ico::Bytes(data, size));
    const int steps = vm::AniStepCount(std::string_view(reinterpret_cast<const char*>(data), size));
    if (steps < 1 || steps > vm::kMaxAniSteps) __builtin_trap();
    if (sound && headerSteps(data, size) != std::optional(static_cast<std::uint32_t>(steps))) __builtin_trap();
    return 0;
}
