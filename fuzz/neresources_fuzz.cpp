// 16-bit modules: MZ stub, NE header, resource table and icon groups.
#include <cstddef>
#include <cstdint>

#include "neresources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vm::ne::Bytes bytes(data, size);
    if (const auto types = vm::ne::readResources(bytes)) {
        // Every range the reader hands out must lie in the file.
        for (const auto& type : *types)
            for (const auto& r : type.resources)
                if (r.offset > size || r.size > size - r.offset) __builtin_trap();
    }
    if (const auto groups = vm::ne::readIconGroups(bytes)) {
        for (const auto& group : *groups) {
            if (group.images.empty()) __builtin_trap();
            for (const auto& image : group.images)
                if (image.offset > size || image.entry.dwBytesInRes > size - image.offset) __builtin_trap();
            vm::ne::bestImage(bytes, group, 32);
        }
    }
    vm::ne::moduleIsSound(bytes);
    return 0;
}
