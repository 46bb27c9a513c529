#pragma once
// The commands that hand the selected result item to something outside the
// icon view: Extract from ZIP, Run (a shortcut's program or an archive), Edit
// With (the user's icon editor) and Properties. Each reads the selected item
// of Viewers.items->pnlResult: its Tag (the ResultEntry), text and columns.
#include <string>

namespace vm {

class MenuItem;

// The folder picker's prompt of Extract from ZIP.
inline constexpr const char* kExtractPrompt =
    "Select a valid Folder to Unzip to. Do not select system objects like Printers, Control Panel etc.";

// File > Extract from ZIP: the member of the selected "azip" entry into a folder the user picks.
void mnuFileExtract_Click();
// File > Run: by mnuFileRun's caption, opens the archive or starts the shortcut's target.
void mnuFileRun_Click(MenuItem& mnuFileRun);
// File > Edit With: the selected icon into TempPath & "VMTemp.ico", then the editor on it.
void mnuFileEditWith_Click();
// File > Properties: the properties window or the file's property sheet, by origin.
void mnuFileProperties_Click();

// A path joined to a folder with exactly one "\" between them.
std::string joinPath(const std::string& folder, const std::string& name);
// A command-line argument in quotes (a program or file path may hold blanks).
std::string quoted(const std::string& path);

} // namespace vm
