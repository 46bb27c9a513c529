#include "modulegroups.h"

#include "icolayout.h"
#include "peresources.h"

namespace vm {
namespace {

bool groupHasWidth(pe::Bytes file, const pe::ResourceType* images, const pe::Resource& group, int width) {
    const auto dir = pe::groupDirectory(file, group);
    if (!dir) return false;
    bool found = false;
    for (const ico::GroupEntry& g : dir->entries) {
        // A group naming an image the module lacks, or one of another size, does not load.
        const pe::Resource* image = pe::resourceOf(images, g.nID);
        const std::size_t size = image ? pe::bytesOf(file, *image).size() : 0;
        if (size == 0 || size != g.entry.dwBytesInRes) return false;
        if ((g.entry.bWidth == 0 ? 256 : g.entry.bWidth) == width) found = true;
    }
    return found;
}

} // namespace

std::optional<std::vector<bool>> ModuleGroupsWithWidth(std::span<const std::uint8_t> bytes, int width) {
    if (!pe::isPeModule(bytes) || !pe::moduleIsSound(bytes)) return std::nullopt;
    const auto types = pe::readResources(bytes);
    if (!types) return std::nullopt;
    std::vector<bool> groups;
    if (const pe::ResourceType* found = pe::typeOf(*types, pe::kGroupIconType)) {
        const pe::ResourceType* images = pe::typeOf(*types, pe::kIconType);
        for (const pe::Resource& group : found->resources) groups.push_back(groupHasWidth(bytes, images, group, width));
    }
    return groups;
}

} // namespace vm
