#pragma once
// The program in the shell: the file types it opens (under HKEY_CLASSES_ROOT)
// and its shortcut file for the Send To menu and the desktop.
//
// An association adds the program's own verb to the type's class, makes it the
// class's default action and, for the icon files, lets each file show itself
// as its icon. Every value and key it changes under HKEY_CLASSES_ROOT is kept
// first under the program's settings key (kAsoBackupKey\<extension>), so taking
// the association away puts back exactly what was there, with its type, and
// removes the values and keys the program created.
#include <functional>
#include <string>

#include "registrybackup.h"

namespace vm {

inline constexpr const char* kAsoBackupKey = "Software\\Vellumar\\Settings\\Associations";
inline constexpr const char* kProgramVerb = "Vellumar";
inline constexpr const char* kShortcutName = "Vellumar.lnk";

struct AssociationRow {
    const char* setting;   // "AsoANI" ...
    const char* extension; // ".ani" ...
    const char* fileClass; // "anifile" ...
    const char* typeName;  // the class's name when it has none; "" for none
};
// In the order the options window applies them: ANI, CUR, DLL, ICL, ICO.
extern const AssociationRow kAssociations[5];

// The command the verb runs: the program and the file, both quoted.
std::string AssociationCommand(const std::string& dataPath);

// The record of what associating the type changed; it holds changes while
// the association is (even partly) in force.
RegistryBackup AssociationBackup(const AssociationRow& row);

// Associates (checked) or gives back (not checked) one file type.
void procSetAso(bool checked, const AssociationRow& row, const std::string& dataPath);

// Writes linkFile as a shortcut to the program: target and icon dataPath &
// "Vellumar.exe", working folder dataPath, a normal window. False on failure.
using ShortcutWriter = std::function<bool(const std::string& linkFile, const std::string& target,
                                          const std::string& workingFolder)>;
bool procSaveProgramShortcut(const ShortcutWriter& write, const std::string& linkFile, const std::string& dataPath);
// The writer of real shortcut files, through the shell's own link object.
bool WriteShellShortcut(const std::string& linkFile, const std::string& target, const std::string& workingFolder);

} // namespace vm
