// The keyword editor and the Add Reference window on hidden forms, with the
// user files written at program end compared byte for byte.
#include "dialogtest.h"

#include "browserstate.h"
#include "dialogforms.h"
#include "libraryindex.h"
#include "listaccess.h"
#include "seam.h"

using namespace vm;
using namespace vmtest;

namespace {

// Stands in for the main window's sorted keyword box.
class FrmKeywordBox : public Form {
public:
    FrmKeywordBox() : Form("frmKeywordBox") {}
    ComboBox cmbSearch{this};

protected:
    void CreateControls() override { cmbSearch.create(*this, 0, 0, 2000, 2000, vbComboDropdown, true); }
};

template <class L>
std::vector<std::string> items(L& list) {
    std::vector<std::string> all;
    for (int i = 0; i < list.ListCount(); ++i) all.push_back(list.List(i));
    return all;
}

class KeywordTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        box.Load();
        frmKey().Load();
        frmAdd().Load();
        Keywords = KeywordState{};
        UserRefs.lstUser.Clear();
        UserRefs.cmbUser.Clear();
        keywordHost.cmbSearch = &box.cmbSearch;
        const char* const words[] = {"boat", "house", "mine"};
        for (int id = 0; id < 3; ++id) addKeyword(words[id], id);
        frmKey().lstKey.AddItem("mine");
        frmKey().lstKey.SetItemData(0, 2);
    }
    void TearDown() override {
        for (Form* f : std::initializer_list<Form*>{&frmKey(), &frmAdd(), &box}) f->Unload();
        keywordHost = {};
        referenceHost = {};
        DialogTest::TearDown();
    }
    void addKeyword(const std::string& word, int id) {
        box.cmbSearch.AddItem(word);
        box.cmbSearch.SetItemData(box.cmbSearch.NewIndex(), id);
        frmAdd().cmbSearch.AddItem(word);
        Keywords.KeywordNames[static_cast<size_t>(id)] = word;
    }
    void add(const std::string& word) {
        frmKey().txtKey.SetText(word);
        frmKey().cmdAdd_Click();
    }
    std::int32_t idOf(const std::string& word) {
        return box.cmbSearch.ItemData(FindExact(box.cmbSearch, word));
    }
    void saveUserFiles() {
        ListOf<ListBox> lstKey(frmKey().lstKey);
        procSaveUserData("32", Keywords, UserRefs, &lstKey);
    }
    FrmKeywordBox box;
};

TEST_F(KeywordTest, AddingGivesTheNextIdAndDuplicatesAreRefusedByExactText) {
    add("boat");
    EXPECT_EQ(lastMessage(), "This Keyword is already present in\nthe Vellumar Keyword list.");
    EXPECT_FALSE(Keywords.KeywordsChanged);
    add("Boat"); // other capitals make another keyword
    EXPECT_EQ(messageCount(), 1);
    EXPECT_EQ(readFile(paths.DataPath + "Keyuser-32.dat"), "Boat\r\nmine\r\n"); // saved at once
    EXPECT_FALSE(Keywords.KeywordsChanged);
    EXPECT_EQ(idOf("Boat"), 3);
    EXPECT_EQ(Keywords.KeywordNames[3], "Boat");
    EXPECT_TRUE(Keywords.KeywordIcons[3].empty());
    EXPECT_EQ(items(frmAdd().cmbSearch), items(box.cmbSearch));
    EXPECT_EQ(items(frmKey().lstKey), (std::vector<std::string>{"Boat", "mine"}));
    EXPECT_EQ(frmKey().lstKey.Text(), "Boat");
    add("Boat"); // added earlier in the run
    EXPECT_EQ(messageCount(), 2);

    // Deleting two removes exactly those from both boxes; the next id still counts on.
    add("zebra");
    EXPECT_EQ(idOf("zebra"), 4);
    for (const char* word : {"Boat", "mine"}) {
        frmKey().lstKey.SetListIndex(FindExact(frmKey().lstKey, word));
        frmKey().cmdDelete_Click();
    }
    EXPECT_EQ(items(box.cmbSearch), (std::vector<std::string>{"boat", "house", "zebra"}));
    EXPECT_EQ(items(frmAdd().cmbSearch), items(box.cmbSearch));
    EXPECT_EQ(items(frmKey().lstKey), (std::vector<std::string>{"zebra"}));
    EXPECT_TRUE(frmKey().txtKey.Text().empty());
    EXPECT_FALSE(frmKey().cmdDelete.Enabled());
}

