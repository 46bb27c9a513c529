// The navigation tree built on a hidden form: node keys, texts and order for
// each data set, with and without the library, the keyword groups, the cursor
// schemes of the registry and the favourites folder tree on disk.
#include <gtest/gtest.h>

#include <windows.h>

#include "form.h"
#include "navtree.h"
#include "scratch.h"
#include "treeview.h"

using namespace vm;

namespace {

class FrmTree : public Form {
public:
    FrmTree() : Form("frmTree") {}
    TreeView pnlNav{this};

protected:
    void CreateControls() override { pnlNav.create(*this, 0, 0, 3000, 3000); }
};

// The keys of a node's children, in display order.
std::vector<std::string> childKeys(Node* parent) {
    std::vector<std::string> keys;
    for (Node* n = parent ? parent->Child() : nullptr; n; n = n->Next()) keys.push_back(n->Key());
    return keys;
}
std::vector<std::string> childTexts(Node* parent) {
    std::vector<std::string> texts;
    for (Node* n = parent ? parent->Child() : nullptr; n; n = n->Next()) texts.push_back(n->Text());
    return texts;
}
std::vector<std::string> rootKeys(TreeView& t) {
    std::vector<std::string> keys;
    if (t.Nodes.Count() == 0) return keys;
    for (Node* n = t.Nodes(1).Root(); n; n = n->Next()) keys.push_back(n->Key());
    return keys;
}

class NavTree : public ::testing::Test {
protected:
    void SetUp() override {
        form.Load();
        RegDeleteTreeA(HKEY_CURRENT_USER, kCursorSchemesKey);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kCursorSchemesKey);
        form.Unload();
    }
    void build(int size, const std::string& product = "Vellumar", const std::string& favorites = "") {
        TreeBuild b{form.pnlNav, keywords, host, product, size, favorites, "Favorites"};
        procBuildTree(b);
    }
    Node* node(const std::string& key) { return form.pnlNav.Nodes.exists(key) ? &form.pnlNav.Nodes(key) : nullptr; }

    FrmTree form;
    HiddenList keywordList;
    ListOf<HiddenList> keywords{keywordList};
    BrowserHost host;
};

} // namespace

TEST_F(NavTree, ThirtyTwoHasEverySourceInOrder) {
    std::vector<std::string> status;
    host.setStatusText = [&](const std::string& t) { status.push_back(t); };
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kCursorSchemesKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    RegSetValueExA(key, "Zebra Scheme", 0, REG_SZ, reinterpret_cast<const BYTE*>("a.cur,b.cur"), 12);
    RegSetValueExA(key, "Ant", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("c.cur"), 6);
    RegCloseKey(key);

    build(32);
    EXPECT_EQ(rootKeys(form.pnlNav), (std::vector<std::string>{"vellumar", "your"}));
    EXPECT_EQ(childKeys(node("vellumar")), (std::vector<std::string>{"icon", "ani", "cursor", "group", "alfa"}));
    EXPECT_EQ(childKeys(node("icon")), (std::vector<std::string>{"Icon256", "IconHi"}));
    EXPECT_EQ(childTexts(node("cursor")), (std::vector<std::string>{"16 Color", "256 Color", "High Color"}));
    EXPECT_EQ(childKeys(node("alfa")).size(), 26u);
    EXPECT_EQ(childKeys(node("alfa")).front(), "A");
    EXPECT_EQ(childKeys(node("your")),
              (std::vector<std::string>{"favori", "reference", "system", "SysShort", "SysCur", "SysAso"}));
    EXPECT_EQ(node("favori")->Text(), "Favorites");
    EXPECT_EQ(childKeys(node("system")),
              (std::vector<std::string>{"SysDesktop", "SysStart", "SysDrives", "SysFolders", "SysFiles"}));
    EXPECT_EQ(childKeys(node("SysShort")), (std::vector<std::string>{"SysShortDesk", "SysShortStart"}));
    // Schemes follow "Current" in the registry's order; each name is a node of its own.
    std::vector<std::string> cursors = childKeys(node("SysCur"));
    ASSERT_EQ(cursors.size(), 3u);
    EXPECT_EQ(cursors[0], "SysCurCurrent");
    EXPECT_TRUE(node("cthemeZebra Scheme") && node("cthemeAnt"));
    EXPECT_EQ(node("cthemeZebra Scheme")->Text(), "Zebra Scheme");
    EXPECT_TRUE(node("vellumar")->Expanded());
    EXPECT_TRUE(node("your")->Expanded());
    EXPECT_EQ(node("Icon256")->Image().key, "book");
    EXPECT_EQ(node("Icon256")->SelectedImage().key, "openbook");
    EXPECT_EQ(status, (std::vector<std::string>{"Building tree...", "Building favorites tree...",
                                                "Getting cursor Themes..."}));
}

