// Play: the frames of an animation gathered from the entry list, for files,
// ZIP members and the player.
#include <gtest/gtest.h>

#include <windows.h>

#include "browserstate.h"
#include "exportwindow.h"
#include "framecollect.h"
#include "framefilm.h"
#include "frmani.h"
#include "ico_fixtures.h"
#include "iconcanvas.h"
#include "resultentry.h"
#include "viewerform.h"
#include "viewerhost.h"
#include "zipcleanup.h"
#include "zipwriter.h"

using namespace vm;

TEST(AnimationKeys, AZipFramesKeyHoldsItsArchiveAndOtherKindsKeepTheirFields) {
    const std::string a = FileEntry({"c:\\tmp\\spin.ani", "c:\\one.zip", "0", "x"}, 'a', kKindZip);
    const std::string b = FileEntry({"c:\\tmp\\spin.ani", "c:\\two.zip", "0", "x"}, 'a', kKindZip);
    EXPECT_NE(AnimationKey(a), AnimationKey(b));
    EXPECT_EQ(AnimationKey(a), AnimationKey(FileEntry({"c:\\tmp\\spin.ani", "c:\\one.zip", "7", "x"}, 'a', kKindZip)));
    EXPECT_EQ(AnimationKey(FileEntry({"c:\\f.ani", "2", "x"}, 'b', kKindOpen)), "c:\\f.anibopen");
    EXPECT_EQ(AnimationKey("12:3:abook"), "12abook");
    EXPECT_EQ(AnimationKey(FileEntry({"c:\\f.lnk", "0", "c:\\app.exe"}, '1', kKindShortcut)), "");
}

namespace {

class PlayTest : public viewertest::ViewerTest {
protected:
    void TearDown() override {
        if (frmAni().IsLoaded()) frmAni().Unload();
        ViewerTest::TearDown();
    }
    std::string framesIco() {
        namespace ico = vmtest::ico;
        return ico::icoFile({ico::dib(32, 32, 24)});
    }
};

} // namespace

TEST_F(PlayTest, ZipFramesOfTwoArchivesWithTheSameMemberAreGatheredApartAndTheCopyIsRemoved) {
    const std::string one = scratch.file("one.zip"), two = scratch.file("two.zip");
    ASSERT_TRUE(vmtest::writeFile(one, vmtest::makeZipArchive({{"frames.ico", framesIco()}})));
    ASSERT_TRUE(vmtest::writeFile(two, vmtest::makeZipArchive({{"frames.ico", framesIco()}})));
    // Both archives' members go to one private folder here: only the key tells them apart.
    CreateDirectoryA(scratch.file("z").c_str(), nullptr);
    ZipExtractions = ExtractedMembers{};
    ZipExtractions.folders = {scratch.file("z") + "\\"};
    const std::string member = scratch.file("z\\frames.ico");
    HiddenList& list = Entries.cmbResult;
    for (int i = 0; i < 3; ++i) list.AddItem(FileEntry({member, one, std::to_string(i), "x"}, 'a', kKindZip));
    for (int i = 0; i < 2; ++i) list.AddItem(FileEntry({member, two, std::to_string(i), "x"}, 'a', kKindZip));

    form.addItem("frames", "Animated Icon", RGB(0, 0, 255), list.List(3));
    Masks.SaveFramesMode = true;
    mnuFilePlay_Click(w);
    EXPECT_EQ(Exports.AniFrameCount, 2);
    EXPECT_FALSE(vmtest::fileExists(member));
    EXPECT_FALSE(frmAni().IsLoaded());

    form.addItem("frames", "Animated Icon", RGB(0, 0, 255), list.List(1));
    mnuFilePlay_Click(w);
    EXPECT_EQ(Exports.AniFrameCount, 3);
    for (const Picture& p : Exports.picFilm) EXPECT_FALSE(p.empty());
    EXPECT_FALSE(vmtest::fileExists(member));
    EXPECT_TRUE(ZipExtractions.paths.empty());
    ZipExtractions = ExtractedMembers{};
}

TEST_F(PlayTest, PlayStartsThePlayerAtTheFirstFrameOfTheAnimationOfAnyFrame) {
    const std::string file = scratch.file("frames.ico");
    ASSERT_TRUE(vmtest::writeFile(file, framesIco()));
    HiddenList& list = Entries.cmbResult;
    list.AddItem(FileEntry({file, "0", "x"}, '1', kKindOpen)); // a still icon of the same file
    for (int i = 0; i < 4; ++i) list.AddItem(FileEntry({file, std::to_string(i), "x"}, 'a', kKindOpen));
    form.addItem("frames", "Animated Icon", RGB(0, 0, 255), list.List(3));
    Viewers.AniFrameIndex = 3;
    mnuFilePlay_Click(w);
    EXPECT_EQ(Exports.AniFrameCount, 4);
    EXPECT_EQ(Viewers.AniFrameIndex, 1);
    EXPECT_TRUE(frmAni().IsLoaded());
    EXPECT_EQ(frmAni().picIconBack.ToolTipText(), "4 frames");

    // An item of a kind without frames plays nothing.
    frmAni().Unload();
    form.addItem("app", "Shortcut Icon", RGB(0, 0, 255), FileEntry({"c:\\a.lnk", "0", "c:\\a.exe"}, '1', kKindShortcut));
    mnuFilePlay_Click(w);
    EXPECT_FALSE(frmAni().IsLoaded());
    EXPECT_EQ(Exports.AniFrameCount, 4);
}
