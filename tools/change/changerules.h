#pragma once
// The texts the change window works from: the target's title, the rows of the
// main window's change list that locate a system icon or a file type, the
// shortcut file of a shortcut item, and the numbered files a change writes
// into the program's changed-icon folder.
#include <optional>
#include <string>
#include <vector>

namespace vm::change {

// "Recycle Bin #2" gives "Recycle Bin": the text before the blank ahead of
// the first "#"; a text without "#" is its own title.
std::string changeTitle(const std::string& text);

// ".txt:" for a file-type entry whose name field ends in "(*.txt)"; empty when
// the entry holds no "*." followed by a ";".
std::string fileTypeKey(const std::string& entry);

// The first row whose first field equals text, without regard to case.
std::optional<std::string> findSystemIconRow(const std::vector<std::string>& rows, const std::string& text);
// The first row that begins with key, without regard to case.
std::optional<std::string> findFileTypeRow(const std::vector<std::string>& rows, const std::string& key);

std::string shortcutPath(const std::string& windowsDir, const std::string& folder, const std::string& name);

// An icon location "file,index"; a missing or unreadable index is 0.
struct IconLocation {
    std::string file;
    int index = 0;
};
IconLocation splitIconLocation(const std::string& text);

// "<extension>:<class>;<icon file>,<index>;..." split into its parts.
struct FileTypeRow {
    std::string fileClass;
    std::string iconLocation; // as the row holds it
    IconLocation icon;
};
std::optional<FileTypeRow> parseFileTypeRow(const std::string& row);

// The lowest free name folder\<n><extension> for n from 1 to 5000; empty when
// every number is taken.
std::string freeChangedIconName(const std::string& folder, const std::string& extension);

// The value of the program's own, beside a system icon's value, that keeps what
// the first change replaced: "VmDefault" for the key's default value,
// "VmDefault" & name for a named one ("VmDefaultEmpty").
std::string keptValueName(const std::string& valueName);

// The program's record of what changes of one registry value replaced, for a
// location "<root name>\<key>[,<value name>]": a key of its own under the
// settings, named after the location.
std::string changeBackupKey(const std::string& location);

} // namespace vm::change
