// Shell link files as they arrive from a folder, and the kind table that
// sends every file to its reader.
#include <cstddef>
#include <cstdint>

#include "filekinds.h"
#include "linklayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vm::lnk::Bytes bytes(data, size);
    if (vm::lnk::linkIsSound(bytes) && !vm::lnk::isShellLink(bytes)) __builtin_trap();
    vm::BytesAreSound(bytes);
    return 0;
}
