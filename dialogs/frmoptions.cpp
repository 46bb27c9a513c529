#include "frmoptions.h"

#include <cstdlib>

#include "dialogstate.h"
#include "files.h"
#include "inputlimits.h"
#include "folderpicker.h"
#include "frmmessage.h"
#include "registry.h"
#include "seam.h"
#include "state.h"
#include "writekill.h"

namespace vm {

OptionsHost optionsHost;

FrmOptions& frmOptions() { return defaultInstance<FrmOptions>(); }

namespace {

constexpr const char* kEditorQuestion =
    "The current selected External Icon Editor is not valid.\nDo you want to select another External Icon Editor?";
constexpr const char* kEditorTitle = "Browse for External Icon Editor";
const char* const kPageSizes[] = {"10", "20", "30", "40", "50", "75", "100", "150", "200"};
const char* const kZoomFactors[] = {"2", "3", "4", "5", "10"};
struct SystemColor {
    const char* name;
    int index;
};
const SystemColor kSystemColors[] = {{"Desktop", 1},       {"Active Title Bar", 2},      {"Inactive Title Bar", 3},
                                     {"Menu Bar", 4},      {"Window Background", 5},     {"Application Workspace", 12},
                                     {"Highlight", 13},    {"Button Face", 15},          {"Info Background", 24}};

std::string setting(const std::string& name) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    return reg.RegValue.isEmpty() ? std::string() : reg.RegValue.toText();
}

int settingNumber(const std::string& name) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    return std::abs(reg.RegValue.toLong().value_or(0));
}

void writeSetting(const std::string& name, const std::string& value) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, name, Variant(value), REG_SZ);
}

void writeBox(const std::string& name, CheckBox& box) { writeSetting(name, std::to_string(box.Value())); }

std::int32_t resultBackColor() {
    return optionsHost.pnlResult ? static_cast<std::int32_t>(optionsHost.pnlResult->BackColor())
                                 : static_cast<std::int32_t>(vbWindowBackground);
}

} // namespace

std::int32_t FrmOptions::SystemColorOfItem(int item) {
    if (item < 1 || item > 9) return 0;
    return static_cast<std::int32_t>(0x80000000u + static_cast<unsigned>(kSystemColors[item - 1].index));
}

FrmOptions::FrmOptions() : Form("frmOptions") {
    design.caption = "Options";
    design.width = 6900;
    design.height = 6000;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.startUpPosition = vbStartUpScreen;
}

