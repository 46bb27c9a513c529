#include "frmchange.h"

#include "registrybackup.h"

#include <windows.h>
#include <shellapi.h>

#include "browserstate.h"
#include "changerules.h"
#include "commandstate.h"
#include "cursorsource.h"
#include "files.h"
#include "frmmessage.h"
#include "helpfile.h"
#include "iconcache.h"
#include "iconcanvas.h"
#include "loadergate.h"
#include "orvexbind.h"
#include "registry.h"
#include "registrybackup.h"
#include "seam.h"
#include "state.h"
#include "utf8text.h"

namespace vm {

ChangeHost changeHost;

namespace {

constexpr COLORREF kGlyphKey = RGB(255, 0, 255);

Picture buttonGlyph(COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 16, 16}, inner{3, 3, 13, 13};
    HBRUSH key = CreateSolidBrush(kGlyphKey), fill = CreateSolidBrush(colour);
    FillRect(dc, &all, key);
    FillRect(dc, &inner, fill);
    DeleteObject(key);
    DeleteObject(fill);
    SelectObject(dc, old);
    DeleteDC(dc);
    return Picture::fromBitmap(bitmap);
}

bool sameText(const std::string& a, const std::string& b) { return SameText(a, b); }

} // namespace

FrmChange& frmChange() { return defaultInstance<FrmChange>(); }

FrmChange::FrmChange() : Form("frmChange") {
    design.caption = "Change";
    design.borderStyle = vbFixedToolWindow;
    design.width = 3000;
    design.height = 2700;
    design.startUpPosition = vbStartUpManual;
    design.keyPreview = true; // F1 from any control of the window
}

void FrmChange::createMenus() {
    if (mnuFile.items().empty()) {
        mnuFile.create(*this, "&File");
        mnuFileApply.create(mnuFile, "&Apply");
        mnuFileCloseApply.create(mnuFile, "A&pply and Close");
        mnuDiv1.create(mnuFile, "-");
        mnuFileClose.create(mnuFile, "&Close");
        mnuView.create(*this, "&View");
        mnuViewEquiv.create(mnuView, "&Look-a-Likes");
        mnuViewDefault.create(mnuView, "&Windows Default");
        mnuDiv2.create(mnuView, "-");
        mnuViewGroup.create(mnuView, "&Back to &Group");
        mnuDiv3.create(mnuView, "-");
        mnuViewBackcolor.create(mnuView, "&Backcolor...");
        mnuTools.create(*this, "&Tools");
        mnuToolsRebuild.create(mnuTools, "&Rebuild Icon Cache");
        mnuHelp.create(*this, "&Help!");
    }
}

void FrmChange::createToolbar() {
    struct Button {
        const char* key;
        const char* tip;
        COLORREF colour;
    };
    const Button buttons[] = {{"apply", "Apply", RGB(0, 150, 0)},
                              {"lookalike", "View Look-a-Likes", RGB(0, 90, 200)},
                              {"default", "Windows Default", RGB(0, 120, 120)},
                              {"group", "Back to Group", RGB(200, 160, 40)},
                              {"build", "Rebuild Windows Icon Cache", RGB(120, 60, 160)},
                              {"applyexit", "Apply and Close", RGB(200, 30, 30)}};
    if (imlButton.ListImages.Count() == 0) {
        imlButton.SetMaskColor(kGlyphKey);
        for (const Button& b : buttons) imlButton.ListImages.Add(-1, b.key, buttonGlyph(b.colour));
    }
    pnlToolbar.SetImageList(&imlButton);
    int image = 1;
    for (const Button& b : buttons) pnlToolbar.Buttons.Add(-1, b.key, "", tbrDefault, image++).SetToolTipText(b.tip);
}

void FrmChange::CreateControls() {
    createMenus();
    CoolBar1.create(*this);
    pnlToolbar.create(CoolBar1);
    createToolbar();
    CoolBar1.Bands.Add(-1, "toolbar", "", &pnlToolbar, true);
    lneShadow.create(*this, 0, 0, 3000, pixelsToTwipsY(1));
    lneShadow.SetBackColor(vbButtonShadow);
    lneLight.create(*this, 0, pixelsToTwipsY(1), 3000, pixelsToTwipsY(1));
    lneLight.SetBackColor(vb3DHighlight);
    lblTitle.create(*this, 240, 600, 2400, 240, "");
    lblResource.create(*this, 240, 900, 1000, 240, "Current");
    lblIcon.create(*this, 1560, 900, 1000, 240, "New");
    picImportBack.create(*this, 240, 1140, 840, 840, true);
    picImport.create(picImportBack, 180, 180, 480, 480, false);
    picIconBack.create(*this, 1560, 1140, 840, 840, true);
    picIcon.create(picIconBack, 180, 180, 480, 480, false);
    picIcon.SetScaleMode(vbPixels);
    pnlStatusbar.create(*this);
    pnlStatusbar.Panels.Add(-1, "status").SetAutoSize(sbrSpring);
    bindEvents();
}

