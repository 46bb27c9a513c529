// The opened-files listing on a hidden window: every kind of icon file, ZIP
// archives through the library's listing, passed paths and their folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "anisteps.h"
#include "controls_basic.h"
#include "damagedfiles.h"
#include "drawnpixel.h"
#include "form.h"
#include "getfield.h"
#include "iclfile.h"
#include "resultentry.h"
#include "ico_fixtures.h"
#include "openfixtures.h"
#include "openpaths.h"
#include "opensearch.h"
#include "pagefiller.h"
#include "peresources.h"
#include "processmemory.h"
#include "scratch.h"
#include "state.h"
#include "zandrel32.h"
#include "zipmemory.h"
#include "zipsource.h"
#include "zipwriter.h"
#include "patience.h"

using namespace vm;
namespace fx = vmtest::ico;

namespace {

class FrmOpen : public Form {
public:
    FrmOpen() : Form("frmOpen") {
        design.width = 9000;
        design.height = 6000;
    }
    ListView pnlResult{this};
    ImageList imlResult32;
    StatusBar pnlStatusbar{this};
    Toolbar pnlToolbar{this};
    MenuItem mnuFile{this}, mnuFileOpen{this};
    ZipListBox txtZIP{this};
    TextBox txtDummyZIP{this};

protected:
    void CreateControls() override {
        mnuFile.create(*this, "&File");
        mnuFileOpen.create(mnuFile, "&Open");
        pnlToolbar.create(*this);
        for (const char* key : {"abort", "view", "open", "create", "help", "firstpage", "prevpage", "nextpage",
                                "lastpage"})
            pnlToolbar.Buttons.Add(-1, key, key);
        pnlResult.create(*this, 0, 600, 5000, 3000, lvwReport);
        for (const char* column : {"Name", "Type", "Origin"}) pnlResult.ColumnHeaders.Add(-1, "", column, 1500);
        pnlStatusbar.create(*this);
        for (const char* key : {"message", "count", "area"}) pnlStatusbar.Panels.Add(-1, key);
        txtZIP.create(*this, 0, 0, 100, 100);
        txtDummyZIP.create(*this, 0, 0, 100, 100);
    }
};

struct OpenFixture : ::testing::Test {
    vmtest::ScratchDir dir;
    FrmOpen form;
    BrowserWindow window;
    BrowserHost host;
    KeywordState keywords;
    UserReferences refs;
    EntryLists entries;
    PagingState paging;
    BusyState busy;
    ChunkState chunks;
    PageLoaderState loader;
    ExtractedMembers zip;
    PageFiller pager{window, host, {entries, paging, busy, keywords, refs, chunks, loader, zip}};
    std::string temp;

    void SetUp() override {
        temp = dir.file("tmp") + "\\";
        CreateDirectoryA(temp.c_str(), nullptr);
        paths.TempPath = temp;
        form.Load();
        form.txtZIP.busy = &busy;
        form.txtZIP.Change = [this] { txtZIP_Change(entries, host, form.txtZIP.Line()); };
        window.form = &form;
        window.pnlResult = &form.pnlResult;
        window.imlResult32 = &form.imlResult32;
        window.pnlStatusbar = &form.pnlStatusbar;
        window.MessagePanel = &form.pnlStatusbar.Panels("message");
        window.CountPanel = &form.pnlStatusbar.Panels("count");
        window.PagePanel = &form.pnlStatusbar.Panels("area");
        window.pnlToolbar = &form.pnlToolbar;
        window.mnuFile = &form.mnuFile;
        host.clearResult = [this] {
            form.pnlResult.ListItems.Clear();
            form.pnlResult.SetIcons(nullptr);
            form.pnlResult.SetSmallIcons(nullptr);
            form.imlResult32.ListImages.Clear();
        };
        host.showPage = [this] { pager.ShowNewList(); };
        host.setAbort = [this](bool idle) { pager.procSetAbort(idle); };
        host.setMessagePanel = [this](const std::string& t) { window.MessagePanel->SetText(t); };
        host.setCountPanel = [this](const std::string& t) { window.CountPanel->SetText(t); };
        setIconSize(32);
    }
    void TearDown() override {
        procClearZipLists(entries, zip);
        form.Unload();
    }

    void setIconSize(int size) {
        keywords.IconSize = size;
        form.imlResult32.ListImages.Clear();
        form.imlResult32.SetImageWidth(size);
        form.imlResult32.SetImageHeight(size);
        form.imlResult32.SetMaskColor(RGB(128, 64, 64));
    }
    OpenSearchContext context() {
        OpenSearchContext ctx{entries, paging, busy, host, chunks, zip};
        ctx.IconSize = keywords.IconSize;
        return ctx;
    }
    // Lists lstFiles and the members of lstZipFiles as the Open commands do.
    void listOpened() {
        procExtractZIPFilenames(entries, zip, chunks, {form.txtZIP.hWnd(), form.txtDummyZIP.hWnd()}, temp, busy);
        OpenSearchContext ctx = context();
        procSearchOpen(ctx);
    }
    void listFiles(const std::vector<std::string>& files) {
        entries.lstFiles.Clear();
        for (const std::string& f : files) entries.lstFiles.AddItem(f);
        entries.cmbResult.Clear();
        listOpened();
    }
    std::vector<std::string> entryTexts() {
        std::vector<std::string> out;
        for (int i = 0; i < entries.cmbResult.ListCount(); ++i) out.push_back(entries.cmbResult.List(i));
        return out;
    }
    std::string panel(const char* key) { return form.pnlStatusbar.Panels(key).Text(); }
    ListItem& item(int n) { return form.pnlResult.ListItems(n); }
    // The colour of result picture n at x, y.
    COLORREF pixel(int n, int x, int y) {
        return vmtest::drawnPixel(form.imlResult32.hImageList(), n - 1, x, y, RGB(0, 0, 0), keywords.IconSize);
    }
    // Every file below temp, as paths relative to it.
    std::vector<std::string> tempFiles(const std::string& folder = "") {
        std::vector<std::string> found;
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((temp + folder + "*").c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) return found;
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                for (const std::string& below : tempFiles(folder + name + "\\")) found.push_back(below);
            } else {
                found.push_back(folder + name);
            }
        } while (FindNextFileA(h, &data));
        FindClose(h);
        return found;
    }
};

