#include "frmimport.h"

#include <optional>
#include <vector>

#include "alphaicon.h"
#include "errorreport.h"
#include "helpfile.h"
#include "importrules.h"
#include "picturefile.h"
#include "picturepixels.h"
#include "registry.h"
#include "seam.h"
#include "state.h"

namespace vm {

namespace {

constexpr COLORREF kGlyphKey = RGB(255, 0, 255);

// The toolbar's pictures, drawn here: open, save, copy, paste, close.
Picture buttonGlyph(int kind) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto fill = [dc](int l, int t, int r, int b, COLORREF c) {
        RECT rc{l, t, r, b};
        HBRUSH brush = CreateSolidBrush(c);
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
    };
    fill(0, 0, 16, 16, kGlyphKey);
    switch (kind) {
    case 1: // an open folder
        fill(1, 4, 7, 6, RGB(200, 160, 40));
        fill(1, 6, 15, 14, RGB(230, 190, 60));
        break;
    case 2: // a disk
        fill(2, 2, 14, 14, RGB(40, 70, 160));
        fill(4, 2, 12, 7, RGB(240, 240, 240));
        fill(5, 10, 11, 14, RGB(160, 160, 160));
        break;
    case 3: // two sheets
        fill(2, 2, 10, 11, RGB(90, 90, 90));
        fill(3, 3, 9, 10, RGB(255, 255, 255));
        fill(6, 5, 14, 14, RGB(90, 90, 90));
        fill(7, 6, 13, 13, RGB(255, 255, 255));
        break;
    case 4: // a clipboard
        fill(3, 2, 13, 15, RGB(150, 100, 50));
        fill(5, 4, 11, 13, RGB(255, 255, 255));
        fill(6, 1, 10, 3, RGB(90, 90, 90));
        break;
    default: // a cross
        for (int i = 3; i < 13; ++i) {
            fill(i, i, i + 2, i + 2, RGB(200, 30, 30));
            fill(15 - i, i, 17 - i, i + 2, RGB(200, 30, 30));
        }
        break;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return Picture::fromBitmap(bitmap);
}

// A COLORREF (0x00BBGGRR) as the 0xRRGGBB of pixels.
std::uint32_t rgbOf(COLORREF colour) {
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 | static_cast<std::uint32_t>(GetGValue(colour)) << 8 |
           GetBValue(colour);
}

std::optional<int> storedNumber(HKEY root, const char* key, const char* name) {
    procRegGetValue(root, key, name);
    return reg.RegValue.toLong();
}

void writeNumber(const char* key, const char* name, std::int32_t value) {
    procRegCreateKey(key, HKEY_CURRENT_USER);
    procRegSetValue(key, name, Variant(value), REG_DWORD);
}

void fillList(ComboBox& box, const std::vector<importrules::ListEntry>& entries) {
    box.Clear();
    for (const auto& entry : entries) {
        box.AddItem(entry.text);
        box.SetItemData(box.NewIndex(), entry.itemData);
    }
}

std::vector<importrules::ListEntry> listOf(ComboBox& box) {
    std::vector<importrules::ListEntry> entries;
    for (int i = 0; i < box.ListCount(); ++i) entries.push_back({box.List(i), box.ItemData(i)});
    return entries;
}

} // namespace

FrmImport& frmImport() { return defaultInstance<FrmImport>(); }

FrmImport::FrmImport() : Form("frmImport") {
    design.caption = "Brallix";
    design.borderStyle = vbFixedSingle;
    design.maxButton = false;
    design.width = 4200;
    design.height = 5000;
    design.startUpPosition = vbStartUpManual;
    design.keyPreview = true; // F1 from any control of the window
}

void FrmImport::createMenus() {
    // Menu items outlive an unload of the window; they are made once.
    if (mnuFile.items().empty()) {
        mnuFile.create(*this, "&File");
        mnuFileOpen.create(mnuFile, "&Open...\tCtrl+O");
        mnuFileSaveAs.create(mnuFile, "Save &As...");
        mnuFileDiv.create(mnuFile, "-");
        mnuFileClose.create(mnuFile, "&Close");
        mnuEdi.create(*this, "&Edit");
        mnuEditCopy.create(mnuEdi, "&Copy\tCtrl+C");
        mnuEditPaste.create(mnuEdi, "&Paste\tCtrl+V");
        mnuView.create(*this, "&View");
        mnuViewBackcolor.create(mnuView, "&BackColor...");
        mnuIconClick.create(*this, "IconClick", false);
        mnuIconClickSaveAs.create(mnuIconClick, "&Save As..");
        mnuIconClickCopy.create(mnuIconClick, "&Copy");
        mnuIconClickDiv.create(mnuIconClick, "-");
        mnuIconClickBackColor.create(mnuIconClick, "&Backcolor...");
        mnuImportClick.create(*this, "ImportClick", false);
        mnuImportClickOpen.create(mnuImportClick, "&Open");
        mnuImportClickPaste.create(mnuImportClick, "&Paste");
        mnuHelp.create(*this, "&Help!");
    }
    for (MenuItem* item : {&mnuFileSaveAs, &mnuEditCopy, &mnuIconClickSaveAs, &mnuIconClickCopy})
        item->SetEnabled(false);
}

void FrmImport::createToolbar() {
    if (imlButton.ListImages.Count() == 0) {
        imlButton.SetMaskColor(kGlyphKey);
        for (int kind = 1; kind <= 5; ++kind) imlButton.ListImages.Add(-1, "", buttonGlyph(kind));
    }
    pnlToolbar.SetImageList(&imlButton);
    struct Button {
        const char* key;
        const char* tip;
        int image;
    };
    const Button buttons[] = {{"open", "Open Graphic File", 1}, {"save", "Save As...", 2}, {"", "", 0},
                              {"copy", "Copy", 3},              {"paste", "Paste", 4},     {"", "", 0},
                              {"close", "Close Brallix", 5}};
    for (const Button& b : buttons) {
        if (!*b.key) {
            pnlToolbar.Buttons.Add(-1, "", "", tbrSeparator);
            continue;
        }
        pnlToolbar.Buttons.Add(-1, b.key, "", tbrDefault, b.image).SetToolTipText(b.tip);
    }
    pnlToolbar.Buttons("save").SetEnabled(false);
    pnlToolbar.Buttons("copy").SetEnabled(false);
}

void FrmImport::CreateControls() {
    createMenus();
    CoolBar1.create(*this);
    pnlToolbar.create(CoolBar1);
    createToolbar();
    CoolBar1.Bands.Add(-1, "toolbar", "", &pnlToolbar, true);

    lblSize.create(*this, 360, 600, 2535, 240, "Size:");
    cmbSize.create(*this, 360, 840, 2535, 2400, vbComboDropdownList);
    lblColorDepth.create(*this, 360, 1440, 2535, 240, "Color Depth:");
    cmbColorDepth.create(*this, 360, 1680, 2535, 2400, vbComboDropdownList);
    lblResource.create(*this, 360, 2280, 1200, 240, "Resource:");
    lblIcon.create(*this, 1800, 2280, 1200, 240, "Icon:");
    picImportBack.create(*this, 360, 2520, 600, 600, true);
    picImport.create(picImportBack, 105, 105, 360, 360, false);
    picImport.SetScaleMode(vbPixels);
    picImport.SetMousePointer(vbCrosshair);
    picImport.SetEnabled(false);
    picIconBack.create(*this, 1800, 2520, 600, 600, true);
    picIcon.create(picIconBack, 105, 105, 360, 360, false);
    picTransfer.create(*this, 0, 0, 15, 15, false);
    picTransfer.SetVisible(false);
    picTransfer.AutoSize = true;
    picOpen.create(*this, 0, 0, 360, 360, false);
    picOpen.SetVisible(false);
    picOpen.SetScaleMode(vbPixels);
    picOpen.SetBackColor(vbWhite);

    lneShadow.create(*this, 0, 0, 4000, pixelsToTwipsY(1));
    lneShadow.SetBackColor(vbButtonShadow);
    lneLight.create(*this, 0, pixelsToTwipsY(1), 4000, pixelsToTwipsY(1));
    lneLight.SetBackColor(vb3DHighlight);

    pnlStatusbar.create(*this);
    pnlStatusbar.Panels.Add(-1, "hint").SetAutoSize(sbrSpring);
    bindEvents();
}

void FrmImport::bindEvents() {
    VM_ON(mnuFileOpen, Click);
    VM_ON(mnuFileSaveAs, Click);
    VM_ON(mnuFileClose, Click);
    VM_ON(mnuEditCopy, Click);
    VM_ON(mnuEditPaste, Click);
    VM_ON(mnuViewBackcolor, Click);
    VM_ON(mnuHelp, Click);
    mnuIconClickSaveAs.Click = [this] { mnuFileSaveAs_Click(); };
    mnuIconClickCopy.Click = [this] { mnuEditCopy_Click(); };
    mnuIconClickBackColor.Click = [this] { mnuViewBackcolor_Click(); };
    mnuImportClickOpen.Click = [this] { mnuFileOpen_Click(); };
    mnuImportClickPaste.Click = [this] { mnuEditPaste_Click(); };
    VM_ON(cmbSize, Click);
    VM_ON(cmbColorDepth, Click);
    VM_ON(picImport, MouseUp);
    VM_ON(pnlToolbar, ButtonClick);
    picImport.MouseMove = [this](int, int, float, float) { setHint("Click to set the transparancy color"); };
    picImportBack.MouseMove = [this](int, int, float, float) { setHint(""); };
    picImportBack.MouseUp = [this](int Button, int, float, float) { popupOn(Button, mnuImportClick); };
    picIcon.MouseUp = [this](int Button, int, float, float) { popupOn(Button, mnuIconClick); };
    picIconBack.MouseUp = [this](int Button, int, float, float) { popupOn(Button, mnuIconClick); };
}

void FrmImport::Form_Load() {
    // The default instance outlives an unload: a new window starts without a picture.
    picIcon.Tag.clear();
    TransparentColor = 0;
    PreviewMode = false;
    imIcon32.ListImages.Clear();
    picIconBack.SetBackColor(vbButtonFace);
    picIcon.SetBackColor(vbButtonFace);
    fillList(cmbSize, importrules::sizeEntries());
    fillList(cmbColorDepth, importrules::colorDepthEntries(identity.OSCode));
    // A stored entry the list does not hold (a depth of another system) gives the default.
    const auto storedSize = storedNumber(HKEY_CURRENT_USER, kSettingsKey, "CreateSize");
    const auto storedDepth = storedNumber(HKEY_CURRENT_USER, kSettingsKey, "CreateColorDepth");
    cmbSize.SetListIndex(importrules::indexForStored(listOf(cmbSize), storedSize, importrules::kDefaultSizeIndex));
    cmbColorDepth.SetListIndex(
        importrules::indexForStored(listOf(cmbColorDepth), storedDepth, importrules::kDefaultColorDepthIndex));
    SetWidth(cmbSize.Left() + cmbSize.Width() + pixelsToTwipsX(64));
    procBuildIconPreview();

    const std::optional<int> top = storedNumber(HKEY_CURRENT_USER, kPosKey, "ImportTop");
    const std::optional<int> left = storedNumber(HKEY_CURRENT_USER, kPosKey, "ImportLeft");
    Move(left ? *left : (Screen::Width() - Width()) / 2, top ? *top : (Screen::Height() - Height()) / 2);
}

void FrmImport::procBuildIconPreview() {
    const int index = cmbSize.ListIndex();
    if (index < 0) return;
    IconWidth = IconHeight = static_cast<std::int16_t>(cmbSize.ItemData(index));
    const int w = pixelsToTwipsX(IconWidth), h = pixelsToTwipsY(IconHeight);
    for (PictureBox* box : {&picImport, &picTransfer, &picOpen, &picIcon}) box->Move(vmKeep, vmKeep, w, h);
    lneShadow.Move(0, 0, ScaleWidth());
    lneLight.Move(0, pixelsToTwipsY(1), ScaleWidth());
    setHint("Open or paste from the Clipboard");

    const int frameW = w + pixelsToTwipsX(16), frameH = h + pixelsToTwipsY(16);
    picImportBack.Move(vmKeep, vmKeep, frameW, frameH);
    picIconBack.Move(picImportBack.Left() + picImportBack.Width() + pixelsToTwipsX(24), vmKeep, frameW, frameH);
    lblIcon.SetLeft(picIconBack.Left());
    // The client area reaches 40 pixels below the frames and holds the status bar.
    const int client = picIconBack.Top() + picIconBack.Height() + pixelsToTwipsY(40) + pnlStatusbar.Height();
    SetHeight(Height() - ScaleHeight() + client);

    if (!pictureLoaded()) return;
    renderSource();
    setIconImage(resolveColor(imIcon32.MaskColor()));
    picImport.SetPicture(picOpen.Image());
    picIcon.SetPicture(imIcon32.ListImages(1).ExtractIcon());
}

areaaverage::Pixels FrmImport::iconPixels(COLORREF maskColor) const {
    areaaverage::Pixels source = PicturePixels(picTransfer.GetPicture());
    // The key colour goes before the picture is scaled, so that it tints no
    // neighbour, and again after, for a colour picked from the scaled picture.
    if (maskColor != CLR_INVALID) areaaverage::clearKeyColour(source, rgbOf(maskColor));
    areaaverage::Pixels scaled = areaaverage::scale(source, IconWidth, IconHeight);
    if (maskColor != CLR_INVALID) areaaverage::clearKeyColour(scaled, rgbOf(maskColor));
    return scaled;
}

void FrmImport::renderSource() {
    picOpen.SetPicture({});
    picOpen.Cls();
    picOpen.PaintPicture(OpaquePicture(iconPixels(CLR_INVALID)), 0, 0);
}

void FrmImport::setIconImage(COLORREF maskColor) {
    imIcon32.ListImages.Clear();
    imIcon32.SetImageWidth(IconWidth);
    imIcon32.SetImageHeight(IconHeight);
    imIcon32.SetMaskColor(maskColor);
    const areaaverage::Pixels pixels = iconPixels(maskColor);
    imIcon32.ListImages.Add(-1, "", Picture::fromIcon(IconFromPixels(pixels.argb.data(), pixels.width, pixels.height)));
}

void FrmImport::takeSource(const Picture& picture, bool copyToo) {
    Screen::SetMousePointer(vbHourglass);
    try {
        picImport.SetEnabled(true);
        picTransfer.SetPicture(picture);
        renderSource();
        setIconImage(kDefaultMaskColor);
        const Picture icon = imIcon32.ListImages(1).ExtractIcon();
        picImport.SetPicture(icon);
        picIcon.SetPicture(icon);
        enableSave(copyToo);
    } catch (const VbError& e) {
        procShowError(e);
    }
    Screen::SetMousePointer(vbDefault);
}

void FrmImport::enableSave(bool copyToo) {
    mnuFileSaveAs.SetEnabled(true);
    mnuIconClickSaveAs.SetEnabled(true);
    pnlToolbar.Buttons("save").SetEnabled(true);
    if (!copyToo) return;
    mnuEditCopy.SetEnabled(true);
    mnuIconClickCopy.SetEnabled(true);
    pnlToolbar.Buttons("copy").SetEnabled(true);
}

void FrmImport::mnuFileOpen_Click() {
    dlgIcon.Flags = 0x281004;
    dlgIcon.Filter = "All picture files|*.bmp;*.dib;*.dib;*.gif;*.jpg;*.wmf;*.emf|Bitmaps (*.bmp;*.dib)|*.bmp;*.dib|"
                     "Compuserve Graphics Interchange (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg|"
                     "Metafiles (*.wmf;*.emf)|*.wmf;*.emf";
    dlgIcon.FileName.clear();
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "ImportDirectory");
    const std::string startFolder = reg.RegValue.toText();
    dlgIcon.InitDir = startFolder;
    if (!dlgIcon.ShowOpen()) return;
    const std::string path = dlgIcon.FileName;

