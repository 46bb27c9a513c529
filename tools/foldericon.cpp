#include "foldericon.h"

#include <windows.h>

#include "browserstate.h"
#include "commandstate.h"
#include "desktopini.h"
#include "files.h"
#include "folderpicker.h"
#include "frmmessage.h"
#include "orvexbind.h"
#include "safereplace.h"
#include "seam.h"
#include "state.h"
#include "systempaths.h"
#include "toolshost.h"
#include "utf8text.h"
#include "widefile.h"

namespace vm {

namespace {

constexpr const char* kIconName = "folder.ico";
constexpr const char* kChangeTitle = "Change Any Folder Icon";
constexpr const char* kDefaultTitle = "Set Any Folder Icon to Default";
constexpr const char* kUnchanged = "\rThe folder was not changed.";
// Attributes of the folder a change keeps; it adds System, which makes Windows read desktop.ini.
constexpr DWORD kKeptFolderAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr DWORD kIniAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr LONGLONG kLargestIni = 1 << 20;
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

std::string inFolder(const std::string& folder, const char* name) {
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

void report(const std::string& text, const char* title) { MsgBox(text, vbExclamation, title); }

bool exists(const std::string& path) { return wide::Attributes(path) != INVALID_FILE_ATTRIBUTES; }
bool isFile(const std::string& path) {
    const DWORD attributes = wide::Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string readReason(DWORD code) {
    return code == ERROR_ACCESS_DENIED ? "there is no permission to read it" : writeErrorReason(code);
}

// The files of a folder's icon, and desktop.ini as it stands: its bytes as
// they are, or UTF-16 with its mark read as UTF-8 and written back as it was.
struct FolderFiles {
    explicit FolderFiles(const std::string& folder)
        : folder(folder), ini(inFolder(folder, "desktop.ini")), ico(inFolder(folder, kIconName)), keptIco(ico + ".vm-old") {}

    // "" when read, else why not.
    std::string read() {
        const DWORD attributes = wide::Attributes(folder);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return writeErrorReason(ERROR_PATH_NOT_FOUND);
        folderAttributes = attributes & ~DWORD(FILE_ATTRIBUTE_DIRECTORY);
        iniAttributes = wide::Attributes(ini);
        if (iniAttributes == INVALID_FILE_ATTRIBUTES) return {};
        HANDLE file = wide::Open(ini, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
        if (file == INVALID_HANDLE_VALUE) return readReason(GetLastError());
        LARGE_INTEGER size{};
        std::string bytes;
        DWORD got = 0;
        const bool small = GetFileSizeEx(file, &size) && size.QuadPart <= kLargestIni;
        if (small) bytes.resize(static_cast<size_t>(size.QuadPart));
        const bool whole = small && (bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                                                &got, nullptr) &&
                                                       got == bytes.size()));
        const DWORD code = GetLastError();
        CloseHandle(file);
        if (!small) return "it is larger than a desktop.ini can be";
        if (!whole) return readReason(code);
        wide = bytes.substr(0, kUtf16Mark.size()) == kUtf16Mark;
        text = wide ? Utf8Text(std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2))
                    : bytes;
        if (wide && bytesOf(text) != bytes) return "it holds text that is not whole Unicode";
        record = ReadFolderIconRecord(text);
        return {};
    }

    std::string bytesOf(const std::string& content) const {
        if (!wide) return content;
        const std::wstring units = WideText(content);
        return std::string(kUtf16Mark) + std::string(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    }
    bool iniPresent() const { return iniAttributes != INVALID_FILE_ATTRIBUTES; }

    // Writes desktop.ini with the text and the attributes, or removes it
    // (removeWhenEmpty) when nothing is left of it.
    WriteResult writeIni(const std::string& content, DWORD attributes, bool removeWhenEmpty) const {
        if (removeWhenEmpty && content.empty()) return removeUserFile(ini);
        StagedFile staged(ini);
        const std::string bytes = bytesOf(content);
        const WriteResult written =
            staged.write([&](const std::string& temp) { return writeFileBytes(temp, bytes); }, true, attributes);
        return written ? staged.commit() : written;
    }

    std::string folder, ini, ico, keptIco;
    DWORD folderAttributes = 0, iniAttributes = INVALID_FILE_ATTRIBUTES;
    bool wide = false;
    std::string text;
    std::optional<FolderIconRecord> record;
};

// Steps of a command, each run only while every one before it succeeded; the
// first failure is kept with what it concerned.
class Steps {
public:
    template <class Step>
    Steps& then(std::string what, Step&& step) {
        if (result_) {
            result_ = step();
            if (!result_) what_ = std::move(what);
        }
        return *this;
    }
    explicit operator bool() const { return result_.ok; }
    // "The file ... could not be written: the file is read-only."
    std::string failure() const { return what_ + ": " + result_.reason + "."; }

private:
    WriteResult result_{true, {}};
    std::string what_;
};

std::string fileFailure(const std::string& file) { return "The file " + file + " could not be written"; }
std::string folderFailure(const std::string& folder) { return "The attributes of " + folder + " could not be set"; }

// Every file a command changes is checked before the first is written:
// desktop.ini, and folder.ico and the folder's attributes unless only the keys change.
Steps checkTargets(const FolderFiles& files, bool keysOnly = false) {
    Steps checks;
    checks.then(fileFailure(files.ini), [&] { return checkReplaceable(files.ini); });
    if (keysOnly) return checks;
    checks.then(fileFailure(files.ico), [&] { return checkReplaceable(files.ico); });
    checks.then(folderFailure(files.folder), [&] { return checkFolderWritable(files.folder); });
    return checks;
}

enum class IconBack { Leave, FromKept, Remove };

// Puts the folder back: folder.ico (from the copy kept beside it, or removed
// when the program made it), the folder's attributes, then desktop.ini. The
// record lives in desktop.ini and so goes last: a restore cut short is done
// again whole by the next.
Steps putBack(const FolderFiles& files, IconBack icon, DWORD folderAttributes, const std::string& iniText,
              DWORD iniAttributes, bool iniExisted) {
    Steps steps;
    steps.then(fileFailure(files.ico), [&] {
        if (icon == IconBack::Remove) return removeUserFile(files.ico);
        if (icon == IconBack::FromKept && isFile(files.keptIco)) return moveUserFile(files.keptIco, files.ico);
        return WriteResult{true, {}};
    });
    steps.then(folderFailure(files.folder), [&] { return setUserAttributes(files.folder, folderAttributes); });
    steps.then(fileFailure(files.ini), [&] { return files.writeIni(iniText, iniAttributes, !iniExisted); });
    return steps;
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

} // namespace

bool changeFolderIcon(const std::string& folder, IconCanvas& canvas, int size) {
    // While the detail grid holds the selection the folder gets its selected image.
    if (Commands.DetailPaneActive && toolsHost.detailRow) Masks.CurrentIndex = toolsHost.detailRow();
    procMask(canvas, static_cast<std::int16_t>(size), static_cast<std::int16_t>(size));
    procGetSaveBitDepth(canvas);
    if (!canvas.picSave || canvas.picSave->GetPicture().empty() || !canvas.pctColor || !canvas.pctMask) {
        report("There is no selected icon to give the folder.", kChangeTitle);
        return false;
    }
    FolderFiles files(folder);
    if (const std::string reason = files.read(); !reason.empty()) {
        report("The file " + files.ini + " could not be read: " + reason + "." + kUnchanged, kChangeTitle);
        return false;
    }
    // A folder.ico of the user's own is kept beside it; setting the folder
    // back to default puts it back. One the program wrote is simply replaced.
    const bool theirs = exists(files.ico) && !(files.record && (!files.record->iconExisted || isFile(files.keptIco)));
    if (theirs &&
        MsgBox(files.ico + " already exists.\rDo you want to replace it?", vbYesNo | vbQuestion, kChangeTitle) != vbYes)
        return false;
    if (const Steps checks = checkTargets(files); !checks) {
        report(checks.failure() + kUnchanged, kChangeTitle);
        return false;
    }

    FolderIconRecord before = files.record.value_or(RecordOfKeys(files.text));
    if (!files.record) {
        before.iniExisted = files.iniPresent();
        before.iniAttributes = files.iniPresent() ? files.iniAttributes : 0;
        before.folderAttributes = files.folderAttributes;
        before.iconExisted = theirs;
    }
    const std::string changedIni = WithFolderIcon(files.text, before);
    // The new icon waits beside the old one until desktop.ini names it.
    StagedFile icon(files.ico);
    Steps written;
    written.then(fileFailure(files.ico), [&] {
        return icon.write(
            [&](const std::string& temp) {
                return orvexbind::SaveAsIcon(canvas.pctColor->hDC(), canvas.pctMask->hDC(), size, size,
                                             Commands.SaveBitDepth, temp.c_str()) == -1;
            },
            false, FILE_ATTRIBUTE_HIDDEN);
    });
    written.then(fileFailure(files.ini), [&] { return files.writeIni(changedIni, kIniAttributes, false); });
    if (!written) {
        report(written.failure() + kUnchanged, kChangeTitle);
        return false;
    }
    // desktop.ini now holds the record; a later failure puts back what was there.
    Steps placed;
    placed.then(folderFailure(folder), [&] {
        return setUserAttributes(folder, (files.folderAttributes & kKeptFolderAttributes) | FILE_ATTRIBUTE_SYSTEM);
    });
    if (theirs) placed.then(fileFailure(files.ico), [&] { return moveUserFile(files.ico, files.keptIco); });
    placed.then(fileFailure(files.ico), [&] { return icon.commit(); });
    if (!placed) {
        const Steps undone = putBack(files, theirs ? IconBack::FromKept : IconBack::Leave, files.folderAttributes,
                                     files.text, files.iniAttributes, files.iniPresent());
        std::string text = placed.failure();
        if (undone) text += kUnchanged;
        else text.append("\r").append(undone.failure()).append("\rSet Any Folder Icon to Default puts it back as it was.");
        report(text, kChangeTitle);
        return false;
    }
    runState.SystemIconsChanged = true;
    return true;
}

bool resetFolderIcon(const std::string& folder) {
    FolderFiles files(folder);
    if (const std::string reason = files.read(); !reason.empty()) {
        report("The file " + files.ini + " could not be read: " + reason + ".\rThe folder keeps its icon.",
               kDefaultTitle);
        return false;
    }
    // What a change cut short left beside the files.
    clearUnfinishedWrite(files.ico);
    clearUnfinishedWrite(files.ini);
    // Without a record (a folder set by an earlier version, or by someone
    // else) only the keys the program writes are blanked.
    const std::optional<std::string> blanked =
        files.record || !files.iniPresent() ? std::nullopt : WithIconKeysBlanked(files.text);
    if (!files.record && !blanked) {
        MsgBox("No icon file is set for the folder " + folder + ".\rNothing was changed.", vbInformation, kDefaultTitle);
        return false;
    }
    Steps steps = checkTargets(files, !files.record);
    if (steps && files.record) {
        const FolderIconRecord& before = *files.record;
        steps = putBack(files, before.iconExisted ? IconBack::FromKept : IconBack::Remove, before.folderAttributes,
                        WithoutFolderIcon(files.text, before), before.iniAttributes, before.iniExisted);
    } else if (steps) {
        steps.then(fileFailure(files.ini), [&] { return files.writeIni(*blanked, files.iniAttributes, false); });
    }
    if (!steps) {
        report(steps.failure() + "\rThe folder's icon was not set back to default; the command can be chosen again.",
               kDefaultTitle);
        return false;
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