COLORREF ref(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

std::vector<std::string> frames(int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(vmtest::solidIcon(32, 0x102030u * static_cast<unsigned>(i + 1)));
    return out;
}

} // namespace

TEST(AniSteps, TheHeaderCountsHeldToWhatTheFileHolds) {
    EXPECT_EQ(AniStepCount(""), 1);
    EXPECT_EQ(AniStepCount("just some text, no animation"), 1);
    EXPECT_EQ(AniStepCount(vmtest::solidIcon(32, 0xFF0000)), 1);
    EXPECT_EQ(AniStepCount(vmtest::aniFile(frames(4), 4)), 4);
    EXPECT_EQ(AniStepCount(vmtest::aniFile(frames(4), 40)), 4);          // a header that lies
    EXPECT_EQ(AniStepCount(vmtest::aniFile(frames(4), 4000000000u)), 4); // wildly
    EXPECT_EQ(AniStepCount(vmtest::aniFile(frames(6), 3)), 3);           // fewer steps than frames
    EXPECT_EQ(AniStepCount(vmtest::aniFile(frames(2), 5, {0, 1, 0, 1, 0})), 5);
    EXPECT_EQ(AniStepCount(vmtest::aniFile(frames(2), 9, {0, 1, 0})), 3);
    EXPECT_EQ(AniStepCount(vmtest::aniFile(frames(3), 0)), 3); // no step count: one step per frame
    // Cut anywhere, the count stays within what the header says.
    const std::string whole = vmtest::aniFile(frames(3), 3);
    for (size_t len = 0; len <= whole.size(); len += 7) {
        const int steps = AniStepCount(whole.substr(0, len));
        EXPECT_GE(steps, 1);
        EXPECT_LE(steps, 3);
    }
    // However many frames a file holds, no animation lists more than the cap.
    std::vector<std::string> many(kMaxAniSteps + 50, std::string("x"));
    EXPECT_EQ(AniStepCount(vmtest::aniFile(many, 2000000)), kMaxAniSteps);
}

TEST_F(OpenFixture, EveryKindOfFileGivesItsEntriesTextsTypesAndOrigins) {
    const std::string lib = dir.file("lib.dll");
    ASSERT_TRUE(fx::makeIconModule(lib, {{1, "", {fx::dib(32, 32, 8)}},
                                          {2, "", {fx::dib(16, 16, 4)}},
                                          {0, "LAST", {fx::dib(16, 16, 4), fx::dib(32, 32, 32)}}}));
    ASSERT_TRUE(CopyFileA(lib.c_str(), dir.file("app.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(lib.c_str(), dir.file("set.icl").c_str(), FALSE));
    const std::string depths = fx::icoFile({fx::dib(32, 32, 1), fx::dib(32, 32, 4), fx::dib(32, 32, 8),
                                            fx::dib(32, 32, 24), fx::dib(32, 32, 32), fx::png(256, 256)});
    ASSERT_TRUE(vmtest::writeFile(dir.file("d4.ico"), fx::icoFile({fx::dib(32, 32, 4)})));
    ASSERT_TRUE(vmtest::writeFile(dir.file("d8.ico"), fx::icoFile({fx::dib(32, 32, 8)})));
    ASSERT_EQ(vmtest::readFile(dir.file("d8.ico")).size(), 2238u);
    ASSERT_TRUE(vmtest::writeFile(dir.file("depths.ico"), depths));
    ASSERT_TRUE(vmtest::writeFile(dir.file("small.ico"), fx::icoFile({fx::dib(16, 16, 8)})));
    ASSERT_TRUE(vmtest::writeFile(dir.file("arrow.cur"), fx::icoFile({fx::dib(32, 32, 8)}, 2)));
    ASSERT_TRUE(vmtest::writeFile(dir.file("wait.ani"), vmtest::aniFile(frames(4), 4)));
    ASSERT_TRUE(vmtest::writeFile(dir.file("readme.txt"), "text"));
    ASSERT_TRUE(vmtest::writeFile(dir.file("bad.ico"), "this is text, not an icon"));
    ASSERT_TRUE(vmtest::writeFile(dir.file("cut.dll"), "MZ" + std::string(60, 'x')));

    listFiles({dir.file("d4.ico"), dir.file("d8.ico"), dir.file("depths.ico"), dir.file("small.ico"),
               dir.file("arrow.cur"), dir.file("wait.ani"), lib, dir.file("app.exe"), dir.file("set.icl"),
               dir.file("readme.txt"), dir.file("bad.ico"), dir.file("cut.dll")});
    const std::string d = dir.path() + "\\";
    EXPECT_EQ(entryTexts(), (std::vector<std::string>{
                                d + "d4.ico;0;x;0open", d + "d8.ico;0;x;1open", d + "depths.ico;0;x;2open",
                                d + "arrow.cur;0;x;7open", d + "wait.ani;0;frame 1;aopen",
                                d + "wait.ani;1;frame 2;aopen", d + "wait.ani;2;frame 3;aopen",
                                d + "wait.ani;3;frame 4;aopen", d + "lib.dll;0;#1 of 3;dopen",
                                d + "lib.dll;1;#2 of 3;dopen", d + "app.exe;0;#1 of 3;eopen",
                                d + "app.exe;1;#2 of 3;eopen", d + "set.icl;0;#1 of 3;iopen",
                                d + "set.icl;1;#2 of 3;iopen", d + "set.icl;2;#3 of 3;iopen"}));
    // Neither the text file named as an icon nor the broken module stops the listing; both are told.
    EXPECT_EQ(panel("message"), "Could not read 2 file(s): bad.ico, cut.dll");
    EXPECT_EQ(panel("count"), "15 Icon(s)");
    EXPECT_TRUE(form.mnuFile.Enabled());

    ASSERT_EQ(form.pnlResult.ListItems.Count(), 15);
    const std::vector<std::vector<std::string>> shown = {
        {"d4.ico", "16 Color Icon"}, {"d8.ico", "256 Color Icon"}, {"depths.ico", "High Color Icon"},
        {"arrow.cur", "256 Color Cursor"}, {"wait.ani frame 1", "Animated Icon"}};
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(item(static_cast<int>(i) + 1).Text(), shown[i][0]);
        EXPECT_EQ(item(static_cast<int>(i) + 1).SubItems(1), shown[i][1]);
        EXPECT_EQ(item(static_cast<int>(i) + 1).SubItems(2), "File");
    }
    // Named groups come first, as the shell counts them: the numbered group 2 has no 32 x 32 image.
    EXPECT_EQ(item(10).Text(), "lib.dll #2 of 3");
    EXPECT_EQ(item(11).SubItems(1), "Icon Library");
    EXPECT_EQ(item(11).Tag, d + "app.exe;0;#1 of 3;eopen");
    // The cursor shows its own picture, not the placeholder.
    ASSERT_TRUE(vmtest::writeFile(dir.file("red.cur"), [] {
        std::string cur = vmtest::solidIcon(32, 0xD02010);
        cur[2] = 2;
        return cur;
    }()));
    listFiles({dir.file("red.cur")});
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 1);
    EXPECT_EQ(pixel(1, 16, 16), ref(0xD02010));
}

// A folder listed again reads only the files changed since: one held open by
// another program lists as before, one rewritten lists anew, and so does an
// archive's member.
TEST_F(OpenFixture, AListingAgainReadsOnlyWhatChangedSince) {
    const std::string a = dir.file("a.ico"), b = dir.file("b.ico"), archive = dir.file("z.zip");
    auto write = [&](std::uint32_t rgb) {
        for (const std::string& file : {a, b}) vmtest::writeFile(file, vmtest::solidIcon(32, rgb)); // not a held
        ASSERT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive({{"m.ico", vmtest::solidIcon(32, rgb)}})));
        procClearZipLists(entries, zip);
        entries.lstZipFiles.AddItem(archive);
    };
    write(0xC00000);
    listFiles({a, b});
    HANDLE held = CreateFileA(a.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    write(0x00C000);
    listFiles({a, b});
    CloseHandle(held);
    EXPECT_EQ(panel("message").find("Could not read"), std::string::npos);
    EXPECT_EQ(pixel(1, 16, 16), ref(0xC00000));
    EXPECT_EQ(pixel(2, 16, 16), ref(0x00C000));
    EXPECT_EQ(pixel(3, 16, 16), ref(0x00C000));
}