void FrmChange::bindEvents() {
    VM_ON(mnuFileApply, Click);
    VM_ON(mnuFileCloseApply, Click);
    VM_ON(mnuFileClose, Click);
    VM_ON(mnuViewEquiv, Click);
    VM_ON(mnuViewDefault, Click);
    VM_ON(mnuViewGroup, Click);
    VM_ON(mnuViewBackcolor, Click);
    VM_ON(mnuToolsRebuild, Click);
    VM_ON(mnuHelp, Click);
    VM_ON(pnlToolbar, ButtonClick);
    picIconDrop.OLEDragOver = [this](DataObject& Data, int& Effect, int, int, float, float, int) {
        Effect = Data.GetFormat(vbCFText) && picIcon_OLEDragOver(Data.GetText()) ? (Effect & vbDropEffectCopy)
                                                                                 : vbDropEffectNone;
    };
    picIconDrop.OLEDragDrop = [this](DataObject& Data, int&, int, int, float, float) {
        picIcon_OLEDragDrop(Data.GetFormat(vbCFText) ? Data.GetText() : std::string());
    };
}

void FrmChange::Form_Load() {
    ShowingDefault = false;
    enableApply(false);
    enableLookAlike(false);
    enableDefault(false);
    const int w = pixelsToTwipsX(Keywords.IconSize), h = pixelsToTwipsY(Keywords.IconSize);
    picImport.Move(vmKeep, vmKeep, w, h);
    picIcon.Move(vmKeep, vmKeep, w, h);
    const int bar = CoolBar1.Height();
    lneShadow.Move(0, bar, Width());
    lneLight.Move(0, bar + pixelsToTwipsY(1), Width());
    SetHeight(design.height + 2 * lblResource.Height());
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, "ChangeTop");
    const auto top = reg.RegValue.toLong();
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, "ChangeLeft");
    const auto left = reg.RegValue.toLong();
    picIconDrop.attach(picIcon);
    SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Move(left ? static_cast<int>(*left) : (Screen::Width() - Width()) / 2,
         top ? static_cast<int>(*top) : (Screen::Height() - design.height) / 2);
}

void FrmChange::Form_QueryUnload(int&, int) {
    picIconDrop.detach();
    if (WindowState() == vbMinimized) return;
    procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
    procRegSetValue(kPosKey, "ChangeTop", Variant(static_cast<std::int32_t>(Top())), REG_DWORD);
    procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
    procRegSetValue(kPosKey, "ChangeLeft", Variant(static_cast<std::int32_t>(Left())), REG_DWORD);
}

void FrmChange::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == VK_F1) mnuHelp_Click();
}

std::string FrmChange::status() { return pnlStatusbar.Panels(1).Text(); }
void FrmChange::setStatus(const std::string& text) { pnlStatusbar.Panels(1).SetText(text); }

void FrmChange::enableApply(bool on) {
    mnuFileApply.SetEnabled(on);
    mnuFileCloseApply.SetEnabled(on);
    pnlToolbar.Buttons("apply").SetEnabled(on);
    pnlToolbar.Buttons("applyexit").SetEnabled(on);
}

void FrmChange::enableLookAlike(bool on) {
    mnuViewEquiv.SetEnabled(on);
    pnlToolbar.Buttons("lookalike").SetEnabled(on);
}

void FrmChange::enableDefault(bool on) {
    mnuViewDefault.SetEnabled(on);
    pnlToolbar.Buttons("default").SetEnabled(on);
}

