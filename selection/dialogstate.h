#pragma once
// Settings the dialogs own and the main window reads.
#include <string>

namespace vm {

// What a double-click on a result item does (written by the options dialog).
struct DoubleClickSettings {
    std::string DCAction = "None";
    bool DCPlay = false, DCRef = false, DCRun = false, DCChange = false;
    short DCZoom = 4;
    bool SearchFav = false; // keyword searches also match favourite file names
};

extern DoubleClickSettings DoubleClick;

} // namespace vm