TEST_F(OpenFixture, IconFilesWhoseDirectoryLiesAreToldUnreadableAndTheRestListed) {
    auto put32 = [](std::string& bytes, size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    std::string outside = fx::icoFile({fx::dib(32, 32, 8)});
    put32(outside, 6 + 12, static_cast<std::uint32_t>(outside.size())); // image offset past the end
    std::string doubled = fx::icoFile({fx::dib(32, 32, 8), fx::dib(32, 32, 8)});
    put32(doubled, 6 + 8, static_cast<std::uint32_t>(doubled.size()) - 22); // both images claim nearly all
    put32(doubled, 6 + 16 + 8, static_cast<std::uint32_t>(doubled.size()) - 22);
    put32(doubled, 6 + 16 + 12, 22);
    std::string noImages = fx::icoFile({fx::dib(32, 32, 8)});
    noImages[4] = noImages[5] = 0;
    const std::string second = fx::icoFile({fx::dib(16, 16, 4), fx::dib(32, 32, 32)});
    ASSERT_TRUE(vmtest::writeFile(dir.file("outside.ico"), outside));
    ASSERT_TRUE(vmtest::writeFile(dir.file("doubled.ico"), doubled));
    ASSERT_TRUE(vmtest::writeFile(dir.file("none.ico"), noImages));
    ASSERT_TRUE(vmtest::writeFile(dir.file("second.ico"), second));
    ASSERT_TRUE(vmtest::writeFile(dir.file("empty.ico"), ""));
    listFiles({dir.file("outside.ico"), dir.file("doubled.ico"), dir.file("none.ico"), dir.file("second.ico"),
               dir.file("empty.ico"), dir.file("missing.ico")});
    EXPECT_EQ(entryTexts(), (std::vector<std::string>{dir.path() + "\\second.ico;0;x;2open"}));
    EXPECT_EQ(panel("message"), "Could not read 5 file(s): outside.ico, doubled.ico, none.ico, empty.ico, missing.ico");
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 1);
    // Twenty are named, the rest counted.
    std::vector<std::string> missing;
    for (int i = 0; i < 23; ++i) missing.push_back(dir.file(std::to_string(i) + ".ico"));
    listFiles(missing);
    EXPECT_EQ(panel("message"), "Could not read 23 file(s): 0.ico, 1.ico, 2.ico, 3.ico, 4.ico, 5.ico, 6.ico, 7.ico, "
                                "8.ico, 9.ico, 10.ico, 11.ico, 12.ico, 13.ico, 14.ico, 15.ico, 16.ico, 17.ico, "
                                "18.ico, 19.ico and 3 more");
}

TEST_F(OpenFixture, TheSmallDataSetListsSmallImagesAndDrawsFramesAtItsSize) {
    setIconSize(16);
    const std::string lib = dir.file("lib.dll");
    ASSERT_TRUE(fx::makeIconModule(lib, {{1, "", {fx::dib(32, 32, 8)}}, {2, "", {fx::dib(16, 16, 4)}}}));
    ASSERT_TRUE(vmtest::writeFile(dir.file("big.ico"), fx::icoFile({fx::dib(32, 32, 8)})));
    ASSERT_TRUE(vmtest::writeFile(dir.file("small.ico"), fx::icoFile({fx::dib(16, 16, 8)})));
    // Small files of deep images: the type is the depth of the image of the data set's size, not the length.
    ASSERT_TRUE(vmtest::writeFile(dir.file("deep.ico"), fx::icoFile({fx::dib(16, 16, 32), fx::dib(32, 32, 4)})));
    // A 32 x 32 frame, red on the left and blue on the right: shrunk, not cut.
    ASSERT_TRUE(vmtest::writeFile(dir.file("halves.ani"),
                                  vmtest::aniFile({vmtest::twoColourIcon(32, 0xE00000, 0x0000E0)}, 1)));
    listFiles({dir.file("big.ico"), dir.file("small.ico"), dir.file("deep.ico"), lib, dir.file("halves.ani")});
    const std::string d = dir.path() + "\\";
    EXPECT_EQ(entryTexts(), (std::vector<std::string>{d + "small.ico;0;x;1open", d + "deep.ico;0;x;2open",
                                                      d + "lib.dll;1;#2 of 2;dopen", d + "halves.ani;0;frame 1;aopen"}));
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 4);
    EXPECT_EQ(item(2).SubItems(1), "High Color Icon");
    EXPECT_EQ(pixel(4, 3, 8), ref(0xE00000));
    EXPECT_EQ(pixel(4, 12, 8), ref(0x0000E0));
}

