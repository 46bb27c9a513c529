#pragma once
// The shared flags and values of the icon commands and viewers.
#include <cstdint>

namespace vm {

struct CommandModes {
    bool DetailPaneActive = false; // the detail grid, not the result list, holds the selection
    bool ZoomWindowOpen = false;   // the zoom window is loaded
    bool HotSpotMode = false;      // the zoom window picks a cursor's hotspot
    bool ChangeApplying = false;   // the change window applies its new icon
    std::int16_t ZoomFactor = 4;   // 2, 3, 4, 5 or 10
    std::int16_t SaveBitDepth = 24;
    std::int16_t CursorHotSpotX = 16, CursorHotSpotY = 16;
};

extern CommandModes Commands;

} // namespace vm
