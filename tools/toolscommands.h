#pragma once
// The small commands of the main window's Tools menu.
namespace vm {

// Tools > Brallix: the create-icon window, made on first use, shown modeless
// without an owner and brought to the front when it is already open.
void procShowCreateIcon();

// Tools > Restart Windows: the program ends (settings saved, windows
// unloaded), then Windows is asked to restart through the seam. A refused
// request shows its error number.
void procRestartWindows();

} // namespace vm
