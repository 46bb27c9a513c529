// The selection handler on real menus, toolbars and status panels of a hidden
// form, and the image formats it loads from ICO files, icon DLLs, ZIP members
// and library icons.
#include <gtest/gtest.h>
#include <strings.h>

#include "browserstate.h"
#include "commandstate.h"
#include "damagedfiles.h"
#include "dialogstate.h"
#include "files.h"
#include "filledicon.h"
#include "ico_fixtures.h"
#include "resultentry.h"
#include "scratch.h"
#include "selectform.h"
#include "state.h"
#include "zipsource.h"
#include "zipwriter.h"
#include "patience.h"

using namespace vm;
using seltest::FrmSelect;

namespace {

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.Load();
        form.clearResult();
        w = form.window();
        DoubleClick = DoubleClickSettings{};
        Commands = CommandModes{};
        Keywords.IconSize = 32;
        Paging.PageCount = 1;
        Selection = SelectionState{};
        Masks = MaskModes{};
    }
    void TearDown() override { form.Unload(); }

    void select(const std::string& text, const std::string& tag, const std::string& type, const std::string& origin) {
        form.addItem(text, tag, type, origin);
        procSelectItem(w);
    }
    int gridRows() { return form.grdIcons.ItemCount(); }
    const cFileIcon& icon() { return Selection.FileIcons.at(0); }

    FrmSelect form;
    SelectionWindow w;
    vmtest::ScratchDir scratch;
};

std::string openEntry(const std::string& file, int index, char code = '1') {
    return FileEntry({file, std::to_string(index)}, code, kKindOpen);
}

} // namespace

TEST_F(SelectionTest, FirstSelectionEnablesCommonCommandsAndPagingOnce) {
    select("a", openEntry(scratch.file("none.ico"), 0), "16 Color Icon", "File");
    EXPECT_TRUE(form.mnuFileProperties.Enabled());
    EXPECT_TRUE(form.mnuResultClickZoom.Enabled());
    EXPECT_TRUE(form.pnlToolbar.Buttons("save").Enabled());
    EXPECT_TRUE(form.pnlToolbar.Buttons("zoom").Enabled());
    EXPECT_FALSE(form.mnuGoToPage.Enabled());
    EXPECT_FALSE(form.mnuGoBar.Enabled());
    EXPECT_TRUE(form.mnuToolsChangeFolder.Enabled());
    EXPECT_TRUE(form.pnlToolbarYour.Buttons("changefolder").Enabled());
    EXPECT_EQ(form.pnlResult.Tag, "a");
    EXPECT_EQ(w.TypePanel->Text(), "16 Color Icon");

    // Later selections on the same list leave the paging items alone.
    Paging.PageCount = 3;
    select("b", openEntry(scratch.file("none.ico"), 0), "16 Color Icon", "File");
    EXPECT_FALSE(form.mnuGoToPage.Enabled());

    form.clearResult();
    select("c", openEntry(scratch.file("none.ico"), 0), "16 Color Icon", "File");
    EXPECT_TRUE(form.mnuGoToPage.Enabled());
    EXPECT_TRUE(form.mnuGoBar.Enabled());
}

TEST_F(SelectionTest, ZipThenShortcutSwitchRunAndExtract) {
    select("z", FileEntry({scratch.file("m.ico"), scratch.file("a.zip"), "0"}, '1', kKindZip), "256 Color Icon",
           "zip file");
    EXPECT_EQ(form.mnuFileRun.Caption(), "Open ZIP &Archive...");
    EXPECT_EQ(form.mnuResultClickRun.Caption(), "Open ZIP &Archive...");
    EXPECT_TRUE(form.mnuFileExtract.Enabled());
    EXPECT_TRUE(form.mnuResultClickExtract.Visible());
    EXPECT_TRUE(form.mnuResultClickRun.Visible());

    DoubleClick.DCRun = true;
    select("s", FileEntry({scratch.file("s.lnk"), "0"}, 's', kKindShortcut), "Shortcut Icon", "Shortcut Icon");
    EXPECT_EQ(form.mnuFileRun.Caption(), "&Run Shortcut...");
    EXPECT_TRUE(form.mnuFileRun.Enabled());
    EXPECT_TRUE(form.mnuResultClickRun.Visible());
    EXPECT_FALSE(form.mnuFileExtract.Enabled());
    EXPECT_FALSE(form.mnuResultClickExtract.Visible());
    EXPECT_TRUE(form.mnuFileChange.Enabled());
    EXPECT_TRUE(form.pnlToolbarYour.Buttons("change").Enabled());
    EXPECT_EQ(Selection.CurrentAction, "Run");
}

