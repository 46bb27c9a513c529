#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "form.h"
#include "libfixtures.h"
#include "libraryindex.h"
#include "librarysearch.h"
#include "openfixtures.h"
#include "pagefiller.h"
#include "paging.h"
#include "patience.h"
#include "scratch.h"
#include "seam.h"
#include "sourcefixture.h"
#include "state.h"
#include "treeview.h"

using namespace vm;

namespace {

// A hidden window with the controls the page filler and the busy state use.
class FrmPager : public Form {
public:
    FrmPager() : Form("frmPager") {
        design.width = 9000;
        design.height = 6000;
    }
    ListView pnlResult{this}, pnlDummy{this};
    ImageList imlResult32;
    StatusBar pnlStatusbar{this};
    ProgressBar pnlProgressBar{this};
    TimerControl tmrLed{this};
    TreeView pnlNav{this};
    Toolbar pnlToolbar{this}, pnlToolbarYour{this};
    MenuItem mnuFile{this}, mnuFileOpen{this}, mnuGo{this}, mnuGoFirstPage{this}, mnuGoPrevPage{this},
        mnuGoNextPage{this}, mnuGoLastPage{this}, mnuGoToPage{this}, mnuFavorite{this}, mnuFavoriteAdd{this},
        mnuGoBar{this};
    ControlArray<MenuItem> mnuGoToPageNr{this}, mnuGoBarToPageNr{this};

    BrowserWindow window() {
        BrowserWindow w;
        w.form = this;
        w.pnlResult = &pnlResult;
        w.imlResult32 = &imlResult32;
        w.pnlStatusbar = &pnlStatusbar;
        w.pnlProgressBar = &pnlProgressBar;
        w.MessagePanel = &pnlStatusbar.Panels("message");
        w.CountPanel = &pnlStatusbar.Panels("count");
        w.PagePanel = &pnlStatusbar.Panels("area");
        w.tmrLed = &tmrLed;
        w.pnlNav = &pnlNav;
        w.pnlToolbar = &pnlToolbar;
        w.pnlToolbarYour = &pnlToolbarYour;
        w.mnuFile = &mnuFile;
        w.mnuGo = &mnuGo;
        w.mnuFavorite = &mnuFavorite;
        w.mnuGoBar = &mnuGoBar;
        w.mnuGoFirstPage = &mnuGoFirstPage;
        w.mnuGoPrevPage = &mnuGoPrevPage;
        w.mnuGoNextPage = &mnuGoNextPage;
        w.mnuGoLastPage = &mnuGoLastPage;
        w.mnuGoToPageNr = &mnuGoToPageNr;
        w.mnuGoBarToPageNr = &mnuGoBarToPageNr;
        return w;
    }

protected:
    void CreateControls() override {
        mnuFile.create(*this, "&File");
        mnuFileOpen.create(mnuFile, "&Open");
        mnuGo.create(*this, "&Go");
        mnuGoFirstPage.create(mnuGo, "&First Page");
        mnuGoPrevPage.create(mnuGo, "&Previous Page");
        mnuGoNextPage.create(mnuGo, "&Next Page");
        mnuGoLastPage.create(mnuGo, "&Last Page");
        mnuGoToPage.create(mnuGo, "&Jump to Page");
        mnuGoToPageNr(1).create(mnuGoToPage, "1");
        mnuFavorite.create(*this, "F&avorites");
        mnuFavoriteAdd.create(mnuFavorite, "&Add");
        mnuGoBar.create(*this, "GoBar", false);
        mnuGoBarToPageNr(1).create(mnuGoBar, "1");
        pnlToolbar.create(*this);
        for (const char* key : {"abort", "view", "open", "create", "help", "firstpage", "prevpage", "nextpage",
                                "lastpage"})
            pnlToolbar.Buttons.Add(-1, key, key);
        pnlToolbarYour.create(*this);
        for (const char* key : {"favedit", "favrefresh", "refedit", "changefolder"})
            pnlToolbarYour.Buttons.Add(-1, key, key);
        pnlNav.create(*this, 0, 600, 2000, 3000);
        for (ListView* view : {&pnlResult, &pnlDummy}) {
            view->create(*this, 2100, 600, 5000, 3000, lvwReport);
            view->ColumnHeaders.Add(-1, "", "Name", 2000);
            view->ColumnHeaders.Add(-1, "", "Type", 1500);
            view->ColumnHeaders.Add(-1, "", "Origin", 1500);
        }
        pnlDummy.SetVisible(false);
        pnlStatusbar.create(*this);
        pnlStatusbar.Panels.Add(-1, "message");
        pnlStatusbar.Panels.Add(-1, "count");
        pnlStatusbar.Panels.Add(-1, "area");
        pnlProgressBar.create(*this, 0, 0, 1000, 200);
        tmrLed.create(*this, 1500, false);
        pnlProgressBar.SetVisible(false);
        imlResult32.SetImageWidth(32);
        imlResult32.SetImageHeight(32);
        imlResult32.SetMaskColor(RGBColor(128, 64, 64));
    }
};

struct PagerFixture : ::testing::Test {
    vmtest::ScratchDir dir;
    FrmPager form;
    BrowserWindow window;
    BrowserHost host;
    KeywordState keywords;
    UserReferences refs;
    EntryLists entries;
    PagingState paging;
    BusyState busy;
    ChunkState chunks;
    PageLoaderState loader;
    ExtractedMembers extracted;
    PageFiller pager{window, host, {entries, paging, busy, keywords, refs, chunks, loader, extracted}};
    int selections = 0;
    std::string selectedAtHandler;