void FrmOptions::CreateControls() {
    tbsOptions.create(*this, 120, 120, 6540, 4800);
    const struct { const char *caption, *key, *tip; } tabs[] = {
        {"General", "results", "General Options"},
        {"Shell Integration", "shell", "Shell Integration Options"},
        {"Double Click Icon", "doubleclick", "Define Action when Doubleclicking Icons"},
        {"Favorites", "favorites", "Favorite Options"}};
    for (int i = 0; i < 4; ++i) {
        // The Favorites tab is named as the favourites folder is.
        const std::string caption = i == 3 ? optionsHost.FavoritesFolderName : tabs[i].caption;
        tbsOptions.Tabs.Add(-1, tabs[i].key, caption).SetToolTipText(tabs[i].tip);
        PictureBox& page = picOptions(i + 1);
        page.create(*this, 240, 540, 6300, 4260, false);
        page.SetVisible(i == 0);
    }
    PictureBox& general = picOptions(1);
    fraResults.create(general, 0, 0, 6240, 1080, "Results Pane");
    lblIconsPerPage.create(fraResults, 240, 330, 1500, 255, "Icons Per Page:");
    cmbIconsPerPage.create(fraResults, 1800, 270, 1200, 2400, vbComboDropdownList);
    for (const char* size : kPageSizes) cmbIconsPerPage.AddItem(size);
    chkHoverSelection.create(fraResults, 240, 690, 3000, 285, "&Hot Tracking");
    fraMask.create(general, 0, 1200, 6240, 1560, "Copy to Clipboard Maskcolor");
    chkMaskUseBackground.create(fraMask, 240, 300, 4800, 285, "&Use Results Pane Background Color");
    cmbMaskSystemColor.create(fraMask, 240, 720, 2700, 3000, vbComboDropdownList);
    cmbMaskSystemColor.SetToolTipText("System Colors");
    cmdMaskCustom.create(fraMask, 3120, 705, 1200, 345, "C&ustom");
    cmdMaskCustom.SetToolTipText("Custom Colors");
    shpMaskColor.create(fraMask, 4560, 660, 600, 450);
    chkRestart.create(general, 0, 2940, 6240, 285, "Do &Not Show Windows Restart Reminders");
    chkRebuild.create(general, 0, 3300, 6240, 285, "Do Not &Show Rebuild Windows Icon Cache Reminders");

    PictureBox& shell = picOptions(2);
    chkSendTo.create(shell, 0, 60, 3000, 285, "Add to &Send To Menu");
    cmdDesktop.create(shell, 3480, 30, 2040, 375, "Add &Desktop Icon");
    fraAso.create(shell, 0, 600, 6240, 2100, "File Associations");
    chkAsoICO.create(fraAso, 240, 300, 4800, 285, "&Icons (*.ico)");
    chkAsoDLL.create(fraAso, 240, 630, 4800, 285, "Dynamic &Link Libraries (*.dll)");
    chkAsoCUR.create(fraAso, 240, 960, 4800, 285, "C&ursors (*.cur)");
    chkAsoANI.create(fraAso, 240, 1290, 4800, 285, "A&nimated Icons (*.ani)");
    chkAsoICL.create(fraAso, 240, 1620, 4800, 285, "Icon &Libraries (*.icl)");

    PictureBox& action = picOptions(3);
    fraAction.create(action, 0, 0, 6240, 2400, "Normal Action");
    optNone.create(fraAction, 240, 270, 2400, 285, "&None");
    optCopy.create(fraAction, 240, 600, 2400, 285, "&Copy to Clipboard");
    optSave.create(fraAction, 240, 930, 2400, 285, "&Save As");
    optZoom.create(fraAction, 240, 1260, 1200, 285, "&Zoom");
    lstZoom.create(fraAction, 1560, 1230, 900, 2000, vbComboDropdownList);
    for (const char* f : kZoomFactors) lstZoom.AddItem(f);
    optProp.create(fraAction, 240, 1590, 2400, 285, "&Properties");
    optEditWith.create(fraAction, 240, 1920, 1320, 285, "&Edit With");
    txtEdit.create(fraAction, 1560, 1890, 3000, 315);
    txtEdit.SetLocked(true);
    cmdBrowseEdit.create(fraAction, 4680, 1875, 1200, 345, "Browse");
    cmdBrowseEdit.SetToolTipText("Browse for External Editor");
    fraPriority.create(action, 0, 2520, 6240, 1560, "Priority Over Normal Action");
    chkPlay.create(fraPriority, 240, 270, 5000, 285, "&Play if Animated Icon");
    chkRef.create(fraPriority, 240, 570, 5000, 285, "&Add Reference if Opened Icon");
    chkRun.create(fraPriority, 240, 870, 5000, 285, "&Run Application if Shortcut Icon");
    chkChange.create(fraPriority, 240, 1170, 5000, 285, "C&hange System Icon if Applicable");

    PictureBox& fav = picOptions(4);
    lblFavHome.create(fav, 0, 60, 4000, 255, "Favorites Home Folder");
    txtFavHomeDir.create(fav, 0, 360, 6240, 315);
    LimitInput(txtFavHomeDir, kMaxPathLength, "A folder path");
    cmdBrowse.create(fav, 3720, 780, 1200, 375, "&Browse");
    cmdCreate.create(fav, 5040, 780, 1200, 375, "&Default");
    for (CommandButton* b : {&cmdBrowse, &cmdCreate}) b->SetToolTipText("Browse to set the Favorites Home Folder");
    chkSearchFav.create(fav, 0, 1320, 6240, 285, "&Also Search Favorites when Searching on Keywords");

    cmdApply.create(*this, 2580, 5040, 1215, 375, "A&pply");
    cmdOK.create(*this, 3915, 5040, 1215, 375, "&Close");
    cmdCancel.create(*this, 5250, 5040, 1215, 375, "C&ancel");
    cmdCancel.SetCancel(true);

    VM_ON(tbsOptions, Click);
    VM_ON(cmdApply, Click);
    VM_ON(cmdOK, Click);
    VM_ON(cmdCancel, Click);
    VM_ON(cmdBrowse, Click);
    VM_ON(cmdCreate, Click);
    VM_ON(cmdBrowseEdit, Click);
    VM_ON(cmdMaskCustom, Click);
    VM_ON(cmdDesktop, Click);
    VM_ON(chkMaskUseBackground, Click);
    VM_ON(cmbMaskSystemColor, Click);
    VM_ON(optNone, Click);
    VM_ON(optCopy, Click);
    VM_ON(optSave, Click);
    VM_ON(optZoom, Click);
    VM_ON(optProp, Click);
    VM_ON(optEditWith, Click);
    VM_ON(lstZoom, Click);
    VM_ON(lstZoom, GotFocus);
}