TEST_F(SelectionTest, ReferencesSeparatorsAndOptions) {
    DoubleClick.DCPlay = true;
    select("ani", openEntry(scratch.file("x.ani"), 0, 'a'), "Animated Icon", "File");
    EXPECT_EQ(Selection.CurrentAction, "Play");
    EXPECT_TRUE(form.mnuFilePlay.Enabled());
    EXPECT_TRUE(form.pnlToolbar.Buttons("play").Enabled());
    EXPECT_TRUE(form.mnuRefAdd.Enabled());
    EXPECT_TRUE(form.mnuResultClickAddRef.Visible());
    EXPECT_TRUE(form.mnuDiv16.Visible());
    for (int i = 0; i < 9; ++i) EXPECT_EQ(form.optType(i).Enabled(), i >= 3 && i <= 5) << i;
    EXPECT_TRUE(form.optType(5).Value());

    select("lib", "1:2:01book", "256 Color Icon", "Vellumar Icons");
    EXPECT_FALSE(form.mnuRefAdd.Enabled());
    EXPECT_FALSE(form.pnlToolbarYour.Buttons("refadd").Enabled());
    EXPECT_FALSE(form.mnuResultClickAddRef.Visible());
    EXPECT_FALSE(form.mnuResultClickDelRef.Visible());
    EXPECT_FALSE(form.mnuDiv16.Visible());
    EXPECT_TRUE(form.mnuDiv22.Visible());
    for (int i = 0; i < 9; ++i) EXPECT_FALSE(form.optType(i).Enabled()) << i;

    select("ref", FileEntry({scratch.file("r.ico"), "0", "x"}, '0', kKindUser), "16 Color Icon", "Reference");
    EXPECT_TRUE(form.mnuRefDelete.Enabled());
    EXPECT_TRUE(form.pnlToolbarYour.Buttons("refdel").Enabled());
    EXPECT_TRUE(form.mnuResultClickDelRef.Visible());
    EXPECT_TRUE(form.mnuDiv16.Visible());
}

TEST_F(SelectionTest, FavouritesByDataSetWithAMissingButton) {
    select("f", openEntry(scratch.file("f.ico"), 0), "16 Color Icon", "File Favorite");
    EXPECT_TRUE(form.mnuFavoriteAdd.Enabled());
    EXPECT_TRUE(form.mnuFavoriteDel.Enabled());
    EXPECT_TRUE(form.mnuResultClickAddFav.Visible());
    EXPECT_TRUE(form.mnuResultClickDelFav.Visible());
    EXPECT_TRUE(form.mnudiv14.Visible());
    EXPECT_TRUE(form.pnlToolbarYour.Buttons("favadd").Enabled());

    form.clearResult();
    Keywords.IconSize = 16;
    select("f", openEntry(scratch.file("f.ico"), 0), "16 Color Icon", "File Favorite");
    EXPECT_FALSE(form.mnudiv14.Visible());
    EXPECT_FALSE(form.mnuResultClickAddFav.Visible());
    EXPECT_FALSE(form.mnuResultClickDelFav.Visible());
    EXPECT_FALSE(form.mnuFavoriteDel.Enabled());
    EXPECT_FALSE(form.mnuFavoriteAdd.Enabled()); // left as the clearing left it
    EXPECT_FALSE(form.mnuToolsChangeFolder.Enabled());
}

TEST_F(SelectionTest, TypePictureKeptForUnknownAndZoomFollows) {
    int zooms = 0;
    w.procZoom = [&zooms] { ++zooms; };
    select("a", openEntry(scratch.file("a.ico"), 0), "16 Color Cursor", "File");
    const Picture cursorPicture = w.TypePanel->GetPicture();
    EXPECT_FALSE(cursorPicture.empty());
    EXPECT_EQ(zooms, 0);
    Commands.ZoomWindowOpen = true;
    select("b", openEntry(scratch.file("b.ico"), 0), "Unknown", "File");
    EXPECT_TRUE(w.TypePanel->GetPicture() == cursorPicture);
    EXPECT_EQ(w.TypePanel->Text(), "Unknown");
    EXPECT_EQ(zooms, 1);
}

