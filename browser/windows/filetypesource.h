#pragma once
// File-type icons: the icon Windows shows for each registered file type, and
// one row per listed type in lstChange for the change window:
// "<extension>:<class>;<type name>;<icon location>;<open command>".
#include <windows.h>

#include <string>

#include "browserstate.h"
#include "hiddenlist.h"
#include "pageloaders.h"

namespace vm {

struct FileTypeContext {
    HiddenList& cmbResult;
    HiddenList& lstChange;
    std::string windowsDir; // what %SystemRoot% stands for
};

// Icon file and index of an icon location "<file>[,<index>]": one pair of
// enclosing double quotes comes off the file; no "," gives index "0".
void SplitIconLocation(const std::string& location, std::string& file, std::string& index);

// Appends an entry for every extension key under root\key whose class names
// a default icon (neither empty nor "%1"), and its row to lstChange. The
// classes are read beside the extensions (HKEY_CLASSES_ROOT for the tree's
// node). Keys are opened for reading only.
void procSearchFileTypes(FileTypeContext& ctx, HKEY root, const std::string& key);

// Page loader of "syas": the type's label, "File" as origin, and the icon the
// location names; a file not found as given is looked for in the Windows folder.
void procGetFileTypeItem(PageLoadContext& ctx, const std::string& entry);

} // namespace vm