    void SetUp() override {
        paths.DataPath = dir.path() + "\\";
        CreateDirectoryA(dir.file("Temp16").c_str(), nullptr);
        CreateDirectoryA(dir.file("Temp32").c_str(), nullptr);
        CreateDirectoryA(dir.file("tmp").c_str(), nullptr);
        paths.TempPath = dir.file("tmp") + "\\";
        form.Load();
        window = form.window();
        // The window's result clearing as far as the filler relies on it.
        host.clearResult = [this] {
            form.pnlResult.ListItems.Clear();
            form.pnlResult.SetIcons(nullptr);
            form.pnlResult.SetSmallIcons(nullptr);
            form.imlResult32.ListImages.Clear();
            form.tmrLed.SetEnabled(false);
            window.PagePanel->SetText("");
            for (MenuItem* m : {&form.mnuGoFirstPage, &form.mnuGoPrevPage, &form.mnuGoNextPage, &form.mnuGoLastPage})
                m->SetEnabled(false);
        };
        host.showPage = [this] { pager.ShowNewList(); };
        host.selectItem = [this] {
            ++selections;
            ListItem* item = form.pnlResult.SelectedItem();
            selectedAtHandler = item ? item->Tag : "";
        };
    }
    void TearDown() override { form.Unload(); }

    void listEntries(int count, const std::string& entry = "1:0:00book") {
        entries.cmbResult.Clear();
        for (int i = 0; i < count; ++i) {
            entries.cmbResult.AddItem(entry);
            entries.cmbResult.SetItemData(i, i);
        }
        StartNewList(paging, count);
        pager.ShowNewList();
    }
    std::string panel(const char* key) { return form.pnlStatusbar.Panels(key).Text(); }
    bool button(const char* key) { return form.pnlToolbar.Buttons(key).Enabled(); }
    std::vector<std::string> visibleCaptions(ControlArray<MenuItem>& items) {
        std::vector<std::string> out;
        for (auto& [index, item] : items)
            if (item->Visible()) out.push_back(item->Caption());
        return out;
    }
};

using vmtest::asColorRef;
using vmtest::imagePixel;

} // namespace

