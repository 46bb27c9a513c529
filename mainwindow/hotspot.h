#pragma once
// The step every cursor writer takes first: the user picks the cursor's
// hotspot in the zoom window, which leaves it in Commands.CursorHotSpotX and
// Commands.CursorHotSpotY.
namespace vm {

// Explains once (until the user silences it with "NoCursorChange") why the
// hotspot must be picked again, then shows the zoom window modally as the
// hotspot picker. HotSpotMode is set for exactly that time.
void procSetHotSpot();

} // namespace vm
