#include "shellintegration.h"

#include <windows.h>

#include "cshelllink.h"
#include "registrybackup.h"
#include "writekill.h"

namespace vm {

const AssociationRow kAssociations[5] = {
    {"AsoANI", ".ani", "anifile", "Animated Cursor"},
    {"AsoCUR", ".cur", "curfile", "Cursor File"},
    {"AsoDLL", ".dll", "dllfile", ""},
    {"AsoICL", ".icl", "iclfile", "Icon Library"},
    {"AsoICO", ".ico", "icofile", "Icon File"},
};

std::string AssociationCommand(const std::string& dataPath) {
    return "\"" + dataPath + "Vellumar.exe\" \"%1\"";
}

RegistryBackup AssociationBackup(const AssociationRow& row) {
    return RegistryBackup(HKEY_CLASSES_ROOT, std::string(kAsoBackupKey) + "\\" + row.extension,
                          {row.extension, row.fileClass});
}

void procSetAso(bool checked, const AssociationRow& row, const std::string& dataPath) {
    const std::string ext = row.extension, cls = row.fileClass;
    RegistryBackup backup = AssociationBackup(row);
    if (!checked) {
        backup.restore();
        return;
    }
    const std::string iconKey = cls + "\\DefaultIcon", shellKey = cls + "\\Shell";
    const std::string verbKey = shellKey + "\\" + kProgramVerb;
    backup.setText(ext, "", cls);
    const RawValue typeName = ReadRawValue(HKEY_CLASSES_ROOT, cls, "");
    if (*row.typeName && (!typeName.present || typeName.data.size() <= 1)) backup.setText(cls, "", row.typeName);
    backup.setNumber(cls, "EditFlags", 0);
    const bool showsItself = ext == ".ico" || ext == ".cur" || ext == ".ani";
    backup.setText(iconKey, "", showsItself ? "%1" : dataPath + "vellumar.exe,0");
    backup.setText(shellKey, "", kProgramVerb);
    backup.setText(verbKey, "", "Open with &Vellumar");
    backup.setText(verbKey + "\\command", "", AssociationCommand(dataPath));
}

bool WriteShellShortcut(const std::string& linkFile, const std::string& target, const std::string& workingFolder) {
    ShellLinkInfo info;
    info.target = target;
    info.workingFolder = workingFolder;
    info.iconFile = target;
    info.iconIndex = 0;
    info.showCommand = SW_SHOWNORMAL;
    cShellLink link;
    const bool written = SUCCEEDED(link.Write(linkFile, info));
    AfterOwnedWrite();
    return written;
}

bool procSaveProgramShortcut(const ShortcutWriter& write, const std::string& linkFile, const std::string& dataPath) {
    return write && write(linkFile, dataPath + "Vellumar.exe", dataPath);
}

} // namespace vm
