#pragma once
// The Windows sources (shortcuts, file types, system icons, cursors) on the
// main window's own lists, status bar and keyword box: what the navigation
// tree's nodes call.
#include <windows.h>

#include <cstdint>
#include <string>

#include "hiddenlist.h"

namespace vm {

class FrmMain;

// Hands the sources below to the navigation tree's nodes.
void ConnectWindowsSources(FrmMain& w);

// A new list of the scope's shortcuts, page 1 shown.
void procSearchShortcuts(FrmMain& w, const std::string& scope);

// These append to the program's entry list; the caller shows the page.
// lstChange receives one row per listed type.
void procSearchFileTypes(HiddenList& lstChange, HKEY root, const std::string& key);
// One entry per row of lstChange.
void procSearchSystemIcons(HiddenList& lstChange);
void procGetCurrentCursor(std::int32_t ocrId, const std::string& roleName);
void procGetCurrentThemeCursor(const std::string& file, const std::string& schemeName, int position);

} // namespace vm