TEST_F(OpenFixture, SixteenBitLibrariesListEachIconAndDrawItInColour) {
    const std::string library =
        vmtest::icl::iclFile({{1, "", {fx::solidDib(16, 4, 0xC00000), fx::solidDib(32, 4, 0xE00000)}},
                              {0, "Leaf", {fx::solidDib(32, 8, 0x00C000)}},
                              {3, "", {fx::solidDib(16, 32, 0x0000C0)}}});
    ASSERT_TRUE(vmtest::writeFile(dir.file("set.icl"), library));
    ASSERT_TRUE(vmtest::writeFile(dir.file("old.dll"), library));
    const auto damaged =
        vmtest::icl::damagedLibraries({{1, "", {fx::solidDib(32, 4, 1)}}, {2, "", {fx::solidDib(32, 4, 2)}}});
    ASSERT_TRUE(vmtest::writeFile(dir.file("cut.icl"), damaged.back().bytes));
    ASSERT_TRUE(vmtest::writeFile(dir.file("plain.dll"), vmtest::icl::iclFile({})));
    listFiles({dir.file("set.icl"), dir.file("cut.icl"), dir.file("old.dll"), dir.file("plain.dll")});
    const std::string d = dir.path() + "\\";
    // Every icon of a library; of a module only those with an image of the icon size; a
    // module without icons is no fault.
    EXPECT_EQ(entryTexts(), (std::vector<std::string>{d + "set.icl;0;#1 of 3;iopen", d + "set.icl;1;#2 of 3;iopen",
                                                      d + "set.icl;2;#3 of 3;iopen", d + "old.dll;0;#1 of 3;dopen",
                                                      d + "old.dll;1;#2 of 3;dopen"}));
    EXPECT_EQ(panel("message"), "Could not read 1 file(s): cut.icl");
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 5);
    EXPECT_EQ(item(1).Text(), "set.icl #1 of 3");
    EXPECT_EQ(item(1).SubItems(1), "Icon Library");
    EXPECT_EQ(pixel(1, 8, 8), ref(0xE00000)); // the 32 x 32 image, not the 16 x 16 one
    EXPECT_EQ(pixel(2, 8, 8), ref(0x00C000));
    EXPECT_EQ(pixel(3, 20, 20), ref(0x0000C0)); // grown from 16 x 16
    EXPECT_EQ(pixel(5, 8, 8), ref(0x00C000));
}

TEST_F(OpenFixture, AnimationsListTheirStepsAndTheHandleGoesWithTheNextFile) {
    ASSERT_TRUE(vmtest::writeFile(dir.file("one.ani"), vmtest::aniFile(frames(1), 1)));
    ASSERT_TRUE(vmtest::writeFile(dir.file("forty.ani"), vmtest::aniFile(frames(40), 40)));
    // A header that claims more steps than the file holds frames is damage:
    // the system would make a step for each.
    ASSERT_TRUE(vmtest::writeFile(dir.file("liar.ani"), vmtest::aniFile(frames(4), 40)));
    ASSERT_TRUE(vmtest::writeFile(dir.file("plain.ico"), vmtest::solidIcon(32, 0x00FF00)));
    listFiles({dir.file("one.ani"), dir.file("forty.ani"), dir.file("liar.ani"), dir.file("plain.ico")});
    ASSERT_EQ(entries.cmbResult.ListCount(), 1 + 40 + 1);
    EXPECT_EQ(entries.cmbResult.List(40), dir.file("forty.ani") + ";39;frame 40;aopen");
    EXPECT_EQ(panel("message"), "Could not read 1 file(s): liar.ani");
    // Each frame shows its own picture.
    EXPECT_EQ(pixel(2, 16, 16), ref(0x102030));
    EXPECT_EQ(pixel(3, 16, 16), ref(0x204060));
    EXPECT_EQ(item(42).Text(), "plain.ico");
    // The icon file after the animations let go of the animation held for them.
    EXPECT_EQ(loader.LoadedAni, nullptr);
    EXPECT_TRUE(loader.LoadedAniFile.empty());

    // The player's frames of an opened animation.
    AnimationFrames player;
    for (int i = 0; i < 3; ++i) procGetOpenAni(loader, chunks, 32, player, i, entries.cmbResult.List(1 + i));
    ASSERT_EQ(player.pictures.size(), 3u);
    EXPECT_EQ(loader.LoadedAniFile, dir.file("forty.ani"));
}

TEST_F(OpenFixture, AnAnimationIsListedWholeOrToldUnreadableOnce) {
    // The system makes an object of every step: of 32,768 it kept the first
    // alone, and 1,000 crossed boxes were listed without a word.
    auto steps = [](std::size_t n) {
        std::vector<std::uint32_t> sequence(n);
        for (std::size_t i = 0; i < n; ++i) sequence[i] = static_cast<std::uint32_t>(i % 2);
        return vmtest::aniFile(frames(2), static_cast<std::uint32_t>(n), sequence);
    };
    const std::vector<std::string> files{dir.file("most.ani"), dir.file("more.ani"), dir.file("32768.ani")};
    ASSERT_TRUE(vmtest::writeFile(files[0], steps(kMaxAniSteps)));
    ASSERT_TRUE(vmtest::writeFile(files[1], steps(kMaxAniSteps + 1)));
    ASSERT_TRUE(vmtest::writeFile(files[2], steps(32768)));
    listFiles(files);
    EXPECT_EQ(entries.cmbResult.ListCount(), kMaxAniSteps);
    EXPECT_EQ(panel("message"), "Could not read 2 file(s): more.ani, 32768.ani");
    EXPECT_EQ(pixel(2, 16, 16), ref(0x204060));
    // Its last step is there to draw, for a page and the player alike.
    AnimationFrames player;
    procGetOpenAni(loader, chunks, 32, player, 0, entries.cmbResult.List(kMaxAniSteps - 1));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, loader.LoadedAni, 32, 32, kMaxAniSteps - 1, nullptr, DI_NORMAL));
    DeleteDC(dc);
}

