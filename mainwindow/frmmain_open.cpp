// The main window's Open commands: File > Open by File and Open by Folder,
// and the paths of the command line or of a later start; the hidden text
// boxes the ZIP listing writes into.
#include "frmmain.h"

#include <algorithm>
#include <cstdlib>

#include "browserstate.h"
#include "dialogforms.h"
#include "dialogs.h"
#include "openpaths.h"
#include "registry.h"
#include "startfolders.h"
#include "state.h"
#include "zipsource.h"

namespace vm {

namespace {

constexpr long kOpenFlags = 0x280204; // long names, Explorer style, several files, no read-only box

constexpr const char* kFilter32 =
    "All Icons (*.ani;*.cur;*.dll;*.exe;*.icl;*.ico;*.zip)|*.ani;*.cur;*.dll;*.exe;*.icl;*.ico;*.zip|"
    "Animated Icons (*.ani)|*.ani|Applications (*.exe)|*.exe|Cursors (*.cur)|*.cur|"
    "Dynamic Link Libraries (*.dll)|*.dll|Icon Libraries (*.icl)|*.icl|Icons (*.ico)|*.ico|"
    "ZIP Archives (*.zip)|*.zip";
constexpr const char* kFilter16 =
    "All Icons (*.dll;*.exe;*.ico;*;zip)|*.dll;*.exe;*.ico;*.zip|Applications (*.exe)|*.exe|"
    "Dynamic Link Libraries (*.dll)|*.dll|Icons (*.ico)|*.ico|ZIP Archives (*.zip)|*.zip";

std::string setting(const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    return reg.RegValue.isEmpty() ? std::string() : reg.RegValue.toText();
}

void writeSetting(const char* name, const std::string& value) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, name, Variant(value), REG_SZ);
}

} // namespace

void FrmMain::connectOpen() {
    for (TextBox* box : std::initializer_list<TextBox*>{&txtZIP, &txtDummyZIP}) {
        box->create(*this, 0, 0, 100, 100);
        box->SetVisible(false);
    }
    txtZIP.busy = &Busy;
    txtZIP.Change = [this] { vm::txtZIP_Change(Entries, host, txtZIP.Line()); };
    mnuFileOpen.Click = [this] { mnuFileOpen_Click(); };
    mnuFileOpenDir.Click = [this] { mnuFileOpenDir_Click(); };
    PageLoaders.FavoritesFolder = folders.FavoritesFolder;
    // The favourites name search lists single files the way an opened file is.
    host.appendFileEntries = [this](const std::string& file) {
        OpenSearchContext ctx = openSearch();
        procSearchOpenFile(ctx, file, "open");
    };
}

OpenSearchContext FrmMain::openSearch() {
    PageLoaders.FavoritesFolder = folders.FavoritesFolder;
    OpenSearchContext ctx{Entries, Paging, Busy, host, Chunks, ZipExtractions};
    ctx.IconSize = Keywords.IconSize;
    return ctx;
}

void FrmMain::mnuFileOpen_Click() {
    CommonDialog dlgIcon;
    dlgIcon.Flags = kOpenFlags;
    dlgIcon.DefaultExt = setting("OpenExtension");
    const std::string filterIndex = setting("OpenFilterIndex");
    dlgIcon.FilterIndex = filterIndex.empty() ? 1 : std::max(1, std::atoi(filterIndex.c_str()));
    dlgIcon.Filter = Keywords.IconSize == 16 ? kFilter16 : kFilter32;
    dlgIcon.FileName.clear();
    dlgIcon.DialogTitle = "Open by File";
    const std::string startFolder = setting("ScanDirectory");
    dlgIcon.InitDir = startFolder;
    MessagePanel->SetText("Use CTRL or SHIFT to Multiselect");
    if (!dlgIcon.ShowOpen()) {
        MessagePanel->SetText("");
        return;
    }
    const std::string& name = dlgIcon.FileName;
    writeSetting("OpenExtension", name.size() >= 3 ? name.substr(name.size() - 3) : name);
    writeSetting("OpenFilterIndex", std::to_string(dlgIcon.FilterIndex));

    procClearResult();
    Entries.cmbResult.Clear();
    Entries.lstFiles.Clear();
    procClearZipLists(Entries, ZipExtractions);
    const OpenDialogChoice choice = SplitOpenDialogName(name);
    if (!choice.folder.empty() && choice.folder != startFolder) writeSetting("ScanDirectory", choice.folder);
    for (const std::string& file : choice.files) AddOpenedPath(Entries, file);

    pager_->procSetAbort(false);
    procExtractZIPFilenames(Entries, ZipExtractions, Chunks, {txtZIP.hWnd(), txtDummyZIP.hWnd()}, paths.TempPath,
                            Busy);
    OpenSearchContext ctx = openSearch();
    procSearchOpen(ctx);
    // The listing's own word on files it could not read stays in the message panel.
    cmbSearch.SetText("");
}

void FrmMain::mnuFileOpenDir_Click() { frmScan().Show(vbModal); }

void FrmMain::procOpenFolderFiles(int separator) {
    OpenSearchContext ctx = openSearch();
    procOpenPassedPaths(ctx, {txtZIP.hWnd(), txtDummyZIP.hWnd()}, runState.PassedFile, static_cast<char>(separator));
}

} // namespace vm
