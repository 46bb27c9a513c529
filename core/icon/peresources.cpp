#include "peresources.h"

#include <algorithm>

#include "icolayout.h"

namespace vm::pe {
namespace {

std::uint16_t u16(Bytes b, std::uint64_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }
std::uint32_t u32(Bytes b, std::uint64_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
bool inside(std::uint64_t offset, std::uint64_t size, std::uint64_t total) {
    return offset <= total && size <= total - offset;
}

constexpr std::size_t kSectionSize = 40;
constexpr std::size_t kMaxSections = 96; // the system loads no module with more
constexpr std::uint32_t kSubdirectory = 0x80000000u;

struct Section {
    std::uint32_t address = 0; // relative virtual address
    std::uint32_t span = 0;    // bytes both mapped and present in the file
    std::uint64_t offset = 0;  // in the file
};

// The module's sections and where its resource directory lies.
struct Layout {
    std::vector<Section> sections;
    std::uint32_t resourceAddress = 0;
    std::uint32_t resourceSize = 0;
};

std::optional<Layout> readLayout(Bytes file) {
    if (!isPeModule(file)) return std::nullopt;
    const std::uint64_t coff = u32(file, 0x3C) + 4ull;
    if (!inside(coff, 20, file.size())) return std::nullopt;
    const std::size_t sectionCount = u16(file, coff + 2);
    const std::uint64_t optional = coff + 20;
    const std::uint64_t optionalSize = u16(file, coff + 16);
    if (sectionCount > kMaxSections || !inside(optional, optionalSize, file.size()) || optionalSize < 2)
        return std::nullopt;
    std::uint64_t countAt = 0;
    switch (u16(file, optional)) {
    case 0x10b: countAt = 92; break;  // 32-bit
    case 0x20b: countAt = 108; break; // 64-bit
    default: return std::nullopt;
    }
    Layout layout;
    if (optionalSize >= countAt + 4 && u32(file, optional + countAt) > 2 && optionalSize >= countAt + 4 + 3 * 8) {
        const std::uint64_t resourceEntry = optional + countAt + 4 + 2 * 8;
        layout.resourceAddress = u32(file, resourceEntry);
        layout.resourceSize = u32(file, resourceEntry + 4);
    }
    const std::uint64_t table = optional + optionalSize;
    if (!inside(table, kSectionSize * sectionCount, file.size())) return std::nullopt;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + kSectionSize * i;
        const std::uint32_t virtualSize = u32(file, at + 8);
        const std::uint32_t rawSize = u32(file, at + 16);
        Section s;
        s.address = u32(file, at + 12);
        s.offset = u32(file, at + 20);
        std::uint64_t span = virtualSize != 0 ? std::min(virtualSize, rawSize) : rawSize;
        // Raw data cut off by the end of the file is there only up to that end.
        span = s.offset >= file.size() ? 0 : std::min<std::uint64_t>(span, file.size() - s.offset);
        s.span = static_cast<std::uint32_t>(span);
        layout.sections.push_back(s);
    }
    return layout;
}

// Where [address, address + size) lies in the file, and how many bytes of its
// section follow from there; the range must lie in one section.
struct Mapped {
    std::uint64_t offset = 0;
    std::uint64_t rest = 0;
};
std::optional<Mapped> mapRange(const Layout& layout, std::uint32_t address, std::uint32_t size) {
    for (const Section& s : layout.sections) {
        // A section with nothing in the file holds nothing, not even an empty range.
        if (address < s.address || s.span == 0) continue;
        const std::uint64_t into = address - s.address;
        if (inside(into, size, s.span)) return Mapped{s.offset + into, s.span - into};
    }
    return std::nullopt;
}

// Walks the tree below the resource directory's start, `tree` being the bytes
// from there to the end of its section.
class TreeReader {
public:
    TreeReader(const Layout& layout, Bytes tree) : layout_(layout), tree_(tree), budget_(tree.size() / 8) {}

    bool types(std::vector<ResourceType>& out) {
        return directory(0, [&](const ResourceId& id, std::uint32_t target) {
            ResourceType type{id, {}};
            if (!resources(target, type.resources)) return false;
            out.push_back(std::move(type));
            return true;
        });
    }

private:
    bool resources(std::uint32_t at, std::vector<Resource>& out) {
        return directory(at, [&](const ResourceId& id, std::uint32_t target) {
            Resource r{id, {}};
            if (!languages(target, r.languages)) return false;
            if (!r.languages.empty()) out.push_back(std::move(r));
            return true;
        });
    }

    bool languages(std::uint32_t at, std::vector<ResourceData>& out) {
        return directory(at, [&](const ResourceId&, std::uint32_t target) {
            if (target & kSubdirectory) return false; // no fourth level
            if (!inside(target, 16, tree_.size())) return false;
            const std::uint32_t address = u32(tree_, target);
            const std::uint32_t size = u32(tree_, target + 4);
            const auto offset = mapRange(layout_, address, size);
            if (!offset) return false;
            out.push_back({offset->offset, size});
            return true;
        }, false);
    }

