#pragma once
// The gate in front of the system's icon, cursor, picture and shortcut
// loaders. Those loaders trust the sizes and offsets a file gives and fault,
// hang or take gigabytes on a damaged one; every call that hands them a
// file's bytes is made here, and only after the project's own reader of the
// file's kind (told by its bytes, never by its name) has found it whole.
// Nothing else in the program calls them (a check of the sources holds it).
#include <windows.h>
#include <ocidl.h>
#include <shobjidl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "filekinds.h"
#include "peresources.h"

namespace vm {
struct NeIconFile;
}

namespace vm::gate {

// An icon, cursor or animation loaded from a sound ICO, CUR or ANI file
// (type IMAGE_ICON or IMAGE_CURSOR, as LoadImage takes them); null for any
// other file.
HANDLE LoadImageFile(const std::string& file, UINT type, int cx, int cy, UINT flags);

// The icons of a file as ExtractIconEx gives them: with index -1 and no
// handles, how many the file holds. A sound module's icons are made from its
// checked icon groups by the project's own reader, so the system never walks
// its resource tree; a sound ICO file goes to the system. 0 for any other file.
UINT ExtractIcons(const std::string& file, int index, HICON* large, HICON* small, UINT count);

// An icon or cursor from one image block (a DIB or PNG image as an ICO file
// or an icon resource holds it, a cursor's led by its hotspot), once the
// image is sound; null otherwise.
HICON IconFromImage(std::span<const std::uint8_t> image, bool icon, int cx, int cy, UINT flags);

// The icons of a file's bytes already read (an opened file or an archive's
// member), made as the file's path route makes them (ExtractIcons for ICO
// files and modules, a cursor file loaded at the size asked for, an
// animation loaded whole) but from the chosen image's bytes alone, so that
// nothing is read again. The bytes must outlive the object; nothing is
// handed to the system unless the check found them whole.
class IconBytes {
public:
    // checked is what CheckBytes said of these very bytes.
    IconBytes(std::span<const std::uint8_t> bytes, CheckedBytes checked);
    explicit IconBytes(std::span<const std::uint8_t> bytes) : IconBytes(bytes, CheckBytes(bytes)) {}

    // How many icons ExtractIcons counts in the file; 1 for a cursor file.
    UINT count() const;
    // Icon index at size (16: the small icon size, any other: the large one;
    // a cursor at size x size); null when there is none.
    HICON icon(int index, int size) const;
    // The pixels of that icon, read from its image without the system (see
    // ico::decodeDib), and its side; 0 when the image is one the system must decode.
    int pixels(int index, int size, std::vector<std::uint32_t>& colours, std::vector<std::uint8_t>& transparent) const;
    // The animation of an ANI file, with all its steps; null for anything else.
    HICON animation() const;

private:
    std::span<const std::uint8_t> bytes_;
    CheckedBytes checked_;
    std::optional<std::vector<pe::ResourceType>> resources_; // of a PE module
    std::shared_ptr<const NeIconFile> old_;                   // of a 16-bit module
};

// A sound PE module loaded as a data file; null for any other file.
HMODULE LoadDataFile(const std::string& file);

// A picture (BMP, GIF, JPEG, PNG, metafile or icon) decoded by the system
// from bytes that read whole as their kind; null otherwise. The caller owns
// the reference.
IPicture* LoadPictureBytes(std::span<const std::uint8_t> bytes);

// A shell link object holding a shortcut file the project's own reader found
// whole; an error result for any other file, and nothing is loaded.
HRESULT LoadShellLink(const std::string& file, IShellLinkA** link);
// An empty shell link object, to be filled and saved with SaveShellLink.
HRESULT NewShellLink(IShellLinkA** link);
HRESULT SaveShellLink(IShellLinkA* link, const std::string& file);

} // namespace vm::gate
