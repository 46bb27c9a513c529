#pragma once
// What the loaders of the Windows sources (shortcuts, file types, system icons,
// cursors) share: the icon of a file named by a Windows setting, and the
// expansion of the variables such settings begin with.
#include <windows.h>

#include <string>

#include "pageloaders.h"
#include "picture.h"

namespace vm {

// The last three characters, in any case, are "ani".
bool IsAnimatedName(const std::string& file);

// Icon EntryIconIndex of file at the data set's size, as every file's icon
// is drawn (a step of an animated file stays loaded for the entries after it);
// the no-icon picture when the file gives none, null for no file at all. The
// caller owns it.
HICON WindowsFileIcon(PageLoaderState& loader, int iconSize, const std::string& file);

// The icon as an item picture; null gives the no-icon picture.
Picture ItemPicture(HICON icon, int iconSize);

// A setting's leading %SystemRoot% (also written %%SystemRoot%%) becomes
// windowsDir and %SystemDrive% its drive, case ignored; any other text,
// other variables included, comes back as it is.
std::string ExpandLeadingVariable(const std::string& text, const std::string& windowsDir);

} // namespace vm
