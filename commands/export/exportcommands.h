#pragma once
// The export commands of the main window.
#include "exportwindow.h"

namespace vm {

// File > Save As (also the toolbar's save button, both context menus,
// Favorites > Add and a drop on a favourites node, and Edit With): settles the
// file name (dialog, forced extension, favourite name checks) and runs the
// writer its extension names.
void mnuFileSaveAs_Click(ExportWindow& w);

// Edit > Copy: the selected icon (or each selected detail image; the last
// stays) over its background onto the clipboard as a bitmap. Nothing without
// a selected icon.
void mnuEditCopy_Click(ExportWindow& w);

// The detail grid's Save All Formats As: every image of FileIcons(1) into one ICO file.
void mnuDetailClickSaveAllAs_Click(ExportWindow& w);

} // namespace vm
