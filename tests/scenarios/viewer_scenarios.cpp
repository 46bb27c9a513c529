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
    void SetUp() override {
        LibraryScenario::SetUp();
    }
    void TearDown() override {
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
        {
            Answer menu(kPopupMenu, {chooseLine(command)});
            rightClickItem(w().pnlResult, index);
        }
        settle();
    }
    std::vector<std::string> shownCaptions(const std::vector<MenuLine>& lines) {
        std::vector<std::string> shown;
        for (const MenuLine& line : lines)
            if (!line.separator) shown.push_back(line.caption + (line.enabled ? "" : " (off)"));
        return shown;
    }
};

} // namespace

TEST_F(ViewerScenario, TheContextMenuOffersTheItemsCommandsWithTheDoubleClickActionInBold) {
    DoubleClick.DCAction = "zoom";
    search("boat");
    {
        Answer menu(kPopupMenu, {pressKey(VK_ESCAPE)});
        rightClickItem(w().pnlResult, 1);
        EXPECT_EQ(shownCaptions(menu.seen().lines),
                  (std::vector<std::string>{"&Copy", "&Save As...", "Edit &With...", "Add to &Favorites...",
                                            "&Properties", "&Zoom"}));
        const MenuLine* zoom = menuLine(menu.seen().lines, "&Zoom");
        ASSERT_NE(zoom, nullptr);
        EXPECT_TRUE(zoom->bold);
    }
    EXPECT_EQ(selectedItem(w().pnlResult), 1);

    // An animation offers Play; "None" puts no item in bold.
    DoubleClick.DCAction = "None";
    search("spinner");
    {
        Answer menu(kPopupMenu, {pressKey(VK_ESCAPE)});
        rightClickItem(w().pnlResult, 2);
        const std::vector<MenuLine>& lines = menu.seen().lines;
        EXPECT_NE(menuLine(lines, "P&lay"), nullptr);
        EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const MenuLine& l) { return l.bold; }));
    }

    // Over empty space: the selection goes and the view menu shows.
    const RECT list = rectOf(w().pnlResult);
    {
        Answer menu(kPopupMenu, {pressKey(VK_ESCAPE)});
        rightClick(w().pnlResult, (list.right - list.left) - 20, (list.bottom - list.top) - 20);
        EXPECT_NE(menuLine(menu.seen().lines, "&View"), nullptr);
    }
    EXPECT_EQ(selectedItem(w().pnlResult), 0);
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
    std::string keywords, name;
    Answer properties("Properties", {onProgram([&] {
                          keywords = frmProp().txtKeywords.Text();
                          name = frmProp().txtName.Caption();
                      }),
                                     clickOn("OK")});
    contextCommand(1, "Properties");
    EXPECT_TRUE(properties.answered());
    EXPECT_EQ(keywords, "boat");
    EXPECT_EQ(name, itemTexts(w().pnlResult)[0]);
}

TEST_F(ViewerScenario, ContextMenuEditWithWithoutAnEditorSaysHowToChooseOne) {
    search("boat");
    Answer told("Edit With Error", {clickOn("OK")});
    contextCommand(1, "Edit With...");
    EXPECT_TRUE(told.answered());
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
    search("boat");
    Answer box(w().Caption(), {clickOn("OK")});
    Answer options("Options", {onProgram([&] {
                       FrmOptions& shown = frmOptions();
                       if (Tab* selected = shown.tbsOptions.SelectedItem()) tab = selected->Index();
                       for (int i = 1; i <= 4; ++i)
                           if (IsWindowVisible(shown.picOptions(i).hWnd())) page = page * 10 + i;
                       click(shown.cmdCancel);
                   })});
    doubleClickItem(w().pnlResult, 1);
    EXPECT_TRUE(box.seen().shows("You have not specified a user defined double click action.\n\nClick on OK to "
                                 "select a double click action now."));
    EXPECT_TRUE(options.answered());
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
    Answer properties("Properties", {clickOn("OK")});
    doubleClickItem(w().pnlResult, 1);
    EXPECT_TRUE(properties.answered());
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
    HotspotAnswered hotspot(7, 21);
    Answer save("Save As", fileNamed(dir.file("picked"), "Cursor"));
    chooseMenu({"&File", "Save &As..."});
    EXPECT_FALSE(frmZoom().IsLoaded());
    const std::string bytes = vmtest::readFile(dir.file("picked.cur"));
    ASSERT_GT(bytes.size(), 22u);
    EXPECT_EQ(bytes[10], 7);
    EXPECT_EQ(bytes[12], 21);
}

// A window opened from the context menu comes to the front, as from the toolbar.
TEST_F(ViewerScenario, ZoomAndPlayFromTheContextMenuOpenInFront) {
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
