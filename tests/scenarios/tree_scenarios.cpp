// The navigation tree as a person uses it: nodes clicked and opened with the
// mouse and keys, the Favorites menu, an icon dragged onto a favourites
// folder, and the size box switched while a listing runs.
#include "patience.h"
#include "scenario.h"

#include <cstring>
#include <map>

#include "browserstate.h"
#include "frmmessage.h"
#include "ico_fixtures.h"
#include "instance.h"
#include "navtree.h"
#include "registry.h"
#include "seam.h"
#include "startfolders.h"
#include "state.h"
#include "zipwriter.h"

using namespace vm;
using namespace vmscenario;

namespace {

using Texts = std::vector<std::string>;

bool isFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The sample library and a favourites folder tree in the program folder.
class TreeScenario : public LibraryScenario {
protected:
    void prepare() override {
        LibraryScenario::prepare();
        identity.ProductName = "Vellumar"; // as every start sets it
        const std::string favorites = dir.path() + "\\Favorites";
        for (const char* f : {"", "\\Apps", "\\Apps\\Small ones", "\\Empty"})
            CreateDirectoryA((favorites + f).c_str(), nullptr);
        vmtest::writeFile(favorites + "\\Apps\\kept.ico", vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 8, 3)}));
    }
    std::string favorites() const { return dir.path() + "\\Favorites"; }
    Node* node(const std::string& key) { return w().pnlNav.Nodes.exists(key) ? &w().pnlNav.Nodes(key) : nullptr; }
};

} // namespace

TEST_F(TreeScenario, NodesOfEveryKindListWhatTheyHold) {
    ASSERT_TRUE(node("favoriApps\\Small ones"));
    clickNode("Icon256");
    EXPECT_EQ(w().pnlNav.SelectedItem(), node("Icon256"));
    EXPECT_NE(panelText("count"), "0 Icon(s)");

    clickNode("B");
    ASSERT_FALSE(itemTexts(w().pnlResult).empty());
    EXPECT_EQ(tolower(itemTexts(w().pnlResult).front()[0]), 'b');

    // A system-icon node: one icon per row of its table, no error.
    clickNode("SysDrives");
    EXPECT_EQ(panelText("count"), "9 Icon(s)");
    EXPECT_EQ(w().lstChange.ListCount(), 9);
    EXPECT_TRUE(Seam::get().requests().empty());

    // A favourites folder: its folder commands come on, the root cannot be removed.
    clickNode("favori");
    std::vector<MenuLine> lines = openMenu("F&avorites");
    ASSERT_GE(lines.size(), 6u);
    EXPECT_TRUE(lines[3].enabled);  // Create Folder
    EXPECT_FALSE(lines[4].enabled); // Remove Folder
    clickNode("favoriApps");
    lines = openMenu("F&avorites");
    EXPECT_TRUE(lines[4].enabled);
    clickNode("SysFiles");
    lines = openMenu("F&avorites");
    EXPECT_FALSE(lines[3].enabled);

    // The arrow key opens a folder node's sub-folders.
    clickNode("favoriApps");
    node("favoriApps")->SetExpanded(false);
    press(VK_RIGHT);
    EXPECT_TRUE(node("favoriApps")->Expanded());
    press(VK_F1);
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().kind, "HtmlHelp");
    EXPECT_EQ(Seam::get().requests().back().style, 13);
}

