#pragma once
// The picture box keeps its drawing: everything is drawn into a persistent
// memory bitmap of the box's size (hDC), which paints the window. Hiding,
// covering or showing the box never loses what was drawn. Picture is drawn
// at the top left of a cleared box; Image is a copy of the drawing.
// Mouse positions of its events are in the box's own scale (twips, or pixels
// with ScaleMode vbPixels); a pressed button captures the mouse, so a drag
// that leaves the box still reaches it. A left press and release inside the
// box is a Click, the second press of a double-click a DblClick; a left press
// gives the box the keyboard focus.
#include "control.h"
#include "picture.h"

namespace vm {

class PictureBox : public Control {
public:
    explicit PictureBox(Form* owner);
    ~PictureBox() override;
    void create(Window& parent, int left, int top, int width, int height, bool border = true);

    HDC hDC();
    const Picture& GetPicture() const { return picture_; }
    void SetPicture(const Picture& picture);
    Picture Image();
    // Clears the drawing to the back colour and draws Picture again.
    void Cls();
    // Draws a picture at x, y in the box's scale, stretched to width x height (-1 = its own size).
    void PaintPicture(const Picture& picture, float x, float y, float width = -1, float height = -1);
    // With AutoSize the box takes the size of each picture it is given.
    bool AutoSize = false;
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode) { scaleMode_ = mode; }
    float ScaleWidth();
    float ScaleHeight();
    void SetBackColor(OleColor color) override;

    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void reset() override;

protected:
    bool clicksFromButtons() const override { return true; }
    float scaleX(int pixels) override;
    float scaleY(int pixels) override;

private:
    void ensureBacking();
    void release();
    int toPixelsX(float value) const;
    int toPixelsY(float value) const;

    Picture picture_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    SIZE size_{0, 0};
    int scaleMode_ = 1; // vbTwips
};

} // namespace vm
