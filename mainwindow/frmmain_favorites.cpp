// The Favorites menu and the favourites drag and drop: icons stored into the
// favourites folder tree, moved between its folders, its folders created and
// removed, the branch refreshed from disk and the folder opened in Explorer.
#include "frmmain.h"

#include <map>

#include "browserstate.h"
#include "commandstate.h"
#include "dialogs.h"
#include "dialogstate.h"
#include "errorreport.h"
#include "exportwindow.h"
#include "favoritefolders.h"
#include "files.h"
#include "frmmessage.h"
#include "listaccess.h"
#include "navtree.h"
#include "registry.h"
#include "saveasnaming.h"
#include "seam.h"
#include "selection.h"
#include "startfolders.h"
#include "state.h"
#include "widefile.h"

namespace vm {

namespace {

constexpr const char* kFileFavorite = "File Favorite";

bool isFavoriteItem(ListItem* item) { return item && SameKey(item->SubItems(2), kFileFavorite); }

bool fileExists(const std::string& path) {
    const DWORD attributes = wide::Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The files of a folder with their last write times, to see what a save added.
using FolderState = std::map<std::string, ULONGLONG>;

FolderState filesOf(const std::string& folder) {
    FolderState files;
    for (const FolderEntry& entry : procListFolder(folder + "\\*"))
        if (!entry.isFolder())
            files[entry.name] =
                (static_cast<ULONGLONG>(entry.lastWrite.dwHighDateTime) << 32) | entry.lastWrite.dwLowDateTime;
    return files;
}

// A file of the folder that is new or was written since before; "" for none.
std::string writtenSince(const std::string& folder, const FolderState& before) {
    for (const auto& [name, written] : filesOf(folder)) {
        auto was = before.find(name);
        if (was == before.end() || was->second != written) return folder + "\\" + name;
    }
    return "";
}

} // namespace

void FrmMain::mnuFavoriteAdd_Click() {
    folderPicker.SearchingFavorites = true;
    if (mnuFileSaveAs.Click) mnuFileSaveAs.Click();
    folderPicker.SearchingFavorites = false;
    // Save As clears it; it never outlives the drop that set it.
    Exports.FavoriteDropMode = false;
}

void FrmMain::mnuFavoriteDel_Click() {
    const std::string path = Selection.SelectedItemFolder + Selection.SelectedItemName;
    // Only a file of the favourites tree is a favourite to delete.
    if (!fileExists(path) || !IsFavoriteFile(path, folders.FavoritesFolder)) return;
    if (!wide::Delete(path)) return;
    if (favoriteNodes.CurrentFavoriteNode.empty()) {
        ListingScope listing(listingDepth);
        ListOf<ComboBox> search(cmbSearch);
        SearchContext ctx{Keywords, UserRefs, Entries, Paging, Busy, host, search, DoubleClick.SearchFav};
        procSearchVellumar(ctx);
    } else if (Node* node = pnlNav.SelectedItem()) {
        pnlNav_NodeClick(*node);
    }
}

void FrmMain::mnuFavoriteGroupAdd_Click() {
    const std::string parentKey = favoriteNodes.FavoriteFolderNode;
    if (parentKey.empty() || !pnlNav.Nodes.exists(parentKey)) return;
    Node& parent = pnlNav.Nodes(parentKey);
    for (;;) {
        const std::string name = InputBox("Give the Name of the Favorite Folder.", "Create Favorite Folder");
        if (name.empty()) break;
        if (!IsValidFolderName(name)) {
            if (MsgBox(exportnaming::illegalCharactersMessage(), vbOKCancel | vbInformation, "Create Favorite Folder") == vbOK)
                continue;
            break;
        }
        const std::string folder = FavoriteFolderOf(parentKey, folders.FavoritesFolder) + "\\" + name;
        if (wide::MakeFolder(folder)) {
            const std::string key = parentKey + "\\" + name;
            if (!pnlNav.Nodes.exists(key)) pnlNav.Nodes.Add(&parent, tvwChild, key, name, "bookfav", "openbook");
            parent.SetExpanded(true);
            break;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            MsgBox("A Favorite Folder named '" + name + "' in the '" + parent.Text() + "' Folder already excists." +
                       "\rPlease choose another Folder Name.",
                   vbCritical, "Create Favorite Folder");
            continue;
        }
        procShowError(75, kErrorSource, "Path/File access error: " + folder);
        break;
    }
    if (pnlNav.Nodes.exists(kFavoritesKey)) SortChildren(pnlNav, pnlNav.Nodes(kFavoritesKey), false);
}

void FrmMain::mnuFavoriteGroupDel_Click() {
    const std::string key = favoriteNodes.FavoriteFolderNode;
    // The favourites root itself is never removed.
    if (key.size() <= 6 || !pnlNav.Nodes.exists(key)) return;
    const std::string text = pnlNav.Nodes(key).Text();
    if (MsgBox("Are you sure you want to remove the '" + text +
                   "' Favorite Folder and all of it's subgroups?.\rAll icons present in this folder and all it's "
                   "subfolders will be permanently deleted from your harddisk!",
               vbYesNo | vbQuestion, "Remove Favorite Folder") != vbYes)
        return;
    const std::string folder = FavoriteFolderOf(key, folders.FavoritesFolder);
    if (!IsFolderInside(folder, folders.FavoritesFolder)) {
        MsgBox("The Favorite Folder '" + text + "' was not removed: " + folder +
                   " is no folder inside the Favorites folder (it may have been moved, or be a link).",
               vbExclamation, "Remove Favorite Folder");
        return;
    }
    const std::string why = RemoveFolderTree(folder);
    if (!why.empty()) {
        MsgBox("The Favorite Folder '" + text + "' could not be removed:\r" + why, vbExclamation,
               "Remove Favorite Folder");
        return;
    }
    // A listing of the removed folder names files that are gone.
    const std::string listed = favoriteNodes.CurrentFavoriteNode;
    const bool listedInside = SameKey(listed, key) ||
                              (listed.size() > key.size() && SameKey(listed.substr(0, key.size()), key) &&
                               listed[key.size()] == '\\');
    pnlNav.Nodes.Remove(key);
    favoriteNodes = FavoriteNodes{};
    enableFolderCommands(false, false);
    if (listedInside) {
        Entries.cmbResult.Clear();
        StartNewList(Paging, 0);
        pager().ShowNewList();
    }
}

void FrmMain::mnuFavoriteRefresh_Click() {
    if (pnlNav.Nodes.exists(kFavoritesKey)) pnlNav.Nodes.Remove(kFavoritesKey);
    if (pnlNav.Nodes.exists("your") && Keywords.IconSize == 32)
        AddFavoritesBranch(pnlNav, host, folders.FavoritesFolder, folders.FavoritesFolderName);
    favoriteNodes = FavoriteNodes{};
    enableFolderCommands(false, false);
    procClearResult();
    Entries.cmbResult.Clear();
    pager().procGetPage();
}

void FrmMain::mnuFavoriteOrganize_Click() {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "OrganizeFav");
    const std::string suppressed = reg.RegValue.toText();
    if (suppressed.empty() || suppressed == "0") {
        shell::procShowMessage(
            "Use the Windows Explorer to organize your Favorites. If you made changes to the folder structure, please "
            "refresh the Favorites tree by selecting Favorites, Refresh in the main menu.",
            "OrganizeFav", "Organize Favorites", "Organize Favorites Now");
        if (!shell::MessageResult) return;
    }
    seamShellExecute(hWnd(), "", paths.WindowsDir + "\\Explorer.exe", "/n,/e," + folders.FavoritesFolder, "",
                     SW_SHOWNORMAL);
}

void FrmMain::pnlResult_OLEStartDrag() {
    // The drag carries the selected item's text; a favourite may be moved.
    if (ListItem* item = pnlResult.SelectedItem()) OleDragText(item->Text(), vbDropEffectCopy | vbDropEffectMove);
}

void FrmMain::pnlNav_OLEDragOver(DataObject& Data, int& Effect, int, int Shift, float X, float Y, int) {
    ListItem* selected = pnlResult.SelectedItem();
    const bool ours = selected && Data.GetFormat(vbCFText) && SameKey(Data.GetText(), selected->Text());
    Node* node = ours ? pnlNav.HitTest(X, Y) : nullptr;
    pnlNav.SetDropHighlight(node);
    if (!node || !HasFamily(node->Key(), kFavoritesKey)) {
        Effect = vbDropEffectNone;
        return;
    }
    pnlNav.SetSelectedItem(node);
    if (!node->Expanded()) node->SetExpanded(true);
    if (!isFavoriteItem(selected)) Effect &= vbDropEffectCopy;
    else if (Shift == vbShiftMask) Effect &= vbDropEffectMove;
}

void FrmMain::pnlNav_OLEDragDrop(DataObject&, int&, int, int Shift, float, float) {
    Node* target = pnlNav.SelectedItem();
    if (target && HasFamily(target->Key(), kFavoritesKey)) {
        const bool move = isFavoriteItem(pnlResult.SelectedItem()) && Shift == vbShiftMask;
        const std::string oldPath = Selection.SelectedItemFolder + Selection.SelectedItemName;
        const std::string folder = FavoriteFolderOf(target->Key(), folders.FavoritesFolder);
        if (move && SamePath(Selection.SelectedItemFolder, folder)) {
            MsgBox("The favorite '" + Selection.SelectedItemName + "' is already in the '" + target->Text() +
                       "' Favorite Folder.",
                   vbExclamation, "Move Favorite");
        } else {
            const FolderState before = filesOf(folder);
            Exports.FavoriteDropMode = true;
            mnuFavoriteAdd_Click();
            // The old file goes only once the new one stands elsewhere.
            const std::string written = move ? writtenSince(folder, before) : std::string();
            if (!written.empty() && !SamePath(written, oldPath)) mnuFavoriteDel_Click();
        }
    }
    pnlNav.SetDropHighlight(nullptr);
}

} // namespace vm
