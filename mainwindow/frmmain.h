#pragma once
// The main window: the hub of the program. Its default instance lives from
// start-up to the end; its controls and hidden lists are the working data of
// the browser, the commands, the tools and the dialogs.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browserhost.h"
#include "browserwindow.h"
#include "cicongrid.h"
#include "controls_basic.h"
#include "coolbar.h"
#include "dialogs.h"
#include "exportwindow.h"
#include "form.h"
#include "picturebox.h"
#include "controls_common.h"
#include "imagelist.h"
#include "layout.h"
#include "listview.h"
#include "mainsettings.h"
#include "opensearch.h"
#include "menu.h"
#include "nodedispatch.h"
#include "oledragdrop.h"
#include "pagefiller.h"
#include "selection.h"
#include "statusbar.h"
#include "subclass.h"
#include "timer.h"
#include "toolbar.h"
#include "treeview.h"
#include "zipsource.h"

namespace vm {

struct ChangeItem;

// Counts a listing under way for as long as it runs.
class ListingScope {
public:
    explicit ListingScope(int& depth) : depth_(depth) { ++depth_; }
    ~ListingScope() { --depth_; }
    ListingScope(const ListingScope&) = delete;
    ListingScope& operator=(const ListingScope&) = delete;

private:
    int& depth_;
};

class FrmMain : public Form, public ISubclass {
public:
    FrmMain();
    // Start-up: the window loads, unseen, during the second the splash stays
    // up, and shows when the splash goes. Paths handed over meanwhile (the
    // command line's among them) open once it shows.
    void LoadUnseen();
    void ShowLoaded();
    bool LoadComplete() const { return loadComplete_; }

    // Menu bar.
    MenuItem mnuFile{this}, mnuFileOpen{this}, mnuFileOpenDir{this}, mnuFileDiv1{this}, mnuFileSaveAs{this},
        mnuFileExtract{this}, mnuFileDiv2{this}, mnuFileChange{this}, mnuFileEditWith{this}, mnuFilePlay{this},
        mnuFileRun{this}, mnuFileProperties{this}, mnuFileDiv3{this}, mnuFileExit{this};
    MenuItem mnuEdit{this}, mnuEditCopy{this};
    MenuItem mnuView{this}, mnuViewToolbar{this}, mnuViewToolbarStandard{this}, mnuViewToolbarYour{this},
        mnuViewToolbarTextLabels{this}, mnuViewToolbarDiv{this}, mnuViewToolbarCustomize{this},
        mnuViewStatusBar{this}, mnuViewIconFormat{this}, mnuViewDiv1{this}, mnuViewLargeIcons{this},
        mnuViewList{this}, mnuViewDetails{this}, mnuViewDiv2{this}, mnuViewBackcolor{this},
        mnuViewArrangeMenu{this}, mnuViewDiv3{this}, mnuViewOptions{this};
    ControlArray<MenuItem> mnuViewArrange{this};
    MenuItem mnuGo{this}, mnuGoFirstPage{this}, mnuGoPrevPage{this}, mnuGoNextPage{this}, mnuGoLastPage{this},
        mnuGoToPage{this}, mnuGoDiv{this}, mnuGoHomePage{this}, mnuGoMail{this};
    ControlArray<MenuItem> mnuGoToPageNr{this};
    MenuItem mnuFavorite{this}, mnuFavoriteAdd{this}, mnuFavoriteDel{this}, mnuFavoriteDiv1{this},
        mnuFavoriteGroupAdd{this}, mnuFavoriteGroupDel{this}, mnuFavoriteDiv2{this}, mnuFavoriteRefresh{this},
        mnuFavoriteOrganize{this};
    MenuItem mnuRef{this}, mnuRefAdd{this}, mnuRefDelete{this}, mnuRefDiv{this}, mnuRefKey{this};
    MenuItem mnuTools{this}, mnuToolsZoom{this}, mnuToolsZoom2{this}, mnuToolsZoom3{this}, mnuToolsZoom4{this},
        mnuToolsZoom5{this}, mnuToolsZoom10{this}, mnuToolsDiv1{this}, mnuToolsChangeFolder{this},
        mnuToolsDefaultFolder{this}, mnuToolsDiv2{this}, mnuToolsImport{this}, mnuToolsDiv3{this},
        mnuToolsRebuild{this}, mnuToolsRestart{this};
    MenuItem mnuHelp{this}, mnuHelpTopics{this}, mnuHelpSearch{this}, mnuHelpDiv1{this}, mnuHelpTip{this},
        mnuHelpDiv2{this}, mnuHelpAbout{this};
    // Pop-up menus.
    MenuItem mnuResultClick{this}, mnuResultClickCopy{this}, mnuResultClickDiv1{this}, mnuResultClickSaveAs{this},
        mnuResultClickChange{this}, mnuResultClickEditWith{this}, mnuResultClickPlay{this},
        mnuResultClickExtract{this}, mnuDiv16{this}, mnuResultClickAddRef{this}, mnuResultClickDelRef{this},
        mnuDiv22{this}, mnuResultClickAddFav{this}, mnuResultClickDelFav{this}, mnudiv14{this},
        mnuResultClickProperties{this}, mnuResultClickDiv2{this}, mnuResultClickZoom{this}, mnuResultClickRun{this};
    MenuItem mnuWhite{this}, mnuResultClickView{this}, mnuResultClickViewLargeIcons{this},
        mnuResultClickViewList{this}, mnuResultClickViewDetails{this}, mnuWhiteDiv1{this},
        mnuResultClickViewBackColor{this}, mnuWhiteDiv2{this}, mnuResultClickViewArrangeMenu{this};
    ControlArray<MenuItem> mnuResultClickViewArrange{this};
    MenuItem mnuDetailClick{this}, mnuDetailClickCopy{this}, mnuDetailClickSaveAs{this},
        mnuDetailClickSaveAllAs{this}, mnuDetailClickDiv{this}, mnuDetailClickZoom{this};
    MenuItem mnuGoBar{this};
    ControlArray<MenuItem> mnuGoBarToPageNr{this};

