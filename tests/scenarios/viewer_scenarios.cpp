// The result list's context menu and double-click, Play, Zoom and the hotspot
// picker, as a person uses them.
#include "scenario.h"

#include "commandstate.h"
#include "dialogforms.h"
#include "dialogstate.h"
#include "frmani.h"
#include "frmprop.h"
#include "frmzoom.h"
#include "ico_fixtures.h"
#include "seam.h"
#include "selection.h"
#include "viewerhost.h"

using namespace vm;
using namespace vmscenario;

namespace {

class ViewerScenario : public LibraryScenario {
protected:
    void prepare() override {
        LibraryScenario::prepare();
        namespace ico = vmtest::ico;
        CreateDirectoryA("C:\\icons", nullptr);
        ASSERT_TRUE(vmtest::writeFile("C:\\icons\\d.cur", ico::icoFile({ico::dib(32, 32, 4)}, 2)));
    }
    void TearDown() override {
        Form::scriptedModal = nullptr;
        for (Form* f : std::initializer_list<Form*>{&frmZoom(), &frmAni(), &frmProp()})
            if (f->IsLoaded()) f->Unload();
        LibraryScenario::TearDown();
        DeleteFileA("C:\\icons\\d.cur");
        RemoveDirectoryA("C:\\icons");
    }
    void search(const std::string& keyword) {
        typeInto(w().cmbSearch, keyword);
        press(VK_RETURN);
    }
    // Right-clicks item index and picks the command of the context menu.
    void contextCommand(int index, const std::string& command) {
        Seam::get().queueText(command);
        rightClickItem(w().pnlResult, index);
        settle();
    }
    std::vector<std::string> formsShown() {
        std::vector<std::string> names;
        for (const SeamRequest& r : Seam::get().requests())
            if (r.kind == "Form") names.push_back(r.prompt);
        return names;
    }
    std::string lastForm() {
        const auto names = formsShown();
        return names.empty() ? std::string() : names.back();
    }
    std::vector<std::string> menuCaptions(MenuItem& menu) {
        std::vector<std::string> shown;
        for (const MenuLine& line : menuLines(menu.popup()))
            if (!line.separator) shown.push_back(line.caption + (line.enabled ? "" : " (off)"));
        return shown;
    }
};

} // namespace

TEST_F(ViewerScenario, TheContextMenuOffersTheItemsCommandsWithTheDoubleClickActionInBold) {
    DoubleClick.DCAction = "zoom";
    search("boat");
    rightClickItem(w().pnlResult, 1); // nothing queued: the menu is closed again
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
    EXPECT_EQ(menuCaptions(w().mnuResultClick),
              (std::vector<std::string>{"&Copy", "&Save As...", "Edit &With...", "Add to &Favorites...",
                                        "&Properties", "&Zoom"}));
    EXPECT_EQ(GetMenuDefaultItem(w().mnuResultClick.popup(), FALSE, 0), w().mnuResultClickZoom.id());

    // An animation offers Play; "None" puts no item in bold.
    DoubleClick.DCAction = "None";
    search("spinner");
    rightClickItem(w().pnlResult, 2);
    const auto captions = menuCaptions(w().mnuResultClick);
    EXPECT_NE(std::find(captions.begin(), captions.end(), "P&lay"), captions.end());
    EXPECT_EQ(GetMenuDefaultItem(w().mnuResultClick.popup(), FALSE, 0), static_cast<UINT>(-1));

    // Over empty space: the selection goes and the view menu shows.
    Seam::get().reset();
    const RECT list = rectOf(w().pnlResult);
    rightClick(w().pnlResult, (list.right - list.left) - 20, (list.bottom - list.top) - 20);
    EXPECT_EQ(selectedItem(w().pnlResult), 0);
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().prompt, "White");
    DoubleClick.DCAction = "None";
}

// One command a window: a command's window or message may lie over the list.
TEST_F(ViewerScenario, ContextMenuCopyPutsTheIconOnTheClipboard) {
    search("boat");
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    contextCommand(1, "Copy");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(ViewerScenario, ContextMenuZoomOpensTheZoomWindow) {
    search("boat");
    contextCommand(1, "Zoom");
    ASSERT_TRUE(frmZoom().IsLoaded());
    EXPECT_EQ(frmZoom().Caption(), "Zoom 4:1");
}

TEST_F(ViewerScenario, ContextMenuPropertiesShowsTheLibraryIconsKeywords) {
    search("boat");
    contextCommand(1, "Properties");
    EXPECT_EQ(lastForm(), "frmProp");
    EXPECT_EQ(frmProp().txtKeywords.Text(), "boat");
    EXPECT_EQ(frmProp().txtName.Caption(), itemTexts(w().pnlResult)[0]);
}

TEST_F(ViewerScenario, ContextMenuEditWithWithoutAnEditorSaysHowToChooseOne) {
    search("boat");
    contextCommand(1, "Edit With...");
    settle(300);
    bool told = false;
    for (const SeamRequest& r : Seam::get().requests()) told = told || r.title == "Edit With Error";
    EXPECT_TRUE(told);
}

TEST_F(ViewerScenario, ContextMenuPlayPlaysTheAnimationFromItsFirstFrame) {
    search("spinner");
    contextCommand(3, "Play");
    ASSERT_TRUE(frmAni().IsLoaded());
    EXPECT_EQ(Exports.AniFrameCount, 3);
    EXPECT_EQ(Viewers.AniFrameIndex, 1);
    EXPECT_EQ(frmAni().picIconBack.ToolTipText(), "3 frames");
}

TEST_F(ViewerScenario, DoubleClickWithNoActionAsksForOneOnTheOptionsDoubleClickPage) {
    // What the options window shows as it opens.
    int tab = 0, page = 0;
    Form::scriptedModal = [&](Form& f) {
        if (f.Name() != "frmOptions") return;
        FrmOptions& options = frmOptions();
        f.Show(vbModeless);
        settle();
        if (Tab* selected = options.tbsOptions.SelectedItem()) tab = selected->Index();
        for (int i = 1; i <= 4; ++i)
            if (IsWindowVisible(options.picOptions(i).hWnd())) page = page * 10 + i;
        click(options.cmdCancel);
        settle();
    };
    search("boat");
    doubleClickItem(w().pnlResult, 1);
    std::vector<SeamRequest> boxes;
    for (const SeamRequest& r : Seam::get().requests())
        if (r.kind == "MsgBox") boxes.push_back(r);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "You have not specified a user defined double click action.\n\nClick on OK to select a "
                               "double click action now.");
    EXPECT_EQ(lastForm(), "frmOptions");
    EXPECT_EQ(tab, 3);
    EXPECT_EQ(page, 3); // only the double-click page
    EXPECT_FALSE(frmOptions().IsLoaded());
}

