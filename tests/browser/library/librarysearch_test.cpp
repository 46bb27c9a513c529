#include <gtest/gtest.h>

#include <functional>

#include "libfixtures.h"
#include "libraryindex.h"
#include "librarysearch.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"
#include "patience.h"

using namespace vm;

namespace {

struct SearchFixture : ::testing::Test {
    vmtest::ScratchDir dir;
    KeywordState keywords;
    UserReferences refs;
    EntryLists entries;
    PagingState paging;
    BusyState busy;
    BrowserHost host;
    HiddenList box;
    ListOf<HiddenList> cmbSearch{box};
    SearchContext ctx{keywords, refs, entries, paging, busy, host, cmbSearch};
    int pagesShown = 0;
    std::vector<std::string> counts, messages;

    void SetUp() override {
        paths.DataPath = dir.path() + "\\";
        host.showPage = [this] { ++pagesShown; };
        host.setCountPanel = [this](const std::string& t) { counts.push_back(t); };
        host.setMessagePanel = [this](const std::string& t) { messages.push_back(t); };
    }
    void loadSample() {
        vmtest::writeSampleLibrary(dir.path());
        keywords.IconSize = 32;
        procFillSearch(keywords, refs, {&cmbSearch, nullptr, nullptr}, host);
    }
    std::vector<std::pair<std::string, int>> result() const {
        std::vector<std::pair<std::string, int>> out;
        for (int i = 0; i < entries.cmbResult.ListCount(); ++i)
            out.emplace_back(entries.cmbResult.List(i), entries.cmbResult.ItemData(i));
        return out;
    }
    using Entries = std::vector<std::pair<std::string, int>>;
};

} // namespace

TEST_F(SearchFixture, KeywordListsItsIconsThenItsReferences) {
    loadSample();
    entries.cmbResult.AddItem("left over");
    box.SetListIndex(0); // apple
    procSearchVellumar(ctx);
    EXPECT_EQ(result(), (Entries{{"1:0:00book", 0}, {"1:1:11book", 0}, {"1:2:22book", 0}, {"C:\\icons\\d.cur;0;x;7user", 3}}));
    EXPECT_EQ(keywords.CurrentKeywordId, "0");
    EXPECT_EQ(paging.CurrentPage, 1);
    EXPECT_EQ(paging.PageCount, 1);
    EXPECT_EQ(pagesShown, 1);
    EXPECT_EQ(messages, (std::vector<std::string>{"Searching for icons, please wait...", ""}));

    box.SetListIndex(6); // the user keyword mine: its two references only
    procSearchVellumar(ctx);
    EXPECT_EQ(result(), (Entries{{"C:\\icons\\a.ico;0;x;1user", 0}, {"C:\\icons\\b.dll;4;#5 of 9;2user", 1}}));
}

// The keyword box as the window has it: choosing another item raises its
// Click, which runs the search.
class ClickingBox final : public ListAccess {
public:
    explicit ClickingBox(HiddenList& list) : plain_(list) {}
    std::function<void()> Click;
    void Clear() override { plain_.Clear(); }
    void AddItem(const std::string& text) override { plain_.AddItem(text); }
    int NewIndex() const override { return plain_.NewIndex(); }
    int ListCount() const override { return plain_.ListCount(); }
    std::string List(int index) const override { return plain_.List(index); }
    std::int32_t ItemData(int index) const override { return plain_.ItemData(index); }
    void SetItemData(int index, std::int32_t value) override { plain_.SetItemData(index, value); }
    int ListIndex() const override { return plain_.ListIndex(); }
    void SetListIndex(int index) override {
        if (index == plain_.ListIndex()) return;
        plain_.SetListIndex(index);
        if (Click) Click();
    }
    std::string Text() const override { return plain_.Text(); }

private:
    ListOf<HiddenList> plain_;
};

TEST_F(SearchFixture, EnterSelectsTheFirstKeywordBeginningWithTheTextAndSearchesItOnce) {
    loadSample();
    ClickingBox clicking(box);
    SearchContext typed{keywords, refs, entries, paging, busy, host, clicking};
    clicking.Click = [&typed] { procSearchVellumar(typed); };
    SearchTypedKeyword(typed, "bI");
    EXPECT_EQ(box.ListIndex(), 1); // Bird comes before Bicycle
    EXPECT_EQ(entries.cmbResult.ListCount(), 3);
    EXPECT_EQ(pagesShown, 1);
    SearchTypedKeyword(typed, "bird"); // the keyword already chosen: no Click, searched all the same
    EXPECT_EQ(pagesShown, 2);
    SearchTypedKeyword(typed, "zebra");
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(entries.cmbResult.ListCount(), 3); // nothing new listed
    EXPECT_EQ(pagesShown, 2);
}