TEST_F(SelectionTest, IcoFileLoadsEveryImageAndShowsItsPath) {
    namespace ico = vmtest::ico;
    const std::string path = scratch.file("three.ico");
    ASSERT_TRUE(vmtest::writeFile(path, ico::icoFile({ico::dib(16, 16, 4), ico::dib(32, 32, 8), ico::dib(48, 48, 24)})));
    select("three", openEntry(path, 0), "16 Color Icon", "File");
    EXPECT_EQ(icon().ImageCount(), 3);
    EXPECT_EQ(gridRows(), 3);
    EXPECT_EQ(Selection.SelectedItemName, "three.ico");
    EXPECT_TRUE(strcasecmp(Selection.SelectedItemPath.c_str(), path.c_str()) == 0) << Selection.SelectedItemPath;
    EXPECT_EQ(Selection.SelectedItemFolder + Selection.SelectedItemName, Selection.SelectedItemPath);
    EXPECT_EQ(w.MessagePanel->Text(), Selection.SelectedItemPath);

    // A file that holds no icon formats leaves nothing of the previous icon behind.
    const std::string cursor = scratch.file("c.cur");
    ASSERT_TRUE(vmtest::writeFile(cursor, ico::icoFile({ico::dib(32, 32, 4)}, 2)));
    select("cur", openEntry(cursor, 0, '6'), "16 Color Cursor", "File");
    EXPECT_EQ(icon().ImageCount(), 0);
    EXPECT_EQ(gridRows(), 0);

    // A folder that is gone has no long form: the entry's path stands as it is.
    const std::string gone = scratch.file("gone") + "\\Three.ICO";
    select("gone", openEntry(gone, 0), "16 Color Icon", "File");
    EXPECT_EQ(Selection.SelectedItemPath, gone);
    EXPECT_EQ(Selection.SelectedItemName, "Three.ICO");
    EXPECT_EQ(icon().ImageCount(), 0);
}

TEST_F(SelectionTest, NarrowPanelShortensThePath) {
    namespace ico = vmtest::ico;
    const std::string folder = scratch.file("a rather long folder name for the panel");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\x.ico";
    ASSERT_TRUE(vmtest::writeFile(path, ico::icoFile({ico::dib(32, 32, 8)})));
    w.MessagePanel->SetWidth(form.TextWidth("...\\x.ico") + form.TextWidth(std::string(12, 'a')));
    select("x", openEntry(path, 0), "256 Color Icon", "File");
    const std::string shown = w.MessagePanel->Text();
    EXPECT_NE(shown, Selection.SelectedItemPath);
    ASSERT_NE(shown.find("...\\x.ico"), std::string::npos) << shown;
    EXPECT_EQ(Selection.SelectedItemFolder.rfind(shown.substr(0, shown.find("...\\")), 0), 0u) << shown;
}

TEST_F(SelectionTest, DllGroupsByPositionNumberedAndNamed) {
    namespace ico = vmtest::ico;
    const std::string dll = scratch.file("groups.dll");
    // Names come before numbers in the module's list: BETA, 1, 7.
    ASSERT_TRUE(ico::makeIconModule(dll, {{1, "", {ico::dib(16, 16, 4)}},
                                          {0, "BETA", {ico::dib(16, 16, 4), ico::dib(32, 32, 4)}},
                                          {7, "", {ico::dib(16, 16, 8), ico::dib(32, 32, 8), ico::dib(48, 48, 8)}}}));
    const int expected[] = {2, 1, 3};
    for (int index = 0; index < 3; ++index) {
        select("g", openEntry(dll, index), "256 Color Icon", "File");
        EXPECT_EQ(icon().ImageCount(), expected[index]) << index;
        EXPECT_EQ(gridRows(), expected[index]) << index;
    }
    select("g", openEntry(dll, 5), "256 Color Icon", "File");
    EXPECT_EQ(icon().ImageCount(), 0);
}