TEST_F(ViewerScenario, DoubleClickRunsTheActionWhateverItsCase) {
    DoubleClick.DCAction = "ZOOM";
    search("boat");
    doubleClickItem(w().pnlResult, 1);
    EXPECT_TRUE(frmZoom().IsLoaded());
}

TEST_F(ViewerScenario, DoubleClickShowsPropertiesWhenThatIsTheAction) {
    DoubleClick.DCAction = "Prop";
    search("boat");
    doubleClickItem(w().pnlResult, 1);
    EXPECT_EQ(lastForm(), "frmProp");
}

TEST_F(ViewerScenario, DoubleClickOnAnAnimationPlaysItWhenAnimationsPlay) {
    DoubleClick.DCAction = "Copy";
    DoubleClick.DCPlay = true;
    search("spinner");
    doubleClickItem(w().pnlResult, 2);
    EXPECT_TRUE(frmAni().IsLoaded());
    DoubleClick.DCPlay = false;
    DoubleClick.DCAction = "None";
}

TEST_F(ViewerScenario, PlayAndZoomFromTheToolbarAndMenusFollowTheSelection) {
    search("spinner");
    clickItem(w().pnlResult, 2);
    clickButton(w().pnlToolbar, "play");
    ASSERT_TRUE(frmAni().IsLoaded());
    EXPECT_EQ(Exports.AniFrameCount, 3);

    search("boat");
    clickItem(w().pnlResult, 1);
    chooseMenu({"&Tools", "&Zoom", "&5:1"});
    ASSERT_TRUE(frmZoom().IsLoaded());
    EXPECT_EQ(frmZoom().Caption(), "Zoom 5:1");
    EXPECT_EQ(frmZoom().picZoom.Width(), pixelsToTwipsX(160));
    // The open window follows the selection at its factor.
    search("apple");
    clickItem(w().pnlResult, 2);
    EXPECT_TRUE(frmZoom().IsLoaded());
    EXPECT_EQ(frmZoom().Caption(), "Zoom 5:1");
}

TEST_F(ViewerScenario, TheHotspotIsPickedWithAClickOnTheEnlargedCursor) {
    search("apple"); // three library icons, then the cursor on page 2
    clickButton(w().pnlToolbar, "nextpage");
    const int cursorItem = lastItemWith(w().pnlResult, 1, "Cursor");
    ASSERT_GT(cursorItem, 0);
    clickItem(w().pnlResult, cursorItem);
    // The picker shows like a window; a person clicks pixel 7, 21 of the cursor.
    Form::scriptedModal = [](Form& f) {
        if (f.Name() != "frmZoom") return;
        f.Show(vbModeless);
        settle();
        click(frmZoom().picZoom, 7 * 10 + 4, 21 * 10 + 4);
    };
    Seam::get().queue(SeamAnswer{2, dir.file("picked"), false}); // Cursor
    chooseMenu({"&File", "Save &As..."});
    EXPECT_FALSE(frmZoom().IsLoaded());
    const std::string bytes = vmtest::readFile(dir.file("picked.cur"));
    ASSERT_GT(bytes.size(), 22u);
    EXPECT_EQ(bytes[10], 7);
    EXPECT_EQ(bytes[12], 21);
}

// A window opened from the context menu comes to the front, as from the toolbar.
TEST_F(ViewerScenario, ZoomAndPlayFromTheContextMenuOpenInFront) {
    realWindows();
    search("boat");
    {
        Answer menu(kPopupMenu, {chooseLine("Zoom")});
        rightClickItem(w().pnlResult, 1);
    }
    ASSERT_TRUE(frmZoom().Visible());
    EXPECT_TRUE(inFront(frmZoom().hWnd()));
    frmZoom().Unload();
    search("spinner");
    {
        Answer menu(kPopupMenu, {chooseLine("Play")});
        rightClickItem(w().pnlResult, 3);
    }
    ASSERT_TRUE(frmAni().Visible());
    EXPECT_TRUE(inFront(frmAni().hWnd()));
}
