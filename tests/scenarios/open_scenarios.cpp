// Opening the user's own files: File > Open by File and Open by Folder, and
// the paths a later start of the program hands over.
#include "scenario.h"

#include "browserstate.h"
#include "dialogforms.h"
#include "getfield.h"
#include "ico_fixtures.h"
#include "instance.h"
#include "seam.h"
#include "state.h"
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
    const std::string nul(1, '\0');
    Seam::get().queue({1, folder() + nul + "a.ico" + nul + "wait.ani" + nul + "pack.zip", false});
    chooseMenu({"&File", "&Open by File..."});
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().prompt, "Open by File");
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
    const std::string nul(1, '\0');
    Seam::get().queue({1, folder() + nul + "pack.zip", false});
    chooseMenu({"&File", "&Open by File..."});
    ASSERT_EQ(itemTexts(w().pnlResult).size(), 1u);
    clickItem(w().pnlResult, 1);
    const std::string target = dir.file("extracted");
    CreateDirectoryA(target.c_str(), nullptr);
    Seam::get().queueText(target);
    chooseMenu({"&File", "Extract from &ZIP..."});
    EXPECT_EQ(vmtest::readFile(target + "\\z.ico"), fx::icoFile({fx::dib(16, 16, 4), fx::dib(32, 32, 4)}));
    EXPECT_FALSE(vmtest::fileExists(target + "\\icons"));
}

TEST_F(OpenScenario, OpenByFolderShowsTheScanWindow) {
    chooseMenu({"&File", "Open by &Folder..."});
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().kind, "Form");
    EXPECT_EQ(Seam::get().requests().back().prompt, "frmScan");
    frmScan().Unload();
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
    shell::procReleaseInstanceMutex();
}
