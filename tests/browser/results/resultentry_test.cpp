#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "browserstate.h"
#include "entrylist.h"
#include "resultentry.h"
#include "userreference.h"

using namespace vm;

TEST(ResultEntry, BookEntrySplitsAtColons) {
    const std::string e = BookEntry(LibraryIconId(12, 5, 0, 3));
    EXPECT_EQ(e, "12:5:03book");
    EXPECT_EQ(EntryKind(e), "book");
    EXPECT_EQ(EntryTypeCode(e), "3");
    EXPECT_EQ(EntryField(e, 1), "12");
    EXPECT_EQ(EntryField(e, 2), "5");
    EXPECT_EQ(EntryField(e, 3), "03book");
    EXPECT_EQ(EntryField(e, 4), "");
}

TEST(ResultEntry, FileKindsKeepTheirFieldsAndCodes) {
    struct Case {
        std::string entry, kind, code, f1, f2, f3;
    };
    const Case cases[] = {
        {FileEntry({"C:\\a\\b.dll", "9", "#10 of 12"}, '2', kKindOpen), "open", "2", "C:\\a\\b.dll", "9", "#10 of 12"},
        {FileEntry({"c:\\tmp\\x\\y.ico", "C:\\z.zip", "0", "x"}, '0', kKindZip), "azip", "0", "c:\\tmp\\x\\y.ico",
         "C:\\z.zip", "0"},
        {FileEntry({"C:\\i.ani", "2", "frame 3"}, '4', kKindUser), "user", "4", "C:\\i.ani", "2", "frame 3"},
        {FileEntry({"C:\\s.exe", "1", "C:\\target.exe"}, 's', kKindShortcut), "shor", "s", "C:\\s.exe", "1",
         "C:\\target.exe"},
        {FileEntry({"default", "0", "32512"}, 'c', kKindCurrentCursor), "sycu", "c", "default", "0", "32512"},
        {FileEntry({"C:\\w.ani", "3", "Control Panel\\Cursors\\Schemes\\S:2"}, 'a', kKindThemeCursor), "sytu", "a",
         "C:\\w.ani", "3", "Control Panel\\Cursors\\Schemes\\S:2"},
        {FileEntry({"C:\\shell32.dll", "1", "Text (*.txt)"}, 'f', kKindFileType), "syas", "f", "C:\\shell32.dll", "1",
         "Text (*.txt)"},
        {FileEntry({"C:\\shell32.dll", "3", "Folder"}, 'w', kKindSystemIcon), "sysy", "w", "C:\\shell32.dll", "3",
         "Folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(EntryKind(c.entry), c.kind);
        EXPECT_EQ(EntryTypeCode(c.entry), c.code);
        EXPECT_EQ(EntryField(c.entry, 1), c.f1);
        EXPECT_EQ(EntryField(c.entry, 2), c.f2);
        EXPECT_EQ(EntryField(c.entry, 3), c.f3);
    }
    // The azip label is one field later than in open.
    EXPECT_EQ(EntryField(cases[1].entry, 4), "x");
    EXPECT_EQ(EntryField(cases[1].entry, 5), "0azip");
    EXPECT_EQ(EntryField(cases[0].entry, 4), "2open");
}

TEST(ResultEntry, KindsIgnoreCaseAndShortEntriesGiveNothing) {
    EXPECT_TRUE(EntryIsKind("C:\\a.ico;0;x;0OPEN", kKindOpen));
    EXPECT_EQ(EntryField("12:5:03BOOK", 2), "5");
    EXPECT_EQ(EntryKind("abc"), "");
    EXPECT_EQ(EntryTypeCode("book"), "");
    EXPECT_EQ(EntryField("", 1), "");
}

TEST(ResultEntry, IconFileTypeCodeFollowsTheLengthOf256ColourFile) {
    EXPECT_EQ(TypeCodeForIconFile(".ico", 2237), '0');
    EXPECT_EQ(TypeCodeForIconFile(".ICO", 2238), '1');
    EXPECT_EQ(TypeCodeForIconFile(".ico", 2239), '2');
    EXPECT_EQ(TypeCodeForIconFile(".cur", 2237), '6');
    EXPECT_EQ(TypeCodeForIconFile(".cur", 2238), '7');
    EXPECT_EQ(TypeCodeForIconFile(".Cur", 2239), '8');
    EXPECT_EQ(TypeCodeForIconFile(".ani", 2238), '\0');
}

TEST(EntryList, AddResultAppendsAndCountsEvery25) {
    EntryLists lists;
    std::vector<std::string> counts;
    int yields = 0;
    BrowserHost host;
    host.setCountPanel = [&](const std::string& t) { counts.push_back(t); };
    host.doEvents = [&] { ++yields; };
    for (int i = 0; i < 24; ++i) procAddResult(lists, host, "C:\\f.dll", static_cast<std::int16_t>(i), "#1 of 1", "2open");
    EXPECT_TRUE(counts.empty());
    procAddResult(lists, host, "c:\\tmp\\m.ico;C:\\a.zip", 0, "x", "0azip");
    for (int i = 0; i < 25; ++i) procAddResult(lists, host, "C:\\f.dll", 0, "x", "0open");
    EXPECT_EQ(counts, (std::vector<std::string>{"25 Icon(s)", "50 Icon(s)"}));
    EXPECT_EQ(yields, 50);
    EXPECT_EQ(lists.cmbResult.List(24), "c:\\tmp\\m.ico;C:\\a.zip;0;x;0azip");
    EXPECT_EQ(lists.cmbResult.List(3), "C:\\f.dll;3;#1 of 1;2open");
    EXPECT_EQ(lists.cmbResult.ItemData(24), 0);
}

// In the shown window a listing yields by time: entries listed faster than
// that share one yield, and the first entry always yields, so Esc is heard.
TEST(EntryList, AListingYieldsByTimeWhenTheWindowAsksIt) {
    EntryLists lists;
    int yields = 0;
    BrowserHost host;
    host.doEvents = [&] { ++yields; };
    host.YieldEvery = std::chrono::hours(1);
    for (int i = 0; i < 100; ++i) procAddResult(lists, host, "C:\\f.ico", 0, "x", "0open");
    EXPECT_EQ(yields, 1);
    host.YieldEvery = std::chrono::milliseconds(1);
    for (int i = 0; i < 3; ++i) {
        Sleep(5);
        procAddResult(lists, host, "C:\\f.ico", 0, "x", "0open");
    }
    EXPECT_EQ(yields, 4);
    EXPECT_EQ(lists.cmbResult.ListCount(), 103);

    // The same with the clock near its start, as on a machine booted a moment ago.
    YieldClock clock;
    clock.every = std::chrono::hours(1);
    const auto boot = YieldClock::Clock::time_point{};
    EXPECT_TRUE(clock.due(boot + std::chrono::milliseconds(1)));
    EXPECT_FALSE(clock.due(boot + std::chrono::minutes(59)));
    EXPECT_TRUE(clock.due(boot + std::chrono::hours(2)));
}

TEST(Paging, PageCountRoundsUpAndIsOneForAnEmptyList) {
    EXPECT_EQ(PageCountFor(0, 150), 1);
    EXPECT_EQ(PageCountFor(300, 150), 2);
    EXPECT_EQ(PageCountFor(301, 150), 3);
    EXPECT_EQ(PageCountFor(1, 150), 1);
    EXPECT_EQ(PageCountFor(100000, 150), 667); // beyond 16 bits of entries
    EXPECT_EQ(PageCountFor(2147483647, 2147483647), 1);
    EXPECT_EQ(PageCountFor(5, 0), 5);
    PagingState paging;
    paging.CurrentPage = 4;
    StartNewList(paging, 301);
    EXPECT_EQ(paging.CurrentPage, 1);
    EXPECT_EQ(paging.PageCount, 3);
}

TEST(UserReferenceItem, KeywordComesFromTheReferencesOwnIndex) {
    UserReferences refs;
    for (const char* k : {"arrow", "arrow", "cat"}) refs.lstUser.AddItem(k);
    refs.cmbUser.AddItem("C:\\i\\a.ani;2;frame 3;4user");
    refs.cmbUser.AddItem("C:\\i\\b.dll;4;#5 of 9;2user");
    refs.cmbUser.AddItem("C:\\i\\c.ico;0;x;0user");
    // cmbUser's ItemData deliberately out of step: the reference's own index counts.
    refs.cmbUser.SetItemData(2, 0);

    UserItemText item;
    ASSERT_TRUE(DescribeUserItem(refs, refs.cmbUser.List(0), 0, item));
    EXPECT_EQ(item.text, "arrow frame 3");
    EXPECT_TRUE(item.animated);
    EXPECT_EQ(item.iconIndex, 2);
    EXPECT_EQ(item.typeCode, "4");
    EXPECT_EQ(item.key, "key0");
    EXPECT_EQ(item.origin, "Reference");

    ASSERT_TRUE(DescribeUserItem(refs, refs.cmbUser.List(1), 1, item));
    EXPECT_EQ(item.text, "arrow");
    EXPECT_EQ(item.key, "key1");
    EXPECT_EQ(item.iconIndex, 4);
    EXPECT_FALSE(item.animated);

    ASSERT_TRUE(DescribeUserItem(refs, refs.cmbUser.List(2), 2, item));
    EXPECT_EQ(item.text, "cat");

    ASSERT_TRUE(DescribeUserItem(refs, "C:\\gone.ico;0;x;0user", 7, item));
    EXPECT_EQ(item.text, "");
    EXPECT_FALSE(DescribeUserItem(refs, "abc", 0, item));
}