TEST(Paging, SlicesAndCommandStates) {
    PagingState paging;
    StartNewList(paging, 301);
    paging.CurrentPage = 3;
    PageSlice slice = PageSliceOf(paging, 301);
    EXPECT_EQ(slice.first, 300);
    EXPECT_EQ(slice.count, 1);
    EXPECT_EQ(slice.progressMax, 2);
    paging.CurrentPage = 2;
    EXPECT_EQ(PageSliceOf(paging, 301).progressMax, 150);
    EXPECT_TRUE(PageCommandsFor(paging).back && PageCommandsFor(paging).forward);

    // Counts beyond 16 bits page like any other.
    StartNewList(paging, 40000);
    paging.CurrentPage = paging.PageCount;
    EXPECT_EQ(paging.PageCount, 267);
    EXPECT_EQ(PageSliceOf(paging, 40000).first, 39900);
    EXPECT_EQ(PageSliceOf(paging, 40000).count, 100);

    EXPECT_FALSE(PageCommandsFor(PagingState{}).back || PageCommandsFor(PagingState{}).forward);
}

TEST(Paging, TheProgressBarMovesOnlyWhenItShowsAnotherBlock) {
    // A bar 120 pixels wide and 15 high draws blocks of 10 + 2 pixels: ten in all.
    EXPECT_EQ(ProgressBlocksShown(0, 150, 120, 15), 0);
    EXPECT_EQ(ProgressBlocksShown(1, 150, 120, 15), 0);  // less than a pixel
    EXPECT_EQ(ProgressBlocksShown(2, 150, 120, 15), 1);  // a pixel shows the first block
    EXPECT_EQ(ProgressBlocksShown(16, 150, 120, 15), 1); // 12 pixels: still one
    EXPECT_EQ(ProgressBlocksShown(17, 150, 120, 15), 2);
    EXPECT_EQ(ProgressBlocksShown(150, 150, 120, 15), 10);
    EXPECT_EQ(ProgressBlocksShown(400, 150, 120, 15), 10); // beyond the maximum the bar is full
    EXPECT_EQ(ProgressBlocksShown(-3, 150, 120, 15), 0);
    EXPECT_EQ(ProgressBlocksShown(5, 0, 120, 15), 0);    // no maximum, no width: nothing to show
    EXPECT_EQ(ProgressBlocksShown(5, 150, 0, 15), 0);
    EXPECT_EQ(ProgressBlocksShown(75, 150, 120, 1), 20); // a flat bar: blocks of 1 + 2 pixels
}

TEST_F(PagerFixture, AnEmptyListResetsTheView) {
    listEntries(0);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 0);
    EXPECT_EQ(panel("count"), "0 Icon(s)");
    EXPECT_EQ(panel("area"), "");
    EXPECT_TRUE(form.pnlNav.Enabled());
    EXPECT_FALSE(form.mnuGoNextPage.Enabled());
    EXPECT_EQ(visibleCaptions(form.mnuGoToPageNr), (std::vector<std::string>{"1"}));
    EXPECT_FALSE(form.tmrLed.Enabled());
    EXPECT_EQ(selections, 0);
}

TEST_F(PagerFixture, OneEntryAndExactlyOnePage) {
    vmtest::writeSampleLibrary(dir.path());
    listEntries(1);
    EXPECT_EQ(panel("area"), "Page 1 of 1");
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(selectedAtHandler, "1:0:00book"); // item 1 is selected before the handler runs
    for (const char* key : {"firstpage", "prevpage", "nextpage", "lastpage"}) EXPECT_FALSE(button(key)) << key;
    EXPECT_FALSE(form.tmrLed.Enabled());

    listEntries(150);
    EXPECT_EQ(paging.PageCount, 1);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 150);
    EXPECT_EQ(form.pnlResult.ListItems(150).Icon().index, 150);
    EXPECT_TRUE(form.pnlResult.Visible());
    EXPECT_FALSE(form.pnlDummy.Visible());
    EXPECT_TRUE(form.mnuFile.Enabled()); // idle again
    EXPECT_FALSE(button("abort"));
}

