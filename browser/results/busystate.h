#pragma once
// The busy state of the main window while a listing or a page fill runs: only
// the abort button (and Esc) act; and the idle state it returns to.
#include "browserwindow.h"

namespace vm {

struct BusyOptions {
    int iconSize = 32;             // the favourites' commands take part only in the 32 x 32 data set
    bool browserAvailable = false; // whether "changefolder" takes part
};

// enable = false: busy; true: idle. The screen pointer becomes the arrow with
// hourglass either way; the caller puts the default pointer back when its work ends.
void procSetAbort(BrowserWindow& w, const BusyOptions& options, bool enable);

// The test whether the program is idle: the File menu is enabled.
bool IsIdle(const BrowserWindow& w);

} // namespace vm
