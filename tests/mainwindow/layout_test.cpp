// The pane rules as functions of the window size.
#include <gtest/gtest.h>

#include "layout.h"

using namespace vm::mainwindow;

namespace {
Metrics metrics(int w = 11400, int h = 8100) {
    Metrics m;
    m.windowWidth = w;
    m.windowHeight = h;
    m.statusHeight = 300;
    m.textHeightGg = 195;
    m.coolTop = 0;
    m.coolHeight = 1200;
    return m;
}
PaneLayout laidOut(const Metrics& m) {
    PaneLayout l = designedLayout(m);
    arrangePanes(l, m);
    formResize(l, m);
    return l;
}
} // namespace

TEST(Layout, ResultPaneEndsAboveStatusBarAndGivesItsHeightWhenHidden) {
    Metrics m = metrics();
    PaneLayout l = laidOut(m);
    EXPECT_EQ(l.nav.top, 1200 + 45);
    EXPECT_EQ(l.result.top, l.nav.top - 15);
    EXPECT_EQ(l.result.height, 8100 - l.result.top - 2 * 300 - 2 * 195);
    EXPECT_EQ(l.result.width, 11400 - l.result.left - 7 * 15);
    EXPECT_EQ(l.grid.top, l.nav.top + l.nav.height + 60);
    EXPECT_EQ(l.grid.height, l.result.height - l.nav.height - 90);

    const int nav = l.nav.height, result = l.result.height;
    toggleStatusBar(l, m);
    EXPECT_FALSE(l.statusBar);
    EXPECT_EQ(l.result.height, result + 300);
    EXPECT_EQ(l.nav.height, nav + 300);
    formResize(l, m); // the resize agrees with the toggle
    EXPECT_EQ(l.result.height, result + 300);
    toggleStatusBar(l, m);
    EXPECT_EQ(l.result.height, result);
    EXPECT_EQ(l.nav.height, nav);
}

TEST(Layout, TreeNeverTallerThanResultMinus10pxWhileDetailPaneShown) {
    Metrics m = metrics();
    PaneLayout l = laidOut(m);
    applySplitH(l, m, l.result.height - 11 * 15);
    m.windowHeight = 5000; // shrink
    formResize(l, m);
    EXPECT_LE(l.nav.height, l.result.height - 150);
    m.windowHeight = 12000; // enlarge again: the tree keeps its height
    const int nav = l.nav.height;
    formResize(l, m);
    EXPECT_EQ(l.nav.height, nav);
}

TEST(Layout, SplitterDragLimits) {
    Metrics m = metrics();
    PaneLayout l = laidOut(m);
    const PaneLayout before = l;
    l.dragging = true;
    EXPECT_FALSE(splitVMove(l, m, 3 * 15));              // under 4 px from the tree's left edge
    EXPECT_FALSE(splitVMove(l, m, 11400 - 19 * 15));     // closer than 20 px to the right edge
    EXPECT_FALSE(splitHMove(l, m, l.result.height - 10 * 15));
    EXPECT_EQ(l.nav.width, before.nav.width);
    EXPECT_EQ(l.nav.height, before.nav.height);

    EXPECT_TRUE(splitVMove(l, m, 4000));
    EXPECT_EQ(l.nav.width, 4000);
    EXPECT_EQ(l.grid.width, 4000);
    EXPECT_EQ(l.splitV.width, 4060);
    EXPECT_EQ(l.result.left, 4060);
    EXPECT_EQ(l.result.width, 11400 - 4060 - 120);

    l.dragging = false; // a move without the button held changes nothing
    EXPECT_TRUE(splitVMove(l, m, 5000));
    EXPECT_EQ(l.nav.width, 4000);
}

TEST(Layout, DetailPaneToggleRestoresStoredOrHalfHeight) {
    Metrics m = metrics();
    PaneLayout l = laidOut(m);
    toggleIconFormat(l, m, nullptr);
    EXPECT_FALSE(l.iconFormat);
    EXPECT_EQ(l.nav.height, l.result.height - 30);

    toggleIconFormat(l, m, nullptr); // no stored position: half the window
    EXPECT_TRUE(l.iconFormat);
    EXPECT_EQ(l.nav.height, 8100 / 2);

    toggleIconFormat(l, m, nullptr);
    int stored = 2500;
    toggleIconFormat(l, m, &stored);
    EXPECT_EQ(l.nav.height, 2500);
    EXPECT_EQ(l.grid.top, l.nav.top + 2500 + 60);

    toggleIconFormat(l, m, nullptr);
    int tooHigh = l.result.height + 1;
    toggleIconFormat(l, m, &tooHigh);
    EXPECT_EQ(l.nav.height, 8100 / 2);
}

TEST(Layout, MessagePanelTakesWhatTheOtherPanelsLeave) {
    EXPECT_EQ(messagePanelWidth(metrics(), 1000, 1500, 2000), 11400 - 4500 - 150);
}
