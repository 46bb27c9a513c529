#include "iconcanvas.h"

#include "commandstate.h"
#include "listview.h"
#include "selection.h"
#include "selectiondecision.h"
#include "state.h"
#include "statusbar.h"
#include "vberror.h"

namespace vm {

MaskModes Masks;

OffscreenSurface::~OffscreenSurface() { release(); }

void OffscreenSurface::release() {
    if (dc_) {
        SelectObject(dc_, original_);
        DeleteDC(dc_);
        dc_ = nullptr;
    }
    if (bitmap_) {
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
        pixels_ = nullptr;
    }
}

void OffscreenSurface::SetSize(int width, int height) {
    width = width > 0 ? width : 0;
    height = height > 0 ? height : 0;
    // A frame loop sizes the surfaces once per frame: the same size keeps the
    // bitmap and only blanks it.
    if (dc_ && width == width_ && height == height_) {
        PatBlt(dc_, 0, 0, width_, height_, BLACKNESS);
        return;
    }
    release();
    width_ = width;
    height_ = height;
}

HDC OffscreenSurface::hDC() {
    if (dc_) return dc_;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    // A surface of no size still gets a bitmap, so the DC always has one to read.
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width_ ? width_ : 1, -(height_ ? height_ : 1), 1, 32, BI_RGB,
                     0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels_ = bitmap_ ? static_cast<std::uint32_t*>(bits) : nullptr;
    original_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width_, height_, BLACKNESS);
    return dc_;
}

namespace {

// The icon the mode flags name; an empty picture when that source has none.
// One order: a frame of the animation being saved (a frame loop names its
// frame, also while a change is applied); then the change window's new icon
// while a change is applied or asked for, and the create-icon window's icon,
// whatever DetailPaneActive says; then the selected detail image or result item.
Picture sourcePicture(IconCanvas& c) {
    Picture chosen;
    try {
        if (Masks.SaveFramesMode) {
            if (Masks.filmFrame) chosen = Masks.filmFrame(Masks.CurrentIndex + 1);
        } else if (Masks.MaskFromChange || Commands.ChangeApplying) {
            if (Masks.changePicture) chosen = Masks.changePicture();
        } else if (Masks.MaskFromImport) {
            if (Masks.importPicture) chosen = Masks.importPicture();
        } else if (!Commands.DetailPaneActive) {
            ListItem* item = c.pnlResult ? c.pnlResult->SelectedItem() : nullptr;
            if (item && c.imlResult32) chosen = c.imlResult32->ListImages(item->Icon()).ExtractIcon();
        } else if (!Selection.FileIcons.empty()) {
            const cFileIcon& icon = Selection.FileIcons.front();
            if (Masks.CurrentIndex >= 1 && Masks.CurrentIndex <= icon.ImageCount()) {
                HDC screen = GetDC(nullptr);
                HICON handle = icon.IconHandle(screen, Masks.CurrentIndex);
                ReleaseDC(nullptr, screen);
                if (handle) chosen = Picture::fromIcon(handle, true);
            }
        }
    } catch (const VbError&) {
        // An image the list or the icon does not hold: no source.
    }
    return chosen;
}

constexpr std::uint32_t kOpaque = 0x000000, kTransparent = 0xFFFFFF; // mask pixels
std::uint32_t alphaOf(std::uint32_t pixel) { return pixel >> 24; }

// Whether the colour's alpha says more than the mask: a pixel between clear
// and solid, or one the mask shows that the alpha hides. An alpha of 0
// throughout is none at all.
bool hasOwnAlpha(const std::uint32_t* colour, const std::uint32_t* mask, size_t count) {
    bool any = false, partial = false, hiddenShown = false;
    for (size_t i = 0; i < count; ++i) {
        const std::uint32_t a = alphaOf(colour[i]);
        any = any || a != 0;
        partial = partial || (a != 0 && a != 255);
        hiddenShown = hiddenShown || (a == 0 && (mask[i] & 0xFFFFFF) == kOpaque);
    }
    return partial || (any && hiddenShown);
}

// The mask made again from the colour's alpha: opaque from minimum up.
void maskFromAlpha(IconCanvas& c, std::uint32_t minimum) {
    const std::uint32_t* colour = c.pctColor->pixels();
    std::uint32_t* mask = c.pctMask->pixels();
    if (!colour || !mask) return;
    GdiFlush();
    const size_t count = static_cast<size_t>(c.pctColor->pixelWidth()) * c.pctColor->pixelHeight();
    for (size_t i = 0; i < count; ++i) mask[i] = alphaOf(colour[i]) >= minimum ? kOpaque : kTransparent;
}

} // namespace

void procMaskForDepth(IconCanvas& c, std::int32_t bitDepth) {
    if (!c.pctColor || !c.pctMask || !c.pctColor->ownAlpha) return;
    maskFromAlpha(c, bitDepth == 32 ? 1 : 128);
}

void procKeepAlpha(IconCanvas& c) {
    if (!c.pctColor || !c.pctColor->ownAlpha) return;
    Commands.SaveBitDepth = 32;
    procMaskForDepth(c, 32);
}

void procMask(IconCanvas& c, std::int16_t width, std::int16_t height) {
    if (!c.picSave || !c.pctColor || !c.pctMask) return;
    c.pctColor->ownAlpha = false;
    c.picSave->SetSize(width, height);
    c.pctColor->SetSize(width, height);
    c.pctMask->SetSize(width, height);
    // Without a source the surfaces stay blank: writing the icon picSave held
    // before would save the previous item's picture under this one's name.
    c.picSave->SetPicture(sourcePicture(c));
    c.pctColor->SetPicture({});
    c.pctMask->SetPicture({});

    HICON icon = c.picSave->GetPicture().icon();
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return;

    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    // A bitmap goes into one device context at a time. A monochrome icon
    // keeps its picture below the mask in the mask's own bitmap, so both
    // planes are copied from it in turn.
    HGDIOBJ own = SelectObject(canvas, info.hbmMask);
    BitBlt(c.pctMask->hDC(), 0, 0, width, height, canvas, 0, 0, SRCCOPY);
    if (info.hbmColor) SelectObject(canvas, info.hbmColor);
    BitBlt(c.pctColor->hDC(), 0, 0, width, height, canvas, 0, info.hbmColor ? 0 : height, SRCCOPY);
    SelectObject(canvas, own);
    DeleteDC(canvas);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);

    GdiFlush();
    const std::uint32_t* colour = c.pctColor->pixels();
    const std::uint32_t* mask = c.pctMask->pixels();
    const size_t count = static_cast<size_t>(c.pctColor->pixelWidth()) * c.pctColor->pixelHeight();
    c.pctColor->ownAlpha = info.hbmColor && colour && mask && hasOwnAlpha(colour, mask, count);
    procMaskForDepth(c, 24);
}

void procGetSaveBitDepth(IconCanvas& c) {
    if (!Commands.DetailPaneActive) {
        const std::string typeText = c.TypePanel ? c.TypePanel->Text() : std::string();
        Commands.SaveBitDepth = selection::saveBitDepthForTypeText(typeText, identity.OSCode);
        return;
    }
    if (Selection.FileIcons.empty()) return;
    const cFileIcon& icon = Selection.FileIcons.front();
    if (Masks.CurrentIndex < 1 || Masks.CurrentIndex > icon.ImageCount()) return;
    Commands.SaveBitDepth =
        selection::saveBitDepthForColourCount(icon.ImageColourCount(Masks.CurrentIndex), identity.OSCode);
}

} // namespace vm