    // Calls f(id, target) for each entry of the directory at `at`; entries of
    // the upper levels must lead to directories (the target passed on is then
    // the directory's offset), those of the lowest level to data entries.
    template <class F>
    bool directory(std::uint32_t at, F&& f, bool subdirectories = true) {
        if (!inside(at, 16, tree_.size())) return false;
        const std::uint64_t count = std::uint64_t{u16(tree_, at + 12)} + u16(tree_, at + 14);
        if (!inside(at + 16ull, 8 * count, tree_.size())) return false;
        // A sound tree visits every entry once; shared or looping directories
        // would visit far more, so the visits are bounded by what fits.
        if (count > budget_) return false;
        budget_ -= count;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t entry = at + 16 + 8 * i;
            ResourceId id;
            if (!readId(u32(tree_, entry), id)) return false;
            std::uint32_t target = u32(tree_, entry + 4);
            if (subdirectories) {
                if (!(target & kSubdirectory)) return false;
                target &= ~kSubdirectory;
            }
            if (!f(id, target)) return false;
        }
        return true;
    }

    bool readId(std::uint32_t field, ResourceId& id) {
        if (!(field & kSubdirectory)) {
            id.number = static_cast<std::uint16_t>(field);
            return (field >> 16) == 0;
        }
        const std::uint64_t at = field & ~kSubdirectory;
        if (!inside(at, 2, tree_.size())) return false;
        const std::uint64_t length = u16(tree_, at);
        if (!inside(at + 2, 2 * length, tree_.size())) return false;
        id.named = true;
        for (std::uint64_t i = 0; i < length; ++i) id.name += static_cast<char16_t>(u16(tree_, at + 2 + 2 * i));
        return true;
    }

    const Layout& layout_;
    Bytes tree_;
    std::uint64_t budget_;
};

} // namespace

bool isPeModule(Bytes file) {
    if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') return false;
    const std::uint64_t pe = u32(file, 0x3C);
    return inside(pe, 4, file.size()) && file[pe] == 'P' && file[pe + 1] == 'E' && file[pe + 2] == 0 &&
           file[pe + 3] == 0;
}

std::optional<std::vector<ResourceType>> readResources(Bytes file) {
    const auto layout = readLayout(file);
    if (!layout) return std::nullopt;
    std::vector<ResourceType> types;
    if (layout->resourceAddress == 0 || layout->resourceSize == 0) return types;
    const auto start = mapRange(*layout, layout->resourceAddress, 16);
    if (!start) return std::nullopt;
    // The tree may use the rest of its section, whatever size the header gives it.
    TreeReader reader(*layout, file.subspan(start->offset, start->rest));
    if (!reader.types(types)) return std::nullopt;
    return types;
}

bool moduleIsSound(Bytes file) {
    const auto types = readResources(file);
    if (!types) return false;
    for (const ResourceType& type : *types) {
        if (type.id.named) continue;
        const std::uint16_t kind = type.id.number;
        for (const Resource& r : type.resources) {
            for (const ResourceData& d : r.languages) {
                const Bytes data = file.subspan(d.offset, d.size);
                if (kind == 3 && !ico::imageIsSound(data)) return false;
                if (kind == 1 && (data.size() < 4 || !ico::imageIsSound(data.subspan(4)))) return false;
                // A group's entries must all be there: the system reads as many as it says.
                if ((kind == 12 || kind == 14) &&
                    (data.size() < ico::kDirSize ||
                     data.size() < ico::kDirSize + ico::kGroupEntrySize * u16(data, 4)))
                    return false;
            }
        }
    }
    return true;
}

const ResourceType* typeOf(const std::vector<ResourceType>& types, std::uint16_t number) {
    for (const ResourceType& t : types)
        if (!t.id.named && t.id.number == number) return &t;
    return nullptr;
}

const Resource* resourceOf(const ResourceType* type, std::uint16_t number) {
    if (!type) return nullptr;
    for (const Resource& r : type->resources)
        if (!r.id.named && r.id.number == number) return &r;
    return nullptr;
}

Bytes bytesOf(Bytes file, const Resource& r) {
    if (r.languages.empty()) return {};
    const ResourceData& d = r.languages.front();
    return file.subspan(static_cast<std::size_t>(d.offset), d.size);
}

std::optional<GroupDirectory> groupDirectory(Bytes file, const Resource& group) {
    const Bytes dir = bytesOf(file, group);
    const auto head = ico::readIconDir(dir);
    if (!head || head->idCount < 1) return std::nullopt;
    const auto count = static_cast<std::size_t>(head->idCount);
    if (!ico::blockInside(ico::kDirSize, ico::kGroupEntrySize * count, dir.size())) return std::nullopt;
    GroupDirectory out{dir, {}};
    for (std::size_t i = 0; i < count; ++i)
        out.entries.push_back(*ico::readGroupEntry(dir.subspan(ico::kDirSize + i * ico::kGroupEntrySize)));
    return out;
}

} // namespace vm::pe
