// Copy and Save All Formats on a hidden form, and the frame collection of an
// animation's entries.
#include <gtest/gtest.h>

#include <windows.h>

#include "browserstate.h"
#include "cfileicon.h"
#include "commandstate.h"
#include "exportcommands.h"
#include "exportform.h"
#include "framecollect.h"
#include "ico_fixtures.h"
#include "registry.h"
#include "resultentry.h"
#include "scratch.h"
#include "seam.h"
#include "selection.h"

using namespace vm;
using exporttest::FrmExport;

namespace {

class CopyTest : public exporttest::ExportFormTest {
protected:
    // FileIcons(1) with a 16 x 16 and a 48 x 48 image, listed in the grid.
    void twoFormats() {
        namespace ico = vmtest::ico;
        const std::string path = scratch.file("two.ico");
        ASSERT_TRUE(vmtest::writeFile(path, ico::icoFile({ico::dib(16, 16, 4), ico::dib(48, 48, 24)})));
        Selection.FileIcons.assign(1, cFileIcon{});
        ASSERT_TRUE(Selection.FileIcons.front().LoadIcon(path));
        form.grdIcons.Init(Selection.FileIcons.front());
    }
    // The clipboard's bitmap: its size and one pixel.
    static bool clipboard(SIZE& size, COLORREF& pixel, int x, int y) {
        if (!OpenClipboard(nullptr)) return false;
        HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        bool ok = bitmap != nullptr;
        if (ok) {
            BITMAP info{};
            GetObject(bitmap, sizeof info, &info);
            size = {info.bmWidth, info.bmHeight};
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, bitmap);
            pixel = GetPixel(dc, x, y);
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        CloseClipboard();
        return ok;
    }

    vmtest::ScratchDir scratch;
};

} // namespace

TEST_F(CopyTest, CopyPutsTheIconOverItsBackgroundOnTheClipboard) {
    form.addItem("x", "16 Color Icon", RGB(0, 160, 0));
    form.pnlResult.SetBackColor(RGB(10, 20, 30));
    mnuEditCopy_Click(w);
    SIZE size{};
    COLORREF corner = 0, inside = 0;
    ASSERT_TRUE(clipboard(size, corner, 1, 1));
    ASSERT_TRUE(clipboard(size, inside, 20, 20));
    EXPECT_EQ(size.cx, 32);
    EXPECT_EQ(corner, RGB(10, 20, 30));
    EXPECT_EQ(inside, RGB(0, 160, 0));

    w.useMask = [] { return true; };
    w.maskColor = [] { return RGB(255, 0, 255); };
    mnuEditCopy_Click(w);
    ASSERT_TRUE(clipboard(size, corner, 1, 1));
    EXPECT_EQ(corner, RGB(255, 0, 255));

    // With nothing selected the clipboard keeps what it had.
    form.pnlResult.SetSelectedItem(nullptr);
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    mnuEditCopy_Click(w);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(CopyTest, CopyOfADetailImageHasItsOwnSize) {
    form.addItem("two.ico", "Icon Library");
    twoFormats();
    form.grdIcons.SetSelected(2, true);
    Commands.DetailPaneActive = true;
    mnuEditCopy_Click(w);
    SIZE size{};
    COLORREF pixel = 0;
    ASSERT_TRUE(clipboard(size, pixel, 0, 0));
    EXPECT_EQ(size.cx, 48);
    EXPECT_EQ(size.cy, 48);
    EXPECT_EQ(form.picOpen.Width(), 32 * TwipsPerPixelX());
}

TEST_F(CopyTest, SaveAllFormatsWritesEveryImageIntoOneFile) {
    form.addItem("shell32.dll #4", "Icon Library");
    twoFormats();
    Seam::get().queueText(scratch.file("all"));
    mnuDetailClickSaveAllAs_Click(w);
    ASSERT_EQ(Seam::get().requests().size(), 1u);
    EXPECT_EQ(Seam::get().requests()[0].title, "Multiple Format Icon (*.ico)|*.ico");
    EXPECT_EQ(form.dlgIcon.FileName, scratch.file("all"));
    cFileIcon saved;
    ASSERT_TRUE(saved.LoadIcon(scratch.file("all.ico")));
    EXPECT_EQ(saved.ImageCount(), 2);
    EXPECT_EQ(saved.ImageWidth(2), 48);

    // The next dialog starts at that file; a name in capitals keeps its extension.
    Seam::get().reset();
    Seam::get().queueText(scratch.file("BIG.ICO"));
    mnuDetailClickSaveAllAs_Click(w);
    EXPECT_EQ(Seam::get().requests()[0].detail, scratch.path());
    EXPECT_TRUE(vmtest::fileExists(scratch.file("BIG.ICO")));

    // Cancel writes nothing; a missing folder is said.
    Seam::get().reset();
    Seam::get().queueCancel();
    mnuDetailClickSaveAllAs_Click(w);
    EXPECT_EQ(Seam::get().requests().size(), 1u);
    Seam::get().reset();
    Seam::get().queueText(scratch.file("gone\\all"));
    mnuDetailClickSaveAllAs_Click(w);
    ASSERT_EQ(Seam::get().requests().size(), 2u);
    EXPECT_EQ(Seam::get().requests()[1].prompt,
              "The file " + scratch.file("gone\\all.ico") + " could not be written: the folder does not exist.");
    EXPECT_EQ(Seam::get().requests()[1].style, vbExclamation);
}

TEST(FrameCollection, GathersEveryFrameOfTheAnimationFromItsFirstOn) {
    vmtest::ScratchDir scratch;
    namespace ico = vmtest::ico;
    const std::string file = scratch.file("frames.ico");
    ASSERT_TRUE(vmtest::writeFile(file, ico::icoFile({ico::dib(32, 32, 24)})));
    HiddenList list;
    list.AddItem(FileEntry({file, "0", "x"}, '1', kKindOpen)); // another type: not a frame
    std::string selected;
    for (int i = 0; i < 70; ++i) {
        list.AddItem(FileEntry({file, std::to_string(i), "x"}, 'a', kKindOpen));
        if (i == 5) selected = list.List(list.ListCount() - 1);
    }
    list.AddItem(FileEntry({scratch.file("other.ico"), "0", "x"}, 'a', kKindOpen));
    EXPECT_EQ(AnimationKey(selected), file + "aopen");
    const auto frames = procCollectAnimationFrames(list, selected, 32);
    // More frames than the player's designed film of 61: none is dropped.
    EXPECT_EQ(frames.size(), 70u);
    for (const Picture& p : frames) EXPECT_FALSE(p.empty());
    EXPECT_TRUE(procCollectAnimationFrames(list, "not listed;0;xaopen", 32).empty());
    EXPECT_EQ(AnimationKey("12:3:abook"), "12abook");
    EXPECT_EQ(AnimationKey("f;0;x;shor"), "");
}
