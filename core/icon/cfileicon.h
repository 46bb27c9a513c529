#pragma once
// cFileIcon: one icon held in memory exactly as an ICO file stores it, the
// directory, one entry per image and each image's bytes.
//
// It loads ICO files (LoadIcon) and icon group resources of EXE and DLL files
// (LoadIconFromEXE), saves ICO files (SaveIcon), adds and removes images, and
// turns an image into an icon handle, a picture, or a drawing of its colour or
// mask plane. Image indexes are 1-based. Errors are thrown as vm::VbError with
// the source "<executable>.cFileIcon"; an index outside 1..ImageCount is a
// subscript error (number 9).
//
// Images are kept as stored: a DIB (BITMAPINFOHEADER, colour table, colour
// plane, mask plane) or a PNG stream, which is saved unchanged and decoded by
// the system when a handle or drawing is asked for.
//
// <windows.h> defines LoadIcon as a macro for LoadIconA; this header removes
// that macro so that the member keeps its name. Use LoadIconA for the API.
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>
#undef LoadIcon

#include <cstdint>
#include <string>
#include <vector>

#include "classerror.h"
#include "icolayout.h"

namespace vm {

struct NeIconFile;

class cFileIcon {
public:
    // Replaces target's content by a copy of this icon.
    void CloneTo(cFileIcon& target) const;

    // The file the icon was loaded from or last saved to ("" when new).
    const std::string& Filename() const { return filename_; }
    // Empty for an ICO file; the group's number or name for a resource.
    const ResourceKey& ResourceID() const { return resourceId_; }

    int ImageCount() const { return static_cast<int>(entries_.size()); }
    // Sizes in pixels; an entry value of 0 stands for 256.
    int ImageWidth(int index) const;
    int ImageHeight(int index) const;
    // bColorCount when set, else 2 to the power of the depth; 16777216 for
    // 24 and 32 bits; 0 when the image does not tell its depth.
    std::int32_t ImageColourCount(int index) const;
    // Byte size of the image block.
    std::int32_t ImageSize(int index) const;

    // A new icon handle for the image, its colour bitmap compatible with hDC;
    // the caller destroys it. nullptr when the image cannot be made into one.
    HICON IconHandle(HDC hDC, int index) const;
    // A picture that owns a new icon handle of the image; empty when there is
    // no handle.
    Microsoft::WRL::ComPtr<IPicture> IconPicture(HDC hDC, int index) const;
    // Draws the colour plane (mask false) or mask plane (mask true) at x, y:
    // in its own size when width and height are both 0, else stretched (a 0
    // side taking the image's own). Nothing is drawn for a damaged image.
    void DrawIconImage(HDC hDC, int index, bool mask, int x, int y, int width, int height,
                       DWORD rasterOp) const;

    // Appends an all-black, opaque image of 2, 16, 256 colours (1, 4, 8 bits)
    // or, for any other count, 24 bits. Error 1049 when that format exists.
    void AddImage(int width, int height, std::int32_t colours);
    // Removes an image; an icon with fewer than 2 images is emptied.
    void RemoveImage(int index);

    // Loads an ICO file. False for a missing file, a cursor or an empty
    // directory; error 1050 for a directory or images the file does not hold.
    bool LoadIcon(const std::string& file);
    // Loads icon group `id` (when not 0) or `name` of an EXE or DLL loaded as
    // a data file, or read by the program's own reader for a 16-bit module. False when the module cannot be loaded or the group is
    // empty; errors 1055 to 1057 for a missing or damaged group.
    bool LoadIconFromEXE(const std::string& file, std::int32_t id, const std::string& name);
    // Writes the icon as an ICO file to `file`, or to Filename when `file` is
    // "". Image offsets are laid out afresh; the target is replaced only when
    // the whole file has been written.
    bool SaveIcon(const std::string& file = "");

private:
    // Drops every image; Filename stays.
    void clear();
    void checkIndex(int index) const;
    void layOutOffsets();
    // The group of a 16-bit module; error 1055 when it has none of that id or name.
    bool loadNeGroup(const NeIconFile& icons, std::int32_t id, const std::string& name);
    // The colour or mask plane of a DIB image as a bitmap, optionally drawn.
    HBITMAP drawImageBits(HDC hDC, int index, bool mask, bool draw, int x, int y, int width,
                          int height, DWORD rasterOp, bool keep) const;
    // The system's own decoding of a PNG image.
    HICON decodedIcon(int index) const;

    std::string filename_;
    ResourceKey resourceId_;
    std::vector<ico::DirEntry> entries_;
    std::vector<std::vector<std::uint8_t>> images_;
};

} // namespace vm