TEST_F(PagerFixture, ManyPagesGoCommandsButtonsAndPageMenus) {
    vmtest::writeSampleLibrary(dir.path());
    paging.IconsPerPage = 10;
    listEntries(41);
    EXPECT_EQ(panel("area"), "Page 1 of 5");
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 10);
    EXPECT_TRUE(form.tmrLed.Enabled()); // a new list of several pages blinks
    EXPECT_FALSE(button("prevpage"));
    EXPECT_TRUE(button("nextpage"));
    EXPECT_TRUE(form.mnuGoLastPage.Enabled());
    EXPECT_EQ(visibleCaptions(form.mnuGoToPageNr), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(visibleCaptions(form.mnuGoBarToPageNr), (std::vector<std::string>{"1", "2", "3", "4", "5"}));

    pager.mnuGoNextPage_Click();
    EXPECT_EQ(panel("area"), "Page 2 of 5");
    EXPECT_TRUE(button("firstpage") && button("prevpage") && button("nextpage") && button("lastpage"));
    EXPECT_EQ(keywords.CurrentKeywordId, "19");

    pager.mnuGoLastPage_Click();
    EXPECT_EQ(panel("area"), "Page 5 of 5");
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 1);
    EXPECT_FALSE(button("nextpage") || button("lastpage"));
    EXPECT_TRUE(form.mnuGoFirstPage.Enabled());

    pager.mnuGoToPageNr_Click(3);
    EXPECT_EQ(panel("area"), "Page 3 of 5");
    pager.mnuGoPrevPage_Click();
    pager.mnuGoFirstPage_Click();
    EXPECT_EQ(paging.CurrentPage, 1);
    EXPECT_EQ(panel("count"), "41 Icon(s)");

    // A shorter list hides the surplus page numbers and keeps them for reuse.
    listEntries(15);
    EXPECT_EQ(visibleCaptions(form.mnuGoToPageNr), (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(form.mnuGoToPageNr.exists(5));
    listEntries(31);
    EXPECT_EQ(visibleCaptions(form.mnuGoBarToPageNr), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(PagerFixture, PagePanelOpensThePageMenuOnlyForSeveralPages) {
    Seam& seam = Seam::get();
    seam.reset();
    seam.setScripted(true);
    vmtest::writeSampleLibrary(dir.path());
    Panel& area = form.pnlStatusbar.Panels("area");
    listEntries(0);
    pager.pnlStatusbar_PanelClick(area); // empty text
    listEntries(1);
    pager.pnlStatusbar_PanelClick(area); // "Page 1 of 1"
    pager.pnlStatusbar_PanelClick(form.pnlStatusbar.Panels("count"));
    EXPECT_TRUE(seam.requests().empty());
    paging.IconsPerPage = 1;
    listEntries(3);
    seam.queueText("3");
    pager.pnlStatusbar_PanelClick(area);
    ASSERT_EQ(seam.requests().size(), 1u);
    EXPECT_EQ(seam.requests()[0].kind, "PopupMenu");
    EXPECT_EQ(panel("area"), "Page 3 of 3"); // the chosen number went to its page
    seam.setScripted(false);
    seam.reset();
}

TEST_F(PagerFixture, KeywordSearchListsLibraryIconsWithTheirPicturesTypesAndOrigins) {
    vmtest::writeSampleLibrary(dir.path());
    HiddenList box;
    ListOf<HiddenList> cmbSearch{box};
    keywords.IconSize = 32;
    procFillSearch(keywords, refs, {&cmbSearch, nullptr, nullptr}, host);
    SearchContext ctx{keywords, refs, entries, paging, busy, host, cmbSearch};
    box.SetListIndex(2); // boat: ten cells of chunk 1, each on its own key colour
    ASSERT_EQ(box.Text(), "boat");
    procSearchVellumar(ctx);

    ListItemCollection& items = form.pnlResult.ListItems;
    ASSERT_EQ(items.Count(), 5);
    const char* tags[] = {"1:6:66book", "1:7:77book", "1:8:88book", "1:9:92book", "1:0:00book"};
    const char* types[] = {"16 Color Cursor", "256 Color Cursor", "High Color Cursor", "High Color Icon",
                           "16 Color Icon"};
    const long cells[] = {6, 7, 8, 9, 0};
    for (int j = 1; j <= 5; ++j) {
        SCOPED_TRACE(j);
        ListItem& item = items(j);
        EXPECT_EQ(item.Tag, tags[j - 1]);
        EXPECT_EQ(item.Text(), "boat");
        EXPECT_EQ(item.SubItems(1), types[j - 1]);
        EXPECT_EQ(item.SubItems(2), "Vellumar 32*32 Core Library");
        EXPECT_EQ(item.Icon().index, j);
        EXPECT_EQ(item.SmallIcon().index, j);
        // The key colour around the square lets the background through.
        EXPECT_EQ(imagePixel(form.imlResult32, j, 1, 1), RGB(0, 0, 255));
        EXPECT_EQ(imagePixel(form.imlResult32, j, 16, 16), asColorRef(vmtest::sampleIconColor(1, cells[j - 1])));
    }
    EXPECT_EQ(form.pnlResult.Icons(), &form.imlResult32);
    EXPECT_EQ(selectedAtHandler, "1:6:66book");
    EXPECT_EQ(panel("count"), "5 Icon(s)");
    // The chunk's cached copy is written once the window is idle.
    EXPECT_TRUE(vmtest::waitUntil([&] { return vmtest::fileExists(dir.file("Temp32\\1.lib")); }, [] { DoEvents(); }));

    // References of the keyword follow the library icons.
    box.SetListIndex(0); // apple: three icons and a reference to a missing cursor
    procSearchVellumar(ctx);
    ASSERT_EQ(items.Count(), 4);
    EXPECT_EQ(items(4).Key(), "key3");
    EXPECT_EQ(items(4).Text(), "apple");
    EXPECT_EQ(items(4).SubItems(1), "256 Color Cursor");
    EXPECT_EQ(items(4).SubItems(2), "Reference");
    EXPECT_EQ(items(4).Tag, "C:\\icons\\d.cur;0;x;7user");
    EXPECT_EQ(form.imlResult32.ListImages.Count(), 4); // the missing file shows the placeholder
}

TEST_F(PagerFixture, AnAbortedFormatSearchShowsThePageOfWhatItListedWithItsCount) {
    vmtest::writeSampleLibrary(dir.path());
    std::string record;
    for (int i = 0; i < 40; ++i) record += "1:" + std::to_string(i) + ":00;";
    keywords.KeywordNames[0] = "many";
    keywords.KeywordIcons[0] = record;
    HiddenList box;
    box.AddItem("many");
    ListOf<HiddenList> cmbSearch{box};
    SearchContext ctx{keywords, refs, entries, paging, busy, host, cmbSearch};
    bool stopped = false;
    host.doEvents = [&] {
        if (!stopped && entries.cmbResult.ListCount() == 30) busy.AbortRequested = stopped = true;
    };
    procSearchByFormat(ctx, 0);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 30);
    EXPECT_EQ(panel("count"), "30 Icon(s)");
    EXPECT_EQ(panel("area"), "Page 1 of 1");
    EXPECT_TRUE(form.mnuFile.Enabled());
}

TEST_F(PagerFixture, AnEntryWithoutALoaderLeavesNoGapInTheNumbering) {
    vmtest::writeSampleLibrary(dir.path());
    entries.cmbResult.AddItem("1:0:00book");
    entries.cmbResult.AddItem("C:\\x.txt;0;x;?text"); // a kind no loader knows
    entries.cmbResult.AddItem("1:1:11book");
    StartNewList(paging, 3);
    pager.ShowNewList();
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 2);
    EXPECT_EQ(form.pnlResult.ListItems(2).Tag, "1:1:11book");
    EXPECT_EQ(form.imlResult32.ListImages.Count(), 2);
}

TEST_F(PagerFixture, UserReferencesShowTheFilesIcon) {
    const std::string dll = paths.SystemDir.empty() ? "c:\\windows\\system32\\shell32.dll"
                                                    : paths.SystemDir + "\\shell32.dll";
    refs.lstUser.AddItem("tools");
    refs.cmbUser.AddItem(dll + ";3;x;0user");
    refs.lstUser.AddItem("arrow");
    refs.cmbUser.AddItem(dir.file("gone.ico") + ";0;x;1user");
    entries.cmbResult.AddItem(refs.cmbUser.List(0));
    entries.cmbResult.SetItemData(0, 0);
    entries.cmbResult.AddItem(refs.cmbUser.List(1));
    entries.cmbResult.SetItemData(1, 1);
    StartNewList(paging, 2);
    pager.ShowNewList();
    ListItemCollection& items = form.pnlResult.ListItems;
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items(1).Key(), "key0");
    EXPECT_EQ(items(1).Text(), "tools");
    EXPECT_EQ(items(2).Key(), "key1");
    EXPECT_EQ(items(2).Text(), "arrow");
    EXPECT_EQ(items(2).SubItems(1), "256 Color Icon");
    // The missing file gets the placeholder: a grey frame, transparent inside.
    EXPECT_EQ(imagePixel(form.imlResult32, 2, 16, 3), RGB(0, 0, 255));
    EXPECT_NE(imagePixel(form.imlResult32, 1, 16, 16), imagePixel(form.imlResult32, 2, 16, 16));
}

