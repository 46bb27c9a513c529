#pragma once
// The help file Vellumar.chm in the program folder, opened by F1 and the Help
// buttons and menus at the page of the window the user is in.
#include <windows.h>

namespace vm {

// The context numbers the help file maps to its pages, one per window (one
// per tab of the information window).
enum class HelpContext : DWORD_PTR {
    Start = 0,          // the start page; also the information window's Version tab
    InfoDisclaimer = 1, // information window, tabs 2 to 4
    InfoResources = 2,
    InfoContact = 3,
    AddReference = 4,
    Player = 5,
    Change = 6,
    CreateIcon = 7,
    Keywords = 8,
    Properties = 9,
    Scan = 11,
    Zoom = 12,
    MainWindow = 13,    // the main window, its tree and its keyword box
    ResultList = 14,
};

// The information window's tabs count from 1; tab i has the context i - 1.
HelpContext InfoTabHelpContext(int tab);

// Opens the help at the page of the context, owned by the window. When the
// help cannot be shown (no help file, or no HTML Help to show it with) a
// message says so and names the file.
void procShowHelp(HWND owner, HelpContext context);

} // namespace vm