// A choice in the zoom list is a change of it.
void FrmOptions::lstZoom_Click() {
    if (!showingZoom_) lstZoom_Change();
}

void FrmOptions::Form_Load() {
    OptionsHost& h = optionsHost;
    openedAction_ = DoubleClick.DCAction;
    openedMaskColor_ = h.MaskColor ? *h.MaskColor : 0;
    applied_ = false;
    cmbMaskSystemColor.AddItem("");
    for (const SystemColor& c : kSystemColors) cmbMaskSystemColor.AddItem(c.name);
    CurrentTab = 1;
    const bool big = Keywords.IconSize == 32;
    if (big) {
        LoadedFavoritesFolder = h.FavoritesFolder ? *h.FavoritesFolder : std::string();
        txtFavHomeDir.SetText(LoadedFavoritesFolder);
    } else {
        for (Control* c : std::initializer_list<Control*>{&txtFavHomeDir, &cmdBrowse, &cmdCreate, &chkSearchFav})
            c->SetEnabled(false);
    }
    chkHoverSelection.SetValue(h.pnlResult && h.pnlResult->HotTracking() ? vbChecked : vbUnchecked);
    chkSearchFav.SetValue(DoubleClick.SearchFav ? vbChecked : vbUnchecked);
    for (int i = 0; i < cmbIconsPerPage.ListCount(); ++i)
        if (std::atoi(cmbIconsPerPage.List(i).c_str()) == Paging.IconsPerPage) cmbIconsPerPage.SetListIndex(i);

    const int restart = settingNumber("SysCursorRestart") + settingNumber("SysFileTypeRestart");
    if (restart <= 2) chkRestart.SetValue(restart == 0 ? vbUnchecked : restart == 1 ? vbGrayed : vbChecked);
    const int rebuild = settingNumber("SysCache") + settingNumber("ShortcutCache") + settingNumber("FolderCache");
    if (rebuild <= 3) chkRebuild.SetValue(rebuild == 0 ? vbUnchecked : rebuild == 3 ? vbChecked : vbGrayed);

    // A type shows ticked while any change of its association is in force,
    // even one a stopped Apply left unrecorded in the settings.
    for (int row = 0; row < 5; ++row) {
        shownAso_[row] =
            settingNumber(kAssociations[row].setting) || AssociationBackup(kAssociations[row]).holdsChanges();
        asoBox(row).SetValue(shownAso_[row] ? vbChecked : vbUnchecked);
    }
    shownSendTo_ = procFileExists(h.SendToFolder + kShortcutName);
    chkSendTo.SetValue(shownSendTo_ ? vbChecked : vbUnchecked);

    optEditWith.SetEnabled(false);
    if (std::string file = setting("ExtEditFile"); !file.empty()) {
        txtEdit.SetText(file);
        optEditWith.SetEnabled(true);
    }
    if (std::string folder = setting("ExtEditFolder"); !folder.empty()) txtEdit.Tag = folder;

    // Showing the stored factor is no choice of the user's: the action stays.
    showingZoom_ = true;
    for (int i = 0; i < lstZoom.ListCount(); ++i)
        if (std::atoi(lstZoom.List(i).c_str()) == DoubleClick.DCZoom) lstZoom.SetListIndex(i);
    showingZoom_ = false;

    const std::string& a = DoubleClick.DCAction;
    if (a == "EditWith") optEditWith.SetValue(true);
    else if (a == "None") optNone.SetValue(true);
    else if (a == "Copy") optCopy.SetValue(true);
    else if (a == "Save") optSave.SetValue(true);
    else if (a == "Zoom") optZoom.SetValue(true);
    else if (a == "Prop") optProp.SetValue(true);

    chkPlay.SetValue(DoubleClick.DCPlay ? vbChecked : vbUnchecked);
    chkRef.SetValue(DoubleClick.DCRef ? vbChecked : vbUnchecked);
    chkRun.SetValue(DoubleClick.DCRun ? vbChecked : vbUnchecked);
    chkChange.SetValue(DoubleClick.DCChange ? vbChecked : vbUnchecked);

    const bool useMask = h.UseMask && *h.UseMask;
    chkMaskUseBackground.SetValue(useMask ? vbUnchecked : vbChecked);
    chkMaskUseBackground_Click();
}

