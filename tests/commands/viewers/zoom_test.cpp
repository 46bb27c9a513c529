// The zoom window: its size around the picture, its source, and the hotspot
// picker's rounding and clamping, down to the hotspot of a saved cursor.
#include <gtest/gtest.h>

#include <windows.h>

#include "browserstate.h"
#include "cfileicon.h"
#include "commandstate.h"
#include "exportcommands.h"
#include "frmzoom.h"
#include "ico_fixtures.h"
#include "iconcanvas.h"
#include "seam.h"
#include "selection.h"
#include "viewerform.h"

using namespace vm;

TEST(HotSpotRounding, ThePixelUnderThePointerInsideThePictureAtEveryFactor) {
    for (int factor : {2, 3, 4, 5, 10}) {
        SCOPED_TRACE(factor);
        const double pixel = factor * 15.0;
        EXPECT_EQ(zoomgeometry::hotSpot(0.5 * pixel, factor, 15, 32), 0);
        EXPECT_EQ(zoomgeometry::hotSpot(1.5 * pixel, factor, 15, 32), 1);
        EXPECT_EQ(zoomgeometry::hotSpot(2.5 * pixel, factor, 15, 32), 2);
        EXPECT_EQ(zoomgeometry::hotSpot(7 * pixel, factor, 15, 32), 7);
        EXPECT_EQ(zoomgeometry::hotSpot(32 * pixel - 1, factor, 15, 32), 31); // the last pixel
        EXPECT_EQ(zoomgeometry::hotSpot(40 * pixel, factor, 15, 16), 15);
        EXPECT_EQ(zoomgeometry::hotSpot(-3 * pixel, factor, 15, 32), 0);
    }
    EXPECT_EQ(zoomgeometry::hotSpot(74, 10, 15, 32), 0);
    EXPECT_EQ(zoomgeometry::hotSpot(75, 10, 15, 32), 0);
    EXPECT_EQ(zoomgeometry::hotSpot(225, 10, 15, 32), 1);
    EXPECT_EQ(zoomgeometry::hotSpot(4799, 10, 15, 32), 31);
    EXPECT_EQ(zoomgeometry::hotSpot(100, 0, 15, 32), 0); // no factor, no division
}

namespace {

class ZoomTest : public viewertest::ViewerTest {
protected:
    void TearDown() override {
        if (frmZoom().IsLoaded()) frmZoom().Unload();
        ViewerTest::TearDown();
    }
    int pixelsWide(Control& c) { return c.Width() / TwipsPerPixelX(); }
    int pixelsHigh(Control& c) { return c.Height() / TwipsPerPixelY(); }
    // Clicks the picker at pixel x, y of the enlarged picture when it opens modally.
    void pickAt(int x, int y) {
        Form::scriptedModal = [x, y](Form& f) {
            if (f.Name() != "frmZoom") return;
            FrmZoom& z = static_cast<FrmZoom&>(f);
            z.picZoom.MouseUp(vbLeftButton, 0, static_cast<float>(x * TwipsPerPixelX()),
                              static_cast<float>(y * TwipsPerPixelY()));
        };
    }
};

} // namespace

TEST_F(ZoomTest, TheWindowSizesItselfAroundTheEnlargedIconAndFollowsTheFactor) {
    form.addItem("boat", "256 Color Icon", RGB(0, 0, 255));
    for (int factor : {2, 3, 4, 5, 10}) {
        SCOPED_TRACE(factor);
        procZoomAt(static_cast<std::int16_t>(factor));
        FrmZoom& z = frmZoom();
        EXPECT_TRUE(Commands.ZoomWindowOpen);
        EXPECT_EQ(z.Caption(), "Zoom " + std::to_string(factor) + ":1");
        EXPECT_EQ(pixelsWide(z.picZoom), 32 * factor);
        EXPECT_EQ(pixelsHigh(z.picZoom), 32 * factor);
        // Windows keeps a captioned window from getting narrower than its minimum.
        if (32 * factor + 11 >= GetSystemMetrics(SM_CXMIN)) {
            EXPECT_EQ(z.Width(), pixelsToTwipsX(32 * factor + 11));
        }
        EXPECT_EQ(z.Height(), pixelsToTwipsY(32 * factor + 14) + z.TextHeight("") / TwipsPerPixelY() * TwipsPerPixelY());
        // The icon, stretched, over the result list's back colour at the transparent corner.
        HDC dc = z.picZoom.hDC();
        EXPECT_EQ(GetPixel(dc, 16 * factor, 16 * factor), RGB(0, 0, 255));
        EXPECT_EQ(GetPixel(dc, 1, 1), resolveColor(form.pnlResult.BackColor()));
    }
    frmZoom().Unload();
    EXPECT_FALSE(Commands.ZoomWindowOpen);
}

