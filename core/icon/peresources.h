#pragma once
// The resource tree of a PE module (EXE, DLL, ICL), read from the file's bytes
// with every offset, size and count checked. The system's own resource calls
// trust a module's tree and fault on one that points outside the file, so a
// module is read here first and handed to the system only when it is sound.
// Nothing here includes <windows.h>: the unit builds natively too and runs
// under sanitizers and fuzzers.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "icolayout.h"

namespace vm::pe {

using Bytes = std::span<const std::uint8_t>;

// A type or resource: a number, or a name (UTF-16 as stored) when named.
struct ResourceId {
    bool named = false;
    std::uint16_t number = 0;
    std::u16string name;
};

// Where a resource's bytes lie in the file.
struct ResourceData {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
};

struct Resource {
    ResourceId id;
    // At least one: a resource whose language directory holds no entry is no
    // resource (the system finds no data for it) and is left out of its type.
    std::vector<ResourceData> languages;
};

struct ResourceType {
    ResourceId id;
    std::vector<Resource> resources; // may be none
};

// Whether the bytes start like a PE module ("MZ" header pointing at a "PE"
// signature). Anything else (an NE module, an ICO file) is no PE module.
bool isPeModule(Bytes file);

// The resource tree of a PE module, or nothing when the module is damaged:
// headers or section table outside the file, a directory, entry, name or
// data range outside the section that holds it, a tree deeper than type,
// name and language, or more entries visited than the section can hold. A
// module without resources gives an empty list.
std::optional<std::vector<ResourceType>> readResources(Bytes file);

// Resource types by number: icon images and the icon groups that name them.
constexpr std::uint16_t kIconType = 3;
constexpr std::uint16_t kGroupIconType = 14;

// The type of that number in a tree readResources gave; null when it has none.
const ResourceType* typeOf(const std::vector<ResourceType>& types, std::uint16_t number);

// The resource of that number in a type; null when it has none, or for no type.
const Resource* resourceOf(const ResourceType* type, std::uint16_t number);

// The bytes of a resource as the system hands them out: those of its first
// language; none for a resource without one, which readResources never gives.
Bytes bytesOf(Bytes file, const Resource& r);

// An icon group as the system reads it to pick an image: the directory's
// bytes and its entries, each naming an icon image by number. Nothing when
// the group announces no entry or its entries are not all there.
struct GroupDirectory {
    Bytes bytes;
    std::vector<ico::GroupEntry> entries; // at least one
};
std::optional<GroupDirectory> groupDirectory(Bytes file, const Resource& group);

// Whether the module may be handed to the system: its tree reads, and every
// icon and cursor image in it (types 1 and 3) is one a decoder can take
// (ico::imageIsSound; a cursor image starts with its 4-byte hotspot).
bool moduleIsSound(Bytes file);

} // namespace vm::pe