TEST_F(NavTree, SixteenAndNoLibraryLeaveTheirBranchesOut) {
    build(16);
    EXPECT_EQ(childKeys(node("vellumar")), (std::vector<std::string>{"icon", "ani", "group", "alfa"}));
    EXPECT_EQ(childKeys(node("your")), (std::vector<std::string>{"reference"}));
    EXPECT_EQ(childKeys(node("reference")), (std::vector<std::string>{"Reference16", "Reference256", "ReferenceHi"}));

    // A rebuild keeps nothing of the tree before.
    build(32, "");
    EXPECT_EQ(rootKeys(form.pnlNav), (std::vector<std::string>{"your"}));
    EXPECT_FALSE(node("Icon256"));
    build(16, "");
    EXPECT_EQ(form.pnlNav.Nodes.Count(), 5);
}

TEST_F(NavTree, GroupKeywordsCarryTheirKeyword) {
    for (const char* k : {"animals", "group animals", "group", "Group:plants", "group_iMac stuff", "groupx", "grou"})
        keywordList.AddItem(k);
    build(32);
    EXPECT_EQ(childKeys(node("group")), (std::vector<std::string>{"groups1", "groups3", "groups4"}));
    EXPECT_EQ(childTexts(node("group")), (std::vector<std::string>{"Animals", "Plants", "iMac stuff"}));
    EXPECT_EQ(node("groups3")->Tag, "Group:plants");
    EXPECT_EQ(GroupNodeText("groupx"), "");
    EXPECT_EQ(GroupNodeText("group_imacs"), "imacs");
    EXPECT_EQ(GroupNodeText("group_z"), "Z");
    EXPECT_EQ(GroupNodeText("group_ünïcødé"), "Ünïcødé"); // the whole first letter in capitals
}

TEST_F(NavTree, FavouritesMirrorTheFolderTreeSorted) {
    vmtest::ScratchDir dir;
    const std::string home = dir.path() + "\\Favs";
    for (const char* f : {"", "\\Zoo", "\\Apps", "\\Apps\\Small ones", "\\Apps\\Small ones\\deep", "\\Café",
                          "\\Empty"})
        ASSERT_TRUE(CreateDirectoryA((home + f).c_str(), nullptr)) << f;
    vmtest::writeFile(home + "\\Apps\\one.ico", "x");
    vmtest::writeFile(home + "\\avb.avb", "x");

    build(32, "Vellumar", home);
    EXPECT_EQ(childTexts(node("favori")), (std::vector<std::string>{"Apps", "Café", "Empty", "Zoo"}));
    ASSERT_TRUE(node("favoriApps\\Small ones\\deep"));
    EXPECT_EQ(node("favoriApps\\Small ones\\deep")->Parent()->Key(), "favoriApps\\Small ones");
    EXPECT_EQ(node("favoriApps")->Image().key, "bookfav");
    EXPECT_EQ(FavoriteFolderOf("favoriApps\\Small ones", home + "\\"), home + "\\Apps\\Small ones");
    EXPECT_EQ(FavoriteFolderOf("favori", home + "\\"), home);
    EXPECT_EQ(FavoriteFolderOf("favori\\New", home), home + "\\New");
    EXPECT_EQ(FavoriteFolderOf("favori", ""), "");
    EXPECT_EQ(FavoriteFolderOf("SysAso", home), "");

    // A missing folder, or none set, gives a root without children.
    build(32, "Vellumar", home + "\\gone");
    EXPECT_TRUE(node("favori") && node("favori")->Children() == 0);
    build(32, "Vellumar", "");
    EXPECT_TRUE(node("favori") && node("favori")->Children() == 0);
}
