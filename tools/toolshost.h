#pragma once
// What the tools reach of the main window, filled in by the main window at
// load, so that this library never includes its header.
#include <functional>

#include "iconcanvas.h"

namespace vm {

struct ToolsHost {
    // The main window's surfaces procMask splits an icon into.
    std::function<IconCanvas()> canvas;
    // Lets the user pick a cursor's hotspot into Commands.CursorHotSpotX and
    // CursorHotSpotY, in pixels of the data set's icon size. Unset: the picker's
    // own starting point (16, 16) stands.
    std::function<void()> setHotSpot;
    // The selected row of the detail grid (from 1), 0 for none.
    std::function<int()> detailRow;
    // What the main window asks and keeps before the program ends (the icon-cache
    // question, settings, window positions and user files), and the program end
    // itself (that, then every window unloaded).
    std::function<void()> saveBeforeEnd;
    std::function<void()> endProgram;
};

extern ToolsHost toolsHost;

} // namespace vm
