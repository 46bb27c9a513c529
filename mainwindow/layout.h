#pragma once
// Where the panes of the main window go, as arithmetic over twips. The form
// keeps one PaneLayout, changes it through these functions and moves its
// controls to it; nothing here touches a window.
//
// The two splitter bars lie under the panes they separate and reach from the
// start of the column to the splitter position, so the 4 px the panes leave
// uncovered are what the user grabs.

namespace vm::mainwindow {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct PaneLayout {
    Rect nav;    // pnlNav
    Rect grid;   // grdIcons (left and width follow nav)
    Rect result; // pnlResult; pnlDummy lies at the same place
    Rect splitV; // picSplitV
    Rect splitH; // picSplitH
    bool statusBar = true;   // View > Status Bar checked
    bool iconFormat = true;  // View > All Icon Formats checked
    bool dragging = false;   // SplitterDragging
};

// What the window and its fixed parts measure, in twips.
struct Metrics {
    int windowWidth = 0, windowHeight = 0; // outer size
    int statusHeight = 0;                  // pnlStatusbar
    int textHeightGg = 0;                  // TextHeight("Gg") in the window's font
    int coolTop = 0, coolHeight = 0;       // pnlCoolBar
    int tppX = 15, tppY = 15;
};

// The designed layout before anything is stored.
PaneLayout designedLayout(const Metrics& m);

void formResize(PaneLayout& l, const Metrics& m);
void arrangePanes(PaneLayout& l, const Metrics& m);
// The splitter moves; true when the position was inside the limits.
bool splitVMove(PaneLayout& l, const Metrics& m, int x);
bool splitHMove(PaneLayout& l, const Metrics& m, int y);
// Re-applies a position as a call from code does: dragging set around it.
void applySplitV(PaneLayout& l, const Metrics& m, int x);
void applySplitH(PaneLayout& l, const Metrics& m, int y);

void toggleStatusBar(PaneLayout& l, const Metrics& m);
// Hides the detail pane, or shows it at the stored height (missing: half the window).
void toggleIconFormat(PaneLayout& l, const Metrics& m, const int* storedHSplitter);

// The message panel's width beside the other three panels.
int messagePanelWidth(const Metrics& m, int countWidth, int pageWidth, int typeWidth);

} // namespace vm::mainwindow
