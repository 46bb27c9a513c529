#include "frmscan.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "folderpicker.h"
#include "folderwalker.h"
#include "helpfile.h"
#include "inputlimits.h"
#include "formplace.h"
#include "frmmessage.h"
#include "registry.h"
#include "seam.h"
#include "state.h"
#include "systempaths.h"
#include "widefile.h"

namespace vm {

ScanHost scanHost;

FrmScan& frmScan() { return defaultInstance<FrmScan>(); }

namespace {


// The stored value, or fallback when it is missing or empty.
int storedBox(const char* name, int fallback) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    if (reg.RegValue.isEmpty() || reg.RegValue.toText().empty()) return fallback;
    if (auto n = reg.RegValue.toLong()) return std::abs(*n) ? vbChecked : vbUnchecked;
    const std::string t = reg.RegValue.toText();
    return t == "True" || t == "true" ? vbChecked : vbUnchecked;
}

void writeText(const char* name, const std::string& value) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, name, Variant(value), REG_SZ);
}

// The walk lists what matches its pattern, sub-folders included; only files hold icons.
bool isFolder(const std::string& path) {
    const DWORD attributes = wide::Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string lowerTail(const std::string& file) {
    std::string ext = file.size() >= 4 ? file.substr(file.size() - 4) : file;
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// The main window's side of the browser; one that does nothing when there is none.
const BrowserHost& browser() {
    static const BrowserHost none;
    return scanHost.browser ? *scanHost.browser : none;
}

} // namespace

FrmScan::FrmScan() : Form("frmScan") {
    design.caption = "Open by Folder";
    design.width = 6000;
    design.height = 4800;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.keyPreview = true;
}

void FrmScan::CreateControls() {
    lblDir.create(*this, 240, 270, 720, 255, "Folder:");
    txtDir.create(*this, 960, 240, 3480, 315);
    LimitInput(txtDir, kMaxPathLength, "A folder path");
    cmdBrowse.create(*this, 4560, 210, 1200, 375, "Browse");
    cmdBrowse.SetToolTipText("Browse for Folder to Scan");
    chkScanSubDir.create(*this, 240, 720, 3000, 285, "Scan in Subfolders");
    chkScanZIP.create(*this, 240, 1050, 3000, 285, "Scan in ZIP archives");
    chkALL.create(*this, 240, 1380, 3600, 285, "Scan for All Library Types");
    fraTypeFilter.create(*this, 240, 1740, 5520, 1800, "Library Type Filter");
    chkICL.create(fraTypeFilter, 120, 300, 2880, 285, "Icon Libraries (*.icl)");
    chkEXE.create(fraTypeFilter, 120, 780, 2880, 285, "Executables (*.exe)");
    chkDLL.create(fraTypeFilter, 120, 1260, 2880, 285, "Dynamic Link Libraries (*.dll)");
    chkANI.create(fraTypeFilter, 3120, 300, 2300, 285, "Animated Icons (*.ani)");
    chkCUR.create(fraTypeFilter, 3120, 780, 2300, 285, "Cursors (*.cur)");
    chkICO.create(fraTypeFilter, 3120, 1260, 2300, 285, "Icons (*.ico)");
    cmdStart.create(*this, 1860, 3780, 1215, 375, "Start");
    cmdCancel.create(*this, 3180, 3780, 1215, 375, "Cancel");
    cmdHelp.create(*this, 4500, 3780, 1215, 375, "&Help");
    cmdStart.SetDefault(true);
    cmdCancel.SetCancel(true);
    VM_ON(cmdStart, Click);
    VM_ON(cmdBrowse, Click);
    VM_ON(cmdCancel, Click);
    VM_ON(cmdHelp, Click);
    VM_ON(chkALL, Click);
    VM_ON(txtDir, Change);
}

// A folder typed into the box can be scanned as well as a browsed one.
void FrmScan::txtDir_Change() {
    if (!txtDir.Text().empty()) cmdStart.SetEnabled(true);
}

void FrmScan::Form_Load() {
    if (scanHost.browser) scanHost.browser->events();
    WalkSubfolders = storedBox("ScanSubDir", vbChecked) == vbChecked;
    chkScanSubDir.SetValue(WalkSubfolders ? vbChecked : vbUnchecked);
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "ScanDirectory");
    const std::string dir = reg.RegValue.isEmpty() ? std::string() : reg.RegValue.toText();
    txtDir.SetText(dir);
    cmdStart.SetEnabled(!dir.empty());
    ScanZipArchives = storedBox("ScanZIP", vbUnchecked) == vbChecked;
    chkScanZIP.SetValue(ScanZipArchives ? vbChecked : vbUnchecked);
    chkANI.SetValue(storedBox("ScanANI", vbChecked));
    chkDLL.SetValue(storedBox("ScanDLL", vbChecked));
    chkCUR.SetValue(storedBox("ScanCUR", vbChecked));
    chkEXE.SetValue(storedBox("ScanEXE", vbChecked));
    chkICL.SetValue(storedBox("ScanICL", vbChecked));
    chkICO.SetValue(storedBox("ScanICO", vbChecked));
    chkALL.SetValue(storedBox("ScanAll", vbChecked));
    chkALL_Click();
    const int n = Keywords.IconSize;
    if (n != 32) {
        for (CheckBox* box : {&chkICL, &chkANI, &chkCUR}) box->SetEnabled(false);
        if (!shell::procMessageSilenced("RestrictScan"))
            shell::procShowMessage("Vellumar can also scan for icons in ANI, CUR, ICL when the requested icon size is "
                                   "32*32. In the current icon size " + std::to_string(n) + "*" + std::to_string(n) +
                                       " only scanning for icons in DLL, EXE and ICO files is possible.",
                                   "RestrictScan", Caption(), "");
    }
    procPlaceForm(*this, "Scan");
}

