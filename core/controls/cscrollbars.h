#pragma once
// cScrollBars: a horizontal and a vertical scroll bar for any window, with a
// value model (Min, Max, Value, SmallChange, LargeChange) and Scroll and Change
// events. Flat bars of the common controls are used when the window can have
// them, the window's standard bars otherwise.
//
// The range lives in the window's own scroll information: nMin = Min,
// nPage = LargeChange, nMax = Max + LargeChange, nPos = Value, so Max reads
// back as nMax - nPage. Bars are numbered 0 (horizontal) and 1 (vertical);
// any other number is a subscript error of the caller.
#include <windows.h>

#include <functional>

#include "subclass.h"

namespace vm {

class cScrollBars : public ISubclass {
public:
    cScrollBars() = default;
    ~cScrollBars() override;
    cScrollBars(const cScrollBars&) = delete;
    cScrollBars& operator=(const cScrollBars&) = delete;

    // Leaves an earlier window, takes hWnd, sets up flat bars and starts
    // watching the window's WM_HSCROLL and WM_VSCROLL.
    void Create(HWND hWnd);

    bool CanBeFlat() const { return !plain_; }

    // 0 horizontal only, 1 vertical only, 2 both; writing shows exactly those bars.
    int Orientation() const { return orientation_; }
    void SetOrientation(int orientation);
    // The flat-bar style; a style other than 0 is ignored on standard bars.
    int Style() const { return style_; }
    void SetStyle(int style);

    bool Visible(int bar) const;
    void SetVisible(int bar, bool visible);
    bool Enabled(int bar) const;
    void SetEnabled(int bar, bool enabled);
    int SmallChange(int bar) const;
    void SetSmallChange(int bar, int amount);

    int Min(int bar) const;
    void SetMin(int bar, int value);
    int Max(int bar) const;
    void SetMax(int bar, int value);
    int Value(int bar) const;
    void SetValue(int bar, int value);
    int LargeChange(int bar) const;
    void SetLargeChange(int bar, int value);

    // Raised with the bar number: Scroll while the thumb is dragged, Change for
    // every other change of the value (arrows, pages, ends, end of a drag,
    // writes of Value or Max).
    std::function<void(int& bar)> onScroll;
    std::function<void(int& bar)> onChange;

    // ISubclass
    EMsgResponse MsgResponse() const override { return emrPostProcess; }
    void MsgResponse(EMsgResponse) override {}
    LRESULT WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void initFlatBars();
    void detachWindow();
    SCROLLINFO getInfo(int bar, UINT mask) const;
    void setInfo(int bar, SCROLLINFO& info);
    void showBar(int bar, bool show);
    // Value write with the value kept inside Min..Max.
    void moveTo(int bar, int value, bool dragging);
    // After a range or page write: the platform allows one step past Max.
    void keepValueInRange(int bar);
    void changeCheck(int bar, bool dragging);

    HWND hWnd_ = nullptr;
    bool attached_ = false;
    bool plain_ = false;
    int orientation_ = 2;
    int style_ = 0;
    int smallChange_[2] = {1, 1};
    bool visible_[2] = {false, false};
    bool enabled_[2] = {true, true};
    int lastValue_[2] = {0, 0};
};

} // namespace vm
