#include "layout.h"

namespace vm::mainwindow {

namespace {
// A pane never gets a negative size from a very small or minimised window.
int atLeast0(int v) { return v < 0 ? 0 : v; }
} // namespace

PaneLayout designedLayout(const Metrics& m) {
    PaneLayout l;
    l.nav = {0, 0, 200 * m.tppX, 300 * m.tppY};
    l.splitV = {0, 0, l.nav.width + 4 * m.tppX, 300 * m.tppY};
    l.splitH = {0, 0, l.nav.width, 300 * m.tppY};
    l.grid = {0, 0, l.nav.width, 0};
    l.result = {l.nav.width + 4 * m.tppX, 0, 400 * m.tppX, 300 * m.tppY};
    return l;
}

void formResize(PaneLayout& l, const Metrics& m) {
    int statusBars = l.statusBar ? 2 : 1;
    l.result.height = atLeast0(m.windowHeight - l.result.top - statusBars * m.statusHeight - 2 * m.textHeightGg);
    l.result.width = atLeast0(m.windowWidth - l.result.left - 7 * m.tppX);
    l.splitV.height = l.result.height;
    if (l.iconFormat) {
        if (l.result.height - 10 * m.tppY < l.nav.height) l.nav.height = atLeast0(l.result.height - 10 * m.tppY);
        l.grid.top = l.nav.top + l.nav.height + 4 * m.tppY;
        l.grid.height = atLeast0(l.result.height - l.nav.height - 6 * m.tppY);
        l.splitH.height = l.result.height;
    } else {
        l.nav.height = atLeast0(l.result.height - 2 * m.tppY);
    }
}

void arrangePanes(PaneLayout& l, const Metrics& m) {
    l.nav.top = m.coolTop + m.coolHeight + 3 * m.tppY;
    l.result.top = l.nav.top - 1 * m.tppY;
    l.splitV.top = l.nav.top;
    l.splitH.top = l.nav.top;
    applySplitH(l, m, l.nav.height);
}

bool splitVMove(PaneLayout& l, const Metrics& m, int x) {
    if (x < l.nav.left + 4 * m.tppX || x > m.windowWidth - 20 * m.tppX) return false;
    if (!l.dragging) return true;
    l.splitV.width = x + 4 * m.tppX;
    l.nav.width = x;
    l.grid.width = x;
    l.splitH.width = x;
    l.result.left = x + 4 * m.tppX;
    l.result.width = atLeast0(m.windowWidth - l.result.left - 8 * m.tppX);
    return true;
}

bool splitHMove(PaneLayout& l, const Metrics& m, int y) {
    if (y > l.result.height - 11 * m.tppY || y < l.result.top - m.coolHeight + 3 * m.tppY) return false;
    if (!l.dragging) return true;
    l.nav.height = y;
    l.grid.top = l.nav.top + y + 4 * m.tppY;
    l.grid.height = atLeast0(l.result.height - l.nav.height - 6 * m.tppY);
    return true;
}

void applySplitV(PaneLayout& l, const Metrics& m, int x) {
    l.dragging = true;
    splitVMove(l, m, x);
    l.dragging = false;
}

void applySplitH(PaneLayout& l, const Metrics& m, int y) {
    l.dragging = true;
    splitHMove(l, m, y);
    l.dragging = false;
}

void toggleStatusBar(PaneLayout& l, const Metrics& m) {
    int delta = l.statusBar ? m.statusHeight : -m.statusHeight;
    l.statusBar = !l.statusBar;
    l.nav.height = atLeast0(l.nav.height + delta);
    l.result.height = atLeast0(l.result.height + delta);
    if (l.iconFormat) applySplitH(l, m, l.nav.height);
}

void toggleIconFormat(PaneLayout& l, const Metrics& m, const int* storedHSplitter) {
    if (l.iconFormat) {
        l.iconFormat = false;
        l.nav.height = atLeast0(l.result.height - 2 * m.tppY);
        return;
    }
    l.splitH.top = l.nav.top;
    l.splitH.height = l.result.height;
    int y = m.windowHeight / 2;
    if (storedHSplitter && *storedHSplitter <= l.result.height) y = *storedHSplitter;
    if (!storedHSplitter) l.nav.height = y;
    applySplitH(l, m, y);
    l.iconFormat = true;
}

int messagePanelWidth(const Metrics& m, int countWidth, int pageWidth, int typeWidth) {
    return atLeast0(m.windowWidth - countWidth - pageWidth - typeWidth - 10 * m.tppX);
}

} // namespace vm::mainwindow
