#pragma once
// The options window: page size and hot tracking of the result list, the mask
// colour of copied icons, the reminders, the shell integration, the
// double-click action with its external editor, and the favourites folder.
// Loaded afresh on every opening; Apply and OK store, Cancel stores nothing
// and gives back what the window changed at once (the action and the mask colour).
#include <cstdint>
#include <functional>
#include <string>

#include "browserstate.h"
#include "controls_basic.h"
#include "controls_common.h"
#include "dialogs.h"
#include "form.h"
#include "listview.h"
#include "picturebox.h"
#include "shellintegration.h"

namespace vm {

// What the options window changes in the rest of the program; the main window fills it in.
struct OptionsHost {
    ListView* pnlResult = nullptr;      // hot tracking, and the background used as mask colour
    bool* UseMask = nullptr;            // mask options of the current data set
    std::int32_t* MaskColor = nullptr;
    std::string* FavoritesFolder = nullptr;
    std::string FavoritesFolderName = "Favorites";
    std::string SendToFolder;           // with a trailing "\"
    std::string DesktopFolder;          // with a trailing "\"
    std::function<void()> showPage;            // page menus and the current page again
    std::function<void()> rebuildFavorites;    // the favourites branch of the tree from FavoritesFolder
    ShortcutWriter saveShortcut;
};
extern OptionsHost optionsHost;

class FrmOptions : public Form {
public:
    FrmOptions();
    TabStrip tbsOptions{this};
    ControlArray<PictureBox> picOptions{this};
    // General.
    Frame fraResults{this}, fraMask{this};
    Label lblIconsPerPage{this};
    ComboBox cmbIconsPerPage{this};
    CheckBox chkHoverSelection{this}, chkMaskUseBackground{this};
    ComboBox cmbMaskSystemColor{this};
    CommandButton cmdMaskCustom{this};
    PictureBox shpMaskColor{this}; // its back colour is the colour Apply takes
    CheckBox chkRestart{this}, chkRebuild{this};
    // Shell integration.
    CheckBox chkSendTo{this};
    CommandButton cmdDesktop{this};
    Frame fraAso{this};
    CheckBox chkAsoICO{this}, chkAsoDLL{this}, chkAsoCUR{this}, chkAsoANI{this}, chkAsoICL{this};
    // Double-click.
    Frame fraAction{this}, fraPriority{this};
    OptionButton optNone{this}, optCopy{this}, optSave{this}, optZoom{this}, optProp{this}, optEditWith{this};
    ComboBox lstZoom{this};
    TextBox txtEdit{this};
    CommandButton cmdBrowseEdit{this};
    CheckBox chkPlay{this}, chkRef{this}, chkRun{this}, chkChange{this};
    // Favourites.
    Label lblFavHome{this};
    TextBox txtFavHomeDir{this};
    CommandButton cmdBrowse{this}, cmdCreate{this};
    CheckBox chkSearchFav{this};
    CommandButton cmdApply{this}, cmdOK{this}, cmdCancel{this};
    CommonDialog dlgIcon;

    int CurrentTab = 1;
    std::string LoadedFavoritesFolder;
    bool EditorBrowseFromOption = false;

    void tbsOptions_Click();
    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdBrowse_Click();
    void cmdCreate_Click();
    void cmdBrowseEdit_Click();
    void cmdMaskCustom_Click();
    void cmdDesktop_Click();
    void chkMaskUseBackground_Click();
    void cmbMaskSystemColor_Click();
    void optNone_Click();
    void optCopy_Click();
    void optSave_Click();
    void optZoom_Click();
    void optProp_Click();
    void optEditWith_Click();
    void lstZoom_Click();
    void lstZoom_Change();
    void lstZoom_GotFocus();

    // The mask colour a system-colour item stands for (items 1 to 9), else 0.
    static std::int32_t SystemColorOfItem(int item);

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

private:
    CheckBox& asoBox(int row);
    bool editorValid();
    void clearEditor();
    void restoreOpened();
    // DCAction and MaskColor as they were when the window opened; Cancel puts them back.
    std::string openedAction_;
    std::int32_t openedMaskColor_ = 0;
    bool applied_ = false;
    bool showingZoom_ = false;
    // What the shell boxes showed when loaded or last applied: Apply acts on
    // a box only when the user changed it, so what appeared meanwhile stays.
    bool shownAso_[5] = {};
    bool shownSendTo_ = false;
};

FrmOptions& frmOptions();

} // namespace vm
