// The change engines of the change window. Each writes the "New" icon as a
// numbered file in the changed-icon folder and points Windows at it, or
// restores the Windows default; an earlier changed file goes only after the
// new one was written and pointed at.
#include <windows.h>

#include "browserstate.h"
#include "changerules.h"
#include "commandstate.h"
#include "cursorsource.h"
#include "files.h"
#include "frmchange.h"

#include <optional>
#include "frmmessage.h"
#include "orvexbind.h"
#include "registry.h"
#include "registrybackup.h"
#include "seam.h"
#include "state.h"
#include "systempaths.h"

namespace vm {

namespace {

std::string iconFolder() { return paths.WindowsDir + "\\Icons\\"; }

std::string regText(HKEY root, const std::string& key, const std::string& name) {
    procRegGetValue(root, key, name);
    return reg.RegValue.toText();
}

// One REG_SZ value; true when Windows took it.
bool writeText(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    RawValue text{true, REG_SZ, std::vector<BYTE>(value.begin(), value.end())};
    text.data.push_back(0);
    return WriteRawValue(root, key, name, text) && regText(root, key, name) == value;
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

bool FrmChange::writeShownIcon(const std::string& file) {
    IconCanvas canvas = changeHost.canvas ? changeHost.canvas() : IconCanvas{};
    if (picIcon.GetPicture().empty() || !canvas.pctColor || !canvas.pctMask) return false;
    Masks.MaskFromChange = true;
    const auto size = static_cast<std::int16_t>(Keywords.IconSize);
    procMask(canvas, size, size);
    const bool written =
        orvexbind::SaveAsIcon(canvas.pctColor->hDC(), canvas.pctMask->hDC(), size, size, 24, file.c_str()) == -1;
    Masks.MaskFromChange = false;
    return written && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FrmChange::writeNewIcon(const std::string& caption) {
    const std::string folder = iconFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = change::freeChangedIconName(folder, ".ico");
    if (file.empty()) {
        MsgBox("The folder " + folder + " has no free name for a new icon. Nothing was changed.", vbExclamation,
               caption);
        return {};
    }
    if (!writeShownIcon(file)) {
        DeleteFileA(file.c_str());
        MsgBox("The icon could not be written to " + file + ". Nothing was changed.", vbExclamation, caption);
        return {};
    }
    return file;
}

void FrmChange::restartNotice(const char* setting, const std::string& text) {
    if (shell::procMessageSilenced(setting)) {
        shell::MessageResult = false;
        return;
    }
    shell::procShowMessage(text, setting, Caption(), "Restart Windows Now!");
    if (!shell::MessageResult) return;
    // A refused restart leaves the program, and this window, as they were.
    Restarting = !changeHost.restartWindows || changeHost.restartWindows();
}

void FrmChange::procApplyFileType() {
    const std::string caption = Caption();
    const auto row = change::parseFileTypeRow(picImport.Tag);
    if (!row) {
        MsgBox("Choose the file type to change in the main window first.", vbExclamation, caption);
        return;
    }
    FileClass = row->fileClass;
    const std::string defaultIcon = FileClass + "\\DefaultIcon";
    // The icon in force: the class's own value, or the row's copy of it.
    std::string current = regText(HKEY_CLASSES_ROOT, defaultIcon, "");
    if (current.empty()) current = row->iconLocation;
    // The first change keeps the value as it was, type and all, for the restore.
    RegistryBackup backup(HKEY_CLASSES_ROOT, change::changeBackupKey("HKEY_CLASSES_ROOT\\" + defaultIcon));

    if (!ShowingDefault) {
        const std::string file = writeNewIcon(caption);
        if (file.empty()) return;
        if (!backup.setText(defaultIcon, "", file + ",0")) {
            DeleteFileA(file.c_str());
            MsgBox("The icon of " + FileClass + " could not be set in the registry. Nothing was changed.",
                   vbExclamation, caption);
            return;
        }
    } else {
        // A copy an earlier version of the program kept in the class itself.
        const std::string legacy = regText(HKEY_CLASSES_ROOT, FileClass + "\\VmDefault", "");
        const bool restored = backup.holdsChanges() ? backup.restore()
                                                    : legacy.empty() || writeText(HKEY_CLASSES_ROOT, defaultIcon, "", legacy);
        if (!restored) {
            MsgBox("The icon of " + FileClass + " could not be set in the registry. Nothing was changed.",
                   vbExclamation, caption);
            return;
        }
    }
    // The registry points elsewhere now: the earlier changed file may go.
    procDeleteChangedIconFile(change::splitIconLocation(current).file);
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
    std::string& entry = picIconBack.Tag;
    const std::string oldFile = entry.substr(0, entry.find(';'));
    const bool recycle = keyPath == recycleBinKey() && valueName == "Empty";

    // The value a change replaces, and the Recycle Bin's default value beside
    // it, are kept by the first change (or that they were missing), for the restore.
    std::vector<std::string> changed{valueName};
    if (recycle && !regText(*root, keyPath, "").empty()) changed.push_back("");
    RegistryBackup backup(*root, change::changeBackupKey(location));

    if (!ShowingDefault) {
        const std::string file = writeNewIcon(caption);
        if (file.empty()) return;
        if (!backup.setText(keyPath, valueName, file + ",0")) {
            DeleteFileA(file.c_str());
            MsgBox("The system icon could not be set in the registry. Nothing was changed.", vbExclamation, caption);
            return;
        }
        if (changed.size() > 1) backup.setText(keyPath, "", file);
        const auto semi = entry.find(';');
        entry = file + (semi == std::string::npos ? std::string() : entry.substr(semi));
    } else if (backup.holdsChanges()) {
        if (!backup.restore()) {
            MsgBox("The system icon could not be set in the registry. Nothing was changed.", vbExclamation, caption);
            return;
        }
    } else {
        // A value an earlier version of the program kept beside it, else the
        // Windows default of the row for a value that is there.
        for (const std::string& name : changed) {
            const std::string keptName = change::keptValueName(name);
            const RawValue kept = ReadRawValue(*root, keyPath, keptName);
            if (!kept.present && regText(*root, keyPath, name).empty()) continue;
            const bool restored = kept.present ? WriteRawValue(*root, keyPath, name, kept)
                                               : writeText(*root, keyPath, name, defaultLocation);
            if (!restored) {
                MsgBox("The system icon could not be set in the registry. Nothing was changed.", vbExclamation,
                       caption);
                return;
            }
            WriteRawValue(*root, keyPath, keptName, RawValue{});
        }
    }
    procDeleteChangedIconFile(oldFile);
    picImport.SetPicture(picIcon.GetPicture());
    runState.SystemIconsChanged = true;

    shell::procOfferIconCacheRebuild("SysCache", caption);
}


namespace {

std::string fieldOf(const std::string& entry, int n) {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const auto semi = entry.find(';', start);
        if (semi == std::string::npos) return {};
        start = semi + 1;
    }
    return entry.substr(start, entry.find(';', start) - start);
}

SAFEARRAY* nameArray(const std::vector<std::string>& names) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names.size()));
    for (LONG i = 0; array && i < static_cast<LONG>(names.size()); ++i) {
        const std::string& name = names[static_cast<std::size_t>(i)];
        BSTR text = SysAllocStringByteLen(name.c_str(), static_cast<UINT>(name.size()));
        SafeArrayPutElement(array, &i, text);
        SysFreeString(text);
    }
    return array;
}

SAFEARRAY* rateArray(std::size_t count, std::int32_t rate) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(count));
    for (LONG i = 0; array && i < static_cast<LONG>(count); ++i) {
        LONG value = rate;
        SafeArrayPutElement(array, &i, &value);
    }
    return array;
}