// Every listing ends by saying what it found, none included; no busy text
// stays: "Groups by Design" without group keywords (the sample has none), an
// empty favourites folder, references of a depth none has, an empty folder
// and an empty archive on the command line.
TEST_F(TreeScenario, ListingsThatFindNothingSaySo) {
    ASSERT_TRUE(node("group"));
    ASSERT_TRUE(shell::procIsFirstInstance(shell::kMutexName)); // later starts hand their paths over
    const std::string archive = dir.file("empty.zip");
    ASSERT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive({})));
    for (const std::string empty : {"group", "favoriEmpty", "Reference16", "folder", "archive"}) {
        // Icon256 stays selected across a hand-over: the click on it lists it again.
        clickNode("Icon256");
        ASSERT_FALSE(itemTexts(w().pnlResult).empty()) << empty;
        if (empty == "folder") startProgramAgain(favorites() + "\\Empty");
        else if (empty == "archive") startProgramAgain(archive);
        else clickNode(empty);
        // A hand-over waits for idle; its listing is over when the menus are live again.
        vmtest::waitUntil([&] { return itemTexts(w().pnlResult).empty() && w().mnuFile.Enabled(); }, [] { settle(50); });
        EXPECT_EQ(panelText("count"), "0 Icon(s)") << empty;
        EXPECT_EQ(panelText("message").find("please wait"), std::string::npos) << empty;
        EXPECT_TRUE(itemTexts(w().pnlResult).empty()) << empty;
    }
    // After the archive's hand-over, and a file's, the click on Icon256 lists it again.
    clickNode("Icon256");
    const Texts listed = itemTexts(w().pnlResult);
    EXPECT_FALSE(listed.empty());
    startProgramAgain(favorites() + "\\Apps\\kept.ico");
    vmtest::waitUntil([&] { return itemTexts(w().pnlResult) == Texts{"kept"}; }, [] { settle(50); });
    ASSERT_EQ(itemTexts(w().pnlResult), Texts{"kept"});
    clickNode("Icon256");
    EXPECT_EQ(itemTexts(w().pnlResult), listed);
}

TEST_F(TreeScenario, FavoritesMenuCreatesRemovesAndRefreshes) {
    clickNode("favoriApps");
    {
        Answer name("Create Favorite Folder", {typeKeys("Made here"), pressKey(VK_RETURN)});
        chooseMenu({"F&avorites", "&Create Folder"});
        EXPECT_TRUE(name.seen().shows("Give the Name of the Favorite Folder."));
    }
    EXPECT_TRUE(isFolder(favorites() + "\\Apps\\Made here"));
    ASSERT_TRUE(node("favoriApps\\Made here"));

    clickNode("favoriApps\\Made here");
    Answer sure("Remove Favorite Folder", {clickOn("Yes")});
    chooseMenu({"F&avorites", "&Remove Folder"});
    EXPECT_TRUE(sure.seen().inFront);
    EXPECT_FALSE(isFolder(favorites() + "\\Apps\\Made here"));
    EXPECT_FALSE(node("favoriApps\\Made here"));

    CreateDirectoryA((favorites() + "\\From Explorer").c_str(), nullptr);
    chooseMenu({"F&avorites", "R&efresh"});
    EXPECT_TRUE(node("favoriFrom Explorer"));
    EXPECT_EQ(panelText("count"), "0 Icon(s)");

    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "OrganizeFav", Variant(std::string("1")), REG_SZ);
    chooseMenu({"F&avorites", "&Organize Favorites"});
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().kind, "Shell");
}

TEST_F(TreeScenario, AnIconDraggedOntoAFavouritesFolderIsStoredThere) {
    typeInto(w().cmbSearch, "bo");
    press(VK_RETURN);
    ASSERT_EQ(itemTexts(w().pnlResult).front(), "boat");
    clickItem(w().pnlResult, 1);
    {
        HotspotAnswered hotspot;
        dragItemToNode(1, "favoriApps\\Small ones", false);
    }
    // The first "boat" is a cursor: Save As keeps it one.
    EXPECT_TRUE(vmtest::fileExists(favorites() + "\\Apps\\Small ones\\boat.cur"));
    EXPECT_EQ(w().pnlNav.DropHighlight(), nullptr);

    // Over a node that is no favourites folder nothing is stored.
    dragItemToNode(1, "SysCur", false);
    EXPECT_FALSE(vmtest::fileExists(favorites() + "\\boat.cur"));
}

