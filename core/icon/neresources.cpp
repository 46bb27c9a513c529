#include "neresources.h"

namespace vm::ne {
namespace {

std::uint16_t u16(Bytes b, std::uint64_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }
std::uint32_t u32(Bytes b, std::uint64_t at) { return u16(b, at) | (static_cast<std::uint32_t>(u16(b, at + 2)) << 16); }
bool inside(std::uint64_t offset, std::uint64_t size, std::uint64_t total) {
    return offset <= total && size <= total - offset;
}

constexpr std::uint64_t kHeaderSize = 0x40;
constexpr std::uint64_t kTableAt = 0x24;    // resource table, from the NE header
constexpr std::uint64_t kResidentAt = 0x26; // resident-name table, which follows it
constexpr std::uint64_t kTypeSize = 8;      // type id, count, reserved
constexpr std::uint64_t kResourceSize = 12; // offset, length, flags, id, reserved
constexpr std::uint16_t kNumbered = 0x8000;
// Resources are stored at multiples of 2^shift; no linker aligns beyond 64K,
// and a larger shift would put a resource of a few units far outside any file.
constexpr std::uint16_t kMaxShift = 16;
constexpr std::uint16_t kIcon = 3;
constexpr std::uint16_t kCursor = 1;
constexpr std::uint16_t kGroupIcon = 14;

// The resource table, from its first byte to the resident-name table.
struct Table {
    Bytes bytes;
    std::uint64_t start = 0; // in the file
};

// An id field: a number with the high bit set, else where the name lies in
// the table (a length byte and that many bytes).
bool readId(const Table& table, std::uint16_t field, ResourceId& id) {
    if (field & kNumbered) {
        id.number = static_cast<std::uint16_t>(field & ~kNumbered);
        return true;
    }
    if (field >= table.bytes.size()) return false;
    const std::uint64_t length = table.bytes[field];
    if (!inside(field + 1ull, length, table.bytes.size())) return false;
    id.named = true;
    id.name.assign(reinterpret_cast<const char*>(table.bytes.data()) + field + 1, length);
    return true;
}

const ResourceType* numberedType(const std::vector<ResourceType>& types, std::uint16_t number) {
    for (const ResourceType& t : types)
        if (!t.id.named && t.id.number == number) return &t;
    return nullptr;
}

const Resource* numberedResource(const ResourceType* type, std::uint16_t number) {
    if (!type) return nullptr;
    for (const Resource& r : type->resources)
        if (!r.id.named && r.id.number == number) return &r;
    return nullptr;
}

Bytes bytesOf(Bytes file, const Resource& r) { return file.subspan(r.offset, r.size); }

std::optional<std::vector<IconGroup>> groupsOf(Bytes file, const std::vector<ResourceType>& types) {
    std::vector<IconGroup> groups;
    const ResourceType* icons = numberedType(types, kIcon);
    const ResourceType* groupType = numberedType(types, kGroupIcon);
    if (!groupType) return groups;
    for (const Resource& r : groupType->resources) {
        const Bytes data = bytesOf(file, r);
        const auto dir = ico::readIconDir(data);
        if (!dir || !ico::isIconDir(*dir)) return std::nullopt;
        const std::uint64_t count = static_cast<std::uint64_t>(dir->idCount);
        if (!inside(ico::kDirSize, ico::kGroupEntrySize * count, data.size())) return std::nullopt;
        IconGroup group{r.id, {}};
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto g = *ico::readGroupEntry(data.subspan(ico::kDirSize + ico::kGroupEntrySize * i));
            const Resource* image = numberedResource(icons, g.nID);
            // The stored size is rounded up to the alignment; the entry tells the image's own.
            if (!image || g.entry.dwBytesInRes == 0 || g.entry.dwBytesInRes > image->size) return std::nullopt;
            group.images.push_back({g.entry, image->offset});
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

} // namespace

bool isNeModule(Bytes file) {
    if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') return false;
    const std::uint64_t ne = u32(file, 0x3C);
    return inside(ne, kHeaderSize, file.size()) && file[ne] == 'N' && file[ne + 1] == 'E';
}

std::optional<std::vector<ResourceType>> readResources(Bytes file) {
    if (!isNeModule(file)) return std::nullopt;
    const std::uint64_t ne = u32(file, 0x3C);
    const std::uint64_t start = ne + u16(file, ne + kTableAt);
    const std::uint64_t end = ne + u16(file, ne + kResidentAt);
    std::vector<ResourceType> types;
    if (start == end) return types; // no resources
    if (end < start || !inside(start, end - start, file.size()) || end - start < 2) return std::nullopt;
    const Table table{file.subspan(start, end - start), start};
    const Bytes t = table.bytes;
    const std::uint16_t shift = u16(t, 0);
    if (shift > kMaxShift) return std::nullopt;
    std::uint64_t at = 2;
    for (;;) {
        if (!inside(at, 2, t.size())) return std::nullopt;
        const std::uint16_t typeField = u16(t, at);
        if (typeField == 0) break;
        if (!inside(at, kTypeSize, t.size())) return std::nullopt;
        ResourceType type;
        if (!readId(table, typeField, type.id)) return std::nullopt;
        const std::uint64_t count = u16(t, at + 2);
        at += kTypeSize;
        // The lists lie in the table, so together they can hold no more entries than it.
        if (!inside(at, kResourceSize * count, t.size())) return std::nullopt;
        for (std::uint64_t i = 0; i < count; ++i, at += kResourceSize) {
            Resource r;
            r.offset = static_cast<std::uint64_t>(u16(t, at)) << shift;
            const std::uint64_t size = static_cast<std::uint64_t>(u16(t, at + 2)) << shift;
            if (!inside(r.offset, size, file.size())) return std::nullopt;
            r.size = static_cast<std::uint32_t>(size);
            if (!readId(table, u16(t, at + 6), r.id)) return std::nullopt;
            type.resources.push_back(std::move(r));
        }
        types.push_back(std::move(type));
    }
    return types;
}

std::optional<std::vector<IconGroup>> readIconGroups(Bytes file) {
    const auto types = readResources(file);
    if (!types) return std::nullopt;
    return groupsOf(file, *types);
}

bool moduleIsSound(Bytes file) {
    const auto types = readResources(file);
    const auto groups = types ? groupsOf(file, *types) : std::nullopt;
    if (!groups) return false;
    for (const IconGroup& group : *groups)
        for (const GroupImage& image : group.images)
            if (!ico::imageIsSound(image.entry, file.subspan(image.offset, image.entry.dwBytesInRes))) return false;
    // Cursors are not listed, but the system's own reader meets them too.
    if (const ResourceType* cursors = numberedType(*types, kCursor))
        for (const Resource& r : cursors->resources) {
            const Bytes data = bytesOf(file, r);
            if (data.size() < 4 || !ico::imageIsSound(data.subspan(4))) return false;
        }
    return true;
}

const GroupImage& bestImage(Bytes file, const IconGroup& group, int side) {
    // Distance of a size from the one wanted: none, then larger ones (which
    // shrink well), then smaller ones.
    auto distance = [side](const GroupImage& image) {
        const int w = image.entry.bWidth == 0 ? 256 : image.entry.bWidth;
        return w >= side ? w - side : 1024 + side - w;
    };
    auto colours = [file](const GroupImage& image) {
        return ico::colourCount(image.entry, file.subspan(image.offset, image.entry.dwBytesInRes));
    };
    const GroupImage* best = &group.images.front();
    for (const GroupImage& image : group.images)
        if (distance(image) < distance(*best) || (distance(image) == distance(*best) && colours(image) > colours(*best)))
            best = &image;
    return *best;
}

} // namespace vm::ne