TEST_F(SelectionTest, ZipMemberIsExtractedWhereItsEntryNamesItAndRemoved) {
    namespace ico = vmtest::ico;
    const std::string archive = scratch.file("icons.zip");
    const std::string member = ico::icoFile({ico::dib(16, 16, 4), ico::dib(32, 32, 4)});
    ASSERT_TRUE(vmtest::writeFile(
        archive, vmtest::makeZipArchive({{"pair.ico", member}, {"icons/sub.ico", member}, {"../up.ico", member}})));
    ZipExtractions = ExtractedMembers{};
    const std::string folder = ZipArchiveFolder(ZipExtractions, 0, scratch.path() + "\\");
    ASSERT_FALSE(folder.empty());

    // Also a member in a sub-folder: extraction and the entry agree on the path.
    for (const char* name : {"pair.ico", "icons\\sub.ico"}) {
        SCOPED_TRACE(name);
        const std::string extracted = folder + name;
        select("pair", FileEntry({extracted, archive, "0"}, '0', kKindZip), "16 Color Icon", "ZIP File");
        EXPECT_EQ(icon().ImageCount(), 2);
        EXPECT_EQ(gridRows(), 2);
        EXPECT_FALSE(vmtest::fileExists(extracted));
        EXPECT_EQ(Selection.SelectedItemName, procGetFileName(extracted));
    }
    EXPECT_FALSE(vmtest::fileExists(folder + "icons")); // the folder extraction made goes too
    EXPECT_TRUE(ZipExtractions.paths.empty());

    // A file of that name that was there before is read but not deleted.
    ASSERT_TRUE(vmtest::writeFile(folder + "pair.ico", ico::icoFile({ico::dib(48, 48, 8)})));
    select("pair", FileEntry({folder + "pair.ico", archive, "0"}, '0', kKindZip), "16 Color Icon", "ZIP File");
    EXPECT_EQ(icon().ImageCount(), 1);
    EXPECT_TRUE(vmtest::fileExists(folder + "pair.ico"));

    // Outside the archive's folder, or climbing out of it, nothing is extracted.
    select("pair", FileEntry({scratch.file("pair.ico"), archive, "0"}, '0', kKindZip), "16 Color Icon", "ZIP File");
    EXPECT_EQ(icon().ImageCount(), 0);
    EXPECT_FALSE(vmtest::fileExists(scratch.file("pair.ico")));
    select("up", FileEntry({folder + "..\\up.ico", archive, "0"}, '0', kKindZip), "16 Color Icon", "ZIP File");
    EXPECT_EQ(icon().ImageCount(), 0);
    EXPECT_FALSE(vmtest::fileExists(scratch.file("up.ico")));
    ZipExtractions = ExtractedMembers{};
}

TEST_F(SelectionTest, LibraryIconGoesThroughATemporaryIconFile) {
    const std::string savedDataPath = paths.DataPath;
    paths.DataPath = scratch.path() + "\\";
    for (int size : {16, 32}) {
        CreateDirectoryA((scratch.path() + (size == 16 ? "\\Temp16" : "\\Temp32")).c_str(), nullptr);
        const std::string temp = scratch.path() + (size == 16 ? "\\Temp16" : "\\Temp32") + "\\icon.$$$";
        // A stale file from an earlier run must not be taken for this icon.
        ASSERT_TRUE(vmtest::writeFile(temp, "stale"));
        form.clearResult();
        Keywords.IconSize = size;
        form.imlResult32.SetImageWidth(size);
        form.imlResult32.SetImageHeight(size);
        form.addItem("apple", "1:2:01book", "256 Color Icon", "Vellumar Icons", RGB(200, 0, 0));
        procSelectItem(w);
        ASSERT_EQ(Selection.FileIcons.size(), 1u);
        ASSERT_EQ(icon().ImageCount(), 1) << size;
        EXPECT_EQ(icon().ImageWidth(1), size);
        EXPECT_EQ(icon().ImageHeight(1), size);
        EXPECT_EQ(icon().ImageColourCount(1), 256);
        EXPECT_EQ(Commands.SaveBitDepth, 8);
        EXPECT_EQ(gridRows(), 1);
        EXPECT_FALSE(vmtest::fileExists(temp)) << size;
        EXPECT_EQ(Selection.SelectedItemPath, "");
        EXPECT_EQ(w.MessagePanel->Text(), "Vellumar Icons");
        EXPECT_EQ(GetPixel(form.pctColor.hDC(), size / 2, size / 2), RGB(200, 0, 0));
        EXPECT_EQ(GetPixel(form.pctMask.hDC(), size / 2, size / 2), RGB(0, 0, 0));
    }
    paths.DataPath = savedDataPath;
}

