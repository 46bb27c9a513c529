#pragma once
// What the change window reaches of the main window, filled in by the main
// window at load, so that this library never includes its header.
#include <functional>
#include <string>
#include <vector>

#include "iconcanvas.h"
#include "picture.h"

namespace vm {

// The result item a change starts from, read by the main window.
struct ChangeItem {
    std::string text;     // the item's text
    std::string entry;    // its ResultEntry (Tag)
    std::string typeText; // SubItems(1)
    std::string folder;   // SubItems(2)
    Picture icon;         // its icon from the 32-pixel result image list
};

struct ChangeHost {
    // The rows of the main window's hidden change list, in list order.
    std::function<std::vector<std::string>()> changeRows;
    // The result list's selected item; false when none is selected.
    std::function<bool(ChangeItem&)> selectedItem;
    // The picture shown for an icon that cannot be shown.
    std::function<Picture()> noIcon;
    // The surfaces procMask splits the new icon into.
    std::function<IconCanvas()> canvas;
    // Remembers the navigation tree's selected node; the result lists that
    // node's group again when called (empty: no node was selected).
    std::function<std::function<void()>()> rememberGroup;
    // The look-alike search for a title.
    std::function<void(const std::string& title)> searchLookAlikes;
    // Lets the user pick a cursor's hotspot into Commands.CursorHotSpotX and
    // CursorHotSpotY; unset, the earlier hotspot stands.
    std::function<void()> setHotSpot;
    // The frames of the animation an entry belongs to, from its first frame on.
    std::function<std::vector<Picture>(const std::string& entry)> collectFrames;
    // Restarts Windows and ends the program; false when Windows refused (the program goes on).
    std::function<bool()> restartWindows;
};

extern ChangeHost changeHost;

} // namespace vm