    // The frame: cool bar with the two toolbars, the data-set box and the
    // keyword box; the tree over the detail grid, the result list and its
    // hidden twin; the splitter bars; the status bar.
    CoolBar pnlCoolBar{this};
    Toolbar pnlToolbar{this}, pnlToolbarYour{this};
    ComboBox cmbMode{this}, cmbSearch{this};
    TreeView pnlNav{this};
    ListView pnlResult{this}, pnlDummy{this};
    cIconGrid grdIcons{this};
    PictureBox picSplitV{this}, picSplitH{this};
    StatusBar pnlStatusbar{this};
    ProgressBar pnlProgressBar{this};
    // The picture of an opened file and of an icon whose chunk is missing.
    PictureBox picOpen{this}, picNoIcon{this};
    // Icon-size surfaces an icon is split into before it is written; what is
    // drawn there stays for the icon writer to read back.
    OffscreenSurface picSave, pctMask, pctColor;
    TimerControl tmrLed{this};
    ImageList imlToolbarGrey, imlToolbarHot, imlResult32, imlIcon32, imlNav;

    // Opened files and folders: the Open commands, the hand-over of passed
    // paths (split at the character with code separator), and the hidden text
    // boxes the ZIP listing writes into.
    ZipListBox txtZIP{this};
    TextBox txtDummyZIP{this};
    void mnuFileOpen_Click();
    void mnuFileOpenDir_Click();
    void procOpenFolderFiles(int separator);
    OpenSearchContext openSearch();
    void connectOpen();