TEST_F(PagerFixture, AnimatedReferencesShowTheirFrameAndLabel) {
    const std::string ani = dir.file("wait.ani");
    ASSERT_TRUE(vmtest::writeFile(ani, vmtest::aniFile({vmtest::solidIcon(32, 0x10A020), vmtest::solidIcon(32, 0xC03040), vmtest::solidIcon(32, 0x2050E0)}, 3)));
    for (const char* entry : {";1;frame 2;auser", ";2;frame 3;auser"}) {
        refs.lstUser.AddItem("arrow");
        refs.cmbUser.AddItem(ani + entry);
        entries.cmbResult.AddItem(refs.cmbUser.List(refs.cmbUser.NewIndex()));
        entries.cmbResult.SetItemData(entries.cmbResult.NewIndex(), refs.cmbUser.NewIndex());
    }
    StartNewList(paging, 2);
    pager.ShowNewList();
    ListItemCollection& items = form.pnlResult.ListItems;
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items(1).Text(), "arrow frame 2");
    EXPECT_EQ(items(2).Text(), "arrow frame 3");
    EXPECT_EQ(items(1).SubItems(1), "Animated Icon");
    EXPECT_EQ(imagePixel(form.imlResult32, 1, 16, 16), asColorRef(0xC03040));
    EXPECT_EQ(imagePixel(form.imlResult32, 2, 16, 16), asColorRef(0x2050E0));
    EXPECT_EQ(loader.LoadedAniFile, ani);
}