TEST_F(SelectionTest, LibraryIconIsTheItemsOwnWhileTheGridIsActive) {
    namespace ico = vmtest::ico;
    const std::string savedDataPath = paths.DataPath;
    paths.DataPath = scratch.path() + "\\";
    CreateDirectoryA((scratch.path() + "\\Temp32").c_str(), nullptr);
    const std::string path = scratch.file("big.ico");
    ASSERT_TRUE(vmtest::writeFile(path, ico::icoFile({ico::dib(48, 48, 4)})));
    select("big", openEntry(path, 0), "16 Color Icon", "File");
    ASSERT_EQ(icon().ImageCount(), 1);

    // The grid's row was clicked last; then a library item is selected.
    Commands.DetailPaneActive = true;
    Masks.CurrentIndex = 1;
    form.imlResult32.SetImageWidth(32);
    form.imlResult32.SetImageHeight(32);
    form.addItem("apple", "1:2:01book", "256 Color Icon", "Vellumar Icons", RGB(200, 0, 0));
    procSelectItem(w);
    paths.DataPath = savedDataPath;
    ASSERT_EQ(icon().ImageCount(), 1);
    EXPECT_EQ(icon().ImageWidth(1), 32);
    EXPECT_EQ(icon().ImageColourCount(1), 256);
    EXPECT_EQ(Commands.SaveBitDepth, 8);
    EXPECT_EQ(GetPixel(form.pctColor.hDC(), 16, 16), RGB(200, 0, 0));
    EXPECT_TRUE(Commands.DetailPaneActive);
}

TEST_F(SelectionTest, MaskSourcesByModeFlags) {
    namespace ico = vmtest::ico;
    const std::string path = scratch.file("two.ico");
    ASSERT_TRUE(vmtest::writeFile(path, ico::icoFile({ico::dib(16, 16, 4), ico::dib(48, 48, 24)})));
    select("two", openEntry(path, 0), "16 Color Icon", "File"); // its result picture is blue
    IconCanvas canvas = w.canvas();
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    auto colourAt = [&](int x, int y) { return GetPixel(form.pctColor.hDC(), x, y); };

    procMask(canvas, 32, 32);
    procGetSaveBitDepth(canvas);
    EXPECT_EQ(colourAt(16, 16), RGB(0, 0, 255));
    EXPECT_EQ(Commands.SaveBitDepth, 4);

    // A detail image is copied at the size asked for, whatever the data set's.
    Commands.DetailPaneActive = true;
    Masks.CurrentIndex = 2;
    procMask(canvas, 48, 48);
    procGetSaveBitDepth(canvas);
    EXPECT_EQ(form.pctMask.pixelWidth(), 48);
    EXPECT_EQ(GetPixel(form.pctMask.hDC(), 0, 47), white); // the transparent corner
    EXPECT_EQ(GetPixel(form.pctMask.hDC(), 47, 47), black);
    EXPECT_EQ(Commands.SaveBitDepth, 24);
    Masks.CurrentIndex = 1;
    procGetSaveBitDepth(canvas);
    EXPECT_EQ(Commands.SaveBitDepth, 4);

    // The change window's picture wins over the detail grid, asked for or
    // while a change is applied; so does the create-icon window's.
    ASSERT_TRUE(Commands.DetailPaneActive);
    Masks.changePicture = [] { return Picture::fromIcon(vmtest::filledIcon(32, RGB(200, 0, 0))); };
    Masks.MaskFromChange = true;
    procMask(canvas, 32, 32);
    EXPECT_EQ(colourAt(5, 5), RGB(200, 0, 0));
    Masks.MaskFromChange = false;
    Commands.ChangeApplying = true;
    procMask(canvas, 32, 32);
    EXPECT_EQ(colourAt(5, 5), RGB(200, 0, 0));
    Commands.ChangeApplying = false;
    Masks.importPicture = [] { return Picture::fromIcon(vmtest::filledIcon(32, RGB(0, 0, 120))); };
    Masks.MaskFromImport = true;
    procMask(canvas, 32, 32);
    EXPECT_EQ(colourAt(5, 5), RGB(0, 0, 120));
    Masks.MaskFromImport = false;

    // Frames count from 0; element 1 of the film is the first.
    Masks.filmFrame = [](int element) {
        return element == 1 ? Picture::fromIcon(vmtest::filledIcon(32, RGB(0, 200, 0))) : Picture{};
    };
    Masks.SaveFramesMode = true;
    Masks.CurrentIndex = 0;
    procMask(canvas, 32, 32);
    EXPECT_EQ(colourAt(5, 5), RGB(0, 200, 0));
    // A missing frame leaves blank surfaces, not the picture written before.
    Masks.CurrentIndex = 1;
    procMask(canvas, 32, 32);
    EXPECT_EQ(colourAt(5, 5), black);
}