    // Services of the window for the other subsystems.
    // Opens the paths of a start; a later start's bring the window to the front.
    void procOpenPassedFile(const std::string& text, bool bringForward = true);
    void procArrangePanes();
    void procGetSettings();
    void procSaveSettings();
    void procInitIconCanvas();
    void procSizeToIcon(PictureBox& box, int width, int height);
    void procClearResult();
    void procSetStatusText(const std::string& text);
    void procSetViewChecks(bool large, bool small, bool list, bool details);
    // Panels of the status bar ("message", "count", "area", "type").
    Panel* MessagePanel = nullptr;
    Panel* CountPanel = nullptr;
    Panel* PagePanel = nullptr;
    Panel* TypePanel = nullptr;
    bool LedLit = false;
    BrowserHost host; // what the browser's builders call back
    // The page filler and the selection handler work on the window's controls through these.
    BrowserWindow browserWindow;
    SelectionWindow selectionWindow;
    PageFiller& pager() { return *pager_; }
    // The export commands: the shared common dialog and what Save As, Copy and
    // Save All Formats work on (frmmain_export.cpp).
    CommonDialog dlgIcon;
    ExportWindow exportWindow;
    void connectExport();
    // The viewers and item commands (frmmain_items.cpp).
    void connectItems();
    void pnlResult_DblClick();
    void pnlResult_ColumnClick(ColumnHeader& ColumnHeader);
    void pnlResult_KeyUp(int& KeyCode, int Shift);
    void grdIcons_GotFocus();
    void grdIcons_MouseDown(int Button, int Shift, float X, float Y);
    const mainwindow::PaneLayout& paneLayout() const { return pane_; }

    // Commands the toolbars, the context menus and the browser share.
    void mnuViewLargeIcons_Click();
    void mnuViewList_Click();
    void mnuViewDetails_Click();
    void mnuViewBackcolor_Click();
    void mnuViewArrange_Click(int index);
    void mnuViewStatusBar_Click();
    void mnuViewIconFormat_Click();
    void mnuViewToolbarTextLabels_Click();
    void mnuViewToolbarStandard_Click();
    void mnuViewToolbarYour_Click();
    void mnuViewToolbarCustomize_Click();
    void tmrLed_Timer();
    void picSplitV_MouseMove(int Button, int Shift, float X, float Y);
    void picSplitH_MouseMove(int Button, int Shift, float X, float Y);
    void procEndProgram();
    // The icon-cache question and the settings, window positions and user files kept: what the
    // program end does first, and what a restart of Windows does before it asks.
    void procSaveBeforeEnd();
    // Tools > Restart Windows, also for the change window: true when Windows restarts and the
    // program has ended.
    bool restartWindows();
    void mnuFileExit_Click();
    void pnlResult_ItemClick(ListItem& Item);
    void pnlResult_MouseDown(int Button, int Shift, float X, float Y);
    void pnlResult_MouseUp(int Button, int Shift, float X, float Y);
    // Tools menu (frmmain_tools.cpp).
    void mnuToolsImport_Click();
    void mnuToolsChangeFolder_Click();
    void mnuToolsDefaultFolder_Click();
    void mnuToolsRebuild_Click();
    void mnuToolsRestart_Click();
    void connectTools();
    // The change window (frmmain_change.cpp).
    void mnuFileChange_Click();
    bool changeItem(ChangeItem& item); // the selected result item; false when none
    void connectChange();
    // Files dropped on a result item get its icon (shortcuts) or a new shortcut with it.
    OleDropTarget resultDrop;
    int selectedBeforeDrag = 0; // the list's selected item (from 1) when a drag came in; 0 none
    void pnlResult_OLEDragOver(DataObject& Data, int& Effect, int Button, int Shift, float X, float Y, int State);
    void pnlResult_OLEDragDrop(DataObject& Data, int& Effect, int Button, int Shift, float X, float Y);
    void procDropShortcutFiles(const std::vector<std::string>& files);
    void procSaveShortcut(std::string& linkFile, std::string& targetPath, std::string& workingFolder,
                          std::string& arguments, std::string& iconFile, std::int32_t& iconIndex,
                          std::int32_t& showCommand, std::string& description);
    // The dialogs' view of the window and the menu commands that open them (frmmain_dialogs.cpp).
    void connectDialogs();

