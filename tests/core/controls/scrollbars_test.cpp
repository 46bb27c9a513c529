// The scroll-bar value model on a real hidden window: range bookkeeping, the
// Max ceiling for every kind of step, and the events.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "cscrollbars.h"
#include "vberror.h"

namespace {

class ScrollBarsTest : public testing::Test {
protected:
    void SetUp() override {
        hWnd = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hWnd, nullptr);
        bars.Create(hWnd);
        bars.onChange = [this](int& bar) { changes.push_back(bar); };
        bars.onScroll = [this](int& bar) { scrolls.push_back(bar); };
    }
    void TearDown() override { DestroyWindow(hWnd); }

    void scroll(int code) { SendMessageA(hWnd, WM_VSCROLL, MAKEWPARAM(code, 0), 0); }

    HWND hWnd = nullptr;
    vm::cScrollBars bars;
    std::vector<int> changes;
    std::vector<int> scrolls;
};

TEST_F(ScrollBarsTest, RangeKeepsMaxAcrossLargeChange) {
    bars.SetLargeChange(SB_VERT, 20);
    bars.SetMax(SB_VERT, 100);
    SCROLLINFO info{sizeof(info), SIF_ALL};
    GetScrollInfo(hWnd, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 120);
    bars.SetLargeChange(SB_VERT, 30);
    bars.SetMin(SB_VERT, 10);
    GetScrollInfo(hWnd, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 130);
    EXPECT_EQ(bars.Max(SB_VERT), 100);
    EXPECT_EQ(bars.Min(SB_VERT), 10);
    EXPECT_THROW(bars.Value(2), vm::VbError);
}

TEST_F(ScrollBarsTest, ValueNeverPassesMax) {
    bars.SetMax(SB_VERT, 100);
    bars.SetLargeChange(SB_VERT, 20);
    // A direct write one past Max, which the platform itself would allow.
    bars.SetValue(SB_VERT, 101);
    EXPECT_EQ(bars.Value(SB_VERT), 100);

    bars.SetSmallChange(SB_VERT, 8);
    bars.SetValue(SB_VERT, 98);
    scroll(SB_LINEDOWN);
    EXPECT_EQ(bars.Value(SB_VERT), 100);
    bars.SetValue(SB_VERT, 90);
    scroll(SB_PAGEDOWN);
    EXPECT_EQ(bars.Value(SB_VERT), 100);

    // The thumb: the platform lets its position reach Max + 1, and outside a
    // drag the track position is the position.
    bars.SetValue(SB_VERT, 0);
    SetScrollPos(hWnd, SB_VERT, 101, FALSE);
    scroll(SB_THUMBTRACK);
    EXPECT_EQ(bars.Value(SB_VERT), 100);
    EXPECT_EQ(scrolls, std::vector<int>{SB_VERT});

    bars.SetMax(SB_VERT, 50);
    EXPECT_EQ(bars.Value(SB_VERT), 50);
    bars.SetValue(SB_VERT, 5);
    scroll(SB_LINEUP);
    scroll(SB_PAGEUP);
    EXPECT_EQ(bars.Value(SB_VERT), 0);
}

TEST_F(ScrollBarsTest, EventsReportEachChangeOnce) {
    bars.SetMax(SB_VERT, 100);
    bars.SetLargeChange(SB_VERT, 10);
    changes.clear();
    bars.SetValue(SB_VERT, 40);
    bars.SetValue(SB_VERT, 40);
    scroll(SB_ENDSCROLL);
    EXPECT_EQ(changes, std::vector<int>{SB_VERT});

    // A handler that moves the value again is reported in turn.
    bars.onChange = [this](int& bar) {
        changes.push_back(bar);
        if (bars.Value(bar) == 50) bars.SetValue(bar, 70);
    };
    scroll(SB_PAGEDOWN);
    EXPECT_EQ(bars.Value(SB_VERT), 70);
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_TRUE(scrolls.empty());

    bars.SetMax(SB_HORZ, 10);
    SendMessageA(hWnd, WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(changes.back(), SB_HORZ);
}

TEST_F(ScrollBarsTest, StyleAndLifetime) {
    // Flat bars are set up only where the common controls grant them; plain
    // bars keep style 0.
    bars.SetStyle(1);
    EXPECT_EQ(bars.Style(), bars.CanBeFlat() ? 1 : 0);

    // A second object on the same window hears nothing once it is gone.
    bars.SetMax(SB_HORZ, 10);
    {
        vm::cScrollBars other;
        other.Create(hWnd);
    }
    SendMessageA(hWnd, WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    SendMessageA(hWnd, WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(bars.Value(SB_HORZ), 2);
}

} // namespace