TEST_F(OpenFixture, ZipMembersAreListedExtractedIntoTheirArchivesFolderAndRemoved) {
    const std::string red = vmtest::solidIcon(32, 0xC00000), green = vmtest::solidIcon(32, 0x00C000);
    const std::string first = dir.file("first.zip"), second = dir.file("second.zip");
    ASSERT_TRUE(vmtest::writeFile(first, vmtest::makeZipArchive({{"same.ico", red},
                                                                 {"icons/a/x.ico", red},
                                                                 {"icons/b/x.ico", green},
                                                                 {"readme.txt", "words"}})));
    ASSERT_TRUE(vmtest::writeFile(second, vmtest::makeZipArchive({{"same.ico", green},
                                                                  {"same.ico", green},
                                                                  {"../up.ico", green},
                                                                  {"locked.ico", red, true, "secret"}})));
    // A file another program left in TEMP under a member's name is never taken for it.
    ASSERT_TRUE(vmtest::writeFile(temp + "same.ico", "someone else's"));
    entries.lstZipFiles.AddItem(first);
    entries.lstZipFiles.AddItem(second);
    listFiles({});

    std::vector<std::pair<std::string, int>> members;
    for (int i = 0; i < entries.lstZipIcons.ListCount(); ++i)
        members.emplace_back(entries.lstZipIcons.List(i), entries.lstZipIcons.ItemData(i));
    EXPECT_EQ(members, (std::vector<std::pair<std::string, int>>{{"same.ico", 0},
                                                                 {"icons\\a\\x.ico", 0},
                                                                 {"icons\\b\\x.ico", 0},
                                                                 {"readme.txt", 0},
                                                                 {"same.ico", 1},
                                                                 {"up.ico", 1},
                                                                 {"locked.ico", 1}}));
    ASSERT_EQ(zip.folders.size(), 2u);
    const std::string f0 = zip.folders[0], f1 = zip.folders[1];
    EXPECT_NE(f0, f1);
    EXPECT_EQ(entryTexts(), (std::vector<std::string>{f0 + "same.ico;" + first + ";0;x;2azip",
                                                      f0 + "icons\\a\\x.ico;" + first + ";0;x;2azip",
                                                      f0 + "icons\\b\\x.ico;" + first + ";0;x;2azip",
                                                      f1 + "same.ico;" + second + ";0;x;2azip",
                                                      f1 + "up.ico;" + second + ";0;x;2azip"}));
    EXPECT_EQ(panel("message"),
              "Could not read 1 file(s): locked.ico in second.zip; left out 1 member(s) of second.zip: names given twice");
    // A second member of one path would overwrite the first's file: it is left out.
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 5);
    EXPECT_EQ(item(1).Text(), "same.ico in " + first);
    EXPECT_EQ(item(1).SubItems(2), "ZIP File");
    EXPECT_EQ(item(1).SubItems(1), "High Color Icon");
    // Two members of one name, in two archives or two folders of one, stay apart.
    EXPECT_EQ(pixel(1, 16, 16), ref(0xC00000));
    EXPECT_EQ(pixel(2, 16, 16), ref(0xC00000));
    EXPECT_EQ(pixel(3, 16, 16), ref(0x00C000));
    EXPECT_EQ(pixel(4, 16, 16), ref(0x00C000));

    // After the page only the private folders remain, empty; what was in TEMP before is untouched.
    const std::string folder0 = f0.substr(temp.size(), f0.size() - temp.size() - 1);
    EXPECT_EQ(tempFiles(), std::vector<std::string>{"same.ico"});
    EXPECT_EQ(vmtest::readFile(temp + "same.ico"), "someone else's");
    EXPECT_TRUE(vmtest::fileExists(f0));
    EXPECT_FALSE(vmtest::fileExists(f0 + "icons"));
    EXPECT_FALSE(vmtest::fileExists(dir.file("up.ico")));

    // Another page fill extracts what it shows again and removes it again.
    pager.procGetPage();
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 5);
    EXPECT_EQ(tempFiles(), std::vector<std::string>{"same.ico"});
    // A member is read by its place in the listing only under the name listed
    // there; and no archive stays open once the listing and the page are done.
    std::string bytes;
    EXPECT_EQ(ReadZipMemberAt(first, 1, "icons\\a\\x.ico", 1u << 20, bytes), ZANDREL_OK);
    EXPECT_EQ(bytes, red);
    EXPECT_EQ(ReadZipMemberAt(first, 1, "same.ico", 1u << 20, bytes), ZANDREL_ERR_NOMEMBER);
    EXPECT_TRUE(DeleteFileA(second.c_str()));

    procClearZipLists(entries, zip);
    EXPECT_FALSE(vmtest::fileExists(f0));
    EXPECT_FALSE(vmtest::fileExists(f1));
    EXPECT_EQ(entries.lstZipIcons.ListCount(), 0);
}

// Members Windows cannot name, or named twice, are left out and said so once
// per archive with the reasons; a member or an archive that cannot be read is
// named, whatever its sizes claim.
TEST_F(OpenFixture, ArchivesSayWhatTheyLeftOutAndNameWhatTheyCouldNotRead) {
    for (const auto& s : vmtest::damaged::zipArchives()) {
        if (s.name != "case-only-twins.zip" && s.name != "packed-size-lies.zip" && s.name != "hostile-names.zip")
            continue;
        ASSERT_TRUE(vmtest::writeFile(dir.file(s.name), s.bytes));
        entries.lstZipFiles.AddItem(dir.file(s.name));
    }
    ASSERT_TRUE(vmtest::writeFile(dir.file("words.zip"), "no archive at all"));
    entries.lstZipFiles.AddItem(dir.file("words.zip"));
    listFiles({});
    EXPECT_EQ(entries.lstZipIcons.ListCount(), 1 + 2 + 9);
    EXPECT_EQ(entries.cmbResult.ListCount(), 1 + 9);
    EXPECT_EQ(panel("message"), "Could not read 3 file(s): words.zip, a.ico in case-only-twins.zip, "
                                "big.ico in packed-size-lies.zip; "
                                "left out 1 member(s) of case-only-twins.zip: names given twice; "
                                "left out 15 member(s) of hostile-names.zip: device names, "
                                "forbidden characters, a dot or blank at the end");
}

