#pragma once
// Makes the shell rebuild its icon cache after Windows icons were changed.
namespace vm {

// The shell rebuilds the cache when its icon size changes, so the size goes
// one pixel up and back, with a settings broadcast (through the seam) after
// each write; the size is put back even when a step on the way fails. Clears
// runState.SystemIconsChanged. Failures are not reported.
void procRebuildIconCache();

} // namespace vm