    // Windows' own picture loading reads the file; one it cannot read changes nothing here.
    Picture picture;
    try {
        picture = LoadPicture(path);
    } catch (const VbError& e) {
        MsgBox("The file " + path + " could not be opened as a picture (" + e.description() + ").", vbExclamation,
               "Brallix");
        return;
    }
    picIcon.Tag = importrules::defaultIconName(path);
    const std::string folder = importrules::folderOf(path);
    if (folder != startFolder) {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "ImportDirectory", Variant(folder), REG_SZ);
    }
    takeSource(picture, true);
}

void FrmImport::mnuEditPaste_Click() {
    Picture picture;
    try {
        picture = Clipboard::GetData(vbCFBitmap);
        if (picture.empty()) picture = Clipboard::GetData(vbCFEMetafile);
    } catch (const VbError& e) {
        procShowError(e);
        return;
    }
    if (picture.empty()) {
        MsgBox("The Clipboard holds no picture to paste.", vbExclamation, "Brallix");
        return;
    }
    picIcon.Tag.clear();
    takeSource(picture, false);
}

void FrmImport::mnuEditCopy_Click() {
    try {
        Clipboard::Clear();
        Clipboard::SetData(picOpen.Image(), vbCFBitmap);
    } catch (const VbError& e) {
        procShowError(e);
    }
}