// Icon members are drawn from memory; cursors, animations and modules are
// extracted for the listing and the page, and every one is gone after it.
TEST_F(OpenFixture, MembersOfEveryKindShowTheirPicturesAndLeaveNoFileAfterThePage) {
    std::string cursor = vmtest::solidIcon(32, 0xD02010);
    cursor[2] = 2;
    const std::string archive = dir.file("kinds.zip");
    ASSERT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive({{"a.ico", vmtest::solidIcon(32, 0x00C000)},
                                                                   {"b.cur", cursor},
                                                                   {"c.ani", vmtest::aniFile(frames(2), 2)}})));
    entries.lstZipFiles.AddItem(archive);
    listFiles({});
    const std::string f = zip.folders.at(0);
    EXPECT_EQ(entryTexts(), (std::vector<std::string>{f + "a.ico;" + archive + ";0;x;2azip",
                                                      f + "b.cur;" + archive + ";0;x;8azip",
                                                      f + "c.ani;" + archive + ";0;frame 1;aazip",
                                                      f + "c.ani;" + archive + ";1;frame 2;aazip"}));
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 4);
    EXPECT_EQ(item(1).Text(), "a.ico in " + archive);
    EXPECT_EQ(pixel(1, 16, 16), ref(0x00C000));
    EXPECT_EQ(pixel(2, 16, 16), ref(0xD02010));
    EXPECT_EQ(pixel(4, 16, 16), ref(0x204060));
    EXPECT_TRUE(tempFiles().empty());
    pager.procGetPage();
    EXPECT_EQ(pixel(1, 16, 16), ref(0x00C000));
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(OpenFixture, ArchivesWrittenByInfoZipWithAndWithoutAPassword) {
    const std::string src = dir.file("src");
    CreateDirectoryA(src.c_str(), nullptr);
    CreateDirectoryA((src + "\\icons").c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(src + "\\icons\\a.ico", fx::icoFile({fx::dib(32, 32, 4)})));
    ASSERT_TRUE(vmtest::writeFile(src + "\\b.cur", fx::icoFile({fx::dib(32, 32, 8)}, 2)));
    if (!vmtest::infoZip(src, "open.zip", "-r icons b.cur") || !vmtest::infoZip(src, "locked.zip", "-r -P pw icons b.cur"))
        GTEST_SKIP() << "Info-ZIP cannot be run here";
    entries.lstZipFiles.AddItem(src + "\\open.zip");
    entries.lstZipFiles.AddItem(src + "\\locked.zip");
    listFiles({});
    EXPECT_EQ(entries.lstZipIcons.ListCount(), 4);
    ASSERT_EQ(entries.cmbResult.ListCount(), 2);
    EXPECT_EQ(procGetField(entries.cmbResult.List(0), ';', 1), zip.folders[0] + "icons\\a.ico");
    EXPECT_EQ(EntryTypeCode(entries.cmbResult.List(1)), "7");
    EXPECT_EQ(panel("message"), "Could not read 2 file(s): a.ico in locked.zip, b.cur in locked.zip");
}

TEST(PassedPaths, QuotedRunsStayWholeAndBlanksCut) {
    EXPECT_EQ(SplitPassedPaths("C:\\a.ico C:\\b.dll", ' '), (std::vector<std::string>{"C:\\a.ico", "C:\\b.dll"}));
    EXPECT_EQ(SplitPassedPaths("\"C:\\my icons\\a.ico\" C:\\x\\  \"C:\\b c\"", ' '),
              (std::vector<std::string>{"C:\\my icons\\a.ico", "C:\\x\\", "C:\\b c"}));
    EXPECT_EQ(SplitPassedPaths("C:\\my icons\\a.ico", ' '), (std::vector<std::string>{"C:\\my", "icons\\a.ico"}));
    EXPECT_EQ(SplitPassedPaths("", ' '), std::vector<std::string>{});
    EXPECT_EQ(SplitPassedPaths("\"unclosed path", ' '), std::vector<std::string>{"unclosed path"});
    EXPECT_EQ(SplitPassedPaths("a;b", ';'), (std::vector<std::string>{"a", "b"}));

    const OpenDialogChoice one = SplitOpenDialogName("C:\\icons\\a.ico");
    EXPECT_EQ(one.files, std::vector<std::string>{"C:\\icons\\a.ico"});
    EXPECT_EQ(one.folder, "C:\\icons\\");
    const OpenDialogChoice two = SplitOpenDialogName(std::string("C:\\icons\0a.ico\0b.ZIP", 21));
    EXPECT_EQ(two.files, (std::vector<std::string>{"C:\\icons\\a.ico", "C:\\icons\\b.ZIP"}));
    EXPECT_EQ(two.folder, "C:\\icons");
    EXPECT_EQ(SplitOpenDialogName(std::string("C:\\\0a.ico\0b.ico", 15)).files[0], "C:\\a.ico");
    EXPECT_TRUE(IsZipArchive("x.ZIP"));
    EXPECT_FALSE(IsListableIconFile("readme.txt"));
    EXPECT_TRUE(IsListableIconFile("A.ICL"));
}

TEST_F(OpenFixture, PassedFoldersFilesAndArchivesAndAnAbortedWalk) {
    namespace fs = vmtest;
    const std::string tree = dir.file("tree");
    for (const char* sub : {"", "\\deep", "\\deep\\deeper"}) CreateDirectoryA((tree + sub).c_str(), nullptr);
    ASSERT_TRUE(fs::writeFile(tree + "\\a.ico", fs::solidIcon(32, 0x111111)));
    ASSERT_TRUE(fs::writeFile(tree + "\\readme.txt", "text"));
    ASSERT_TRUE(fs::writeFile(tree + "\\deep\\b.ani", fs::aniFile(frames(2), 2)));
    ASSERT_TRUE(fs::writeFile(tree + "\\deep\\inner.zip", vmtest::makeZipArchive({{"z.ico", fs::solidIcon(32, 1)}})));
    ASSERT_TRUE(fs::writeFile(tree + "\\deep\\deeper\\c.cur", fx::icoFile({fx::dib(32, 32, 4)}, 2)));
    ASSERT_TRUE(fs::writeFile(dir.file("loose.ico"), fs::solidIcon(32, 0x222222)));
    ASSERT_TRUE(fs::writeFile(dir.file("named.ZIP"), vmtest::makeZipArchive({{"n.ico", fs::solidIcon(32, 3)}})));

    std::string passed = "\"" + tree + "\" " + dir.file("loose.ico") + " " + dir.file("named.ZIP");
    OpenSearchContext ctx = context();
    const ZipListWindows boxes{form.txtZIP.hWnd(), form.txtDummyZIP.hWnd()};
    ASSERT_TRUE(procOpenPassedPaths(ctx, boxes, passed, ' '));
    EXPECT_TRUE(passed.empty());
    std::vector<std::string> files;
    for (int i = 0; i < entries.lstFiles.ListCount(); ++i) files.push_back(entries.lstFiles.List(i));
    // Only icon files; the archive inside the folder is not opened, the one named is.
    EXPECT_EQ(files, (std::vector<std::string>{tree + "\\a.ico", tree + "\\deep\\b.ani", tree + "\\deep\\deeper\\c.cur",
                                               dir.file("loose.ico")}));
    ASSERT_EQ(entries.lstZipIcons.ListCount(), 1);
    EXPECT_EQ(entries.lstZipIcons.List(0), "n.ico");
    EXPECT_EQ(entries.cmbResult.ListCount(), 6);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 6);

    // Esc during the walk: no listing, the window idle and the flag reset.
    int yields = 0;
    host.doEvents = [&] {
        if (++yields == 3) busy.AbortRequested = true;
    };
    passed = "\"" + tree + "\"";
    EXPECT_FALSE(procOpenPassedPaths(ctx, boxes, passed, ' '));
    EXPECT_FALSE(busy.AbortRequested);
    EXPECT_TRUE(form.mnuFile.Enabled());
    EXPECT_EQ(panel("message"), "Aborted!");
    EXPECT_EQ(entries.cmbResult.ListCount(), 0);
    EXPECT_TRUE(passed.empty());

    // The next hand-over lists as if nothing had happened.
    host.doEvents = nullptr;
    passed = dir.file("loose.ico");
    EXPECT_TRUE(procOpenPassedPaths(ctx, boxes, passed, ' '));
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 1);
    EXPECT_EQ(item(1).Text(), "loose.ico");
}