TEST_F(PagerFixture, AbortMidPageClearsTheViewAndReturnsIdle) {
    vmtest::writeSampleLibrary(dir.path());
    int yields = 0;
    bool busyWhileFilling = false;
    pager.YieldAfter = std::chrono::milliseconds(0); // yields after every item
    host.doEvents = [&] {
        busyWhileFilling = !form.mnuFile.Enabled() && button("abort") && !form.pnlNav.Enabled();
        if (++yields == 3) busy.AbortRequested = true;
    };
    listEntries(80);
    EXPECT_EQ(yields, 3); // stopped at the yield during which Esc came
    EXPECT_TRUE(busyWhileFilling);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 0);
    EXPECT_EQ(form.imlResult32.ListImages.Count(), 0);
    EXPECT_EQ(panel("message"), "Aborted!");
    EXPECT_EQ(panel("count"), "80 Icon(s)");
    EXPECT_EQ(panel("area"), "");
    EXPECT_FALSE(busy.AbortRequested);
    EXPECT_TRUE(form.mnuFile.Enabled());
    EXPECT_TRUE(form.pnlNav.Enabled());
    EXPECT_FALSE(button("abort"));
    EXPECT_TRUE(form.pnlResult.Visible());
    EXPECT_FALSE(form.pnlDummy.Visible());
    EXPECT_EQ(paging.PageCount, 1);
    EXPECT_EQ(entries.cmbResult.ListCount(), 80);
    EXPECT_EQ(selections, 0);

    // A page filled before the time between yields is up never yields: the
    // window paints it once, complete, and the busy state not at all.
    pager.YieldAfter = std::chrono::hours(1);
    yields = 0;
    host.doEvents = [&] { ++yields; };
    listEntries(80);
    EXPECT_EQ(yields, 0);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 80);

    // Items that take long yield after each once the time between yields is up.
    pager.YieldAfter = std::chrono::milliseconds(0);
    yields = 0;
    listEntries(20);
    EXPECT_EQ(yields, 20);

    // A list of five fills without yielding, so it cannot be stopped.
    yields = 0;
    listEntries(5);
    EXPECT_EQ(yields, 0);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 5);
}