    // The navigation tree and the favourites (frmmain_tree.cpp, frmmain_favorites.cpp).
    NodeSources nodeSources;     // the sources beyond the library; one left empty lists nothing
    FavoriteNodes favoriteNodes; // CurrentFavoriteNode and FavoriteFolderNode, by key
    HiddenList lstChange;        // the rows of the last system-icon or file-type listing
    OleDropTarget navDrop;       // the tree takes result items dropped on favourites folders
    bool nodeListing = false;          // a node's listing runs
    bool nodeSelectedMeanwhile = false; // another node was selected while it ran
    int listingDepth = 0;        // a node click or keyword search is under way (it may pump messages while idle)
    void procBuildTree();
    void enableFolderCommands(bool add, bool remove); // Create Folder and Remove Folder, menu and buttons
    void procSwitchDataSet();
    void procDataSetCommands();
    void connectTree();
    void pnlNav_NodeClick(Node& Node);
    void listNode(Node& Node);
    void pnlNav_KeyPress(int& KeyAscii);
    void pnlNav_OLEDragOver(DataObject& Data, int& Effect, int Button, int Shift, float X, float Y, int State);
    void pnlNav_OLEDragDrop(DataObject& Data, int& Effect, int Button, int Shift, float X, float Y);
    void pnlResult_OLEStartDrag();
    void mnuFavoriteAdd_Click();
    void mnuFavoriteDel_Click();
    void mnuFavoriteGroupAdd_Click();
    void mnuFavoriteGroupDel_Click();
    void mnuFavoriteRefresh_Click();
    void mnuFavoriteOrganize_Click();

    // ISubclass: the hand-over of a later start.
    EMsgResponse MsgResponse() const override { return emrPostProcess; }
    void MsgResponse(EMsgResponse) override {}
    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // How the process ends after the program end (tests replace it).
    static std::function<void()> endProcess;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Form_Resize() override;

private:
    void createMenus();
    void createFrame();
    void releaseInstance();
    void openPendingHandOvers();
    void saveWindowSettings();
    void applyStartSettings(const mainwindow::MainSettings& s);
    bool hasLibraryArchive();
    void connectBrowser();
    void connectPager();
    void connectSelection();
    MenuItem* defaultCommand();
    void browserStart();
    void saveUserData();
    void cmbMode_Click();
    void cmbSearch_Click();
    void cmbSearch_KeyPress(int& KeyAscii);
    void applyToolbarPictures();
    void placePanes();
    mainwindow::Metrics metrics();
    void setButtons(Toolbar& bar, std::initializer_list<const char*> keys, bool enabled);
    void switchOffItemCommands();
    void itemSelectionGone();
    void pnlCoolBar_HeightChanged(float NewHeight);
    void picSplitV_MouseDown(int Button, int Shift, float X, float Y);
    void picSplitV_MouseUp(int Button, int Shift, float X, float Y);
    void picSplitH_MouseDown(int Button, int Shift, float X, float Y);
    void picSplitH_MouseUp(int Button, int Shift, float X, float Y);
    void pnlToolbar_ButtonClick(ToolbarButton& Button);
    void pnlToolbar_ButtonMenuClick(ButtonMenu& Menu);
    void pnlToolbar_Change();
    void pnlToolbarYour_ButtonClick(ToolbarButton& Button);
    void mnuHelpSearch_Click() {}
    void mnuGoHomePage_Click();
    void mnuGoMail_Click();
    void mnuHelpTopics_Click();
    void mnuHelpAbout_Click();
    void mnuHelpTip_Click();
    void mnuViewOptions_Click();

    std::unique_ptr<PageFiller> pager_;
    bool loadComplete_ = false; // Form_Load ran to its end: the menus and panes show the settings
    std::vector<std::string> pendingHandOvers_;
    bool ownPathsPending_ = false; // the first of them is the start's own command line
    bool handOversHeld_ = false; // loaded, not yet shown at start-up
    mainwindow::WindowPlace place_;
    mainwindow::PaneLayout pane_;
};

FrmMain& frmMain();

} // namespace vm
