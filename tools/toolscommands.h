#pragma once
// The small commands of the main window's Tools menu.
namespace vm {

// Tools > Brallix: the create-icon window, made on first use, shown modeless
// without an owner and brought to the front when it is already open.
void procShowCreateIcon();

// Tools > Restart Windows: the right to shut Windows down is taken, the
// user's settings and files are kept, Windows is asked to restart through the
// seam, and then the program ends (windows unloaded). When the right or the
// request is refused, a message says why in words and the program stays open:
// false.
bool procRestartWindows();

} // namespace vm
