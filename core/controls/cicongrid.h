#pragma once
// cIconGrid: a custom control that lists the images of one cFileIcon in one
// column, each row the image at its own size, centred, over a caption such as
// "32 x 32, 16 Colors". Rows are selected with the mouse (click, Ctrl, Shift)
// and the keys (Up, Down with Ctrl or Shift, Space); a vertical bar scrolls
// the list when it does not fit. Rows are numbered from 1.
//
// The control is a child window of its own class with a device context of
// its own. Before it changes its selection on a click it raises onMouseDown
// to the form (button, shift state, x and y in twips, all by reference).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cfileicon.h"
#include "cscrollbars.h"

namespace vm {

// "<w> x <h>, <n> Colors", or "<w> x <h>, Millions of Colors" above 256.
std::string IconCaption(int width, int height, std::int32_t colours);

class cIconGrid {
public:
    cIconGrid() = default;
    ~cIconGrid();
    cIconGrid(const cIconGrid&) = delete;
    cIconGrid& operator=(const cIconGrid&) = delete;

    // Makes the control's window, a visible child of parent at the given
    // pixel rectangle, and sets it up (size, scroll bar, text height).
    void Create(HWND parent, int x, int y, int width, int height);
    HWND hWnd() const { return hWnd_; }

    // One row per image of icon, then drawn. The current row stays, but never
    // beyond the new number of rows.
    void Init(const cFileIcon& icon);
    // Releases every row's icon handle and empties the list; not redrawn.
    void Clear();

    int ItemCount() const { return static_cast<int>(items_.size()); }
    bool Selected(int index) const;
    // Sets the flag, makes index the current row and redraws.
    void SetSelected(int index, bool flag);

    void Draw();
    // Scrolls so that the row lies inside the client area.
    void EnsureVisible(int index);

    // Shift state bits: 1 Shift, 2 Ctrl, 4 Alt. Buttons: 1 left, 2 right, 4 middle.
    void KeyDown(int keyCode, int shift);
    // x and y in twips, relative to the control.
    void MouseDown(int button, int shift, float x, float y);
    void GotFocus();
    void LostFocus();

    std::function<void(short& button, short& shift, float& x, float& y)> onMouseDown;
    // The focus events of the hosting form.
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;

private:
    struct Item {
        HICON hIcon = nullptr;
        int width = 0;
        int height = 0;
        int top = 0;
        std::int32_t colours = 0;
        bool selected = false;
    };

    static LRESULT CALLBACK windowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void mouseButton(short button, WPARAM keys, LPARAM pos);
    void resize();
    void layoutItems();
    void paintItems();
    Item& item(int index);
    const Item& item(int index) const;
    int rowHeight(const Item& it) const { return textHeight_ + it.height + 6; }
    int scrollOffset() const;
    bool hasCurrent() const { return current_ >= 1 && current_ <= ItemCount(); }
    void selectOnly(int index);
    // Up or Down by one row from the current one.
    void stepCurrent(int delta, int shift);

    HWND hWnd_ = nullptr;
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
