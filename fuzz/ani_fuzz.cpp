// Animation chunks as they arrive from a file: the soundness check the loader
// gate asks, and the step count the lister reads.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "anisteps.h"
#include "icolayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vm::ico::aniFileIsSound(vm::ico::Bytes(data, size));
    const int steps = vm::AniStepCount(std::string_view(reinterpret_cast<const char*>(data), size));
    if (steps < 1 || steps > vm::kMaxAniSteps) __builtin_trap();
    return 0;
}
