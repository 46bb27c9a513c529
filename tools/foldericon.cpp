#include "foldericon.h"

#include <windows.h>

#include "browserstate.h"
#include "commandstate.h"
#include "files.h"
#include "folderpicker.h"
#include "frmmessage.h"
#include "orvexbind.h"
#include "safereplace.h"
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

void setAttributes(const std::string& path, DWORD attributes, const char* title) {
    if (!SetFileAttributesA(path.c_str(), attributes))
        report("The attributes of " + path + " could not be set.", title);
}

// The two icon keys of desktop.ini set to file and index (empty texts blank
// them; the keys stay). The profile calls write a copy of the file, which then
// takes its place; the rest of the file is kept as it was.
WriteResult writeIconKeys(const std::string& ini, const char* file, const char* index) {
    return writeThroughTemporary(ini, [&](const std::string& temp) {
        if (exists(ini) && !CopyFileA(ini.c_str(), temp.c_str(), FALSE)) return false;
        // The copy is hidden like its original, and the profile calls cannot rewrite a hidden file.
        SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        const bool written = WritePrivateProfileStringA(kSection, "IconFile", file, temp.c_str()) &&
                             WritePrivateProfileStringA(kSection, "IconIndex", index, temp.c_str());
        // Windows keeps profile files in a cache; this writes it out.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, temp.c_str());
        return written;
    });
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
    // The folder.ico there may be the user's own.
    if (exists(ico) &&
        MsgBox(ico + " already exists.\rDo you want to replace it?", vbYesNo | vbQuestion, kChangeTitle) != vbYes)
        return false;

    // Nothing else is touched until the icon is whole in its place.
    const WriteResult icon = writeThroughTemporary(ico, [&](const std::string& temp) {
        return orvexbind::SaveAsIcon(canvas.pctColor->hDC(), canvas.pctMask->hDC(), size, size, Commands.SaveBitDepth,
                                     temp.c_str()) == -1;
    });
    if (!icon) {
        report(writeFailureText(ico, icon) + "\rThe folder keeps its icon.", kChangeTitle);
        return false;
    }
    if (const WriteResult settings = writeIconKeys(ini, kIconName, "0"); !settings) {
        report(writeFailureText(ini, settings) + "\rThe folder keeps its icon.", kChangeTitle);
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
    if (const WriteResult settings = writeIconKeys(ini, "", ""); !settings) {
        report(writeFailureText(ini, settings) + "\rThe folder keeps its icon.", kDefaultTitle);
        return false;
    }
    setAttributes(folder, FILE_ATTRIBUTE_NORMAL, kDefaultTitle);
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
