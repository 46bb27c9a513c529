// BMP, GIF, JPEG, PNG and metafile layouts as they arrive from a file.
#include <cstddef>
#include <cstdint>

#include "picturelayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vm::pic::Bytes bytes(data, size);
    vm::pic::bmpIsSound(bytes);
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint32_t> rgb;
    if (vm::pic::decodePlainBmp(bytes, width, height, rgb) && rgb.size() != std::size_t{width} * height) __builtin_trap();
    vm::pic::gifIsSound(bytes);
    vm::pic::jpegIsSound(bytes);
    vm::pic::pngIsSound(bytes);
    vm::pic::metafileIsSound(bytes);
    return 0;
}
