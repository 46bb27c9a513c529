// Save As: the dialog, the file name and its extension, the settings it
// remembers, the favourite name checks, and the hand-over to the writers.
#include <windows.h>

#include "browserstate.h"
#include "commandstate.h"
#include "dialogs.h"
#include "exportcommands.h"
#include "files.h"
#include "formatwriters.h"
#include "listview.h"
#include "registry.h"
#include "saveasnaming.h"
#include "state.h"
#include "statusbar.h"
#include "twips.h"

namespace vm {

namespace {

using namespace exportnaming;

constexpr long kSaveFlags = 0x200C06; // overwrite prompt, hide read-only, no change of extension, path must exist, long names

void writeSetting(const std::string& name, const std::string& value) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, name, Variant(value), REG_SZ);
}

std::string itemTypeText(ExportWindow& w) {
    ListItem* item = w.pnlResult ? w.pnlResult->SelectedItem() : nullptr;
    return item ? item->SubItems(1) : std::string();
}

std::string typePanelText(ExportWindow& w) { return w.TypePanel ? w.TypePanel->Text() : std::string(); }

DialogChoice currentChoice(ExportWindow& w) {
    return dialogChoiceFor(Keywords.IconSize, Commands.DetailPaneActive, typePanelText(w), itemTypeText(w));
}

enum class DropAnswer { Write, AskName, Cancel };

// The checks of a dropped favourite's name; fills fileName when it can be written.
DropAnswer checkDroppedName(ExportWindow& w, std::string& fileName) {
    CommonDialog& d = *w.dlgIcon;
    if (hasIllegalFavoriteCharacter(d.FileName)) {
        if (MsgBox(illegalCharactersMessage(), vbOKCancel | vbInformation, "Add to Favorites") == vbCancel)
            return DropAnswer::Cancel;
        return DropAnswer::AskName;
    }
    const std::string name = d.FileName + favoriteExtension(itemTypeText(w));
    if (procFileExists(d.InitDir + "\\" + name)) {
        if (MsgBox("A Favorite with this Name already excists in this Favorites Folder.\rPlease specify a new Favorite "
                   "Name.",
                   vbOKCancel | vbExclamation, "Add to Favorites") == vbCancel)
            return DropAnswer::Cancel;
        return DropAnswer::AskName;
    }
    fileName = d.InitDir + "\\" + name;
    return DropAnswer::Write;
}

// Runs the writer the name's extension selects.
void runWriter(ExportWindow& w, const std::string& fileName, bool separateIcons) {
    switch (writerFor(fileName)) {
    case Writer::Bmp:
        procWriteBmp(w, fileName);
        break;
    case Writer::Ico:
        // The separate icons are written beside the selected picture's own file.
        if (procWriteIco(w, fileName) && separateIcons) procWriteFrames(w, fileName, true);
        break;
    case Writer::Cur:
        procWriteCur(w, fileName);
        break;
    case Writer::Ani:
        procWriteFrames(w, fileName, false);
        break;
    case Writer::Jpg:
        procWriteJpg(w, fileName);
        break;
    case Writer::Gif:
        procWriteGif(w, fileName);
        break;
    case Writer::None:
        break;
    }
}

struct PointerReset {
    ~PointerReset() { Screen::SetMousePointer(vbDefault); }
};

} // namespace

void mnuFileSaveAs_Click(ExportWindow& w) {
    if (!w.dlgIcon) return;
    CommonDialog& d = *w.dlgIcon;
    PointerReset pointer;
    const DialogChoice choice = currentChoice(w);
    d.Filter = filterText(choice.set);
    d.FilterIndex = choice.FilterIndex;
    d.DefaultExt = choice.DefaultExt;
    d.Flags = kSaveFlags;
    d.FileName = suggestedName(w.pnlResult ? w.pnlResult->Tag : std::string());
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "SaveDirectory");
    if (!reg.RegValue.isEmpty() && !reg.RegValue.toText().empty()) d.InitDir = storedStartFolder(reg.RegValue.toText());
    // The title belongs to the favourites dialog only; later dialogs show the system's own.
    d.DialogTitle.clear();
    if (folderPicker.SearchingFavorites) {
        d.InitDir = favoritesTargetFolder(w.favoritesFolder ? w.favoritesFolder() : std::string(),
                                          w.favoritesNodeKey ? w.favoritesNodeKey() : std::string());
        d.DialogTitle = "Add to Favorites";
    }

    std::string fileName;
    bool separateIcons = false;
    bool askName = !Exports.FavoriteDropMode && !Exports.EditWithMode;
    if (Exports.EditWithMode) {
        fileName = d.FileName = paths.TempPath + "VMTemp.ico";
    } else if (Exports.FavoriteDropMode) {
        Exports.FavoriteDropMode = false;
        const DropAnswer answer = checkDroppedName(w, fileName);
        if (answer == DropAnswer::Cancel) return;
        if (answer == DropAnswer::AskName) {
            d.FileName.clear();
            askName = true;
        }
    }
    if (askName) {
        d.FileName = withoutForbiddenCharacters(d.FileName);
        if (!d.ShowSave()) return;
        writeSetting("SaveDirectory", d.FileName);
        Screen::SetMousePointer(vbHourglass);
        const ForcedExtension forced = forcedExtension(currentChoice(w).set, d.FilterIndex);
        fileName = withExtension(d.FileName, forced.extension);
        separateIcons = forced.separateIcons;
        writeSetting("SaveExtension", fileName.size() > 3 ? fileName.substr(fileName.size() - 3) : fileName);
        writeSetting("SaveFilterIndex", std::to_string(d.FilterIndex));
    }
    runWriter(w, fileName, separateIcons);
}

} // namespace vm
