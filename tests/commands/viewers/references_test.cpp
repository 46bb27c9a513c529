// References: the item's own reference deleted, and the keywords the
// properties window lists.
#include <gtest/gtest.h>

#include "browserstate.h"
#include "frmprop.h"
#include "references.h"
#include "resultentry.h"
#include "state.h"
#include "statusbar.h"
#include "viewerform.h"
#include "viewerhost.h"

using namespace vm;

TEST(PropertiesKeywords, OnlyWholeIdsMatchInIndexOrderWithoutATrailingComma) {
    std::vector<std::string> names{"boat", "ship", "sea", "car"};
    std::vector<std::string> records{"12:3:1;2:3:10;", "2:3:1;", "1:1:1;2:3:1;", "2:3:1;"};
    EXPECT_EQ(procKeywordsOf("2:3:1", names, records, 3), "ship, sea, car");
    EXPECT_EQ(procKeywordsOf("2:3:1", names, records, 2), "ship, sea"); // the keyword box's count bounds it
    EXPECT_EQ(procKeywordsOf("12:3:1", names, records, 3), "boat");
    EXPECT_EQ(procKeywordsOf("3:1", names, records, 3), "");
    EXPECT_EQ(procKeywordsOf("2:3:1", names, records, 3000), "ship, sea, car"); // no record past the list
}

namespace {

class ReferenceTest : public viewertest::ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        form.pnlStatusbar.Panels.Add(-1, "count");
        Viewers.CountPanel = &form.pnlStatusbar.Panels("count");
        Viewers.selectItem = [this] { ++selections; };
        Viewers.getPage = [this] { ++pages; };
        Keywords.UserIconsChanged = false;
        savedDataPath = paths.DataPath;
        paths.DataPath = scratch.path() + "\\";
    }
    void TearDown() override {
        paths.DataPath = savedDataPath;
        ViewerTest::TearDown();
    }
    std::string savedDataPath;
    void addReference(const std::string& keyword, const std::string& entry) {
        UserRefs.lstUser.AddItem(keyword);
        UserRefs.cmbUser.AddItem(entry);
        const int i = UserRefs.cmbUser.NewIndex();
        UserRefs.lstUser.SetItemData(i, i);
        UserRefs.cmbUser.SetItemData(i, i);
    }
    // A listing of references i: entry, ItemData the reference, an item each.
    void list(std::initializer_list<int> references) {
        for (int i : references) {
            Entries.cmbResult.AddItem(UserRefs.cmbUser.List(i));
            Entries.cmbResult.SetItemData(Entries.cmbResult.NewIndex(), i);
            form.addItem("item", "256 Color Icon", RGB(0, 0, 255), UserRefs.cmbUser.List(i)).SetSubItems(2, "Reference");
        }
    }
    int selections = 0, pages = 0;
};

} // namespace

TEST_F(ReferenceTest, DeleteRemovesTheItemsOwnReferenceWhenTwoHoldTheSameEntry) {
    const std::string entry = FileEntry({"c:\\icons\\a.ico", "0", "x"}, '1', kKindUser);
    addReference("first", entry);
    addReference("other", FileEntry({"c:\\icons\\b.ico", "0", "x"}, '1', kKindUser));
    addReference("second", entry);
    list({0, 2, 1});
    form.pnlResult.SetSelectedItem(&form.pnlResult.ListItems(2)); // the entry under "second"
    mnuRefDelete_Click();
    EXPECT_EQ(UserRefs.lstUser.ListCount(), 2);
    EXPECT_EQ(UserRefs.lstUser.List(0), "first");
    EXPECT_EQ(UserRefs.lstUser.List(1), "other");
    EXPECT_EQ(Entries.cmbResult.ListCount(), 2);
    EXPECT_EQ(Entries.cmbResult.ItemData(1), 1); // "other" still names its reference
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 2);
    EXPECT_EQ(form.pnlStatusbar.Panels("count").Text(), "2 icon(s)");
    // The item that took the deleted one's place is selected before the selection handler runs.
    ASSERT_NE(form.pnlResult.SelectedItem(), nullptr);
    EXPECT_EQ(form.pnlResult.SelectedItem()->Index(), 2);
    EXPECT_EQ(selections, 1);
    // Written at once, not at the program's end.
    EXPECT_EQ(vmtest::readFile(scratch.file("Iconuser-32.dat")), "first;" + UserRefs.cmbUser.List(0) + "\r\nother;" +
                                                                    UserRefs.cmbUser.List(1) + "\r\n");
    EXPECT_FALSE(Keywords.UserIconsChanged);

    // The last two go; the empty list is paged.
    form.pnlResult.SetSelectedItem(&form.pnlResult.ListItems(1));
    mnuRefDelete_Click();
    EXPECT_EQ(UserRefs.lstUser.List(0), "other");
    form.pnlResult.SetSelectedItem(&form.pnlResult.ListItems(1));
    mnuRefDelete_Click();
    EXPECT_EQ(UserRefs.cmbUser.ListCount(), 0);
    EXPECT_EQ(Entries.cmbResult.ListCount(), 0);
    EXPECT_EQ(pages, 1);
}

TEST_F(ReferenceTest, AnItemWhoseReferenceIsGoneLosesOnlyItsResultEntry) {
    addReference("first", FileEntry({"c:\\icons\\a.ico", "0", "x"}, '1', kKindUser));
    list({0});
    UserRefs.cmbUser.Clear();
    UserRefs.lstUser.Clear();
    form.addItem("b", "256 Color Icon", RGB(0, 0, 255), "c:\\b.ico;0;x;1user").SetSubItems(2, "Reference");
    Entries.cmbResult.AddItem("c:\\b.ico;0;x;1user");
    mnuRefDelete_Click();
    EXPECT_EQ(Entries.cmbResult.ListCount(), 1);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 1);
    EXPECT_FALSE(Keywords.UserIconsChanged); // written at once
}

TEST_F(ReferenceTest, DeletingTheOnlyItemOfTheLastPageShowsThePageBefore) {
    for (int i = 0; i < 4; ++i)
        addReference("k", FileEntry({"c:\\icons\\" + std::to_string(i) + ".ico", "0", "x"}, '1', kKindUser));
    for (int i = 0; i < 3; ++i) {
        Entries.cmbResult.AddItem(UserRefs.cmbUser.List(i));
        Entries.cmbResult.SetItemData(Entries.cmbResult.NewIndex(), i);
    }
    list({3});
    const PagingState before = Paging;
    Paging = PagingState{3, 2, 2};
    form.pnlResult.SetSelectedItem(&form.pnlResult.ListItems(1));
    mnuRefDelete_Click();
    EXPECT_EQ(Entries.cmbResult.ListCount(), 3);
    EXPECT_EQ(Paging.CurrentPage, 1);
    EXPECT_EQ(pages, 1);
    Paging = before;
}