TEST_F(TreeScenario, AFavouriteDraggedWithShiftMovesToTheOtherFolder) {
    clickNode("favoriApps");
    ASSERT_EQ(itemTexts(w().pnlResult), Texts{"kept"});
    EXPECT_EQ(itemTexts(w().pnlResult, 2), Texts{"File Favorite"});
    clickItem(w().pnlResult, 1);
    // Onto its own folder: refused, the file stays.
    {
        Answer refused("Move Favorite", {clickOn("OK")});
        dragItemToNode(1, "favoriApps", true);
        EXPECT_TRUE(refused.answered());
    }
    EXPECT_TRUE(vmtest::fileExists(favorites() + "\\Apps\\kept.ico"));

    clickNode("favoriApps");
    clickItem(w().pnlResult, 1);
    dragItemToNode(1, "favoriEmpty", true);
    EXPECT_TRUE(vmtest::fileExists(favorites() + "\\Empty\\kept.ico"));
    EXPECT_FALSE(vmtest::fileExists(favorites() + "\\Apps\\kept.ico"));
    // The listing shown is the folder it went to.
    EXPECT_EQ(itemTexts(w().pnlResult), Texts{"kept"});
}

TEST_F(TreeScenario, SwitchingTheSizeDuringAListingLeavesNothingOfTheOtherDataSet) {
    // The click starts a listing; the size box is changed while it pumps.
    const POINT p = nodePoint("Icon256");
    POINT at = p;
    ClientToScreen(w().pnlNav.hWnd(), &at);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(w().cmbMode.hWnd(), &info);
    POINT box{(info.rcItem.left + info.rcItem.right) / 2, (info.rcItem.top + info.rcItem.bottom) / 2};
    ClientToScreen(w().cmbMode.hWnd(), &box);
    std::vector<INPUT> inputs{mouseInput(at, 0), mouseInput(at, MOUSEEVENTF_LEFTDOWN), mouseInput(at, MOUSEEVENTF_LEFTUP),
                              mouseInput(box, 0), mouseInput(box, MOUSEEVENTF_LEFTDOWN), mouseInput(box, MOUSEEVENTF_LEFTUP),
                              keyInput(VK_UP, false), keyInput(VK_UP, true), keyInput(VK_RETURN, false),
                              keyInput(VK_RETURN, true)};
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    settle(500);
    EXPECT_EQ(Keywords.IconSize, 16);
    EXPECT_EQ(Entries.cmbResult.ListCount(), 0);
    EXPECT_TRUE(itemTexts(w().pnlResult).empty());
    EXPECT_FALSE(node("favori"));
    EXPECT_FALSE(w().mnuFavorite.Enabled());
    EXPECT_TRUE(IsIdle(w().browserWindow));
}

// The notice closes with Enter and with Esc, as every dialog does.
TEST_F(TreeScenario, TheNoticeClosesWithEnterAndWithEsc) {
    for (int key : {VK_RETURN, VK_ESCAPE}) {
        Answer notice("Organize Favorites", {pressKey(key)});
        chooseMenu({"F&avorites", "&Organize Favorites"});
        ASSERT_TRUE(notice.answered());
        EXPECT_TRUE(notice.seen().shows("Don't show this message again."));
        EXPECT_FALSE(shell::frmMessage().IsLoaded()) << "key " << key;
    }
}

namespace {

// How many points across the middle of a node's label show this colour.
int labelPoints(const std::string& key, COLORREF colour) {
    HWND tree = frmMain().pnlNav.hWnd();
    RECT r{};
    HTREEITEM item = frmMain().pnlNav.Nodes(key).handle();
    std::memcpy(&r, &item, sizeof item);
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    HDC dc = GetDC(tree);
    int points = 0;
    for (int x = r.left; x < r.right; ++x) points += GetPixel(dc, x, (r.top + r.bottom) / 2) == colour;
    ReleaseDC(tree, dc);
    return points;
}

} // namespace