CheckBox& FrmOptions::asoBox(int row) {
    CheckBox* boxes[] = {&chkAsoANI, &chkAsoCUR, &chkAsoDLL, &chkAsoICL, &chkAsoICO};
    return *boxes[row];
}

void FrmOptions::tbsOptions_Click() {
    Tab* selected = tbsOptions.SelectedItem();
    if (!selected) return;
    const int index = selected->Index();
    if (index == CurrentTab) return;
    picOptions(index).SetVisible(true);
    picOptions(CurrentTab).SetVisible(false);
    CurrentTab = index;
}

void FrmOptions::chkMaskUseBackground_Click() {
    const bool own = chkMaskUseBackground.Value() == vbUnchecked;
    cmbMaskSystemColor.SetEnabled(own);
    cmdMaskCustom.SetEnabled(own);
    const std::int32_t maskColor = optionsHost.MaskColor ? *optionsHost.MaskColor : 0;
    shpMaskColor.SetBackColor(static_cast<OleColor>(own ? maskColor : resultBackColor()));
}

void FrmOptions::cmbMaskSystemColor_Click() {
    if (std::int32_t color = SystemColorOfItem(cmbMaskSystemColor.ListIndex()))
        shpMaskColor.SetBackColor(static_cast<OleColor>(color));
}

void FrmOptions::cmdMaskCustom_Click() {
    dlgIcon.Flags = cdlCCFullOpen;
    dlgIcon.CancelError = false;
    if (!dlgIcon.ShowColor()) return;
    if (optionsHost.MaskColor) *optionsHost.MaskColor = static_cast<std::int32_t>(dlgIcon.Color);
    shpMaskColor.SetBackColor(static_cast<OleColor>(dlgIcon.Color));
    cmbMaskSystemColor.SetListIndex(0);
}

void FrmOptions::optNone_Click() { DoubleClick.DCAction = "None"; }
void FrmOptions::optCopy_Click() { DoubleClick.DCAction = "Copy"; }
void FrmOptions::optSave_Click() { DoubleClick.DCAction = "Save"; }
void FrmOptions::optZoom_Click() { DoubleClick.DCAction = "Zoom"; }
void FrmOptions::optProp_Click() { DoubleClick.DCAction = "Prop"; }

void FrmOptions::lstZoom_Change() {
    if (!optZoom.Value()) optZoom.SetValue(true);
    DoubleClick.DCAction = "Zoom";
}

void FrmOptions::lstZoom_GotFocus() { lstZoom_Change(); }

bool FrmOptions::editorValid() { return procFileExists(txtEdit.Tag + txtEdit.Text()); }

void FrmOptions::clearEditor() {
    txtEdit.SetText("");
    txtEdit.Tag.clear();
}

void FrmOptions::optEditWith_Click() {
    DoubleClick.DCAction = "EditWith";
    if (!optEditWith.Value() || editorValid()) return;
    if (MsgBox(kEditorQuestion, vbYesNo | vbExclamation, kEditorTitle) == vbYes) {
        EditorBrowseFromOption = true;
        cmdBrowseEdit_Click();
        return;
    }
    clearEditor();
    optEditWith.SetValue(false);
    optNone.SetValue(true);
    optEditWith.SetEnabled(false);
}

