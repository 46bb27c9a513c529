// Opening the user's own files: File > Open by File and Open by Folder, and
// the paths a later start of the program hands over.
#include "scenario.h"

#include <algorithm>
#include <cstdlib>

#include "browserstate.h"
#include "damagedfiles.h"
#include "dialogforms.h"
#include "drawnpixel.h"
#include "getfield.h"
#include "hostreader.h"
#include "iclfile.h"
#include "ico_fixtures.h"
#include "instance.h"
#include "patience.h"
#include "registry.h"
#include "state.h"
#include "widefile.h"
#include "zipwriter.h"

using namespace vm;
using namespace vmscenario;

namespace {
using Texts = std::vector<std::string>;
namespace fx = vmtest::ico;

void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// An animated icon of `count` frames, each a 32 x 32 icon file.
std::string animation(int count) {
    std::string list = "fram";
    for (int i = 0; i < count; ++i) {
        const std::string frame = fx::icoFile({fx::dib(32, 32, 8, static_cast<unsigned>(i))});
        list += "icon";
        put32(list, static_cast<std::uint32_t>(frame.size()));
        list += frame;
    }
    std::string body = "ACONanih";
    put32(body, 36);
    for (std::uint32_t v : {36u, static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(count), 0u, 0u, 0u,
                            0u, 10u, 1u})
        put32(body, v);
    body += "LIST";
    put32(body, static_cast<std::uint32_t>(list.size()));
    body += list;
    std::string riff = "RIFF";
    put32(riff, static_cast<std::uint32_t>(body.size()));
    return riff + body;
}

// A folder with a blank in its name holding an icon of two sizes, an
// animation of four frames and an archive with an icon in a sub-folder.
class OpenScenario : public MainWindowScenario {
protected:
    void prepare() override {
        CreateDirectoryA(folder().c_str(), nullptr);
        CreateDirectoryA(dir.file("tmp").c_str(), nullptr);
        paths.TempPath = dir.file("tmp") + "\\";
        const std::string pair = fx::icoFile({fx::dib(16, 16, 4), fx::dib(32, 32, 4)});
        ASSERT_TRUE(vmtest::writeFile(folder() + "\\a.ico", pair));
        ASSERT_TRUE(vmtest::writeFile(folder() + "\\wait.ani", animation(4)));
        ASSERT_TRUE(vmtest::writeFile(folder() + "\\pack.zip", vmtest::makeZipArchive({{"icons/z.ico", pair}})));
    }
    std::string folder() const { return dir.file("my icons"); }
    // Waits until the result list shows count items or about ten seconds have passed.
    void waitForItems(int count) {
        for (int i = 0; i < 200 && w().pnlResult.ListItems.Count() != count; ++i) settle(50);
    }
};

} // namespace

TEST_F(OpenScenario, OpenByFileListsFilesFramesAndArchiveMembersAndShowsTheirFormats) {
    {
        Answer open("Open by File", filesNamed(folder(), {"a.ico", "wait.ani", "pack.zip"}));
        chooseMenu({"&File", "&Open by File..."});
    }
    const std::string zip = folder() + "\\pack.zip";
    EXPECT_EQ(itemTexts(w().pnlResult), (Texts{"a.ico", "wait.ani frame 1", "wait.ani frame 2", "wait.ani frame 3",
                                               "wait.ani frame 4", "z.ico in " + zip}));
    EXPECT_EQ(itemTexts(w().pnlResult, 2), (Texts{"File", "File", "File", "File", "File", "ZIP File"}));
    EXPECT_EQ(panelText("count"), "6 Icon(s)");
    EXPECT_TRUE(w().mnuFile.Enabled()); // idle again

    // The archive member: both its images in the detail grid, and its copy gone again.
    clickItem(w().pnlResult, 6);
    EXPECT_EQ(selectedItem(w().pnlResult), 6);
    EXPECT_EQ(panelText("type"), "16 Color Icon");
    EXPECT_EQ(w().grdIcons.ItemCount(), 2);
    const std::string member = procGetField(w().pnlResult.ListItems(6).Tag, ';', 1);
    EXPECT_NE(member.find("\\icons\\z.ico"), std::string::npos);
    EXPECT_FALSE(vmtest::fileExists(member));

    // A frame of the animation: an animated icon, no image formats of its own.
    clickItem(w().pnlResult, 3);
    EXPECT_EQ(panelText("type"), "Animated Icon");
    EXPECT_EQ(w().grdIcons.ItemCount(), 0);
    clickItem(w().pnlResult, 1);
    EXPECT_EQ(w().grdIcons.ItemCount(), 2);
}