TEST_F(TreeScenario, ANodeListedFromTheKeyboardShowsSelected) {
    clickNode("Icon256");
    const std::string listed = panelText("count");
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_GT(labelPoints("Icon256", highlight), 0);

    // The arrow key lists the next node; the tree keeps the keys and marks that node.
    press(VK_DOWN);
    settle(200);
    ASSERT_EQ(w().pnlNav.SelectedItem(), node("IconHi"));
    EXPECT_NE(panelText("count"), listed);
    EXPECT_EQ(focusedWindow(), w().pnlNav.hWnd());
    EXPECT_GT(labelPoints("IconHi", highlight), 0);
    press(VK_UP);
    settle(200);
    EXPECT_EQ(w().pnlNav.SelectedItem(), node("Icon256"));
    EXPECT_GT(labelPoints("Icon256", highlight), 0);

    // A keyword search started with Enter leaves the node marked, as the box has the keys.
    click(w().cmbSearch);
    typeInto(w().cmbSearch, listEntries(w().cmbSearch).at(1));
    press(VK_RETURN);
    settle(200);
    EXPECT_EQ(w().pnlNav.SelectedItem(), node("Icon256"));
    EXPECT_EQ(labelPoints("Icon256", GetSysColor(COLOR_WINDOW)), 0);
}

// Keys typed faster than a node lists: the list ends with what the node the
// keys stopped on holds, whichever node that is.
TEST_F(TreeScenario, FastArrowKeysListTheNodeTheyStopOn) {
    std::map<Node*, Texts> holds;
    for (const char* key : {"IconHi", "Icon256"}) {
        clickNode(key);
        holds[node(key)] = itemTexts(w().pnlResult);
    }
    ASSERT_NE(holds[node("IconHi")], holds[node("Icon256")]);
    const struct {
        const char* from;
        std::vector<int> keys;
        const char* to;
    } runs[] = {{"Icon256", {VK_DOWN, VK_UP}, "Icon256"},
                {"Icon256", {VK_DOWN, VK_UP, VK_DOWN}, "IconHi"},
                {"IconHi", {VK_UP, VK_DOWN}, "IconHi"}};
    for (const auto& run : runs) {
        clickNode(run.from);
        std::vector<INPUT> inputs;
        for (int key : run.keys)
            for (const INPUT& in : keyStrokes(key)) inputs.push_back(in);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        settle(300);
        Node* selected = w().pnlNav.SelectedItem();
        ASSERT_EQ(selected, node(run.to)) << run.keys.size() << " keys from " << run.from;
        EXPECT_EQ(itemTexts(w().pnlResult), holds[selected]) << run.keys.size() << " keys from " << run.from;
        EXPECT_FALSE(Busy.AbortRequested);
        EXPECT_TRUE(w().pnlNav.Enabled());
    }
}

namespace {
// A favourites folder of many icons, all on one page: reading them keeps the
// listing busy long enough for a key pressed once it starts.
class ManyFavouritesScenario : public TreeScenario {
protected:
    void prepare() override {
        TreeScenario::prepare();
        const std::string many = favorites() + "\\Many";
        CreateDirectoryA(many.c_str(), nullptr);
        const std::string icon = vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 8, 5)});
        for (int i = 0; i < 1500; ++i) vmtest::writeFile(many + "\\" + std::to_string(i) + ".ico", icon);
        procRegSetValue(kSettingsKey, "IconsPerPage32", Variant(std::string("2000")), REG_SZ);
    }
};
} // namespace

// The tree, disabled while the listing it started runs, cannot keep the
// focus: Esc still reaches the window and stops the listing.
TEST_F(ManyFavouritesScenario, EscStopsAListingStartedFromTheTree) {
    HWND tree = w().pnlNav.hWnd();
    KeyDuringWork esc(VK_ESCAPE, [tree] { return !IsWindowEnabled(tree); });
    clickNode("favoriMany");
    ASSERT_TRUE(esc.pressed()) << "the listing never started";
    settle();
    EXPECT_EQ(panelText("message"), "Aborted!");
    EXPECT_LT(itemTexts(w().pnlResult).size(), 1500u);
    EXPECT_TRUE(w().pnlNav.Enabled());
    EXPECT_EQ(focusedWindow(), tree);
}
