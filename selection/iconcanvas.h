#pragma once
// The off-screen pictures an icon is split into before it is written: picSave
// holds the source icon, pctColor its colour bitmap and pctMask its AND mask,
// each a memory device context with a bitmap of its own, so that what is
// drawn there stays there and the icon writer can read it back through the DC.
//
// procMask fills them from the icon the mode flags choose; procGetSaveBitDepth
// decides the bits per pixel of the file to be written.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "picture.h"

namespace vm {

class ListView;
class ImageList;
class Panel;

class OffscreenSurface {
public:
    OffscreenSurface() = default;
    ~OffscreenSurface();
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    // A fresh black bitmap of width x height pixels (the earlier drawing goes).
    void SetSize(int width, int height);
    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }
    // The surface's device context, with its bitmap selected; made on first use.
    HDC hDC();
    const Picture& GetPicture() const { return picture_; }
    void SetPicture(const Picture& picture) { picture_ = picture; }
    // The surface's pixels, 0xAARRGGBB, top row first; the bitmap is a 32-bit
    // DIB so that the alpha of what is copied in stays. nullptr before hDC.
    std::uint32_t* pixels() const { return pixels_; }
    // Set by procMask on pctColor: the icon copied in has an alpha of its own,
    // one that says more than its mask.
    bool ownAlpha = false;

private:
    void release();
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    HGDIOBJ original_ = nullptr;
    int width_ = 0, height_ = 0;
    Picture picture_;
};

// Where procMask takes its icon besides the selected result item. A caller
// sets one flag (with CurrentIndex when its source needs one) right before
// its procMask calls and clears it when its write is done.
struct MaskModes {
    bool SaveFramesMode = false;  // frame CurrentIndex (from 0) of the animation being saved
    bool MaskFromImport = false;  // the create-icon window's icon
    bool MaskFromChange = false;  // the change window's new icon (also while ChangeApplying)
    int CurrentIndex = 0;         // frame from 0, or detail-grid row from 1
    // The pictures of those sources, supplied by the windows that hold them.
    std::function<Picture(int element)> filmFrame; // picFilm(element), elements from 1
    std::function<Picture()> importPicture;
    std::function<Picture()> changePicture;
};

extern MaskModes Masks;

// What procMask and procGetSaveBitDepth read of the main window.
struct IconCanvas {
    OffscreenSurface* picSave = nullptr;
    OffscreenSurface* pctColor = nullptr;
    OffscreenSurface* pctMask = nullptr;
    ListView* pnlResult = nullptr;    // the selected item's picture ...
    ImageList* imlResult32 = nullptr; // ... is its image here
    Panel* TypePanel = nullptr;       // the selected item's type text
};

// Sizes the three surfaces to width x height and copies the chosen icon's
// mask into pctMask and its colour bitmap into pctColor, both at the top
// left. A missing source leaves the surfaces as they were; nothing is reported.
// An icon with an alpha of its own gets its mask from that alpha, for a file
// below 32 bits: opaque where the alpha is at least half.
void procMask(IconCanvas& canvas, std::int16_t width, std::int16_t height);

// The mask for a file of bitDepth bits after procMask: an icon with an alpha
// of its own written with 32 bits keeps every pixel its alpha shows (the
// writer drops what the mask hides); below 32 bits the half rule stands.
void procMaskForDepth(IconCanvas& canvas, std::int32_t bitDepth);

// After procMask and procGetSaveBitDepth, for an icon or cursor file: an icon
// with an alpha of its own is written with 32 bits and that alpha.
void procKeepAlpha(IconCanvas& canvas);

// Commands.SaveBitDepth from TypePanel's text, or with DetailPaneActive from
// the colour count of image CurrentIndex of FileIcons(1).
void procGetSaveBitDepth(IconCanvas& canvas);

} // namespace vm
