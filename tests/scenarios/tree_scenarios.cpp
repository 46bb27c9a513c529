// The navigation tree as a person uses it: nodes clicked and opened with the
// mouse and keys, the Favorites menu, an icon dragged onto a favourites
// folder, and the size box switched while a listing runs.
#include "scenario.h"

#include <commctrl.h>

#include <atomic>
#include <thread>

#include "browserstate.h"
#include "ico_fixtures.h"
#include "navtree.h"
#include "registry.h"
#include "seam.h"
#include "startfolders.h"
#include "state.h"

using namespace vm;
using namespace vmscenario;

namespace {

using Texts = std::vector<std::string>;

// The middle of a node's text, in pixels of the tree.
POINT nodePoint(const std::string& key) {
    Node& node = frmMain().pnlNav.Nodes(key);
    node.EnsureVisible();
    RECT r{};
    const HTREEITEM handle = node.handle();
    memcpy(&r, &handle, sizeof handle);
    SendMessageA(frmMain().pnlNav.hWnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void clickNode(const std::string& key) {
    const POINT p = nodePoint(key);
    click(frmMain().pnlNav, p.x, p.y);
}

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

INPUT mouseAt(POINT screen, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((screen.x * 65535LL + cx / 2) / std::max(1, cx - 1));
    in.mi.dy = static_cast<LONG>((screen.y * 65535LL + cy / 2) / std::max(1, cy - 1));
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

INPUT keyAt(int key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(key);
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

// Holds the left button on item index of the result list, moves to the
// node in steps and lets go there (with Shift held over the tree when asked).
void dragItemToNode(int index, const std::string& key, bool shift) {
    ListView& list = frmMain().pnlResult;
    RECT r{};
    r.left = LVIR_ICON;
    SendMessageA(list.hWnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    POINT from{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list.hWnd(), &from);
    POINT to = nodePoint(key);
    ClientToScreen(frmMain().pnlNav.hWnd(), &to);
    std::vector<INPUT> inputs{mouseAt(from, 0), mouseAt(from, MOUSEEVENTF_LEFTDOWN)};
    const int steps = 12;
    for (int i = 1; i <= steps; ++i)
        inputs.push_back(mouseAt(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, 0));
    if (shift) inputs.push_back(keyAt(VK_SHIFT, false));
    inputs.push_back(mouseAt(to, 0));
    inputs.push_back(mouseAt(to, MOUSEEVENTF_LEFTUP));
    if (shift) inputs.push_back(keyAt(VK_SHIFT, true));
    // A hand of its own moves the mouse, a step at a time as a person does, while
    // this thread runs the window (and the drag loop the drag starts).
    std::atomic<bool> done{false};
    std::thread hand([&inputs, &done] {
        for (INPUT& in : inputs) {
            SendInput(1, &in, sizeof in);
            Sleep(40);
        }
        done = true;
    });
    while (!done) {
        DoEvents();
        Sleep(10);
    }
    hand.join();
    settle(200);
}

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

TEST_F(TreeScenario, FavoritesMenuCreatesRemovesAndRefreshes) {
    clickNode("favoriApps");
    Seam::get().queueText("Made here");
    chooseMenu({"F&avorites", "&Create Folder"});
    EXPECT_TRUE(isFolder(favorites() + "\\Apps\\Made here"));
    ASSERT_TRUE(node("favoriApps\\Made here"));

    clickNode("favoriApps\\Made here");
    Seam::get().queueCode(vbYes);
    chooseMenu({"F&avorites", "&Remove Folder"});
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
    dragItemToNode(1, "favoriApps\\Small ones", false);
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
    dragItemToNode(1, "favoriApps", true);
    EXPECT_TRUE(vmtest::fileExists(favorites() + "\\Apps\\kept.ico"));
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().title, "Move Favorite");

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
    std::vector<INPUT> inputs{mouseAt(at, 0), mouseAt(at, MOUSEEVENTF_LEFTDOWN), mouseAt(at, MOUSEEVENTF_LEFTUP),
                              mouseAt(box, 0), mouseAt(box, MOUSEEVENTF_LEFTDOWN), mouseAt(box, MOUSEEVENTF_LEFTUP),
                              keyAt(VK_UP, false), keyAt(VK_UP, true), keyAt(VK_RETURN, false),
                              keyAt(VK_RETURN, true)};
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    settle(500);
    EXPECT_EQ(Keywords.IconSize, 16);
    EXPECT_EQ(Entries.cmbResult.ListCount(), 0);
    EXPECT_TRUE(itemTexts(w().pnlResult).empty());
    EXPECT_FALSE(node("favori"));
    EXPECT_FALSE(w().mnuFavorite.Enabled());
    EXPECT_TRUE(IsIdle(w().browserWindow));
}
