// ICO, CUR and animation layouts as they arrive from a file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "icolayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vm::ico::Bytes bytes(data, size);
    vm::ico::icoFileIsSound(bytes);
    vm::ico::aniFileIsSound(bytes);
    vm::ico::imageIsSound(bytes);
    vm::ico::checkDib(bytes);
    if (const auto dib = vm::ico::checkDib(bytes)) {
        std::vector<std::uint32_t> colours;
        std::vector<std::uint8_t> transparent;
        vm::ico::decodeDib(bytes, dib->width, colours, transparent);
    }
    vm::ico::imageBitDepth(bytes);
    if (const auto entry = vm::ico::readDirEntry(bytes); entry && size > vm::ico::kEntrySize) {
        const auto image = bytes.subspan(vm::ico::kEntrySize);
        vm::ico::imageIsSound(*entry, image);
        vm::ico::colourCount(*entry, image);
    }
    return 0;
}