TEST_F(ZoomTest, TheActiveDetailGridShowsItsSelectedRowAndCopiesTheEnlargedPicture) {
    namespace ico = vmtest::ico;
    const std::string file = scratch.file("two.ico");
    ASSERT_TRUE(vmtest::writeFile(file, ico::icoFile({ico::dib(16, 16, 8), ico::dib(48, 48, 8)})));
    Selection.FileIcons.resize(1);
    ASSERT_TRUE(Selection.FileIcons[0].LoadIcon(file));
    form.grdIcons.Init(Selection.FileIcons[0]);
    form.grdIcons.SetSelected(1, false);
    form.grdIcons.SetSelected(2, true);
    Commands.DetailPaneActive = true;
    procZoomAt(2);
    EXPECT_EQ(pixelsWide(frmZoom().picZoom), 96);
    EXPECT_EQ(pixelsHigh(frmZoom().picZoom), 96);

    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    frmZoom().picZoom.DblClick();
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    OpenClipboard(nullptr);
    BITMAP info{};
    GetObjectA(GetClipboardData(CF_BITMAP), sizeof(info), &info);
    CloseClipboard();
    EXPECT_EQ(info.bmWidth, 96);
}

TEST_F(ZoomTest, ThePickerTakesTheClickedPixelAtTenToOneAndClosing) {
    form.addItem("arrow", "256 Color Cursor");
    Commands.ZoomFactor = 3;
    pickAt(75, 123);
    procSetHotSpot(&form);
    EXPECT_EQ(Commands.CursorHotSpotX, 7);  // 7.5: in pixel 7
    EXPECT_EQ(Commands.CursorHotSpotY, 12); // 12.3
    EXPECT_EQ(Commands.ZoomFactor, 10);     // stays for the next zoom window
    EXPECT_FALSE(Commands.HotSpotMode);
    EXPECT_FALSE(frmZoom().IsLoaded());

    // Beyond the picture's edge: its last pixel.
    pickAt(400, 319);
    procSetHotSpot(&form);
    EXPECT_EQ(Commands.CursorHotSpotX, 31);
    EXPECT_EQ(Commands.CursorHotSpotY, 31);
}

TEST_F(ZoomTest, APickerClosedWithoutAClickLeavesTheDefaultInsideASmallPicture) {
    Keywords.IconSize = 16;
    Masks.MaskFromImport = true;
    Masks.importPicture = [] { return Picture::fromIcon(exporttest::cornerIcon(16, RGB(9, 9, 9))); };
    Form::scriptedModal = [](Form& f) {
        if (f.Name() == "frmZoom") {
            EXPECT_EQ(f.Caption(), "Set the Cursor's Hotspot");
            EXPECT_EQ(static_cast<FrmZoom&>(f).picZoom.Width(), pixelsToTwipsX(160));
            f.Unload();
        }
    };
    procSetHotSpot(&form);
    EXPECT_EQ(Commands.CursorHotSpotX, 15);
    EXPECT_EQ(Commands.CursorHotSpotY, 15);
    Masks.MaskFromImport = false;
    Masks.importPicture = nullptr;
}

TEST_F(ZoomTest, ThePickedHotspotIsWrittenIntoTheSavedCursor) {
    form.addItem("arrow.cur", "Current Cursor");
    w.setHotSpot = [this] { procSetHotSpot(&form); };
    pickAt(53, 205); // 5.3, 20.5 -> 5, 20
    Seam::get().queue(SeamAnswer{2, scratch.file("arrow"), false});
    mnuFileSaveAs_Click(w);
    const std::string bytes = vmtest::readFile(scratch.file("arrow.cur"));
    ASSERT_GT(bytes.size(), 22u);
    EXPECT_EQ(bytes[2], 2);
    EXPECT_EQ(bytes[10], 5);
    EXPECT_EQ(bytes[12], 20);
}

TEST_F(ZoomTest, ThePositionIsKeptAndAMissingOrZeroPositionCentres) {
    form.addItem("boat", "256 Color Icon");
    procZoomAt(4);
    FrmZoom& z = frmZoom();
    EXPECT_NEAR(z.Top(), (Screen::Height() - z.Height()) / 2.0, TwipsPerPixelY());
    EXPECT_NEAR(z.Left(), (Screen::Width() - z.Width()) / 2.0, TwipsPerPixelX());
    z.Move(600, 900);
    z.Unload();
    procZoomAt(4);
    EXPECT_EQ(frmZoom().Left(), 600);
    EXPECT_EQ(frmZoom().Top(), 900);
}