TEST_F(KeywordTest, TypingAKnownKeywordSelectsItAndOffersDelete) {
    frmKey().txtKey.SetText("mine");
    EXPECT_EQ(frmKey().lstKey.ListIndex(), 0);
    EXPECT_FALSE(frmKey().cmdAdd.Enabled());
    EXPECT_TRUE(frmKey().cmdDelete.Enabled());
    frmKey().txtKey.SetText("min");
    EXPECT_EQ(frmKey().lstKey.ListIndex(), -1);
    EXPECT_TRUE(frmKey().cmdAdd.Enabled());
    EXPECT_FALSE(frmKey().cmdDelete.Enabled());
    frmKey().txtKey.SetText("");
    EXPECT_FALSE(frmKey().cmdAdd.Enabled());
}

TEST_F(KeywordTest, TheLastIdIsTheLimit) {
    addKeyword("last", kMaxKeywordId - 1);
    add("fits");
    EXPECT_EQ(idOf("fits"), kMaxKeywordId);
    EXPECT_EQ(Keywords.KeywordNames[kMaxKeywordId], "fits");
    add("over");
    EXPECT_EQ(FindExact(box.cmbSearch, "over"), -1);
    EXPECT_EQ(FindExact(frmKey().lstKey, "over"), -1);
    EXPECT_EQ(lastMessage(), "The Vellumar Keyword list is full.\nNo further keyword can be added.");
}

TEST_F(KeywordTest, EveryChangeIsWrittenAtOnceWithItsBackup) {
    writeFile(paths.DataPath + "Keyuser-32.dat", "mine\r\n");
    add("anchor");
    EXPECT_EQ(readFile(paths.DataPath + "Keyuser-32.dat"), "anchor\r\nmine\r\n");
    EXPECT_EQ(readFile(paths.DataPath + "Keyuser-32.bak"), "mine\r\n");
    frmKey().lstKey.SetListIndex(FindExact(frmKey().lstKey, "mine"));
    frmKey().cmdDelete_Click();
    EXPECT_EQ(readFile(paths.DataPath + "Keyuser-32.dat"), "anchor\r\n");
    saveUserFiles(); // the program's end has nothing left to write
    EXPECT_EQ(readFile(paths.DataPath + "Keyuser-32.bak"), "anchor\r\nmine\r\n");
}

TEST_F(KeywordTest, AReferenceIsAddedOnceInBothListsAndWrittenToTheReferenceFile) {
    std::string tag = "C:\\icons\\x.ico;0;x;1open";
    referenceHost.selectedTag = [&] { return tag; };
    FrmAdd& a = frmAdd();
    a.optType(1).SetValue(true);
    EXPECT_EQ(a.ReferenceTypeIndex, 1);
    a.cmbSearch.SetText("boat");
    a.cmbSearch.SetListIndex(FindExact(a.cmbSearch, "boat"));
    EXPECT_TRUE(a.cmdAdd.Enabled());
    a.cmdAdd_Click();
    EXPECT_FALSE(Keywords.UserIconsChanged); // written at once
    EXPECT_EQ(items(UserRefs.cmbUser), (std::vector<std::string>{"C:\\icons\\x.ico;0;x;1user"}));
    EXPECT_EQ(items(UserRefs.lstUser), (std::vector<std::string>{"boat"}));
    EXPECT_FALSE(a.cmdAdd.Enabled());

    a.cmdAdd.SetEnabled(true);
    a.cmdAdd_Click(); // the same pair again
    EXPECT_EQ(lastMessage(), "This reference already excists.");
    EXPECT_EQ(Seam::get().requests().back().title, "Error saving reference");
    EXPECT_FALSE(a.cmdAdd.Enabled());
    EXPECT_EQ(UserRefs.cmbUser.ListCount(), 1);

    a.cmbSearch.SetListIndex(FindExact(a.cmbSearch, "house")); // another keyword is another pair
    a.cmdAdd_Click();
    a.optType(7).SetValue(true); // and another type another entry
    a.cmdAdd_Click();
    EXPECT_EQ(items(UserRefs.lstUser), (std::vector<std::string>{"boat", "house", "house"}));
    EXPECT_EQ(UserRefs.cmbUser.List(2), "C:\\icons\\x.ico;0;x;7user");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(UserRefs.lstUser.ItemData(i), i);
        EXPECT_EQ(UserRefs.cmbUser.ItemData(i), i);
    }

    saveUserFiles();
    EXPECT_EQ(readFile(paths.DataPath + "Iconuser-32.dat"),
              "boat;C:\\icons\\x.ico;0;x;1user\r\nhouse;C:\\icons\\x.ico;0;x;1user\r\nhouse;C:\\icons\\x.ico;0;x;7user\r\n");

    tag = "open"; // no item a reference can be made of
    a.cmdAdd_Click();
    EXPECT_EQ(UserRefs.cmbUser.ListCount(), 3);
}

} // namespace