void FrmScan::Form_Unload(int&) {
    procSaveFormPlace(*this, "Scan");
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "ScanSubDir", Variant(static_cast<std::int32_t>(chkScanSubDir.Value())), REG_DWORD);
}

void FrmScan::chkALL_Click() {
    const bool all = chkALL.Value() == vbChecked;
    for (CheckBox* box : {&chkICO, &chkDLL, &chkEXE}) box->SetEnabled(!all);
    for (CheckBox* box : {&chkICL, &chkANI, &chkCUR}) box->SetEnabled(!all && Keywords.IconSize == 32);
}

bool FrmScan::Keeps(const std::string& file) {
    const std::string ext = lowerTail(file);
    const std::pair<CheckBox*, const char*> kinds[] = {{&chkANI, ".ani"}, {&chkCUR, ".cur"}, {&chkDLL, ".dll"},
                                                       {&chkEXE, ".exe"}, {&chkICL, ".icl"}, {&chkICO, ".ico"}};
    for (auto [box, kind] : kinds) {
        if (ext != kind) continue;
        return chkALL.Value() == vbChecked || (box->Value() == vbChecked && box->Enabled());
    }
    return false;
}

void FrmScan::cmdBrowse_Click() {
    std::string start = txtDir.Text();
    if (start.empty()) {
        start = CurrentFolder();
    }
    procBrowseForFolder(start, "Select a valid Folder. Do not select system objects like Printers, Control Panel etc. "
                               "Network Folders are allowed.");
}

