#include "frmtip.h"

#include "registry.h"

namespace vm {

namespace {

struct Tip {
    const char* title;
    const char* text;
};

const Tip kTips[] = {
    {"Change Icons", "Most icons of Windows itself can be changed: the desktop, the drives, folders and the Start menu. "
                     "A changed icon stays when Vellumar is removed from your computer."},
    {"Change Icons", "Choose the Windows icon you want to change in the tree on the left, then select a new icon in "
                     "the results and click Change."},
    {"Change Icons", "Any folder can have an icon of its own: choose Change Any Folder Icon in the Tools menu."},
    {"Change Icons", "Drag shortcuts or files onto an icon in the results to give those shortcuts that icon."},
    {"Favorites", "Keep the icons you like in favorite folders; create as many folders as you need to order them."},
    {"Favorites", "Drag an icon from the results pane onto a favorite folder in the tree to add it to that folder."},
    {"Favorites", "The favorites tree can show any folder on your computer: set it in the Options."},
    {"Favorites", "Hold the Shift key while you drop a favorite icon on another folder to move it instead of copying."},
    {"Favorites", "Your favorites can be searched together with the library whenever you search on a keyword."},
    {"Favorites", "A favorite icon can be added as a reference, so it is found under keywords of your own."},
    {"Favorites", "Made an icon others would like? Submit it to the Vellumar makers for the next library."},
    {"Favorites", "Switch on searching favorites on keyword searches in the Options to see them among the results."},
    {"Add Icons", "Add references to your own icons so they show up when you search on a keyword."},
    {"Add Icons", "Add keywords of your own in the References menu and file your icons under them."},
    {"Add Icons", "Favorite icons can be given references too, with the keywords you choose."},
    {"Double-click Action", "Choose in the Options what a double-click on an icon does; the action can differ per icon "
                            "type."},
    {"Shell Integration", "Add Vellumar to the Send To menu to open icon files straight from the Explorer."},
    {"Shell Integration", "Associate icon libraries with Vellumar to open them with a double-click in the Explorer."},
    {"Create Icons/Cursors", "Create icons and cursors from your own pictures with the Create button."},
    {"Keywords", "Keywords describe what an icon shows, not what it is used for: look for \"house\", not \"home "
                 "page\"."},
    {"Keywords", "Icons without a keyword of their own are listed under the keywords of what they show."},
    {"Keywords", "The properties of an icon list all keywords it is filed under."},
    {"Keywords", "Type the first letters of a keyword in the keyword box and press Enter to choose it."},
    {"Results", "In the details view, double-click a column separator to size the column to its contents."},
    {"Results", "In the details view, click a column header to sort the results by that column; click again to "
                "reverse the order."},
    {"Results", "A blinking light in the status bar means there are more pages; click it to jump to a page."},
    {"Results", "Set the number of icons per page in the Options."},
    {"Clipboard", "Icons copied to the clipboard get the mask colour in place of their transparent parts."},
    {"ZIP Archives", "Open by Folder scans folders for icons, also inside the ZIP archives it finds."},
};

} // namespace

FrmTip& frmTip() { return defaultInstance<FrmTip>(); }

FrmTip::FrmTip() : Form("frmTip") {
    design.caption = "Tip of the Day";
    design.width = 6600;
    design.height = 3900;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.startUpPosition = vbStartUpScreen;
}

void FrmTip::CreateControls() {
    picTipBack.create(*this, 120, 120, 6240, 2520);
    picTipBack.SetBackColor(vbWhite);
    txtTitle.create(picTipBack, 120, 120, 5880, 300, "Title");
    txtTitle.SetBackColor(vbWhite);
    txtTip.create(picTipBack, 120, 480, 5880, 1920, "Tip", true);
    txtTip.SetLocked(true);
    chkTip.create(*this, 120, 2820, 3000, 300, "&Show Tips on Startup");
    cmdNextTip.create(*this, 3720, 2760, 1275, 375, "&Next Tip");
    cmdOK.create(*this, 5085, 2760, 1275, 375, "&Close");
    // Enter and Esc close the tip as Close does, as in every dialog.
    cmdOK.SetDefault(true);
    cmdOK.SetCancel(true);
    VM_ON(cmdNextTip, Click);
    VM_ON(cmdOK, Click);
}

void FrmTip::Form_Load() {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "Tip");
    chkTip.SetValue(reg.RegValue.isEmpty() || reg.RegValue.toLong() == 1 ? vbChecked : vbUnchecked);
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "TipNR");
    TipCount = static_cast<int>(std::size(kTips));
    // A number this window cannot have stored starts the ring at its first tip.
    TipNumber = reg.RegValue.toLong().value_or(0);
    if (TipNumber < 1 || TipNumber > TipCount) TipNumber = 1;
    procShowTip();
}

void FrmTip::procShowTip() {
    if (TipNumber < 1 || TipNumber > TipCount) return;
    const Tip& tip = kTips[TipNumber - 1];
    txtTitle.SetCaption("Tip " + std::to_string(TipNumber) + " of " + std::to_string(TipCount) + ". " + tip.title);
    txtTip.SetText(tip.text);
}

void FrmTip::cmdNextTip_Click() {
    if (TipNumber == TipCount) TipNumber = 0;
    ++TipNumber;
    procShowTip();
}

void FrmTip::cmdOK_Click() {
    procSaveTipSettings();
    Unload();
}

void FrmTip::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode != vbFormControlMenu) return;
    Cancel = 1;
    cmdOK_Click();
}

void FrmTip::procSaveTipSettings() {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "TipNr", Variant(static_cast<std::int32_t>(TipNumber == TipCount ? 1 : TipNumber + 1)),
                    REG_DWORD);
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "Tip", Variant(std::to_string(chkTip.Value())), REG_SZ);
}

} // namespace vm