TEST_F(SearchFixture, AKeywordAddedDuringTheRunListsNoLibraryIcons) {
    loadSample();
    box.AddItem("newword");
    box.SetItemData(box.NewIndex(), kNoKeywordId);
    box.SetListIndex(box.NewIndex());
    procSearchVellumar(ctx);
    EXPECT_TRUE(result().empty());
    EXPECT_EQ(paging.PageCount, 1);
}

TEST_F(SearchFixture, FavouritesAreMatchedByNameOnlyWhenAsked) {
    loadSample();
    std::vector<std::string> opened;
    host.listFavoriteFiles = [](HiddenList& files) {
        for (const char* f : {"C:\\fav\\Blue Car.ICO", "C:\\fav\\car.bmp", "C:\\fav\\sub\\birdcall.ani",
                              "C:\\fav\\bus.cur", "C:\\fav\\bird\\x.ico"})
            files.AddItem(f);
    };
    host.appendFileEntries = [&](const std::string& f) { opened.push_back(f); };
    box.SetListIndex(1); // Bird
    procSearchVellumar(ctx);
    EXPECT_TRUE(opened.empty()); // the option is off
    ctx.searchFavorites = true;
    procSearchVellumar(ctx);
    EXPECT_EQ(opened, (std::vector<std::string>{"C:\\fav\\sub\\birdcall.ani"}));
    keywords.IconSize = 16;
    opened.clear();
    procSearchVellumar(ctx);
    EXPECT_TRUE(opened.empty());

    HiddenList files;
    for (const char* f : {"C:\\f\\Blue Car.ICO", "C:\\f\\car.bmp", "C:\\f\\carx", "C:\\f\\scar.cur"}) files.AddItem(f);
    FilterFavoriteFiles(files, "car");
    ASSERT_EQ(files.ListCount(), 2);
    EXPECT_EQ(files.List(0), "C:\\f\\Blue Car.ICO");
    EXPECT_EQ(files.List(1), "C:\\f\\scar.cur");
}

TEST_F(SearchFixture, FormatSearchListsEachIconOnceUnderItsFirstKeyword) {
    loadSample();
    procSearchByFormat(ctx, 0);
    EXPECT_EQ(result(), (Entries{{"1:0:00book", 0}, {"3:0:00book", 5}, {"150:0:00book", 5}, {"325:1:00book", 5}}));
    procSearchByFormat(ctx, 1);
    EXPECT_EQ(result(), (Entries{{"1:1:11book", 0}, {"87:0:01book", 4}, {"C:\\icons\\a.ico;0;x;1user", 0}}));
    procSearchByFormat(ctx, 3);
    EXPECT_EQ(result(), (Entries{{"1:3:33book", 1}, {"2:10:03book", 3}, {"2:11:03book", 3}, {"2:12:03book", 3}}));
    EXPECT_EQ(keywords.CurrentKeywordId, "7"); // the last keyword examined
    EXPECT_EQ(pagesShown, 3);
}

TEST_F(SearchFixture, AnAbortShowsWhatWasListedSoFar) {
    std::string record;
    for (int i = 0; i < 40; ++i) record += "1:" + std::to_string(i) + ":00;";
    keywords.KeywordNames[0] = "many";
    keywords.KeywordIcons[0] = record;
    box.AddItem("many");
    host.doEvents = [this] {
        if (entries.cmbResult.ListCount() == 30) busy.AbortRequested = true;
    };
    procSearchByFormat(ctx, 0);
    EXPECT_EQ(entries.cmbResult.ListCount(), 30);
    EXPECT_EQ(counts.back(), "25 Icon(s)");
    EXPECT_FALSE(busy.AbortRequested);
    EXPECT_EQ(paging.PageCount, 1);
}

TEST_F(SearchFixture, LetterSearchIgnoresCaseForKeywordsAndReferences) {
    loadSample();
    procSearchLetter(ctx, "B");
    EXPECT_EQ(result(), (Entries{{"1:3:33book", 1},
                                 {"1:4:44book", 1},
                                 {"1:5:55book", 1},
                                 {"1:6:66book", 2},
                                 {"1:7:77book", 2},
                                 {"1:8:88book", 2},
                                 {"1:9:92book", 2},
                                 {"1:0:00book", 2},
                                 {"C:\\icons\\c.ani;2;frame 3;4user", 2}}));
}

