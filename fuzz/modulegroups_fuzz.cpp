// PE modules as the program uses them: the resource tree, then what the
// lister and the loader gate take from it. A sound module's groups are
// counted alike by the lister and the gate, and every group the lister shows
// gives the gate an image it hands to the system, whichever of the group's
// images the system's size lookup picks.
#include <cstddef>
#include <cstdint>

#include "icolayout.h"
#include "modulegroups.h"
#include "peresources.h"

namespace pe = vm::pe;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const pe::Bytes bytes(data, size);
    const auto types = pe::readResources(bytes);
    if (types) {
        for (const auto& type : *types)
            for (const auto& resource : type.resources) {
                if (resource.languages.empty()) __builtin_trap();
                for (const auto& d : resource.languages)
                    if (d.offset > size || d.size > size - d.offset) __builtin_trap();
            }
    }
    const bool sound = pe::moduleIsSound(bytes);
    for (int width : {16, 32}) {
        const auto listed = vm::ModuleGroupsWithWidth(bytes, width);
        if (listed.has_value() != (sound && pe::isPeModule(bytes))) __builtin_trap();
        if (!listed) continue;
        const pe::ResourceType* groups = pe::typeOf(*types, pe::kGroupIconType);
        if (listed->size() != (groups ? groups->resources.size() : 0)) __builtin_trap();
        const pe::ResourceType* images = pe::typeOf(*types, pe::kIconType);
        for (std::size_t i = 0; i < listed->size(); ++i) {
            if (!(*listed)[i]) continue;
            const auto dir = pe::groupDirectory(bytes, groups->resources[i]);
            if (!dir || dir->entries.empty()) __builtin_trap();
            for (const auto& entry : dir->entries) {
                const pe::Resource* image = pe::resourceOf(images, entry.nID);
                if (!image || !vm::ico::imageIsSound(pe::bytesOf(bytes, *image))) __builtin_trap();
            }
        }
    }
    return 0;
}