TEST_F(OpenScenario, ExtractFromZipWritesTheMemberUnderItsOwnNameIntoTheChosenFolder) {
    // The picker starts in the folder the file was opened from; the hand picks a folder in it.
    const std::string target = folder() + "\\extracted";
    CreateDirectoryA(target.c_str(), nullptr);
    {
        Answer open("Open by File", filesNamed(folder(), {"pack.zip"}));
        chooseMenu({"&File", "&Open by File..."});
    }
    ASSERT_EQ(itemTexts(w().pnlResult).size(), 1u);
    clickItem(w().pnlResult, 1);
    {
        Answer pick("Browse for Folder", folderChosen(target));
        chooseMenu({"&File", "Extract from &ZIP..."});
    }
    EXPECT_EQ(vmtest::readFile(target + "\\z.ico"), fx::icoFile({fx::dib(16, 16, 4), fx::dib(32, 32, 4)}));
    EXPECT_FALSE(vmtest::fileExists(target + "\\icons"));
}

TEST_F(OpenScenario, OpenByFolderShowsTheScanWindow) {
    // The scan window opens on the folder scanned last; its picker starts there.
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "ScanDirectory", Variant(dir.path()), REG_SZ);
    Answer shown("Open by Folder", {onProgram([this] {
        FrmScan& s = frmScan();
        EXPECT_EQ(s.txtDir.Text(), dir.path());
        {
            Answer pick("Browse for Folder", folderChosen(folder()));
            click(s.cmdBrowse);
        }
        EXPECT_EQ(s.txtDir.Text(), folder());
        EXPECT_TRUE(s.cmdStart.Enabled());
        click(s.cmdCancel);
    })});
    chooseMenu({"&File", "Open by &Folder..."});
    EXPECT_TRUE(shown.answered());
    EXPECT_FALSE(frmScan().IsLoaded() && frmScan().Visible());
}

TEST_F(OpenScenario, ASecondStartHandsOverAFolderWhoseNameHasABlank) {
    ASSERT_TRUE(shell::procIsFirstInstance(shell::kMutexName));
    startProgramAgain(folder());
    waitForItems(5);
    // The folder's icon files; the archive found inside a folder is not opened.
    EXPECT_EQ(itemTexts(w().pnlResult), (Texts{"a.ico", "wait.ani frame 1", "wait.ani frame 2", "wait.ani frame 3",
                                               "wait.ani frame 4"}));
    EXPECT_EQ(panelText("count"), "5 Icon(s)");
    EXPECT_TRUE(runState.PassedFile.empty());
}

