// ICO, CUR and animation layouts as they arrive from a file.
#include <cstddef>
#include <cstdint>

#include "icolayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vm::ico::Bytes bytes(data, size);
    vm::ico::icoFileIsSound(bytes);
    vm::ico::aniFileIsSound(bytes);
    vm::ico::imageIsSound(bytes);
    vm::ico::checkDib(bytes);
    vm::ico::imageBitDepth(bytes);
    if (const auto entry = vm::ico::readDirEntry(bytes); entry && size > vm::ico::kEntrySize) {
        const auto image = bytes.subspan(vm::ico::kEntrySize);
        vm::ico::imageIsSound(*entry, image);
        vm::ico::colourCount(*entry, image);
    }
    return 0;
}
