#pragma once
// The change window: a small top-most tool window that shows one change
// target with its "Current" icon and the "New" icon dropped on it from the
// result list (or the Windows default), and applies the change. One modeless
// instance, made on first use by the hand-over.
#include <functional>
#include <string>

#include "changehost.h"
#include "controls_basic.h"
#include "coolbar.h"
#include "dialogs.h"
#include "form.h"
#include "imagelist.h"
#include "menu.h"
#include "oledragdrop.h"
#include "picturebox.h"
#include "statusbar.h"
#include "toolbar.h"

namespace vm {

class FrmChange : public Form {
public:
    FrmChange();

    Label lblTitle{this}, lblResource{this}, lblIcon{this};
    PictureBox picImportBack{this}, picImport{this}, picIconBack{this}, picIcon{this};
    Label lneShadow{this}, lneLight{this};
    CoolBar CoolBar1{this};
    Toolbar pnlToolbar{this};
    StatusBar pnlStatusbar{this};
    ImageList imlButton;
    CommonDialog dlgIcon;
    OleDropTarget picIconDrop; // "New" takes the result item dragged onto it

    MenuItem mnuFile{this}, mnuFileApply{this}, mnuFileCloseApply{this}, mnuDiv1{this}, mnuFileClose{this};
    MenuItem mnuView{this}, mnuViewEquiv{this}, mnuViewDefault{this}, mnuDiv2{this}, mnuViewGroup{this},
        mnuDiv3{this}, mnuViewBackcolor{this};
    MenuItem mnuTools{this}, mnuToolsRebuild{this};
    MenuItem mnuHelp{this};

    // The target's kind: "System Icon", "File Type Icon", "Current Cursor",
    // "Animated Cursor" or "Shortcut Icon".
    std::string Tag;
    // The Windows default is shown in "New": Apply restores it.
    bool ShowingDefault = false;
    std::string DefaultIconFile, FileClass, DefaultCursorId;
    // The user chose "Restart Windows Now!" in the last apply's notice.
    bool Restarting = false;
    // The node of the navigation tree the target was chosen in.
    std::function<void()> ChangeGroupNode;

    // The hand-over of a result item as the change target.
    void handOver(const ChangeItem& item);
    // The drop of a result item's text on "New": whether it would be taken,
    // and the drop itself (the item is the result list's selected item).
    bool picIcon_OLEDragOver(const std::string& text);
    void picIcon_OLEDragDrop(const std::string& text);

    void mnuFileApply_Click();
    void mnuFileCloseApply_Click();
    void mnuFileClose_Click();
    void mnuViewEquiv_Click();
    void mnuViewDefault_Click();
    void mnuViewGroup_Click();
    void mnuViewBackcolor_Click();
    void mnuToolsRebuild_Click();
    void mnuHelp_Click();
    void pnlToolbar_ButtonClick(ToolbarButton& Button);

    void procShowDefaultFileType();
    void procShowDefaultSystemIcon();
    void procShowDefaultShortcut();
    void procShowDefaultCursor();
    // Draws icon index of file into "New"; true when it could be drawn.
    bool procDrawDefaultIcon(const std::string& file, int index);

    // The change engines; each tells the user its outcome.
    void procApplyFileType();
    void procApplySystemIcon();
    void procApplyShortcut();
    void procApplyCursor();

    bool applyEnabled() const { return mnuFileApply.Enabled(); }
    std::string status();
    void setStatus(const std::string& text);

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

private:
    void createMenus();
    void createToolbar();
    void bindEvents();
    void enableApply(bool on);
    void enableLookAlike(bool on);
    void enableDefault(bool on);
    // Writes "New" as an icon file in the changed-icon folder; the file, or
    // empty (and the user told) when it could not be written.
    std::string writeNewIcon(const std::string& caption);
    // "New" as a 24-bit icon at the data set's size; true when written.
    bool writeShownIcon(const std::string& file);
    // The same for a cursor: a one-image cursor with the hotspot the user
    // picks, or an animated cursor of the dropped animation's frames.
    std::string writeNewCursor(const std::string& caption);
    // The restart notice of the file-type and cursor changes.
    void restartNotice(const char* setting, const std::string& text);
};

FrmChange& frmChange();

// The notice after a shortcut got an icon file of the path its old icon had:
// the shell's cached picture for that path is out of date.
void shortcutNotice(bool sameName, const std::string& caption);

} // namespace vm