TEST_F(OpenFixture, AbortBetweenFilesShowsWhatWasListedAndFavouritesReadShort) {
    std::vector<std::string> files;
    for (int i = 0; i < 8; ++i) {
        std::string name = "i";
        name += std::to_string(i);
        files.push_back(dir.file(name + ".ico"));
        ASSERT_TRUE(vmtest::writeFile(files.back(), vmtest::solidIcon(32, 0x101010)));
    }
    int yields = 0;
    host.doEvents = [&] {
        if (++yields == 6) busy.AbortRequested = true;
    };
    listFiles(files);
    host.doEvents = nullptr;
    EXPECT_LT(entries.cmbResult.ListCount(), 8);
    EXPECT_GT(entries.cmbResult.ListCount(), 0);
    EXPECT_EQ(panel("message"), "Aborted!");

    // Yielding by time, as the shown window has it, Esc still stops the listing at its next yield.
    host.YieldEvery = std::chrono::milliseconds(50);
    host.yields.restart();
    host.doEvents = [&] {
        if (entries.cmbResult.ListCount() > 0) busy.AbortRequested = true;
    };
    listFiles(files);
    host.doEvents = nullptr;
    host.YieldEvery = {};
    EXPECT_EQ(entries.cmbResult.ListCount(), 1);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), entries.cmbResult.ListCount());
    EXPECT_EQ(panel("message"), "Aborted!");
    EXPECT_FALSE(busy.AbortRequested);
    EXPECT_TRUE(form.mnuFile.Enabled());

    // Files of the favourites folder show their short names.
    const std::string favourites = dir.file("Favs");
    CreateDirectoryA(favourites.c_str(), nullptr);
    ASSERT_TRUE(fx::makeIconModule(favourites + "\\shell.dll",
                                    {{1, "", {fx::dib(32, 32, 8)}}, {2, "", {fx::dib(32, 32, 8)}}}));
    loader.FavoritesFolder = favourites;
    listFiles({favourites + "\\shell.dll", files[0]});
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 3);
    EXPECT_EQ(item(2).Text(), "shell #2 of 2");
    EXPECT_EQ(item(2).SubItems(2), "File Favorite");
    EXPECT_EQ(item(3).Text(), "i0.ico");
    EXPECT_EQ(item(3).SubItems(2), "File");
}

TEST(HasImageSize, TestsEveryImageAndIsFalseOutOfRange) {
    std::vector<cFileIcon> icons(1);
    vmtest::ScratchDir dir;
    ASSERT_TRUE(vmtest::writeFile(dir.file("a.ico"), fx::icoFile({fx::dib(16, 16, 4), fx::dib(48, 48, 8)})));
    ASSERT_TRUE(icons[0].LoadIcon(dir.file("a.ico")));
    EXPECT_TRUE(procHasImageSize(icons, 1, 48));
    EXPECT_TRUE(procHasImageSize(icons, 1, 16));
    EXPECT_FALSE(procHasImageSize(icons, 1, 32));
    EXPECT_FALSE(procHasImageSize(icons, 0, 16));
    EXPECT_FALSE(procHasImageSize(icons, 2, 16));
}

TEST_F(OpenFixture, AModuleWithManyGroupsListsEachAtTheShellsPosition) {
    std::vector<fx::Group> groups;
    // Every third group lacks a 32 x 32 image; numbered groups count after the named ones.
    for (int g = 1; g <= 40; ++g)
        groups.push_back({g, "", {g % 3 ? fx::dib(32, 32, 8, static_cast<unsigned>(g)) : fx::dib(16, 16, 4)}});
    groups.push_back({0, "FIRST", {fx::dib(32, 32, 4)}});
    const std::string lib = dir.file("many.dll");
    ASSERT_TRUE(fx::makeIconModule(lib, groups));
    listFiles({lib});
    std::vector<std::string> expected{lib + ";0;#1 of 41;dopen"};
    for (int g = 1; g <= 40; ++g)
        if (g % 3) expected.push_back(lib + ";" + std::to_string(g) + ";#" + std::to_string(g + 1) + " of 41;dopen");
    EXPECT_EQ(entryTexts(), expected);
    ASSERT_EQ(form.pnlResult.ListItems.Count(), static_cast<int>(expected.size()));
    EXPECT_EQ(item(2).Text(), "many.dll #2 of 41");
}

namespace {

// Byte offset of the data of a module's first icon group.
std::size_t firstGroupData(const std::string& module) {
    const auto types =
        vm::pe::readResources({reinterpret_cast<const std::uint8_t*>(module.data()), module.size()});
    for (const auto& t : types.value())
        if (!t.id.named && t.id.number == 14) return static_cast<std::size_t>(t.resources.at(0).languages.at(0).offset);
    return 0;
}

} // namespace

