#pragma once
// cIconGrid: a custom control that lists the images of one cFileIcon in one
// column, each row the image at its own size, centred, over a caption such as
// "32 x 32, 16 Colors". Rows are selected with the mouse (click, Ctrl, Shift)
// and the keys (Up, Down with Ctrl or Shift, Space); a vertical bar scrolls
// the list when it does not fit. Rows are numbered from 1.
//
// The control is a toolkit control over a window class of its own, with a
// device context of its own. Of its events only MouseDown reaches the form's
// handler, and before the control changes its selection; GotFocus and
// LostFocus are the toolkit's.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cfileicon.h"
#include "control.h"
#include "cscrollbars.h"

namespace vm {

// "<w> x <h>, <n> Colors", or "<w> x <h>, Millions of Colors" above 256.
std::string IconCaption(int width, int height, std::int32_t colours);

class cIconGrid : public Control {
public:
    explicit cIconGrid(Form* owner) : Control(owner) {}
    ~cIconGrid() override;

    // Makes the control's window (position and size in twips) and sets it up:
    // client size, scroll bar, text height.
    void create(Window& parent, int left, int top, int width, int height);

    // One row per image of icon, then drawn. The current row stays, but never
    // beyond the new number of rows.
    void Init(const cFileIcon& icon);
    // Releases every row's icon handle and empties the list; not redrawn.
    void Clear();

    int ItemCount() const { return static_cast<int>(items_.size()); }
    bool Selected(int index) const;
    // The caption shown under a row's image.
    std::string RowCaption(int index) const;
    // Sets the flag, makes index the current row and redraws.
    void SetSelected(int index, bool flag);

    void Draw();
    // Scrolls so that the row lies inside the client area.
    void EnsureVisible(int index);

    // The control's own handling of its events. Shift state bits: 1 Shift,
    // 2 Ctrl, 4 Alt; buttons: 1 left, 2 right, 4 middle; x and y in twips.
    void OnKeyDown(int keyCode, int shift);
    void OnMouseDown(int button, int shift, float x, float y);
    void OnGotFocus();
    void OnLostFocus();

    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void reset() override;

private:
    struct Item {
        HICON hIcon = nullptr;
        int width = 0;
        int height = 0;
        int top = 0;
        std::int32_t colours = 0;
        bool selected = false;
    };

    void mouseButton(int button, WPARAM keys, LPARAM pos);
    bool inMouseDownEvent_ = false, selectedInEvent_ = false;
    void readClientSize();
    void layoutItems();
    void paintItems();
    Item& item(int index);
    const Item& item(int index) const;
    // The size an image is drawn at: its own, or scaled down to the width of
    // the column when it is wider (a 256 x 256 image in a narrow pane).
    SIZE drawnSize(const Item& it) const;
    int rowHeight(const Item& it) const { return textHeight_ + drawnSize(it).cy + 6; }
    int scrollOffset() const;
    bool hasCurrent() const { return current_ >= 1 && current_ <= ItemCount(); }
    void selectOnly(int index);
    // Up or Down by one row from the current one.
    void stepCurrent(int delta, int shift);
    // The window is going: rows, bar and device context go with it.
    void release();

    HDC hDC_ = nullptr;
    std::vector<Item> items_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int textHeight_ = 0;
    int current_ = 0;
    bool hasFocus_ = false;
    std::unique_ptr<cScrollBars> m_cScroll;
};

} // namespace vm