void FrmOptions::cmdBrowseEdit_Click() {
    for (;;) {
        dlgIcon.Filter = "Applications (*.exe)|*.exe";
        dlgIcon.DefaultExt = "exe";
        dlgIcon.Flags = 0x280004;
        dlgIcon.DialogTitle = "Select External Icon Editor";
        dlgIcon.CancelError = false;
        const bool chosen = dlgIcon.ShowOpen();
        const std::string name = chosen ? dlgIcon.FileName : std::string();
        if (const size_t cut = name.rfind('\\'); cut != std::string::npos) {
            txtEdit.SetText(name.substr(cut + 1));
            txtEdit.Tag = name.substr(0, cut + 1);
        } else if (!chosen && EditorBrowseFromOption) {
            // A cancel of the browse the option's check started leaves no editor chosen.
            EditorBrowseFromOption = false;
            clearEditor();
            optEditWith.SetValue(false);
            optNone.SetValue(true);
            optEditWith.SetEnabled(false);
            return;
        }
        if (txtEdit.Text().empty() || editorValid()) break;
        if (MsgBox(kEditorQuestion, vbYesNo | vbExclamation, kEditorTitle) == vbYes) continue;
        clearEditor();
        break;
    }
    EditorBrowseFromOption = false;
    if (!txtEdit.Text().empty()) {
        optEditWith.SetEnabled(true);
        if (!optEditWith.Value()) optEditWith.SetValue(true);
    } else {
        if (optEditWith.Value()) {
            optEditWith.SetValue(false);
            optNone.SetValue(true);
        }
        optEditWith.SetEnabled(false);
        return;
    }
    if (!shell::procMessageSilenced("ExtEditMessage"))
        shell::procShowMessage("Some Icon Editors do not support High Color icons or even 256 Color Icons. This may "
                               "cause errors while opening these Icon types with the selected Icon Editor.",
                               "ExtEditMessage", "Edit With External Editor", "");
}

void FrmOptions::cmdBrowse_Click() {
    folderPicker.SearchingFavorites = true;
    procBrowseForFolder(txtFavHomeDir.Text(),
                        "Select a valid Folder. Do not select system objects like Printers, Control Panel etc.");
    if (txtFavHomeDir.Text().empty()) txtFavHomeDir.SetText(paths.DataPath);
    folderPicker.SearchingFavorites = false;
}

void FrmOptions::cmdCreate_Click() { txtFavHomeDir.SetText(paths.DataPath + optionsHost.FavoritesFolderName); }

void FrmOptions::cmdDesktop_Click() {
    if (!procSaveProgramShortcut(optionsHost.saveShortcut, optionsHost.DesktopFolder + kShortcutName, paths.DataPath))
        MsgBox("The shortcut on the desktop could not be made.", vbExclamation, Caption());
}

