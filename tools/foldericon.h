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
// message box, naming the file and the reason; true when the folder was changed.
// The icon procMask takes from the selection goes to folder.ico at size pixels;
// a folder.ico of the user's own is replaced only when the user agrees, and is
// kept beside it. Every file is checked before the first write, and on any
// failure the folder is left exactly as it was.
bool changeFolderIcon(const std::string& folder, IconCanvas& canvas, int size);
// Puts back what the program's first change found in the folder (desktop.ini's
// two keys, folder.ico, the attributes), as the record in desktop.ini says;
// every other line stays as it stands. Without a record only the values of
// the two keys are blanked.
bool resetFolderIcon(const std::string& folder);

} // namespace vm
