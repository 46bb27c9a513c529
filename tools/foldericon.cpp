#include "foldericon.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "browserstate.h"
#include "commandstate.h"
#include "files.h"
#include "folderpicker.h"
#include "frmmessage.h"
#include "orvexbind.h"
#include "seam.h"
#include "state.h"
#include "toolshost.h"
#include "systempaths.h"

namespace vm {

namespace {

constexpr const char* kSection = ".ShellClassInfo";
constexpr const char* kIconName = "folder.ico";
constexpr DWORD kKeptFolderAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string inFolder(const std::string& folder, const char* name) {
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

void report(const std::string& text, const char* title) { MsgBox(text, vbExclamation, title); }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A file's attributes are cleared so that it can be rewritten; false (and
// reported) when Windows refuses.
bool makeWritable(const std::string& path, const char* title) {
    if (!exists(path) || SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL)) return true;
    report("The attributes of " + path + " could not be cleared, so it cannot be replaced.", title);
    return false;
}

void setAttributes(const std::string& path, DWORD attributes, const char* title) {
    if (!SetFileAttributesA(path.c_str(), attributes))
        report("The attributes of " + path + " could not be set.", title);
}

std::string iniValue(const std::string& ini, const char* key) {
    char buffer[MAX_PATH] = {};
    GetPrivateProfileStringA(kSection, key, "", buffer, sizeof(buffer), ini.c_str());
    return buffer;
}

// Windows keeps profile files in a cache; this writes it out.
void flushIni(const std::string& ini) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str()); }

// True when no section of the file holds a key any more.
bool iniIsEmpty(const std::string& ini) {
    std::vector<char> names(32768);
    const DWORD length = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), ini.c_str());
    std::vector<char> keys(32768);
    for (const char* name = names.data(); name < names.data() + length && *name; name += std::strlen(name) + 1) {
        if (GetPrivateProfileSectionA(name, keys.data(), static_cast<DWORD>(keys.size()), ini.c_str()) > 0)
            return false;
    }
    return true;
}

void folderNotice() { shell::procOfferIconCacheRebuild("FolderCache", "Change Any Folder"); }

// The folder the user picks, or "" when cancelled.
std::string pickFolder(const std::string& prompt) {
    folderPicker.BrowseForExtract = true;
    folderPicker.BrowseResult.clear();
    procBrowseForFolder(CurrentFolder(), prompt);
    folderPicker.BrowseForExtract = false;
    return procTrimNull(folderPicker.BrowseResult);
}

constexpr const char* kChangeTitle = "Change Any Folder Icon";
constexpr const char* kDefaultTitle = "Set Any Folder Icon to Default";

} // namespace