// Animated sources: the library animations and animated files.
bool isAnimatedEntry(const std::string& entry) {
    if (entry.size() < 5) return false;
    const char code = entry[entry.size() - 5];
    return code == '3' || code == '4' || code == '5' || code == 'a';
}

} // namespace

std::string FrmChange::writeNewCursor(const std::string& caption) {
    const std::string folder = iconFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string& dropped = picIcon.Tag;
    const bool animated = isAnimatedEntry(dropped);
    const std::string file = change::freeChangedIconName(folder, animated ? ".ani" : ".cur");
    if (file.empty()) {
        MsgBox("The folder " + folder + " has no free name for a new cursor. Nothing was changed.", vbExclamation,
               caption);
        return {};
    }
    IconCanvas canvas = changeHost.canvas ? changeHost.canvas() : IconCanvas{};
    const auto size = static_cast<std::int16_t>(Keywords.IconSize);
    bool written = false;
    if (!animated) {
        if (changeHost.setHotSpot) changeHost.setHotSpot();
        Masks.MaskFromChange = true;
        if (!picIcon.GetPicture().empty() && canvas.pctColor && canvas.pctMask) {
            procMask(canvas, size, size);
            written = orvexbind::SaveAsCursor(canvas.pctColor->hDC(), canvas.pctMask->hDC(), size, size, 24,
                                              Commands.CursorHotSpotX, Commands.CursorHotSpotY, file.c_str()) == -1;
        }
        Masks.MaskFromChange = false;
    } else {
        const std::vector<Picture> frames =
            changeHost.collectFrames ? changeHost.collectFrames(dropped) : std::vector<Picture>{};
        std::string temp = paths.TempPath;
        if (temp.empty()) temp = TemporaryFolder();
        std::vector<std::string> frameFiles;
        written = !frames.empty() && canvas.pctColor && canvas.pctMask;
        Masks.filmFrame = [&frames](int element) {
            return element >= 1 && element <= static_cast<int>(frames.size())
                       ? frames[static_cast<std::size_t>(element - 1)]
                       : Picture();
        };
        Masks.SaveFramesMode = true;
        for (std::size_t i = 0; written && i < frames.size(); ++i) {
            Masks.CurrentIndex = static_cast<int>(i);
            procMask(canvas, size, size);
            frameFiles.push_back(temp + std::to_string(i) + ".ico");
            written = orvexbind::SaveAsIcon(canvas.pctColor->hDC(), canvas.pctMask->hDC(), size, size, 24,
                                            frameFiles.back().c_str()) == -1;
        }
        Masks.SaveFramesMode = false;
        Masks.filmFrame = nullptr;
        if (written) {
            SAFEARRAY* names = nameArray(frameFiles);
            SAFEARRAY* rates = rateArray(frameFiles.size(), 20);
            const std::int32_t replace = 0;
            written = names && rates && orvexbind::SaveAsANI(&names, &rates, file.c_str(), &replace) == -1;
            if (names) SafeArrayDestroy(names);
            if (rates) SafeArrayDestroy(rates);
        }
        for (const std::string& frame : frameFiles) DeleteFileA(frame.c_str());
    }
    if (!written || GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(file.c_str());
        MsgBox("The cursor could not be written to " + file + ". Nothing was changed.", vbExclamation, caption);
        return {};
    }
    return file;
}

