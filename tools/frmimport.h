#pragma once
// The create-icon window: a picture opened from a file or pasted from the
// clipboard is stretched to a square icon size, a clicked colour becomes
// transparent, and the result is saved as an ICO or CUR file at a chosen
// colour depth. One modeless instance, made on first use.
#include <cstdint>
#include <string>

#include "areaaverage.h"
#include "controls_basic.h"
#include "coolbar.h"
#include "dialogs.h"
#include "form.h"
#include "imagelist.h"
#include "menu.h"
#include "picturebox.h"
#include "statusbar.h"
#include "toolbar.h"

namespace vm {

class FrmImport : public Form {
public:
    FrmImport();

    Label lblSize{this}, lblColorDepth{this}, lblResource{this}, lblIcon{this};
    ComboBox cmbSize{this}, cmbColorDepth{this};
    PictureBox picImportBack{this}, picImport{this}, picIconBack{this}, picIcon{this};
    // Hidden: the picture as loaded, and the picture stretched to the icon size.
    PictureBox picTransfer{this}, picOpen{this};
    // A shadow line along the top edge and a light line below it.
    Label lneShadow{this}, lneLight{this};
    CoolBar CoolBar1{this};
    Toolbar pnlToolbar{this};
    StatusBar pnlStatusbar{this};
    ImageList imIcon32, imlButton;
    CommonDialog dlgIcon;

    MenuItem mnuFile{this}, mnuFileOpen{this}, mnuFileSaveAs{this}, mnuFileDiv{this}, mnuFileClose{this};
    MenuItem mnuEdi{this}, mnuEditCopy{this}, mnuEditPaste{this};
    MenuItem mnuView{this}, mnuViewBackcolor{this};
    MenuItem mnuIconClick{this}, mnuIconClickSaveAs{this}, mnuIconClickCopy{this}, mnuIconClickDiv{this},
        mnuIconClickBackColor{this};
    MenuItem mnuImportClick{this}, mnuImportClickOpen{this}, mnuImportClickPaste{this};
    MenuItem mnuHelp{this};

    std::int16_t IconWidth = 0, IconHeight = 0; // pixels, always equal
    std::int16_t ColorDepth = 0;                // bits per pixel
    bool PreviewMode = false;                   // Save As writes a scratch file and shows it
    COLORREF TransparentColor = 0;              // the colour last picked on picImport

    // The key colour of a fresh picture: pixels of exactly this colour are transparent.
    static constexpr COLORREF kDefaultMaskColor = RGB(128, 0, 0);

    void procBuildIconPreview();
    void procSaveImportSettings();

    void mnuFileOpen_Click();
    void mnuFileSaveAs_Click();
    void mnuFileClose_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuViewBackcolor_Click();
    void mnuHelp_Click();
    void cmbSize_Click();
    void cmbColorDepth_Click();
    void picImport_MouseUp(int Button, int Shift, float X, float Y);
    void pnlToolbar_ButtonClick(ToolbarButton& Button);

    // A picture is loaded: Save As is enabled only then.
    bool pictureLoaded() const { return mnuFileSaveAs.Enabled(); }

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;

private:
    void createMenus();
    void createToolbar();
    void bindEvents();
    void setHint(const std::string& text);
    // Open and Paste: the new source picture at the chosen size, key colour reset, and Save As
    // (with copyToo, Copy as well) enabled; a failure is shown, not raised.
    void takeSource(const Picture& picture, bool copyToo);
    // picTransfer's picture at the icon size, area-averaged, its own
    // transparency kept and pixels of maskColor (unless CLR_INVALID) transparent.
    areaaverage::Pixels iconPixels(COLORREF maskColor) const;
    // picOpen: that picture over white, without transparency.
    void renderSource();
    // imIcon32's one image: the icon of that picture with the mask colour given.
    void setIconImage(COLORREF maskColor);
    void enableSave(bool copyToo);
    void popupOn(int Button, MenuItem& menu);
};

FrmImport& frmImport();

} // namespace vm