TEST_F(OpenFixture, DamagedAnimationsAreToldUnreadableQuicklyAndSmall) {
    // Each of these once crashed the program or took it past 3 GB while it was listed.
    std::vector<std::string> files;
    for (const auto& sample : vmtest::damaged::animationFiles()) {
        if (sample.name == "good.ani") continue;
        files.push_back(dir.file(sample.name));
        ASSERT_TRUE(vmtest::writeFile(files.back(), sample.bytes));
    }
    const std::size_t before = vmtest::PeakCommittedBytes();
    const vmtest::CpuStopwatch work;
    listFiles(files);
    EXPECT_TRUE(entryTexts().empty());
    std::string names;
    for (const std::string& f : files) names += (names.empty() ? "" : ", ") + f.substr(dir.path().size() + 1);
    EXPECT_EQ(panel("message"), "Could not read " + std::to_string(files.size()) + " file(s): " + names);
    // The player and the frame collection ask for their steps by entries of
    // the same files: each step gets the no-icon picture, and nothing breaks.
    AnimationFrames player;
    for (const std::string& f : files)
        for (int step = 0; step < 3; ++step) procGetOpenAni(loader, chunks, 32, player, step, f + ";" +
                                                            std::to_string(step) + ";frame 1;aopen");
    EXPECT_EQ(player.pictures.size(), 3u);
    EXPECT_LT(vmtest::PeakGrowthSince(before), 64u << 20);
    EXPECT_LT(work.ms(), 5000u);
}

TEST_F(OpenFixture, AModuleMeetsTheSameChecksWhateverItIsCalled) {
    // Group 1 names an icon image the module does not hold. A library lists
    // every group and draws that one as no icon; a module lists only the
    // groups that load. Each draws what it lists from the same reader.
    const std::string good = dir.file("good.dll");
    ASSERT_TRUE(fx::makeIconModule(good, {{1, "", {fx::dib(32, 32, 8)}}, {2, "", {fx::dib(32, 32, 4)}}}));
    std::string bytes = vmtest::readFile(good);
    const std::size_t group = firstGroupData(bytes);
    ASSERT_GT(group, 0u);
    bytes[group + 6 + 12] = static_cast<char>(0x7F); // the first entry's image number
    const std::string d = dir.path() + "\\";
    for (const char* name : {"lib.icl", "lib.dll", "lib.exe"}) ASSERT_TRUE(vmtest::writeFile(d + name, bytes));
    listFiles({d + "lib.icl", d + "lib.dll", d + "lib.exe"});
    EXPECT_EQ(entryTexts(), (std::vector<std::string>{d + "lib.icl;0;#1 of 2;iopen", d + "lib.icl;1;#2 of 2;iopen",
                                                      d + "lib.dll;1;#2 of 2;dopen", d + "lib.exe;1;#2 of 2;eopen"}));
    ASSERT_EQ(form.pnlResult.ListItems.Count(), 4);
    EXPECT_EQ(pixel(2, 16, 16), pixel(3, 16, 16));
    EXPECT_EQ(pixel(3, 16, 16), pixel(4, 16, 16));
    EXPECT_NE(pixel(1, 16, 16), pixel(2, 16, 16)); // no icon for the group without its image

    // A damaged tree is refused under every name.
    const auto wrecks = vmtest::damaged::modules(vmtest::readFile(good));
    const std::string& wreck = wrecks.front().bytes;
    for (const char* name : {"w.icl", "w.dll", "w.exe"}) ASSERT_TRUE(vmtest::writeFile(d + name, wreck));
    listFiles({d + "w.icl", d + "w.dll", d + "w.exe"});
    EXPECT_TRUE(entryTexts().empty());
    EXPECT_EQ(panel("message"), "Could not read 3 file(s): w.icl, w.dll, w.exe");
}

TEST_F(OpenFixture, ArchivesOfManyMembersAndBombsListQuicklyAndSmall) {
    // 5,000 icons; 65,535 members, the most an archive without 64-bit fields
    // holds; a bomb: members of 60 MB of zeros each, named as icons.
    const std::string icon = vmtest::solidIcon(32, 0x2040C0);
    std::vector<vmtest::ZipFixtureMember> many, most, bomb;
    auto named = [](int i, const char* ext) {
        std::string name = std::to_string(i);
        name += ext;
        return name;
    };
    for (int i = 0; i < 5000; ++i) many.push_back({named(i, i % 10 ? ".txt" : ".ico"), icon, false});
    for (int i = 0; i < 65535; ++i) most.push_back({named(i, i % 100 ? ".txt" : ".ico"), "x", false});
    const std::string zeros(60u << 20, '\0');
    for (int i = 0; i < 12; ++i) bomb.push_back({named(i, ".ico"), zeros});
    const std::string d = dir.path() + "\\";
    ASSERT_TRUE(vmtest::writeFile(d + "many.zip", vmtest::makeZipArchive(many)));
    ASSERT_TRUE(vmtest::writeFile(d + "most.zip", vmtest::makeZipArchive(most)));
    ASSERT_TRUE(vmtest::writeFile(d + "bomb.zip", vmtest::makeZipArchive(bomb)));
    for (const char* name : {"many.zip", "most.zip", "bomb.zip"}) {
        SCOPED_TRACE(name);
        procClearZipLists(entries, zip);
        entries.lstZipFiles.AddItem(d + name);
        const std::size_t before = vmtest::PeakCommittedBytes();
        const DWORD start = GetTickCount();
        procExtractZIPFilenames(entries, zip, chunks, {form.txtZIP.hWnd(), form.txtDummyZIP.hWnd()}, temp, busy);
        const DWORD listed = GetTickCount();
        entries.cmbResult.Clear();
        OpenSearchContext ctx = context();
        procSearchOpen(ctx);
        std::printf("%s: %d entries, members listed in %u ms, icons in %u ms, %u MB more\n", name,
                    entries.cmbResult.ListCount(), static_cast<unsigned>(listed - start),
                    static_cast<unsigned>(GetTickCount() - listed),
                    static_cast<unsigned>((vmtest::PeakGrowthSince(before)) >> 20));
        EXPECT_LT(vmtest::PeakGrowthSince(before), 256u << 20);
        EXPECT_LT(GetTickCount() - start, 60000u);
    }
    procClearZipLists(entries, zip);
    EXPECT_TRUE(tempFiles().empty());
}
