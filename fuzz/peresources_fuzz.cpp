// PE modules: headers, section table and resource tree.
#include <cstddef>
#include <cstdint>

#include "peresources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vm::pe::Bytes bytes(data, size);
    if (const auto types = vm::pe::readResources(bytes)) {
        // Every range the reader hands out must lie in the file.
        for (const auto& type : *types)
            for (const auto& resource : type.resources)
                for (const auto& d : resource.languages)
                    if (d.offset > size || d.size > size - d.offset) __builtin_trap();
    }
    vm::pe::moduleIsSound(bytes);
    return 0;
}
