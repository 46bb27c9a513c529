#include "modulegroups.h"

#include "icolayout.h"
#include "peresources.h"

namespace vm {
namespace {

const pe::Resource* numbered(const pe::ResourceType* type, std::uint16_t number) {
    if (!type) return nullptr;
    for (const pe::Resource& r : type->resources)
        if (!r.id.named && r.id.number == number) return &r;
    return nullptr;
}

bool groupHasWidth(pe::Bytes file, const pe::ResourceType* images, const pe::Resource& group, int width) {
    const pe::ResourceData& data = group.languages.front();
    const pe::Bytes dir = file.subspan(static_cast<std::size_t>(data.offset), data.size);
    const auto head = ico::readIconDir(dir);
    if (!head || head->idCount < 1) return false;
    const auto count = static_cast<std::size_t>(head->idCount);
    if (!ico::blockInside(ico::kDirSize, ico::kGroupEntrySize * count, dir.size())) return false;
    bool found = false;
    for (std::size_t i = 0; i < count; ++i) {
        const ico::GroupEntry g = *ico::readGroupEntry(dir.subspan(ico::kDirSize + i * ico::kGroupEntrySize));
        // A group naming an image the module lacks, or one of another size, does not load.
        const pe::Resource* image = numbered(images, g.nID);
        if (!image || image->languages.front().size == 0 || image->languages.front().size != g.entry.dwBytesInRes)
            return false;
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
