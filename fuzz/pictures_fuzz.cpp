// BMP, GIF, JPEG, PNG and metafile layouts as they arrive from a file.
#include <cstddef>
#include <cstdint>

#include "picturelayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vm::pic::Bytes bytes(data, size);
    vm::pic::bmpIsSound(bytes);
    vm::pic::gifIsSound(bytes);
    vm::pic::jpegIsSound(bytes);
    vm::pic::pngIsSound(bytes);
    vm::pic::metafileIsSound(bytes);
    return 0;
}