bool changeFolderIcon(const std::string& folder, IconCanvas& canvas, int size) {
    const std::string ico = inFolder(folder, kIconName), ini = inFolder(folder, "desktop.ini");
    // While the detail grid holds the selection the folder gets its selected image.
    if (Commands.DetailPaneActive && toolsHost.detailRow) Masks.CurrentIndex = toolsHost.detailRow();
    procMask(canvas, static_cast<std::int16_t>(size), static_cast<std::int16_t>(size));
    procGetSaveBitDepth(canvas);
    if (!canvas.picSave || canvas.picSave->GetPicture().empty() || !canvas.pctColor || !canvas.pctMask) {
        report("There is no selected icon to give the folder.", kChangeTitle);
        return false;
    }

    // An earlier folder.ico is hidden, and Windows refuses to replace a hidden file.
    const DWORD oldIco = GetFileAttributesA(ico.c_str());
    if (!makeWritable(ico, kChangeTitle)) return false;
    if (!orvexbind::SaveAsIcon(canvas.pctColor->hDC(), canvas.pctMask->hDC(), size, size, Commands.SaveBitDepth,
                               ico.c_str())) {
        if (oldIco != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(ico.c_str(), oldIco);
        report("The icon could not be written to " + ico + ". The folder keeps its icon.", kChangeTitle);
        return false;
    }

    const DWORD oldIni = GetFileAttributesA(ini.c_str());
    if (!makeWritable(ini, kChangeTitle)) return false;
    const bool written = WritePrivateProfileStringA(kSection, "IconFile", kIconName, ini.c_str()) &&
                         WritePrivateProfileStringA(kSection, "IconIndex", "0", ini.c_str());
    flushIni(ini);
    if (!written) {
        if (oldIni != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(ini.c_str(), oldIni);
        report("The folder settings could not be written to " + ini + ".", kChangeTitle);
        return false;
    }

    setAttributes(ini, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, kChangeTitle);
    setAttributes(ico, FILE_ATTRIBUTE_HIDDEN, kChangeTitle);
    // Windows reads desktop.ini only in a folder marked System (or read-only).
    const DWORD folderNow = GetFileAttributesA(folder.c_str());
    if (folderNow == INVALID_FILE_ATTRIBUTES) report("The folder " + folder + " could not be read.", kChangeTitle);
    else setAttributes(folder, (folderNow & kKeptFolderAttributes) | FILE_ATTRIBUTE_SYSTEM, kChangeTitle);
    runState.SystemIconsChanged = true;
    return true;
}

bool resetFolderIcon(const std::string& folder) {
    const std::string ini = inFolder(folder, "desktop.ini");
    const std::string iconFile = exists(ini) ? iniValue(ini, "IconFile") : std::string();
    const std::string iconIndex = exists(ini) ? iniValue(ini, "IconIndex") : std::string();
    if (iconFile.empty() && iconIndex.empty()) {
        MsgBox("The folder " + folder + " has no icon of its own.", vbInformation, kDefaultTitle);
        return false;
    }

    const DWORD oldIni = GetFileAttributesA(ini.c_str());
    if (!makeWritable(ini, kDefaultTitle)) return false;
    const bool removed = WritePrivateProfileStringA(kSection, "IconFile", nullptr, ini.c_str()) &&
                         WritePrivateProfileStringA(kSection, "IconIndex", nullptr, ini.c_str());
    flushIni(ini);
    if (!removed) {
        SetFileAttributesA(ini.c_str(), oldIni);
        report("The folder settings in " + ini + " could not be changed.", kDefaultTitle);
        return false;
    }

    // Only the icon file the change wrote goes; an icon named elsewhere is the user's.
    if (lstrcmpiA(iconFile.c_str(), kIconName) == 0) {
        const std::string ico = inFolder(folder, kIconName);
        if (exists(ico) && (!SetFileAttributesA(ico.c_str(), FILE_ATTRIBUTE_NORMAL) || !DeleteFileA(ico.c_str())))
            report("The icon file " + ico + " could not be deleted.", kDefaultTitle);
    }

    if (iniIsEmpty(ini)) {
        if (!DeleteFileA(ini.c_str())) {
            report("The file " + ini + " could not be deleted.", kDefaultTitle);
        } else {
            const DWORD folderNow = GetFileAttributesA(folder.c_str());
            if (folderNow != INVALID_FILE_ATTRIBUTES && (folderNow & FILE_ATTRIBUTE_SYSTEM))
                setAttributes(folder, folderNow & kKeptFolderAttributes, kDefaultTitle);
        }
    } else {
        setAttributes(ini, oldIni, kDefaultTitle);
    }
    runState.SystemIconsChanged = true;
    return true;
}

void procChangeFolderIcon() {
    const std::string folder =
        pickFolder("Change Any Folder Icon. The Folder icon will be replaced by the currently selected icon.");
    if (folder.empty()) return;
    IconCanvas canvas = toolsHost.canvas ? toolsHost.canvas() : IconCanvas{};
    if (changeFolderIcon(folder, canvas, Keywords.IconSize)) folderNotice();
}

void procDefaultFolderIcon() {
    const std::string folder = pickFolder("Select the Folder of which the custom icon must be removed. The Folder icon "
                                          "will be replaced by the Windows default icon.");
    if (folder.empty()) return;
    if (resetFolderIcon(folder)) folderNotice();
}

} // namespace vm