TEST_F(SearchFixture, ReferenceSearchTakesEveryKindOfOneDepth) {
    loadSample();
    procSearchReferences(ctx, 1);
    EXPECT_EQ(result(), (Entries{{"C:\\icons\\a.ico;0;x;1user", 0}, {"C:\\icons\\c.ani;2;frame 3;4user", 2},
                                 {"C:\\icons\\d.cur;0;x;7user", 3}}));
    procSearchReferences(ctx, 0);
    EXPECT_TRUE(result().empty());
}

TEST_F(SearchFixture, EmptyLibraryGivesOneEmptyPageFromEveryBuilder) {
    procSearchByFormat(ctx, 2);
    EXPECT_EQ(paging.PageCount, 1);
    procSearchLetter(ctx, "a");
    EXPECT_EQ(paging.PageCount, 1);
    procSearchReferences(ctx, 2);
    EXPECT_EQ(paging.PageCount, 1);
    EXPECT_EQ(pagesShown, 3);
    EXPECT_EQ(entries.cmbResult.ListCount(), 0);
}

TEST_F(SearchFixture, FormatSearchOfALargeLibraryIsNotQuadratic) {
    // 20,000 icons under 2,000 keywords, half of them filed again under 1,000 more.
    for (int k = 0; k < 3000; ++k) {
        std::string record;
        const int n = k % 2000;
        for (int i = 0; i < 10; ++i) record += std::to_string(n % 1000 + 1) + ":" + std::to_string(i * 10 + n / 1000) + ":01;";
        keywords.KeywordNames[static_cast<size_t>(k)] = std::to_string(k) + "k";
        keywords.KeywordIcons[static_cast<size_t>(k)] = record;
        box.AddItem(keywords.KeywordNames[static_cast<size_t>(k)]);
        box.SetItemData(box.NewIndex(), k);
    }
    const vmtest::CpuStopwatch work;
    procSearchByFormat(ctx, 1);
    EXPECT_EQ(entries.cmbResult.ListCount(), 20000);
    EXPECT_EQ(paging.PageCount, 134);
    EXPECT_LT(work.ms(), 3000u);
}

TEST_F(SearchFixture, KeywordsLettersAndFavouriteNamesInAnyLanguageMatchByCharacterNotByByte) {
    loadSample();
    for (const char* keyword : {"Éclair", "élan", "Ünïcødé 图标"}) {
        refs.lstUser.AddItem(keyword);
        refs.cmbUser.AddItem(std::string("C:\\icons\\") + keyword + ".ico;0;x;1user");
    }
    // The letter is a whole character, its capital and small forms alike; "E" is another letter.
    procSearchLetter(ctx, "É");
    EXPECT_EQ(result(), (Entries{{"C:\\icons\\Éclair.ico;0;x;1user", 4}, {"C:\\icons\\élan.ico;0;x;1user", 5}}));
    procSearchLetter(ctx, "E");
    EXPECT_TRUE(result().empty());

    // A keyword typed in other capitals finds its references, and the box's keyword by its start.
    box.AddItem("ÜNÏCØDÉ 图标");
    box.SetItemData(box.NewIndex(), kNoKeywordId);
    box.SetListIndex(box.NewIndex());
    procSearchVellumar(ctx);
    EXPECT_EQ(result(), (Entries{{"C:\\icons\\Ünïcødé 图标.ico;0;x;1user", 6}}));
    EXPECT_EQ(FindKeywordPrefix(cmbSearch, "ünïc"), box.NewIndex());

    HiddenList files;
    for (const char* f : {"C:\\f\\ÜNÏCØDÉ 图标.ICO", "C:\\f\\unicode.ico", "C:\\f\\ünï.bmp"}) files.AddItem(f);
    FilterFavoriteFiles(files, "ünï");
    ASSERT_EQ(files.ListCount(), 1);
    EXPECT_EQ(files.List(0), "C:\\f\\ÜNÏCØDÉ 图标.ICO");

    // A sorted list puts accented letters beside their base letter, not after "z".
    HiddenList sorted(true);
    for (const char* word : {"zebra", "Éclair", "apple", "eagle"}) sorted.AddItem(word);
    EXPECT_EQ(sorted.List(1), "eagle");
    EXPECT_EQ(sorted.List(2), "Éclair");
    EXPECT_EQ(sorted.List(3), "zebra");
}
