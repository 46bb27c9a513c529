#pragma once
// The resources of a 16-bit module (NE: the layout of EXE, DLL and ICL files
// made for 16-bit Windows), read from the file's bytes with every offset,
// size and count checked: the MZ stub, the NE header, the resource table with
// its alignment shift, and the icon (type 3) and icon group (type 14)
// resources in it. NT-family Windows cannot load such a module as a data
// file, so the program reads its icons itself. Nothing here includes
// <windows.h>: the unit builds natively too and runs under sanitizers and
// fuzzers.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "icolayout.h"

namespace vm::ne {

using Bytes = std::span<const std::uint8_t>;

// A type or resource: a number, or a name (the bytes stored, in the ANSI code
// page the module was made in) when named.
struct ResourceId {
    bool named = false;
    std::uint16_t number = 0;
    std::string name;
};

struct Resource {
    ResourceId id;
    std::uint64_t offset = 0; // in the file
    std::uint32_t size = 0;   // as stored: rounded up to the table's alignment
};

struct ResourceType {
    ResourceId id;
    std::vector<Resource> resources; // may be none
};

// One image of an icon group: its directory entry (dwImageOffset 0) and where
// the entry's dwBytesInRes bytes of it lie in the file.
struct GroupImage {
    ico::DirEntry entry;
    std::uint64_t offset = 0;
};

struct IconGroup {
    ResourceId id;
    std::vector<GroupImage> images; // at least one, each inside the file
};

// Whether the bytes start like a 16-bit module: an "MZ" stub pointing at an
// "NE" header that lies in the file.
bool isNeModule(Bytes file);

// The resource table of a 16-bit module, in its stored order, or nothing when
// the module is damaged: header or table outside the file, an alignment shift
// no module uses, a type or resource list that runs past the table's end, a
// name outside the table, or a resource whose bytes lie outside the file. A
// module without resources gives an empty list.
std::optional<std::vector<ResourceType>> readResources(Bytes file);

// The icon groups of a 16-bit module in the order the shell counts them (the
// table's order: group n is resource n of the first type 14 readResources
// gives), or nothing when the resources do not add up: besides what
// readResources refuses, a group too short for the entries it announces or
// of no icon, an entry naming an icon that is not there, or one claiming
// more bytes than its icon holds.
std::optional<std::vector<IconGroup>> readIconGroups(Bytes file);

// Whether the module may be read for icons and handed to the system: its
// resources and icon groups read, every image of a group is one a decoder can
// take (ico::imageIsSound), and so is every cursor image (after its 4-byte
// hotspot).
bool moduleIsSound(Bytes file);

// The image of a group (as readIconGroups gives it) that best shows it at
// side x side pixels: one of that size, else the smallest larger one, else
// the largest; among those the one of most colours (ico::colourCount).
const GroupImage& bestImage(Bytes file, const IconGroup& group, int side);

} // namespace vm::ne
