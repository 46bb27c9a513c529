#pragma once
// Makes the shell rebuild its icon cache after Windows icons were changed.
namespace vm {

// The shell rebuilds the cache when its icon size changes, so the size goes
// one pixel up and back, with a settings broadcast after each write. Clears
// runState.SystemIconsChanged. Failures are not reported.
void procRebuildIconCache();

} // namespace vm
