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
#include <span>
#include <string>

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
