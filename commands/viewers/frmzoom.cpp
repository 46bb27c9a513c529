#include "frmzoom.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "browserstate.h"
#include "cicongrid.h"
#include "dialogs.h"
#include "exportwindow.h"
#include "formatwriters.h"
#include "frmmessage.h"
#include "helpfile.h"
#include "iconcanvas.h"
#include "listview.h"
#include "registry.h"
#include "seam.h"
#include "selection.h"
#include "state.h"
#include "viewerhost.h"

namespace vm {

namespace zoomgeometry {

std::int16_t hotSpot(double twips, int factor, int twipsPerPixel, int pixels) {
    if (factor < 1 || twipsPerPixel < 1) return 0;
    // The pixel under the pointer: every point of an enlarged pixel names that pixel.
    const long at = static_cast<long>(std::floor(twips / (static_cast<double>(factor) * twipsPerPixel)));
    return static_cast<std::int16_t>(std::clamp<long>(at, 0, std::max(pixels - 1, 0)));
}

} // namespace zoomgeometry

FrmZoom& frmZoom() { return defaultInstance<FrmZoom>(); }

FrmZoom::FrmZoom() : Form("frmZoom") {
    design.caption = "Zoom";
    design.borderStyle = vbFixedToolWindow;
    design.width = 3000;
    design.height = 3000;
    design.keyPreview = true;
}

void FrmZoom::CreateControls() {
    picZoom.create(*this, pixelsToTwipsX(2), pixelsToTwipsY(2), pixelsToTwipsX(32), pixelsToTwipsY(32), false);
    VM_ON(picZoom, MouseUp);
    VM_ON(picZoom, DblClick);
}

void FrmZoom::Form_Load() {
    Commands.ZoomWindowOpen = true;
    procZoom();
    procRestorePosition(*this, "Zoom");
}

void FrmZoom::Form_Unload(int&) {
    Commands.ZoomWindowOpen = false;
    procSavePosition(*this, "Zoom");
}

bool FrmZoom::source(Picture& picture, int& width, int& height) {
    // The change and create-icon windows come first, as for the icon canvas.
    const int size = Keywords.IconSize;
    auto sized = [&](const Picture& p) {
        picture = p;
        width = p.empty() || p.pixelWidth() < 1 ? size : p.pixelWidth();
        height = p.empty() || p.pixelHeight() < 1 ? size : p.pixelHeight();
        return !p.empty();
    };
    if (Masks.MaskFromChange || Commands.ChangeApplying) return sized(Masks.changePicture ? Masks.changePicture() : Picture());
    if (Masks.MaskFromImport) return sized(Masks.importPicture ? Masks.importPicture() : Picture());
    ExportWindow* items = Viewers.items;
    if (Commands.DetailPaneActive) {
        if (!items || !items->grdIcons || Selection.FileIcons.empty()) return false;
        const cFileIcon& icon = Selection.FileIcons.front();
        for (int row = 1; row <= items->grdIcons->ItemCount() && row <= icon.ImageCount(); ++row)
            if (items->grdIcons->Selected(row)) {
                picture = DetailImagePicture(row);
                width = icon.ImageWidth(row);
                height = icon.ImageHeight(row);
                return !picture.empty();
            }
        return false;
    }
    if (!items) return false;
    picture = SelectedItemPicture(*items);
    width = height = size;
    return !picture.empty();
}

void FrmZoom::procZoom() {
    Picture picture;
    int width = 0, height = 0;
    const bool found = source(picture, width, height);
    if (Commands.HotSpotMode) {
        Commands.ZoomFactor = 10;
        // The default hotspot lies inside the picture (16, 16 is 15, 15 on a 16 x 16 cursor).
        const int w = found ? width : Keywords.IconSize, h = found ? height : Keywords.IconSize;
        Commands.CursorHotSpotX = static_cast<std::int16_t>(std::min(16, std::max(w - 1, 0)));
        Commands.CursorHotSpotY = static_cast<std::int16_t>(std::min(16, std::max(h - 1, 0)));
        SetCaption("Set the Cursor's Hotspot");
        picZoom.SetMousePointer(vbCrosshair);
    } else {
        SetCaption("Zoom " + std::to_string(Commands.ZoomFactor) + ":1");
        const OleColor back = Viewers.items && Viewers.items->pnlResult ? Viewers.items->pnlResult->BackColor()
                                                                         : vbWindowBackground;
        picZoom.SetMousePointer(vbDefault);
        picZoom.SetPicture({});
        picZoom.SetBackColor(back);
        picZoom.Cls();
    }
    const int factor = std::max<int>(Commands.ZoomFactor, 1);
    picZoom.Move(pixelsToTwipsX(2), pixelsToTwipsY(2));
    if (found) {
        pictureWidth_ = width;
        pictureHeight_ = height;
        picZoom.Move(vmKeep, vmKeep, pixelsToTwipsX(width * factor), pixelsToTwipsY(height * factor));
        picZoom.PaintPicture(picture, 0, 0, static_cast<float>(picZoom.Width()), static_cast<float>(picZoom.Height()));
    }
    const int boxW = picZoom.Width() / TwipsPerPixelX(), boxH = picZoom.Height() / TwipsPerPixelY();
    const int textH = TextHeight("") / TwipsPerPixelY();
    Move(Left(), Top(), pixelsToTwipsX(zoomgeometry::windowWidth(boxW)),
         pixelsToTwipsY(zoomgeometry::windowHeight(boxH, textH)));
}

void FrmZoom::picZoom_MouseUp(int, int, float X, float Y) {
    if (!Commands.HotSpotMode) return;
    const int w = pictureWidth_ > 0 ? pictureWidth_ : Keywords.IconSize;
    const int h = pictureHeight_ > 0 ? pictureHeight_ : Keywords.IconSize;
    Commands.CursorHotSpotX = zoomgeometry::hotSpot(X, Commands.ZoomFactor, TwipsPerPixelX(), w);
    Commands.CursorHotSpotY = zoomgeometry::hotSpot(Y, Commands.ZoomFactor, TwipsPerPixelY(), h);
    Unload();
}

void FrmZoom::picZoom_DblClick() {
    if (Commands.HotSpotMode) return;
    Clipboard::Clear();
    Clipboard::SetData(picZoom.Image());
}

void FrmZoom::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == VK_F1) procShowHelp(hWnd(), HelpContext::Zoom);
}

void procReopenZoom() {
    if (Commands.ZoomWindowOpen) frmZoom().Unload();
    frmZoom().Show(vbModeless);
}

void procZoomAt(std::int16_t factor) {
    Commands.ZoomFactor = factor;
    procReopenZoom();
}

void procSetHotSpot(Form* owner) {
    Commands.HotSpotMode = true;
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "NoCursorChange");
    // Missing, empty and "0" alike mean the notice was never silenced.
    if (reg.RegValue.isEmpty() || reg.RegValue.toText().empty() || reg.RegValue.toText() == "0")
        shell::procShowMessage("Due to the compressed Icon storage format of Vellumar, a cursor's Hotspot is lost. "
                               "Please set the Cursor's Hotpot again. I.e the Hotspot of a mouse pointer would be the "
                               "arrow top.",
                               "NoCursorChange", "Change Cursors", "Define Hotspot Now", true);
    if (Commands.ZoomWindowOpen) frmZoom().Unload();
    frmZoom().Show(vbModal, owner);
    Commands.HotSpotMode = false;
}

} // namespace vm