void FrmChange::procApplyCursor() {
    const std::string caption = Caption();
    const std::string& location = picImport.Tag;
    const std::string first = fieldOf(location, 1), third = fieldOf(location, 3);
    std::string key = "Control Panel\\Cursors", role;
    if (first == "default") {
        for (const CursorTableRow& r : CursorTable())
            if (third == std::to_string(r.ocrId)) role = r.valueName;
    } else if (const auto slash = third.rfind('\\'); slash != std::string::npos) {
        key = third.substr(0, slash);
        role = third.substr(slash + 1);
    }
    if (location.empty() || role.empty()) {
        MsgBox("Choose the cursor to change in the main window first.", vbExclamation, caption);
        return;
    }
    std::string& entry = picIconBack.Tag;
    const std::string oldFile = fieldOf(entry, 1);

    RegistryBackup backup(HKEY_CURRENT_USER, change::changeBackupKey("HKEY_CURRENT_USER\\" + key + "," + role));
    if (ShowingDefault) {
        // What the first change replaced, or else the role's built-in cursor (a value of its own only).
        const bool restored = backup.holdsChanges()                       ? backup.restore()
                              : regText(HKEY_CURRENT_USER, key, role).empty() ? true
                                                                            : writeText(HKEY_CURRENT_USER, key, role, "");
        if (!restored) {
            MsgBox("The cursor setting could not be written. Nothing was changed.", vbExclamation, caption);
            return;
        }
        procDeleteChangedIconFile(oldFile);
        picImport.SetPicture({});
        picImport.Cls();
        picIcon.SetPicture({});
        const int id = std::atoi(DefaultCursorId.c_str());
        if (HCURSOR cursor = id ? LoadCursorA(nullptr, MAKEINTRESOURCEA(id)) : nullptr) {
            DrawIcon(picImport.hDC(), 0, 0, cursor);
            picImport.SetPicture(picImport.Image());
        }
    } else {
        const std::string file = writeNewCursor(caption);
        if (file.empty()) return;
        if (!backup.setText(key, role, file)) {
            DeleteFileA(file.c_str());
            MsgBox("The cursor setting could not be written. Nothing was changed.", vbExclamation, caption);
            return;
        }
        procDeleteChangedIconFile(oldFile);
        const auto semi = entry.find(';');
        entry = file + (semi == std::string::npos ? std::string() : entry.substr(semi));
        picImport.SetPicture(picIcon.GetPicture());
    }
    Screen::SetMousePointer(vbDefault);
    restartNotice("SysCursorRestart",
                  "You may need to Restart Windows before Cursor changes take effect. You could also try a Re-Logon.");
}

} // namespace vm