void FrmImport::cmbSize_Click() {
    try {
        procBuildIconPreview();
    } catch (const VbError& e) {
        procShowError(e);
    }
}

void FrmImport::cmbColorDepth_Click() {
    const int index = cmbColorDepth.ListIndex();
    if (index < 0) return;
    if (pictureLoaded()) picIcon.SetPicture(imIcon32.ListImages(1).ExtractIcon());
    ColorDepth = static_cast<std::int16_t>(cmbColorDepth.ItemData(index));
    if (!pictureLoaded()) return;
    PreviewMode = true;
    mnuFileSaveAs_Click();
    PreviewMode = false;
}

void FrmImport::picImport_MouseUp(int Button, int, float X, float Y) {
    if (Button == vbRightButton) {
        PopupMenu(mnuImportClick);
        return;
    }
    if (Button != vbLeftButton) return;
    const COLORREF picked = GetPixel(picImport.hDC(), static_cast<int>(X), static_cast<int>(Y));
    if (picked == CLR_INVALID) return;
    TransparentColor = picked;
    try {
        setIconImage(TransparentColor);
        picIcon.SetPicture(imIcon32.ListImages(1).ExtractIcon());
    } catch (const VbError& e) {
        procShowError(e);
    }
}

void FrmImport::mnuViewBackcolor_Click() {
    dlgIcon.Flags = cdlCCFullOpen;
    if (!dlgIcon.ShowColor()) return;
    picIconBack.SetBackColor(dlgIcon.Color);
    picIcon.SetBackColor(dlgIcon.Color);
}

