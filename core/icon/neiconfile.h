#pragma once
// The icons of a 16-bit module file (an ICL icon library, an old EXE or DLL),
// read by the program's own reader: NT-family Windows cannot load such a
// module as a data file, so the lister, the page loader, the icon model and
// the resource lister take its icons from here.
#include <memory>
#include <string>
#include <vector>

#include "neresources.h"

namespace vm {

struct NeIconFile {
    std::string bytes;
    std::vector<ne::ResourceType> types;
    std::vector<ne::IconGroup> groups;

    ne::Bytes file() const { return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}; }
    // The bytes of one image of a group.
    ne::Bytes image(const ne::GroupImage& image) const { return file().subspan(image.offset, image.entry.dwBytesInRes); }
};

// The resources and icon groups of a 16-bit module's bytes, which it takes
// over; null when they are no 16-bit module or either does not read. It
// touches no file: ReadNeIconFile reads the file and checks it first.
std::shared_ptr<const NeIconFile> NeIconFileOf(std::string bytes);

// The file's resources and icon groups; null when it is no 16-bit module,
// cannot be read, is larger than any icon library, or is refused by the check
// every icon source passes (IconSourceIsSound). The last file read is kept
// while its size and time stay, so a page of its icons reads it once.
std::shared_ptr<const NeIconFile> ReadNeIconFile(const std::string& file);

} // namespace vm
