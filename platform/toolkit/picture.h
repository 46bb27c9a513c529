#pragma once
// Pictures: a shared holder of a bitmap, an icon or a metafile (an OLE picture
// object underneath, so that pictures loaded from files of any format the
// system reads work the same way), loading and saving, and the clipboard.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vm {

enum PictureType : int { vbPicTypeNone = 0, vbPicTypeBitmap = 1, vbPicTypeMetafile = 2, vbPicTypeIcon = 3,
                         vbPicTypeEMetafile = 4 };

class Picture {
public:
    Picture() = default;
    // Wraps a handle; with own the picture destroys it when the last copy goes.
    static Picture fromBitmap(HBITMAP bitmap, bool own = true);
    static Picture fromIcon(HICON icon, bool own = true);
    static Picture fromOle(IPicture* picture); // takes over the reference
    // An icon decoded in memory: its colours (0xAARRGGBB, top row first) and
    // the pixels its mask leaves transparent. Lists take the pixels as they
    // are; the icon itself is made by makeIcon only once a handle is asked for.
    struct Pixels {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> colours;
        std::vector<std::uint8_t> transparent;
    };
    static Picture fromPixels(Pixels pixels, std::function<HICON()> makeIcon);
    // The decoded pixels of a picture made from them; null for any other.
    const Pixels* pixels() const;

    bool empty() const { return !impl_; }
    explicit operator bool() const { return !empty(); }
    int Type() const;
    HANDLE Handle() const;
    HBITMAP bitmap() const { return Type() == vbPicTypeBitmap ? static_cast<HBITMAP>(Handle()) : nullptr; }
    HICON icon() const { return Type() == vbPicTypeIcon ? static_cast<HICON>(Handle()) : nullptr; }
    // Size in pixels.
    int pixelWidth() const;
    int pixelHeight() const;
    // Draws the picture into dc at x, y (pixels), stretched to width x height
    // (0 = its own size).
    void render(HDC dc, int x, int y, int width = 0, int height = 0) const;
    bool operator==(const Picture& other) const { return impl_ == other.impl_; }

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

// The header of a 32-bit bitmap whose top row comes first.
BITMAPINFOHEADER TopDown32Header(int width, int height);
// A 32-bit bitmap of that layout, with its pixels (0x00RRGGBB) to fill in; null when it cannot be made.
HBITMAP CreateTopDown32Bitmap(int width, int height, std::uint32_t*& pixels);

// Pictures are loaded from files by LoadPicture (picturefile.h), behind the
// loader gate.
// SavePicture: writes a bitmap picture as a BMP file (a bitmap of up to 256
// colours keeps its colour table, deeper ones are written at 24 bits).
// Throws VbError 481 for a picture that is not a bitmap, 75 when the file cannot be written.
void SavePicture(const Picture& picture, const std::string& fileName);

// Clipboard formats, with the values of the original toolkit.
enum ClipboardFormat : int { vbCFText = 1, vbCFBitmap = 2, vbCFMetafile = 3, vbCFDIB = 8, vbCFPalette = 9,
                             vbCFEMetafile = 14, vbCFFiles = 15 };

struct Clipboard {
    static void Clear();
    // Puts a copy of the picture on the clipboard (bitmap or DIB format).
    static void SetData(const Picture& picture, int format = vbCFBitmap);
    static Picture GetData(int format = vbCFBitmap);
    static bool GetFormat(int format);
    static void SetText(const std::string& text);
    static std::string GetText();
};

} // namespace vm