TEST_F(PagerFixture, OnlyMembersTheLoadersExtractedAreDeleted) {
    vmtest::writeSampleLibrary(dir.path());
    const std::string temp = paths.TempPath;
    vmtest::writeFile(temp + "ours.ico", "x");
    RecordExtractedMember(extracted, temp + "ours.ico");
    vmtest::writeFile(temp + "theirs.ico", "x"); // was there before: never recorded
    vmtest::writeFile(dir.file("outside.ico"), "x");
    RecordExtractedMember(extracted, dir.file("outside.ico"));
    for (const char* member : {"ours.ico", "theirs.ico", "..\\outside.ico"}) entries.lstZipIcons.AddItem(member);
    listEntries(1);
    EXPECT_FALSE(vmtest::fileExists(temp + "ours.ico"));
    EXPECT_TRUE(vmtest::fileExists(temp + "theirs.ico"));
    EXPECT_TRUE(vmtest::fileExists(dir.file("outside.ico")));

    // After an abort as well.
    vmtest::writeFile(temp + "ours.ico", "x");
    RecordExtractedMember(extracted, temp + "ours.ico");
    host.doEvents = [&] { busy.AbortRequested = true; };
    listEntries(8);
    EXPECT_FALSE(vmtest::fileExists(temp + "ours.ico"));
    EXPECT_TRUE(vmtest::fileExists(temp + "theirs.ico"));
}

TEST_F(PagerFixture, BusyStateLeavesTheFavouritesAloneIn16x16) {
    keywords.IconSize = 16;
    form.mnuFavorite.SetEnabled(false);
    pager.procSetAbort(false);
    EXPECT_FALSE(form.mnuFile.Enabled());
    EXPECT_TRUE(button("abort"));
    pager.procSetAbort(true);
    EXPECT_TRUE(form.mnuFile.Enabled());
    EXPECT_FALSE(button("abort"));
    EXPECT_FALSE(form.mnuFavorite.Enabled());

    keywords.IconSize = 32;
    form.pnlToolbarYour.Buttons("changefolder").SetEnabled(false);
    pager.procSetAbort(true);
    EXPECT_TRUE(form.mnuFavorite.Enabled());
    EXPECT_FALSE(form.pnlToolbarYour.Buttons("changefolder").Enabled()); // no browser: not its business
    Screen::SetMousePointer(vbDefault);
}

TEST_F(PagerFixture, AnimationFramesAreCutFromTheirChunk) {
    vmtest::writeSampleLibrary(dir.path());
    AnimationFrames frames;
    procGetVellumarAni(loader, chunks, 32, frames, 0, "2:10:03book");
    procGetVellumarAni(loader, chunks, 32, frames, 1, "2:11:03book");
    procGetVellumarAni(loader, chunks, 32, frames, 2, "3:0:03book"); // chunk 3 is missing from its archive
    ASSERT_EQ(frames.pictures.size(), 3u);
    for (const Picture& frame : frames.pictures) EXPECT_EQ(frame.Type(), vbPicTypeIcon);
    ImageList check;
    check.SetImageWidth(32);
    check.SetImageHeight(32);
    for (const Picture& frame : frames.pictures) check.ListImages.Add(-1, "", frame);
    EXPECT_EQ(imagePixel(check, 1, 16, 16), asColorRef(vmtest::sampleIconColor(2, 10)));
    EXPECT_EQ(imagePixel(check, 2, 16, 16), asColorRef(vmtest::sampleIconColor(2, 11)));
    // Never the cell of the chunk loaded before.
    EXPECT_NE(imagePixel(check, 3, 16, 16), asColorRef(vmtest::sampleIconColor(2, 0)));
    EXPECT_NE(imagePixel(check, 3, 16, 16), asColorRef(vmtest::sampleIconColor(2, 10)));
}