void FrmChange::handOver(const ChangeItem& item) {
    Show();
    picIconBack.Tag = item.entry;
    setStatus("Drop icon from Vellumar on New");
    enableApply(false);
    picIcon.SetPicture({});
    picIcon.Cls();
    if (sameText(identity.ProductName, "Vellumar")) enableLookAlike(true);
    enableDefault(true);
    // A target whose location is not found is never applied to an earlier target's place.
    picImport.Tag.clear();
    const std::vector<std::string> rows = changeHost.changeRows ? changeHost.changeRows() : std::vector<std::string>{};
    if (sameText(item.typeText, "System Icon")) {
        if (auto row = change::findSystemIconRow(rows, item.text)) picImport.Tag = *row;
    } else if (sameText(item.typeText, "File Type Icon")) {
        if (auto row = change::findFileTypeRow(rows, change::fileTypeKey(item.entry))) picImport.Tag = *row;
    } else if (sameText(item.typeText, "Current Cursor") || sameText(item.typeText, "Animated Cursor")) {
        picImport.Tag = item.entry;
    } else if (sameText(item.typeText, "Shortcut Icon")) {
        picImport.Tag = change::shortcutPath(paths.WindowsDir, item.folder, item.text);
        picImportBack.Tag = item.entry;
        enableLookAlike(false);
    }
    Tag = item.typeText;
    enableApply(false);
    ChangeGroupNode = changeHost.rememberGroup ? changeHost.rememberGroup() : std::function<void()>{};
    SetCaption("Change " + item.typeText);
    lblTitle.SetCaption(change::changeTitle(item.text));
    picImport.SetPicture(item.icon);
}

bool FrmChange::picIcon_OLEDragOver(const std::string& text) {
    ChangeItem item;
    return changeHost.selectedItem && changeHost.selectedItem(item) && text == item.text;
}

void FrmChange::picIcon_OLEDragDrop(const std::string& text) {
    ShowingDefault = false;
    ChangeItem item;
    if (!changeHost.selectedItem || !changeHost.selectedItem(item) || text != item.text) {
        setStatus("Drag an Icon from Vellumar!");
        enableApply(false);
        return;
    }
    picIcon.SetPicture(item.icon);
    picIcon.Tag = item.entry;
    picIcon.Refresh();
    setStatus(item.typeText.compare(0, 8, "Animated") == 0 ? "File, Apply to Change to Full ANI"
                                                           : "Choose File, Apply to Change");
    enableApply(true);
}

void FrmChange::pnlToolbar_ButtonClick(ToolbarButton& Button) {
    const std::string& key = Button.Key();
    if (key == "apply") mnuFileApply_Click();
    else if (key == "lookalike") mnuViewEquiv_Click();
    else if (key == "default") mnuViewDefault_Click();
    else if (key == "group") mnuViewGroup_Click();
    else if (key == "build") mnuToolsRebuild_Click();
    else if (key == "applyexit") mnuFileCloseApply_Click();
}

void FrmChange::mnuFileApply_Click() {
    // The hotspot picker and the icon writers take the picture on "New" of this
    // change, whatever an earlier change left.
    Masks.changePicture = [this] { return picIcon.GetPicture(); };
    Commands.ChangeApplying = true;
    Restarting = false;
    const std::string& kind = Tag;
    if (kind == "Current Cursor" || kind == "Animated Cursor") procApplyCursor();
    else if (kind == "System Icon") procApplySystemIcon();
    else if (kind == "Shortcut Icon") procApplyShortcut();
    else if (kind == "File Type Icon") procApplyFileType();
    // Windows is being restarted and the program ends: nothing more is done here.
    if (Restarting) {
        Commands.ChangeApplying = false;
        return;
    }
    picIcon.SetPicture({});
    picIcon.Cls();
    Commands.ChangeApplying = false;
    setStatus("Select a System Icon to Change");
    enableApply(false);
}

void FrmChange::mnuFileCloseApply_Click() {
    mnuFileApply_Click();
    if (Restarting) return;
    mnuFileClose_Click();
}

void FrmChange::mnuFileClose_Click() { Unload(); }

void FrmChange::mnuViewEquiv_Click() {
    if (changeHost.searchLookAlikes) changeHost.searchLookAlikes(lblTitle.Caption());
}

void FrmChange::mnuViewGroup_Click() {
    if (ChangeGroupNode) ChangeGroupNode();
}

void FrmChange::mnuViewBackcolor_Click() {
    dlgIcon.Flags = 2;
    if (!dlgIcon.ShowColor()) return;
    picIconBack.SetBackColor(dlgIcon.Color);
    picIcon.SetBackColor(dlgIcon.Color);
}

void FrmChange::mnuToolsRebuild_Click() { procRebuildIconCache(); }

void FrmChange::mnuHelp_Click() { procShowHelp(hWnd(), HelpContext::Change); }

// The Windows default.