// A second start while a modal window is open leaves that window in front
// with the keys, and no higher than before: Esc still closes it.
TEST_F(OpenScenario, AHandOverWhileAModalWindowIsOpenLeavesItInFront) {
    ASSERT_TRUE(shell::procIsFirstInstance(shell::kMutexName));
    bool front = false, topmost = true;
    Answer options("Options", {onProgram([&] {
        startProgramAgain(folder());
        HWND o = frmOptions().hWnd();
        front = vmtest::waitUntil([&] { return GetForegroundWindow() == o; }, [] { settle(50); }, kFrontMs);
        topmost = (GetWindowLongA(o, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        press(VK_ESCAPE);
    })});
    chooseMenu({"&View", "&Options..."});
    EXPECT_TRUE(options.answered());
    EXPECT_TRUE(front) << "the hand-over took the keys from Options";
    EXPECT_FALSE(topmost) << "Options was left above every window";
    EXPECT_FALSE(frmOptions().IsLoaded() && frmOptions().Visible()) << "Esc did not close Options";
    waitForItems(5);
}

// Paths longer than MAX_PATH: a folder and an archive handed over on the
// command line are listed, drawn and read; the Open dialog, which cannot take
// such a folder to start in, is not handed it, and that is said.
TEST_F(OpenScenario, PathsLongerThanMaxPathAreListedReadAndKeptFromTheDialog) {
    ASSERT_TRUE(shell::procIsFirstInstance(shell::kMutexName)); // later starts hand their paths over
    std::string deep = dir.file("deep");
    ASSERT_TRUE(wide::MakeFolder(deep));
    while (deep.size() <= MAX_PATH) {
        deep += "\\" + std::string(60, 'd');
        ASSERT_TRUE(wide::MakeFolder(deep));
    }
    const std::string pair = fx::icoFile({fx::dib(16, 16, 4), fx::dib(32, 32, 4)});
    ASSERT_TRUE(vmtest::writeFile(deep + "\\a.ico", pair));
    ASSERT_TRUE(vmtest::writeFile(deep + "\\pack.zip", vmtest::makeZipArchive({{"icons/z.ico", pair}})));
    // The icon is drawn as from the folder of a short path, not as the placeholder.
    COLORREF drawn = CLR_INVALID;
    const std::pair<std::string, Texts> passes[] = {
        {folder(), {"a.ico", "wait.ani frame 1", "wait.ani frame 2", "wait.ani frame 3", "wait.ani frame 4"}},
        {deep, {"a.ico"}},
        {deep + "\\pack.zip", {"z.ico in " + deep + "\\pack.zip"}}};
    for (const auto& [passed, listed] : passes) {
        startProgramAgain(passed);
        for (int i = 0; i < 200 && itemTexts(w().pnlResult) != listed; ++i) settle(50);
        ASSERT_EQ(itemTexts(w().pnlResult), listed) << panelText("message");
        clickItem(w().pnlResult, 1);
        EXPECT_EQ(w().grdIcons.ItemCount(), 2) << passed; // both images read
        const COLORREF middle = vmtest::drawnPixel(w().imlResult32.hImageList(), 0, 16, 16, RGB(0, 0, 0), 32);
        if (drawn == CLR_INVALID) drawn = middle;
        EXPECT_EQ(middle, drawn) << passed;
    }

    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "ScanDirectory", Variant(deep + "\\"), REG_SZ);
    {
        Answer told("Vellumar", {clickOn("OK")});
        Answer open("Open by File", filesNamed(folder(), {"a.ico"}));
        chooseMenu({"&File", "&Open by File..."});
        const ShownControl* text = told.seen().find("The path", true);
        ASSERT_TRUE(text);
        EXPECT_NE(text->text.find(deep), std::string::npos);
    }
    EXPECT_EQ(itemTexts(w().pnlResult), (Texts{"a.ico"}));
}

// An archive of names Windows cannot give a file lists the others and says in
// the message panel how many it left out and why. Esc stops the read of an
// archive of 65,535 members.
TEST_F(OpenScenario, ArchivesSayWhatTheyLeftOutAndALongReadAnswersAndStopsOnEsc) {
    for (const auto& s : vmtest::damaged::zipArchives())
        if (s.name == "hostile-names.zip") vmtest::writeFile(folder() + "\\" + s.name, s.bytes);
    {
        Answer open("Open by File", filesNamed(folder(), {"hostile-names.zip"}));
        chooseMenu({"&File", "&Open by File..."});
    }
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 9u);
    EXPECT_EQ(panelText("message"), "Left out 15 member(s) of hostile-names.zip: device names, forbidden characters, "
                                    "a dot or blank at the end");

    std::vector<vmtest::ZipFixtureMember> members;
    for (int i = 0; i < 65535; ++i) members.push_back({std::to_string(i) + ".txt", "x", false});
    ASSERT_TRUE(vmtest::writeFile(folder() + "\\most.zip", vmtest::makeZipArchive(members)));
    // The second hand reads the member line that arrived last in the listing
    // box and presses Esc at member 3000. (How soon the window answers
    // meanwhile is bounded by processor time below, not the wall clock.)
    const HWND box = w().txtZIP.hWnd();
    auto reached = [box] {
        char line[128] = {};
        GetWindowTextA(box, line, sizeof line);
        const std::string member = procGetField(line, '|', 5);
        return member.ends_with(".txt") && std::atoi(member.c_str()) >= 3000;
    };
    {
        KeyDuringWork esc(VK_ESCAPE, reached);
        Answer open("Open by File", filesNamed(folder(), {"most.zip"}));
        chooseMenu({"&File", "&Open by File..."});
        ASSERT_TRUE(esc.pressed()) << "the read never reached member 3000";
    }
    EXPECT_EQ(panelText("message"), "Aborted!");
    EXPECT_LT(Entries.lstZipIcons.ListCount(), 65535);
    EXPECT_TRUE(w().mnuFile.Enabled());
}