void FrmImport::procSaveImportSettings() {
    if (WindowState() != vbMinimized) {
        writeNumber(kPosKey, "ImportTop", Top());
        writeNumber(kPosKey, "ImportLeft", Left());
    }
    if (cmbSize.ListIndex() >= 0) writeNumber(kSettingsKey, "CreateSize", cmbSize.ItemData(cmbSize.ListIndex()));
    if (cmbColorDepth.ListIndex() >= 0)
        writeNumber(kSettingsKey, "CreateColorDepth", cmbColorDepth.ItemData(cmbColorDepth.ListIndex()));
}

void FrmImport::Form_QueryUnload(int&, int) { procSaveImportSettings(); }

void FrmImport::mnuFileClose_Click() { Unload(); }

void FrmImport::mnuHelp_Click() { procShowHelp(hWnd(), HelpContext::CreateIcon); }

void FrmImport::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == VK_F1) mnuHelp_Click();
}

void FrmImport::Form_MouseMove(int, int, float, float) { setHint(""); }

void FrmImport::pnlToolbar_ButtonClick(ToolbarButton& Button) {
    const std::string& key = Button.Key();
    if (key == "open") mnuFileOpen_Click();
    else if (key == "save") mnuFileSaveAs_Click();
    else if (key == "copy") mnuEditCopy_Click();
    else if (key == "paste") mnuEditPaste_Click();
    else if (key == "close") mnuFileClose_Click();
}

void FrmImport::setHint(const std::string& text) {
    if (pnlStatusbar.Panels.Count() > 0) pnlStatusbar.Panels(1).SetText(text);
}

void FrmImport::popupOn(int Button, MenuItem& menu) {
    if (Button == vbRightButton) PopupMenu(menu);
}

} // namespace vm
