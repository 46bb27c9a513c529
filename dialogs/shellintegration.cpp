#include "shellintegration.h"

#include <windows.h>

#include "cshelllink.h"
#include "registry.h"

namespace vm {

const AssociationRow kAssociations[5] = {
    {"AsoANI", ".ani", "anifile", "Animated Cursor"},
    {"AsoCUR", ".cur", "curfile", "Cursor File"},
    {"AsoDLL", ".dll", "dllfile", ""},
    {"AsoICL", ".icl", "iclfile", "Icon Library"},
    {"AsoICO", ".ico", "icofile", "Icon File"},
};

namespace {

// A key's value as it stands: whether it exists, and its text.
struct Stored {
    bool present = false;
    std::string text;
};

Stored readValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY h = nullptr;
    Stored s;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return s;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(h, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::string text(size, '\0');
        if (RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) ==
            ERROR_SUCCESS) {
            text.resize(size);
            while (!text.empty() && text.back() == '\0') text.pop_back();
            s = {true, text};
        }
    }
    RegCloseKey(h);
    return s;
}

void writeText(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    procRegCreateKey(key, root);
    procRegSetValue(key, name, Variant(text), REG_SZ);
}

void deleteValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return;
    RegDeleteValueA(h, name.c_str());
    RegCloseKey(h);
}

void restore(HKEY root, const std::string& key, const std::string& name, const Stored& before) {
    if (before.present) writeText(root, key, name, before.text);
    else deleteValue(root, key, name);
}

// The backup keeps "1" and the text for a value that was there, "0" for one that was not.
void keep(const std::string& backupKey, const char* slot, const Stored& s) {
    writeText(HKEY_CURRENT_USER, backupKey, slot, s.present ? "1" + s.text : "0");
}

Stored kept(const std::string& backupKey, const char* slot) {
    Stored b = readValue(HKEY_CURRENT_USER, backupKey, slot);
    if (!b.present || b.text.empty() || b.text[0] != '1') return {};
    return {true, b.text.substr(1)};
}

} // namespace

std::string AssociationCommand(const std::string& dataPath) {
    return "\"" + dataPath + "Vellumar.exe\" \"%1\"";
}

void procSetAso(bool checked, const AssociationRow& row, const std::string& dataPath) {
    const std::string ext = row.extension, cls = row.fileClass;
    const std::string backupKey = std::string(kAsoBackupKey) + "\\" + ext;
    const bool associated = readValue(HKEY_CURRENT_USER, backupKey, "Associated").text == "1";
    const std::string iconKey = cls + "\\DefaultIcon", shellKey = cls + "\\Shell";
    const std::string verbKey = shellKey + "\\" + kProgramVerb;

    if (checked) {
        if (!associated) {
            keep(backupKey, "Extension", readValue(HKEY_CLASSES_ROOT, ext, ""));
            keep(backupKey, "DefaultIcon", readValue(HKEY_CLASSES_ROOT, iconKey, ""));
            keep(backupKey, "Verb", readValue(HKEY_CLASSES_ROOT, shellKey, ""));
            writeText(HKEY_CURRENT_USER, backupKey, "Associated", "1");
        }
        writeText(HKEY_CLASSES_ROOT, ext, "", cls);
        if (*row.typeName && readValue(HKEY_CLASSES_ROOT, cls, "").text.empty())
            writeText(HKEY_CLASSES_ROOT, cls, "", row.typeName);
        procRegCreateKey(cls, HKEY_CLASSES_ROOT);
        procRegSetValue(cls, "EditFlags", Variant(0), REG_DWORD);
        const bool showsItself = ext == ".ico" || ext == ".cur" || ext == ".ani";
        writeText(HKEY_CLASSES_ROOT, iconKey, "", showsItself ? "%1" : dataPath + "vellumar.exe,0");
        writeText(HKEY_CLASSES_ROOT, shellKey, "", kProgramVerb);
        writeText(HKEY_CLASSES_ROOT, verbKey, "", "Open with &Vellumar");
        writeText(HKEY_CLASSES_ROOT, verbKey + "\\command", "", AssociationCommand(dataPath));
        return;
    }
    if (!associated) return; // nothing of the program's is there to take away
    procRegDeleteKey(HKEY_CLASSES_ROOT, verbKey + "\\command");
    procRegDeleteKey(HKEY_CLASSES_ROOT, verbKey);
    restore(HKEY_CLASSES_ROOT, shellKey, "", kept(backupKey, "Verb"));
    restore(HKEY_CLASSES_ROOT, iconKey, "", kept(backupKey, "DefaultIcon"));
    restore(HKEY_CLASSES_ROOT, ext, "", kept(backupKey, "Extension"));
    RegDeleteKeyA(HKEY_CURRENT_USER, backupKey.c_str());
}

bool WriteShellShortcut(const std::string& linkFile, const std::string& target, const std::string& workingFolder) {
    ShellLinkInfo info;
    info.target = target;
    info.workingFolder = workingFolder;
    info.iconFile = target;
    info.iconIndex = 0;
    info.showCommand = SW_SHOWNORMAL;
    cShellLink link;
    return SUCCEEDED(link.Write(linkFile, info));
}

bool procSaveProgramShortcut(const ShortcutWriter& write, const std::string& linkFile, const std::string& dataPath) {
    return write && write(linkFile, dataPath + "Vellumar.exe", dataPath);
}

} // namespace vm