// An archive of 65,535 members, one in 64 of them an icon, opens to its first
// page with the window answering throughout, from the choice in the dialog on:
// through the read of its directory, the listing of its members and of its
// icons, and the page. The window's thread never works more than 0.5 s of
// processor time between a second hand's question and its answer, and the
// whole opening takes well under a minute of it.
TEST_F(OpenScenario, AnArchiveOf65535MembersAnswersThroughoutItsOpening) {
    const std::string icon = fx::icoFile({fx::dib(32, 32, 8, 7u)});
    std::vector<vmtest::ZipFixtureMember> members;
    for (int i = 0; i < 65535; ++i)
        members.push_back({"m/" + std::to_string(i) + (i % 64 ? ".txt" : ".ico"), i % 64 ? "x" : icon, false});
    ASSERT_TRUE(vmtest::writeFile(folder() + "\\huge.zip", vmtest::makeZipArchive(members)));
    const vmtest::CpuStopwatch opening;
    {
        vmtest::AnswerWatch watch(w().hWnd());
        {
            Answer open("Open by File", filesNamed(folder(), {"huge.zip"}));
            chooseMenu({"&File", "&Open by File..."});
        }
        watch.stop();
        EXPECT_LT(watch.longestMs(), 500u) << "after " << watch.answers() << " answers";
    }
    EXPECT_LT(opening.ms(), 30000u);
    EXPECT_EQ(panelText("count"), "1024 Icon(s)");
    const Texts items = itemTexts(w().pnlResult);
    ASSERT_EQ(items.size(), 150u);
    EXPECT_EQ(items[1], "64.ico in " + folder() + "\\huge.zip");
}

namespace {

// An icon library of three icons (red, green, blue; 4, 8 and 32 bits, one
// group named) in a folder of its own, and an archive holding a copy.
class IclScenario : public OpenScenario {
protected:
    void prepare() override {
        OpenScenario::prepare();
        const std::string library =
            vmtest::icl::iclFile({{1, "", {fx::solidDib(16, 4, 0xC00000), fx::solidDib(32, 4, 0xC00000)}},
                                  {0, "Leaf", {fx::solidDib(32, 8, 0x00C000)}},
                                  {5, "", {fx::solidDib(32, 4, 0x0000C0), fx::solidDib(48, 32, 0x0000C0)}}});
        CreateDirectoryA(libraries().c_str(), nullptr);
        ASSERT_TRUE(vmtest::writeFile(libraries() + "\\icons.icl", library));
        ASSERT_TRUE(vmtest::writeFile(libraries() + "\\libs.zip", vmtest::makeZipArchive({{"old/icons.icl", library}})));
    }
    std::string libraries() const { return dir.file("libraries"); }
    // The colour in the middle of result picture n.
    COLORREF middle(int n) {
        return vmtest::drawnPixel(w().imlResult32.hImageList(), n - 1, 16, 16, RGB(0, 0, 0), 32);
    }
};

const COLORREF kShown[] = {RGB(0xC0, 0, 0), RGB(0, 0xC0, 0), RGB(0, 0, 0xC0)};

} // namespace