void FrmChange::mnuViewDefault_Click() {
    ShowingDefault = true;
    const std::string& kind = Tag;
    if (kind == "Current Cursor" || kind == "Animated Cursor") procShowDefaultCursor();
    else if (kind == "System Icon") procShowDefaultSystemIcon();
    else if (kind == "Shortcut Icon") procShowDefaultShortcut();
    else if (kind == "File Type Icon") procShowDefaultFileType();
}

void FrmChange::procShowDefaultFileType() {
    const auto row = change::parseFileTypeRow(picImport.Tag);
    if (!row) return;
    FileClass = row->fileClass;
    // The icon from before the first change, else one an earlier version kept, else the one in force.
    const std::string defaultIcon = FileClass + "\\DefaultIcon";
    const auto kept =
        RegistryBackup(HKEY_CLASSES_ROOT, change::changeBackupKey("HKEY_CLASSES_ROOT\\" + defaultIcon))
            .kept(defaultIcon, "");
    std::vector<std::string> values;
    if (kept && kept->present) values.push_back(ExpandedText(*kept));
    for (const char* key : {"\\VmDefault", "\\DefaultIcon"}) {
        procRegGetValue(HKEY_CLASSES_ROOT, FileClass + key, "");
        values.push_back(reg.RegValue.toText());
    }
    for (const std::string& value : values) {
        if (value.empty()) continue;
        const change::IconLocation location = change::splitIconLocation(value);
        DefaultIconFile = location.file;
        procDrawDefaultIcon(DefaultIconFile, location.index);
        return;
    }
}

void FrmChange::procShowDefaultSystemIcon() {
    // The row's icon location: its second field.
    const std::string& row = picImport.Tag;
    const auto first = row.find(';');
    const std::string field = first == std::string::npos ? std::string() : row.substr(first + 1, row.find(';', first + 1) - first - 1);
    const change::IconLocation location = change::splitIconLocation(field);
    DefaultIconFile = location.file;
    procDrawDefaultIcon(DefaultIconFile, location.index);
}

void FrmChange::procShowDefaultShortcut() {
    std::string field = picImportBack.Tag;
    for (int i = 0; i < 2; ++i) {
        const auto semi = field.find(';');
        field = semi == std::string::npos ? std::string() : field.substr(semi + 1);
    }
    procDrawDefaultIcon(field.substr(0, field.find(';')), 0);
}

void FrmChange::procShowDefaultCursor() {
    // Cursors: the built-in cursor of the role, or the id a "default" entry carries.
    const std::string& entry = picImport.Tag;
    std::string fields[3];
    std::size_t start = 0;
    for (int i = 0; i < 3 && start <= entry.size(); ++i) {
        const auto semi = entry.find(';', start);
        fields[i] = entry.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
        start = semi == std::string::npos ? entry.size() + 1 : semi + 1;
    }
    DefaultCursorId = fields[2];
    if (fields[0] != "default") {
        DefaultCursorId.clear();
        for (const CursorTableRow& row : CursorTable())
            if (fields[2] == std::string("Control Panel\\Cursors\\") + row.valueName)
                DefaultCursorId = std::to_string(row.ocrId);
    }
    picIcon.SetPicture({});
    picIcon.Cls();
    const int id = std::atoi(DefaultCursorId.c_str());
    HCURSOR cursor = id ? LoadCursorA(nullptr, MAKEINTRESOURCEA(id)) : nullptr;
    if (cursor && DrawIcon(picIcon.hDC(), 0, 0, cursor)) {
        picIcon.SetPicture(picIcon.Image());
        setStatus("Choose File, Apply to Change");
    } else {
        if (changeHost.noIcon) picIcon.SetPicture(changeHost.noIcon());
        setStatus("Could not Retrieve Windows Default");
    }
    enableApply(true);
}

bool FrmChange::procDrawDefaultIcon(const std::string& file, int index) {
    HICON large = nullptr, small = nullptr;
    const UINT found = gate::ExtractIcons(file, index, &large, &small, 1);
    const bool drawn = found > 0 && large;
    if (drawn) {
        // "New" holds the default itself, so that Apply writes what is shown.
        picIcon.SetPicture(Picture::fromIcon(large));
        if (small) DestroyIcon(small);
        setStatus("Choose File, Apply to Change");
    } else {
        if (small) DestroyIcon(small);
        if (changeHost.noIcon) picIcon.SetPicture(changeHost.noIcon());
        setStatus("Could not Retrieve Default!");
    }
    enableApply(true);
    return drawn;
}

} // namespace vm
