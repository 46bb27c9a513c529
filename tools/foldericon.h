#pragma once
// Folder icons: a folder shows its own icon when it holds folder.ico and a
// desktop.ini naming it, and the folder carries the System attribute that
// makes Windows read desktop.ini.
#include <string>

#include "iconcanvas.h"

namespace vm {

// Tools > Change Any Folder Icon: asks for a folder and gives it the selected icon.
void procChangeFolderIcon();
// Tools > Set Any Folder Icon to Default: asks for a folder and blanks its icon.
void procDefaultFolderIcon();

// The steps of the commands on a chosen folder. Every failure is reported in a
// message box; true when the folder was changed.
// The icon procMask takes from the selection goes to folder.ico at size pixels;
// a folder.ico already there is replaced only when the user agrees. When the
// icon cannot be written, nothing of the folder changes.
bool changeFolderIcon(const std::string& folder, IconCanvas& canvas, int size);
// Blanks the IconFile and IconIndex keys of desktop.ini (they stay, empty) and
// sets the folder to normal; every file and its attributes stay as they are.
bool resetFolderIcon(const std::string& folder);

} // namespace vm