TEST_F(IclScenario, OpenByFileListsEveryIconOfALibraryAndOfOneInAnArchiveInColour) {
    {
        Answer open("Open by File", filesNamed(libraries(), {"icons.icl", "libs.zip"}));
        chooseMenu({"&File", "&Open by File..."});
    }
    const std::string in = " in " + libraries() + "\\libs.zip";
    EXPECT_EQ(itemTexts(w().pnlResult), (Texts{"icons.icl #1 of 3", "icons.icl #2 of 3", "icons.icl #3 of 3",
                                               "icons.icl #1 of 3" + in, "icons.icl #2 of 3" + in,
                                               "icons.icl #3 of 3" + in}));
    EXPECT_EQ(itemTexts(w().pnlResult, 1), Texts(6, "Icon Library"));
    EXPECT_EQ(panelText("count"), "6 Icon(s)");
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(middle(i), kShown[(i - 1) % 3]) << i;
    // A library's icon lists the images of its group, as a DLL's does, and
    // Save As from the grid writes the image chosen there.
    clickItem(w().pnlResult, 6);
    EXPECT_EQ(panelText("type"), "Icon Library");
    ASSERT_EQ(w().grdIcons.ItemCount(), 2);
    click(w().grdIcons, 20, 90);
    {
        Answer menu(kPopupMenu, {chooseLine("Save As...")});
        Answer save("Save As", fileNamed(dir.file("chosen")));
        rightClick(w().grdIcons, 20, 90);
    }
    EXPECT_EQ(vmtest::icoImageOnHost(dir.file("chosen.ico")).width, 48);
    clickItem(w().pnlResult, 5);
    EXPECT_EQ(w().grdIcons.ItemCount(), 1);
    EXPECT_TRUE(w().mnuFileSaveAs.Enabled());
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    chooseMenu({"&Edit", "&Copy"});
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(IclScenario, AFolderOnTheCommandLineListsItsLibrariesAndSaveAsWritesEachIconAsAnIconFile) {
    ASSERT_TRUE(shell::procIsFirstInstance(shell::kMutexName));
    startProgramAgain(libraries());
    waitForItems(3);
    ASSERT_EQ(itemTexts(w().pnlResult), (Texts{"icons.icl #1 of 3", "icons.icl #2 of 3", "icons.icl #3 of 3"}));
    std::string listed;
    for (int i = 1; i <= 3; ++i) {
        clickItem(w().pnlResult, i);
        {
            Answer save("Save As", fileNamed(dir.file("saved" + std::to_string(i))));
            chooseMenu({"&File", "Save &As..."});
        }
        const std::string saved = dir.file("saved" + std::to_string(i) + ".ico");
        ASSERT_TRUE(vmtest::fileExists(saved)) << i;
        // The file written is the icon shown, in colour.
        vm::cFileIcon icon;
        ASSERT_TRUE(icon.LoadIcon(saved));
        ASSERT_EQ(icon.ImageCount(), 1);
        EXPECT_EQ(icon.ImageWidth(1), 32);
        EXPECT_GE(icon.ImageColourCount(1), 16777216);
        listed += "saved" + std::to_string(i) + ".ico ";
    }
    // The host's icoutils read every file written.
    ASSERT_TRUE(vmtest::runOnHost(dir.path(), "icotool -l " + listed + " >list.txt 2>&1; echo rc=$? >>list.txt"));
    const std::string report = vmtest::readFile(dir.file("list.txt"));
    EXPECT_NE(report.find("rc=0"), std::string::npos) << report;
    int images = 0;
    for (std::size_t at = 0; (at = report.find("--icon --index=1 --width=32 --height=32", at)) != std::string::npos; ++at)
        ++images;
    EXPECT_EQ(images, 3) << report;
}
