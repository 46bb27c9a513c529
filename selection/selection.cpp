#include "selection.h"

#include <cstdlib>
#include <strings.h>

#include "browserstate.h"
#include "cicongrid.h"
#include "cresources.h"
#include "commandstate.h"
#include "dialogstate.h"
#include "files.h"
#include "form.h"
#include "getfield.h"
#include "librarychunks.h"
#include "orvexbind.h"
#include "resultentry.h"
#include "state.h"
#include "vberror.h"
#include "zipsource.h"
#include "widefile.h"

namespace vm {

SelectionState Selection;

namespace {

void enable(MenuItem* item, bool on) {
    if (item) item->SetEnabled(on);
}
void show(MenuItem* item, bool on) {
    if (item) item->SetVisible(on);
}
void caption(MenuItem* item, const std::string& text) {
    if (item) item->SetCaption(text);
}
// A toolbar may lack a button the user removed in its customise dialog.
void enableButton(Toolbar* bar, const char* key, bool on) {
    if (!bar) return;
    try {
        bar->Buttons(key).SetEnabled(on);
    } catch (const VbError&) {
    }
}
// A picture of imlNav taken as an icon; empty when the list lacks the key.
Picture navPicture(ImageList* imlNav, const std::string& key) {
    if (!imlNav) return {};
    try {
        return imlNav->ListImages(key).SharedIcon();
    } catch (const VbError&) {
        return {};
    }
}

std::string lowerTail(const std::string& text, size_t n) {
    std::string tail = text.size() > n ? text.substr(text.size() - n) : text;
    for (char& ch : tail) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return tail;
}

// A fresh FileIcons(1); it stays empty when nothing loads, so no command acts
// on the icon of the item selected before.
cFileIcon& freshFileIcon() {
    Selection.FileIcons.assign(1, cFileIcon{});
    return Selection.FileIcons.front();
}

void loadIcoFile(const std::string& path) {
    cFileIcon& icon = freshFileIcon();
    try {
        icon.LoadIcon(path);
    } catch (const VbError&) {
        // A damaged file leaves the icon empty.
    }
}

// Icon group iconIndex (from 0) of an EXE, DLL or ICL, by number or by name as the file stores it.
void loadModuleIcon(const std::string& path, int iconIndex) {
    cResources resources;
    int groupType = 0;
    try {
        resources.file(path);
        resources.GetResourceTypes();
        groupType = resources.IndexOfResourceType(14);
        resources.GetResourceNames(groupType);
    } catch (const VbError&) {
        // A file without icon groups gives no name below.
    }
    // The lister keeps the file loaded while its group is read, so the file is loaded once.
    cFileIcon& icon = freshFileIcon();
    try {
        const ResourceKey id = resources.ResourceName(groupType, iconIndex + 1);
        if (const auto* number = std::get_if<std::int32_t>(&id))
            icon.LoadIconFromEXE(path, *number, "");
        else if (const auto* name = std::get_if<std::string>(&id))
            icon.LoadIconFromEXE(path, 0, *name);
    } catch (const VbError&) {
    }
    resources.UnloadModule();
}

void fileCase(SelectionWindow& w, const std::string& entry) {
    if (w.grdIcons) {
        w.grdIcons->Clear();
        w.grdIcons->Draw();
    }
    const bool zip = EntryIsKind(entry, kKindZip);
    const std::string field1 = procGetField(entry, ';', 1);
    // A member goes to its archive's private folder under its listed name,
    // where the entry names it; only what this step wrote is removed again.
    const bool extracted = zip && ExtractZipEntryFile(ZipExtractions, Chunks, field1, procGetField(entry, ';', 2));
    std::string folderCopy = field1;
    const std::string folder = procGetFolder(folderCopy);
    const std::string longFolder = procGetLongPath(folder);
    const std::string name = procGetFileName(field1);
    const std::string source = longFolder.empty() ? field1 : longFolder + name;

    const int iconIndex = std::atoi(procGetField(entry, ';', zip ? 3 : 2).c_str());
    const std::string ending = lowerTail(source, 3);
    if (procFileExists(source) && ending == "ico") {
        loadIcoFile(source);
    } else if (procFileExists(source) && (ending == "dll" || ending == "exe" || ending == "icl")) {
        // An icon library is a module too (16-bit or not): its icon is a group of images.
        loadModuleIcon(source, iconIndex);
    } else {
        freshFileIcon();
    }
    if (w.grdIcons) w.grdIcons->Init(Selection.FileIcons.front());

    if (extracted) DeleteExtractedMember(ZipExtractions, field1);

    Selection.SelectedItemPath = source;
    Selection.SelectedItemName = procGetFileName(source);
    std::string pathCopy = source;
    Selection.SelectedItemFolder = procGetFolder(pathCopy);
    procFitPathText(w, "w");
}

void libraryCase(SelectionWindow& w) {
    const int size = Keywords.IconSize;
    IconCanvas canvas = w.canvas();
    // The icon to write is the selected item's own, even while the detail
    // grid is the active pane: the grid still shows the item selected before,
    // and its image would be saved and shown under this item's name.
    const bool gridActive = Commands.DetailPaneActive;
    Commands.DetailPaneActive = false;
    procMask(canvas, static_cast<std::int16_t>(size), static_cast<std::int16_t>(size));
    procGetSaveBitDepth(canvas);
    Commands.DetailPaneActive = gridActive;

    const std::string temp = ChunkCacheFolder(size) + "\\icon.$$$";
    // A file left from an earlier run must not be read back as this icon.
    wide::Delete(temp);
    std::int32_t written = 0;
    if (w.pctColor && w.pctMask)
        written = orvexbind::SaveAsIcon(w.pctColor->hDC(), w.pctMask->hDC(), size, size, Commands.SaveBitDepth,
                                        temp.c_str());
    cFileIcon& icon = freshFileIcon();
    if (written == -1) {
        try {
            icon.LoadIcon(temp);
        } catch (const VbError&) {
        }
    }
    if (w.grdIcons) w.grdIcons->Init(icon);
    wide::Delete(temp);
    Selection.SelectedItemName = temp;
}

} // namespace

bool isLibraryOrigin(const std::string& origin) {
    return origin.size() >= 8 && strncasecmp(origin.c_str(), "Vellumar", 8) == 0;
}

void applyCommandDecision(SelectionWindow& w, const selection::CommandDecision& d) {
    SelectionMenus& m = w.menus;
    if (d.pageLedOff && w.PagePanel) w.PagePanel->SetPicture(navPicture(w.imlNav, "redledoff"));
    if (d.enableCommon) {
        for (MenuItem* item : {m.mnuFileProperties, m.mnuEditCopy, m.mnuFileSaveAs, m.mnuFileEditWith, m.mnuToolsZoom,
                               m.mnuResultClickProperties, m.mnuResultClickCopy, m.mnuResultClickSaveAs,
                               m.mnuResultClickEditWith, m.mnuResultClickZoom})
            enable(item, true);
        for (const char* key : {"save", "copy", "prop", "zoom"}) enableButton(w.pnlToolbar, key, true);
    }
    if (d.goToPage) {
        enable(m.mnuGoToPage, *d.goToPage);
        enable(m.mnuGoBar, *d.goToPage);
    }
    if (d.changeFolder) {
        enable(m.mnuToolsChangeFolder, *d.changeFolder);
        enableButton(w.pnlToolbarYour, "changefolder", *d.changeFolder);
    }

    enable(m.mnuFileExtract, d.extract);
    show(m.mnuResultClickExtract, d.extract);
    show(m.mnuResultClickRun, d.run);
    enable(m.mnuFileRun, d.run);
    caption(m.mnuResultClickRun, d.runCaption);
    caption(m.mnuFileRun, d.runCaption);

    if (!d.typePictureKey.empty() && w.TypePanel) {
        Picture picture = navPicture(w.imlNav, d.typePictureKey);
        if (picture) w.TypePanel->SetPicture(picture);
    }

    enable(m.mnuFilePlay, d.play);
    show(m.mnuResultClickPlay, d.play);
    enableButton(w.pnlToolbar, "play", d.play);

    if (w.optType)
        for (int i = 0; i < 9; ++i) (*w.optType)(i).SetEnabled(d.optionEnabled[static_cast<size_t>(i)]);
    if (w.optType && d.optionSelected >= 0) (*w.optType)(d.optionSelected).SetValue(true);
    enable(m.mnuRefAdd, d.addReference);
    enableButton(w.pnlToolbarYour, "refadd", d.addReference);
    show(m.mnuResultClickAddRef, d.addReference);

    enable(m.mnuRefDelete, d.deleteReference);
    enableButton(w.pnlToolbarYour, "refdel", d.deleteReference);
    show(m.mnuResultClickDelRef, d.deleteReference);

    enable(m.mnuFileChange, d.change);
    show(m.mnuResultClickChange, d.change);
    enableButton(w.pnlToolbarYour, "change", d.change);

    show(m.mnuDiv16, d.div16);
    if (d.div22) show(m.mnuDiv22, *d.div22);

    show(m.mnudiv14, d.div14);
    if (d.addFavoriteEnabled) {
        enable(m.mnuFavoriteAdd, *d.addFavoriteEnabled);
        enableButton(w.pnlToolbarYour, "favadd", *d.addFavoriteEnabled);
    }
    show(m.mnuResultClickAddFav, d.addFavoriteVisible);
    enable(m.mnuFavoriteDel, d.deleteFavorite);
    show(m.mnuResultClickDelFav, d.deleteFavorite);
    enableButton(w.pnlToolbarYour, "favdel", d.deleteFavorite);
}

void procFitPathText(SelectionWindow& w, const std::string& margin) {
    if (!w.MessagePanel || !w.form) return;
    Form& form = *w.form;
    const auto text = selection::fitPath(w.MessagePanel->Width(), Selection.SelectedItemPath,
                                         Selection.SelectedItemFolder, Selection.SelectedItemName, margin,
                                         [&form](const std::string& s) { return form.TextWidth(s); });
    if (text) w.MessagePanel->SetText(*text);
}

void procLoadImageFormats(SelectionWindow& w) {
    ListItem* item = w.pnlResult ? w.pnlResult->SelectedItem() : nullptr;
    if (!item) return;
    Selection.SelectedItemPath.clear();
    if (isLibraryOrigin(item->SubItems(2)))
        libraryCase(w);
    else
        fileCase(w, item->Tag);
}

void procSelectItem(SelectionWindow& w) {
    ListItem* item = w.pnlResult ? w.pnlResult->SelectedItem() : nullptr;
    if (!item) return;

    selection::SelectionFacts facts;
    facts.typeText = item->SubItems(1);
    facts.origin = item->SubItems(2);
    facts.dcAction = DoubleClick.DCAction;
    facts.dcPlay = DoubleClick.DCPlay;
    facts.dcRef = DoubleClick.DCRef;
    facts.dcRun = DoubleClick.DCRun;
    facts.dcChange = DoubleClick.DCChange;
    facts.iconSize = Keywords.IconSize;
    facts.pageCount = Paging.PageCount;
    facts.browserAvailable = w.BrowserAvailable;
    facts.detailPaneActive = Commands.DetailPaneActive;
    facts.firstSelection = w.menus.mnuFileProperties && !w.menus.mnuFileProperties->Enabled();
    const selection::CommandDecision d = selection::decideCommands(facts);

    if (w.MessagePanel) w.MessagePanel->SetText(facts.origin);
    Selection.CurrentAction = d.currentAction;
    if (w.forgetLoadedAni) w.forgetLoadedAni();
    w.pnlResult->Tag = item->Text();
    if (w.TypePanel) w.TypePanel->SetText(facts.typeText);
    applyCommandDecision(w, d);

    procLoadImageFormats(w);

    if (Commands.ZoomWindowOpen && w.procZoom) w.procZoom();
}

} // namespace vm