void FrmOptions::cmdApply_Click() {
    OptionsHost& h = optionsHost;
    // What Apply changes is stored at once, so that a program ended by force keeps it.
    if (h.pnlResult) {
        const bool hot = chkHoverSelection.Value() == vbChecked;
        h.pnlResult->SetHotTracking(hot);
        h.pnlResult->SetHoverSelection(hot);
        writeSetting("HotTracking", hot ? "True" : "False");
    }

    if (cmbIconsPerPage.ListIndex() >= 0) {
        const int perPage = std::atoi(cmbIconsPerPage.Text().c_str());
        if (perPage > 0 && perPage != Paging.IconsPerPage) {
            Paging.IconsPerPage = perPage;
            writeSetting("IconsPerPage" + std::to_string(Keywords.IconSize), std::to_string(perPage));
            if (Entries.cmbResult.ListCount() > 0) {
                Paging.PageCount = PageCountFor(Entries.cmbResult.ListCount(), perPage);
                if (Paging.CurrentPage > Paging.PageCount) Paging.CurrentPage = Paging.PageCount;
                if (h.showPage) h.showPage();
            }
        }
    }

    for (int row = 0; row < 5; ++row) {
        const bool ticked = asoBox(row).Value() == vbChecked;
        if (ticked == shownAso_[row]) continue;
        procSetAso(ticked, kAssociations[row], paths.DataPath);
        shownAso_[row] = ticked;
    }
    const std::string sendTo = h.SendToFolder + kShortcutName;
    if (const bool ticked = chkSendTo.Value() == vbChecked; ticked != shownSendTo_) {
        if (!ticked) {
            if (DeleteFileA(sendTo.c_str())) AfterOwnedWrite();
        } else if (!procSaveProgramShortcut(h.saveShortcut, sendTo, paths.DataPath)) {
            MsgBox("Vellumar could not be added to the Send To menu.", vbExclamation, Caption());
        }
        shownSendTo_ = procFileExists(sendTo);
        chkSendTo.SetValue(shownSendTo_ ? vbChecked : vbUnchecked);
    }
    for (int row = 0; row < 5; ++row) writeBox(kAssociations[row].setting, asoBox(row));

    writeSetting("DCAction", DoubleClick.DCAction);
    if (lstZoom.ListIndex() >= 0) DoubleClick.DCZoom = static_cast<short>(std::atoi(lstZoom.Text().c_str()));
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "DCZoom", Variant(static_cast<std::int32_t>(DoubleClick.DCZoom)), REG_DWORD);
    const std::pair<CheckBox*, bool*> priorities[] = {{&chkPlay, &DoubleClick.DCPlay},
                                                      {&chkRef, &DoubleClick.DCRef},
                                                      {&chkRun, &DoubleClick.DCRun},
                                                      {&chkChange, &DoubleClick.DCChange}};
    const char* const priorityNames[] = {"DCPlay", "DCRef", "DCRun", "DCChange"};
    for (int i = 0; i < 4; ++i) {
        writeBox(priorityNames[i], *priorities[i].first);
        *priorities[i].second = priorities[i].first->Value() != vbUnchecked;
    }

    if (Keywords.IconSize == 32) {
        const std::string folder = txtFavHomeDir.Text();
        if (folder != LoadedFavoritesFolder) {
            if (h.FavoritesFolder) *h.FavoritesFolder = folder;
            LoadedFavoritesFolder = folder;
            // The program's own favourites folder is made when it is chosen and missing.
            if (folder == paths.DataPath + "Favorites" || folder == paths.DataPath + h.FavoritesFolderName)
                CreateDirectoryA(folder.c_str(), nullptr);
            if (h.rebuildFavorites) h.rebuildFavorites();
            writeSetting("FavDir", folder);
        }
        writeBox("SearchFav", chkSearchFav);
        DoubleClick.SearchFav = chkSearchFav.Value() != vbUnchecked;
    }

    const std::string n = std::to_string(Keywords.IconSize);
    if (h.UseMask && h.MaskColor) {
        if (chkMaskUseBackground.Value() == vbUnchecked) {
            *h.UseMask = true;
            *h.MaskColor = static_cast<std::int32_t>(shpMaskColor.BackColor());
        } else {
            *h.UseMask = false;
        }
        writeSetting("UseMask" + n, *h.UseMask ? "True" : "False");
        writeSetting("MaskColor" + n, std::to_string(*h.MaskColor));
    }

    if (chkRestart.Value() != vbGrayed)
        for (const char* name : {"SysCursorRestart", "SysFileTypeRestart"}) writeBox(name, chkRestart);
    if (chkRebuild.Value() != vbGrayed)
        for (const char* name : {"SysCache", "ShortcutCache", "FolderCache"}) writeBox(name, chkRebuild);

    if (optEditWith.Enabled()) {
        writeSetting("ExtEditFile", txtEdit.Text());
        writeSetting("ExtEditFolder", txtEdit.Tag);
    }
    openedAction_ = DoubleClick.DCAction;
    openedMaskColor_ = h.MaskColor ? *h.MaskColor : 0;
}

void FrmOptions::cmdOK_Click() {
    cmdApply_Click();
    applied_ = true;
    Unload();
}

void FrmOptions::restoreOpened() {
    DoubleClick.DCAction = openedAction_;
    if (optionsHost.MaskColor) *optionsHost.MaskColor = openedMaskColor_;
}

void FrmOptions::cmdCancel_Click() { Unload(); }

// Every way out but OK (Cancel, the close box) keeps what was last applied.
void FrmOptions::Form_QueryUnload(int&, int) {
    if (!applied_) restoreOpened();
}

} // namespace vm