void FrmScan::cmdStart_Click() {
    ScanHost& h = scanHost;
    browser().events();
    writeText("ScanDirectory", txtDir.Text());
    const std::pair<const char*, CheckBox*> boxes[] = {{"ScanZIP", &chkScanZIP}, {"ScanAll", &chkALL},
                                                       {"ScanANI", &chkANI},     {"ScanCUR", &chkCUR},
                                                       {"ScanDLL", &chkDLL},     {"ScanEXE", &chkEXE},
                                                       {"ScanICL", &chkICL},     {"ScanICO", &chkICO}};
    for (auto [name, box] : boxes) writeText(name, std::to_string(box->Value()));
    WalkSubfolders = chkScanSubDir.Value() != vbUnchecked;
    writeText("ScanSubDir", WalkSubfolders ? "1" : "0");
    ScanZipArchives = chkScanZIP.Enabled() && chkScanZIP.Value() == vbChecked;

    if (txtDir.Text().empty()) {
        cmdStart.SetEnabled(false);
        MsgBox("Select a valid path!", vbExclamation, Caption());
        return;
    }
    if (!h.entries || !h.busy) return;
    // The scan runs in the main window, enabled, so that its Stop button and Esc stop it.
    Hide();
    HandOver([this] { procScan(); });
}

void FrmScan::procScan() {
    ScanHost& h = scanHost;
    const BrowserHost& b = browser();
    if (h.activateMain) h.activateMain();
    EntryLists& e = *h.entries;
    e.lstFiles.Clear();
    if (h.clearZipLists) {
        h.clearZipLists();
    } else {
        e.lstZipFiles.Clear();
        e.lstZipIcons.Clear();
    }
    b.abort(false);
    b.messagePanel("Searching for icon libraries, please wait...");

    std::int32_t fileCount = 0, folderCount = 0;
    FolderWalk walk{e.lstFiles, *h.busy, b};
    walk.WalkSubfolders = WalkSubfolders;
    std::string folder = txtDir.Text();
    procWalkFolders(walk, folder, "*.*", fileCount, folderCount);
    if (h.busy->AbortRequested) {
        abortEnd();
        return;
    }

    for (int i = 0; i < e.lstFiles.ListCount();) {
        const std::string file = e.lstFiles.List(i);
        if (Keeps(file) && !isFolder(file)) {
            if (i % 25 == 0 && h.setTypePanel) h.setTypePanel(std::to_string(i) + " libraries found");
            ++i;
        } else {
            if (ScanZipArchives && lowerTail(file) == ".zip") e.lstZipFiles.AddItem(file);
            e.lstFiles.RemoveItem(i);
        }
        b.events();
        if (h.busy->AbortRequested) break;
    }
    if (ScanZipArchives && h.listZipMembers) h.listZipMembers();
    b.messagePanel(std::to_string(fileCount) + " files checked, " +
                   std::to_string(e.lstFiles.ListCount() + e.lstZipIcons.ListCount()) +
                   " icon libraries matched your filter.");
    b.hourglass(false);
    b.events();
    e.cmbResult.Clear();
    if (h.searchOpen) h.searchOpen();
    b.abort(true);
    if (h.clearSearchText) h.clearSearchText();
    b.hourglass(false);
    // A stop during the filter is the listing's stop too; it is over now.
    h.busy->AbortRequested = false;
    if (h.activateMain) h.activateMain();
}

// The walk was stopped: the list that was there before shows again from page 1.
void FrmScan::abortEnd() {
    ScanHost& h = scanHost;
    h.busy->AbortRequested = false;
    if (h.paging && h.entries) StartNewList(*h.paging, h.entries->cmbResult.ListCount());
    if (h.browser) {
        h.browser->page();
        h.browser->abort(true);
        h.browser->hourglass(false);
    }
    Unload();
    if (h.activateMain) h.activateMain();
}

void FrmScan::cmdCancel_Click() { Unload(); }

void FrmScan::cmdHelp_Click() {
    procShowHelp(hWnd(), HelpContext::Scan);
}

void FrmScan::helpKey(int& KeyCode, int) {
    if (KeyCode == VK_F1) cmdHelp_Click();
}

// The window previews its keys, so F1 in any of its controls asks for help.
void FrmScan::Form_KeyUp(int& KeyCode, int Shift) { helpKey(KeyCode, Shift); }

} // namespace vm