namespace {
// A monochrome icon: one bitmap of twice its height holds the mask (top-left
// 8 pixels of the first row transparent) above the picture (left half white).
HICON monochromeIcon() {
    std::vector<std::uint8_t> bits(4 * 64, 0);
    bits[0] = 0xFF;
    for (int y = 32; y < 64; ++y) bits[static_cast<size_t>(y) * 4] = bits[static_cast<size_t>(y) * 4 + 1] = 0xFF;
    HBITMAP mask = CreateBitmap(32, 64, 1, 1, bits.data());
    ICONINFO ii{TRUE, 0, 0, mask, nullptr};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    return icon;
}
} // namespace

TEST_F(SelectionTest, MonochromeIconGivesBothPlanes) {
    Masks.importPicture = [] { return Picture::fromIcon(monochromeIcon()); };
    Masks.MaskFromImport = true;
    IconCanvas canvas = w.canvas();
    procMask(canvas, 32, 32);
    Masks.MaskFromImport = false;
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    EXPECT_EQ(GetPixel(form.pctColor.hDC(), 4, 10), white);
    EXPECT_EQ(GetPixel(form.pctColor.hDC(), 24, 10), black);
    EXPECT_EQ(GetPixel(form.pctMask.hDC(), 4, 0), white);
    EXPECT_EQ(GetPixel(form.pctMask.hDC(), 4, 5), black);
}

TEST_F(SelectionTest, DamagedFilesSelectQuicklyAndLeaveTheWindowAnswering) {
    namespace ico = vmtest::ico;
    namespace damaged = vmtest::damaged;
    const std::string good = scratch.file("good.dll");
    ASSERT_TRUE(ico::makeIconModule(good, {{1, "", {ico::dib(16, 16, 4), ico::dib(32, 32, 8)}}}));
    auto answering = [&] {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(form.hWnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    };
    auto timed = [&](const std::string& tag, const std::string& what) {
        const vmtest::CpuStopwatch work;
        select("bad", tag, "256 Color Icon", "File");
        EXPECT_LT(work.ms(), 3000u) << what;
        EXPECT_TRUE(answering()) << what;
    };
    for (const auto& sample : damaged::modules(vmtest::readFile(good), 40)) {
        const std::string path = scratch.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        timed(openEntry(path, 0), sample.name);
        if (sample.name.rfind("flipped-", 0) != 0) {
            EXPECT_EQ(icon().ImageCount(), 0) << sample.name;
        }
        EXPECT_EQ(gridRows(), icon().ImageCount()) << sample.name;
    }
    // Damaged icons, opened and inside an archive; an extracted copy is removed again.
    std::vector<vmtest::ZipFixtureMember> members;
    for (const auto& sample : damaged::iconFiles()) {
        const std::string path = scratch.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        timed(openEntry(path, 0), sample.name);
        ASSERT_TRUE(DeleteFileA(path.c_str()));
        members.push_back({sample.name, sample.bytes});
    }
    const std::string archive = scratch.file("damaged.zip");
    ASSERT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive(members)));
    for (const auto& m : members) {
        timed(FileEntry({scratch.file(m.name), archive, "0"}, '1', kKindZip), "zip " + m.name);
        EXPECT_FALSE(vmtest::fileExists(scratch.file(m.name))) << m.name;
    }
}
