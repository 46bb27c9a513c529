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
    // A surface of no size still gets a bitmap, so the DC always has one to read.
    bitmap_ = CreateCompatibleBitmap(screen, width_ ? width_ : 1, height_ ? height_ : 1);
    ReleaseDC(nullptr, screen);
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

} // namespace

void procMask(IconCanvas& c, std::int16_t width, std::int16_t height) {
    if (!c.picSave || !c.pctColor || !c.pctMask) return;
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
