// The change engines of the change window. Each writes the "New" icon as a
// numbered file in the changed-icon folder and points Windows at it, or
// restores the Windows default; an earlier changed file goes only after the
// new one was written and pointed at.
#include <windows.h>

#include "browserstate.h"
#include "changerules.h"
#include "commandstate.h"
#include "files.h"
#include "frmchange.h"

#include <optional>
#include "frmmessage.h"
#include "iconcache.h"
#include "orvexbind.h"
#include "registry.h"
#include "seam.h"
#include "state.h"

namespace vm {

namespace {

std::string iconFolder() { return paths.WindowsDir + "\\Icons\\"; }

std::string regText(HKEY root, const std::string& key, const std::string& name) {
    procRegGetValue(root, key, name);
    return reg.RegValue.toText();
}

// One REG_SZ value; true when Windows took it.
bool writeText(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    procRegCreateKey(key, root);
    procRegSetValue(key, name, Variant(value), REG_SZ);
    return reg.RegResult == ERROR_SUCCESS && regText(root, key, name) == value;
}

std::optional<HKEY> rootByName(const std::string& name) {
    if (name == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
    if (name == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (name == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
    if (name == "HKEY_USERS") return HKEY_USERS;
    return std::nullopt;
}

std::string recycleBinKey() {
    const std::string& os = identity.OSCode;
    if (os == "98" || os == "ME")
        return ".DEFAULT\\Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon";
    return "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon";
}

} // namespace

std::string FrmChange::writeNewIcon(const std::string& caption) {
    const std::string folder = iconFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = change::freeChangedIconName(folder, ".ico");
    if (file.empty()) {
        MsgBox("The folder " + folder + " has no free name for a new icon. Nothing was changed.", vbExclamation,
               caption);
        return {};
    }
    IconCanvas canvas = changeHost.canvas ? changeHost.canvas() : IconCanvas{};
    const Picture shown = picIcon.GetPicture();
    Masks.changePicture = [shown] { return shown; };
    Masks.MaskFromChange = true;
    const auto size = static_cast<std::int16_t>(Keywords.IconSize);
    bool written = false;
    if (!shown.empty() && canvas.pctColor && canvas.pctMask) {
        procMask(canvas, size, size);
        written = orvexbind::SaveAsIcon(canvas.pctColor->hDC(), canvas.pctMask->hDC(), size, size, 24, file.c_str());
    }
    Masks.MaskFromChange = false;
    if (!written || GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(file.c_str());
        MsgBox("The icon could not be written to " + file + ". Nothing was changed.", vbExclamation, caption);
        return {};
    }
    return file;
}

void FrmChange::restartNotice(const char* setting, const std::string& text) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, setting);
    const auto suppressed = reg.RegValue.toLong();
    if (suppressed && *suppressed != 0) {
        shell::MessageResult = false;
        return;
    }
    shell::procShowMessage(text, setting, Caption(), "Restart Windows Now!");
    if (shell::MessageResult && changeHost.restartWindows) changeHost.restartWindows();
}

void FrmChange::procApplyFileType() {
    const std::string caption = Caption();
    const auto row = change::parseFileTypeRow(picImport.Tag);
    if (!row) {
        MsgBox("Choose the file type to change in the main window first.", vbExclamation, caption);
        return;
    }
    FileClass = row->fileClass;
    const std::string backup = FileClass + "\\VmDefault", defaultIcon = FileClass + "\\DefaultIcon";
    // The location from before the first change is kept once, for every restore.
    if (regText(HKEY_CLASSES_ROOT, backup, "").empty()) writeText(HKEY_CLASSES_ROOT, backup, "", row->iconLocation);

    if (!ShowingDefault) {
        const std::string file = writeNewIcon(caption);
        if (file.empty()) return;
        if (!writeText(HKEY_CLASSES_ROOT, defaultIcon, "", file + ",0")) {
            DeleteFileA(file.c_str());
            MsgBox("The icon of " + FileClass + " could not be set in the registry. Nothing was changed.",
                   vbExclamation, caption);
            return;
        }
    } else {
        const std::string saved = regText(HKEY_CLASSES_ROOT, backup, "");
        if (!saved.empty() && !writeText(HKEY_CLASSES_ROOT, defaultIcon, "", saved)) {
            MsgBox("The icon of " + FileClass + " could not be set in the registry. Nothing was changed.",
                   vbExclamation, caption);
            return;
        }
    }
    // The registry points elsewhere now: the earlier changed file may go.
    procDeleteChangedIconFile(row->icon.file);
    picImport.SetPicture(picIcon.GetPicture());
    restartNotice("SysFileTypeRestart", "You may need to Restart Windows before File Type changes take effect.");
}

void FrmChange::procApplySystemIcon() {
    const std::string caption = Caption();
    const std::string& row = picImport.Tag;
    const auto first = row.find(';');
    const auto second = first == std::string::npos ? std::string::npos : row.find(';', first + 1);
    if (second == std::string::npos) {
        MsgBox("Choose the system icon to change in the main window first.", vbExclamation, caption);
        return;
    }
    const std::string defaultLocation = row.substr(first + 1, second - first - 1);
    const std::string location = row.substr(second + 1);
    const auto slash = location.find('\\');
    const auto root = rootByName(location.substr(0, slash));
    if (!root || slash == std::string::npos) {
        setStatus("Unknown registry root: " + location.substr(0, slash));
        return;
    }
    std::string keyPath = location.substr(slash + 1), valueName;
    if (const auto comma = keyPath.find(','); comma != std::string::npos) {
        valueName = keyPath.substr(comma + 1);
        keyPath.resize(comma);
    }
    if (regText(*root, keyPath, valueName).empty()) {
        MsgBox("Windows holds no icon value for this system icon, so it cannot be changed. Nothing was written.",
               vbExclamation, caption);
        return;
    }
    std::string& entry = picIconBack.Tag;
    const std::string oldFile = entry.substr(0, entry.find(';'));
    const bool recycle = keyPath == recycleBinKey() && valueName == "Empty";

    if (!ShowingDefault) {
        const std::string file = writeNewIcon(caption);
        if (file.empty()) return;
        if (!writeText(*root, keyPath, valueName, file + ",0")) {
            DeleteFileA(file.c_str());
            MsgBox("The system icon could not be set in the registry. Nothing was changed.", vbExclamation, caption);
            return;
        }
        if (recycle && !regText(*root, keyPath, "").empty()) writeText(*root, keyPath, "", file + ",0");
        const auto semi = entry.find(';');
        entry = file + (semi == std::string::npos ? std::string() : entry.substr(semi));
        procDeleteChangedIconFile(oldFile);
        picImport.SetPicture(picIcon.GetPicture());
    } else {
        if (!writeText(*root, keyPath, valueName, defaultLocation)) {
            MsgBox("The system icon could not be set in the registry. Nothing was changed.", vbExclamation, caption);
            return;
        }
        if (recycle && !regText(*root, keyPath, "").empty()) writeText(*root, keyPath, "", defaultLocation);
        procDeleteChangedIconFile(oldFile);
        picImport.SetPicture(picIcon.GetPicture());
    }
    runState.SystemIconsChanged = true;

    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "SysCache");
    const auto suppressed = reg.RegValue.toLong();
    if (suppressed && *suppressed != 0) {
        shell::MessageResult = false;
        return;
    }
    shell::procShowMessage("You need to Rebuild the Windows Icon Cache before these changes take effect. Restarting "
                           "Windows will not rebuild the Icon Cache. You can always rebuild the Icon Cache later by "
                           "selecting Tools, Rebuild Icon Cache from the main Vellumar menu.",
                           "SysCache", caption, "Rebuild Icon Cache Now!");
    if (shell::MessageResult) procRebuildIconCache();
}

void FrmChange::procApplyShortcut() {
    MsgBox("Changing a shortcut's icon is not available yet. Nothing was changed.", vbInformation, Caption());
}

void FrmChange::procApplyCursor() {
    MsgBox("Changing a cursor is not available yet. Nothing was changed.", vbInformation, Caption());
}

} // namespace vm
