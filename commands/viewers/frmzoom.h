#pragma once
// The zoom window: one icon enlarged ZoomFactor:1 in picZoom, the window sized
// around it. Shown modally while Commands.HotSpotMode is set, it is the
// cursor-hotspot picker: a click on a pixel of the picture sets the hotspot.
#include <cstdint>

#include "commandstate.h"
#include "form.h"
#include "picture.h"
#include "picturebox.h"

namespace vm {

namespace zoomgeometry {

// The hotspot coordinate of a release at twips in the picture: the pixel under
// the pointer, kept inside 0..pixels-1.
std::int16_t hotSpot(double twips, int factor, int twipsPerPixel, int pixels);

// The outer size in pixels of a window around a picture box of the given size.
inline int windowWidth(int boxPixels) { return boxPixels + 11; }
inline int windowHeight(int boxPixels, int emptyTextPixels) { return boxPixels + 14 + emptyTextPixels; }

} // namespace zoomgeometry

class FrmZoom : public Form {
public:
    FrmZoom();

    PictureBox picZoom{this};

    // Draws the current picture enlarged and sizes the window around it.
    void procZoom();
    // The size in pixels of the picture last drawn.
    int pictureWidth() const { return pictureWidth_; }
    int pictureHeight() const { return pictureHeight_; }

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

private:
    void picZoom_MouseUp(int Button, int Shift, float X, float Y);
    void picZoom_DblClick();
    // The picture the mode flags name and its size in pixels; false when there is none.
    bool source(Picture& picture, int& width, int& height);

    int pictureWidth_ = 0, pictureHeight_ = 0;
};

FrmZoom& frmZoom();

// Tools > Zoom n:1 and the toolbar's zoom items: the factor, then a fresh window.
void procZoomAt(std::int16_t factor);
// Zoom of the context menus, the detail grid and the toolbar's button: the
// window closed if open and shown again at the current factor.
void procReopenZoom();

// A library picture keeps no hotspot: after the notice (unless the user turned
// it off) the user picks one in the zoom window, shown modally over owner.
void procSetHotSpot(Form* owner);

} // namespace vm
