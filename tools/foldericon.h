#pragma once
// Folder icons: a folder shows its own icon when it holds folder.ico and a
// desktop.ini naming it, and the folder carries the System attribute that
// makes Windows read desktop.ini.
#include <string>

#include "iconcanvas.h"

namespace vm {

// Tools > Change Any Folder Icon: asks for a folder and gives it the selected icon.
void procChangeFolderIcon();
// Tools > Set Any Folder Icon to Default: asks for a folder and takes away
// what the change wrote there.
void procDefaultFolderIcon();

// The steps of the commands on a chosen folder. Every failure is reported in a
// message box; true when the folder was changed.
// The icon procMask takes from the selection goes to folder.ico at size pixels.
bool changeFolderIcon(const std::string& folder, IconCanvas& canvas, int size);
// Removes the IconFile and IconIndex keys and the folder.ico they named;
// desktop.ini goes (and with it the folder's System attribute) only when
// nothing else is left in it.
bool resetFolderIcon(const std::string& folder);

} // namespace vm
