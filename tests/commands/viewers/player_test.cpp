// The animation player: its frame ring, its speed, and its ticks.
#include <gtest/gtest.h>

#include "exportwindow.h"
#include "frmani.h"
#include "seam.h"
#include "viewerform.h"
#include "viewerhost.h"

using namespace vm;
using film::PlayMode;

namespace {

std::vector<int> play(PlayMode mode, int count, int ticks, std::int16_t start = 1) {
    std::vector<int> shown;
    std::int16_t index = start;
    bool backward = false;
    for (int i = 0; i < ticks; ++i) {
        shown.push_back(index);
        film::advance(mode, count, index, backward);
    }
    return shown;
}

Picture frame(COLORREF colour) { return Picture::fromIcon(exporttest::cornerIcon(32, colour)); }

} // namespace

TEST(FrameRing, SequentialWrapsAndBackAndForthShowsTheLastFrameTwice) {
    EXPECT_EQ(play(PlayMode::Sequential, 4, 6), (std::vector<int>{1, 2, 3, 4, 1, 2}));
    EXPECT_EQ(play(PlayMode::BackAndForth, 4, 12), (std::vector<int>{1, 2, 3, 4, 4, 3, 2, 1, 2, 3, 4, 4}));
    EXPECT_EQ(play(PlayMode::BackAndForth, 1, 4), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(play(PlayMode::Sequential, 1, 3), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(play(PlayMode::BackAndForth, 2, 6), (std::vector<int>{1, 2, 2, 1, 2, 2}));
}

TEST(FrameRing, PausedOrEmptyFilmsStayAndAStrayIndexStartsAgain) {
    EXPECT_EQ(play(PlayMode::Paused, 4, 3, 3), (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(play(PlayMode::Sequential, 0, 3, 1), (std::vector<int>{1, 1, 1}));
    // A film that shrank under the index (a shorter animation gathered meanwhile).
    EXPECT_EQ(play(PlayMode::Sequential, 3, 3, 9), (std::vector<int>{9, 1, 2}));
    EXPECT_EQ(play(PlayMode::BackAndForth, 3, 3, 0), (std::vector<int>{0, 1, 2}));
}

TEST(PlayerSpeed, IntervalRoundsHalvesToEvenAndNoSpeedStopsTheTimer) {
    EXPECT_EQ(film::intervalFor(1), 1000);
    EXPECT_EQ(film::intervalFor(5), 200);
    EXPECT_EQ(film::intervalFor(16), 62); // 62.5
    EXPECT_EQ(film::intervalFor(30), 33);
    EXPECT_EQ(film::intervalFor(0), 0);
    EXPECT_EQ(film::intervalFor(-3), 0);
    EXPECT_EQ(film::speedText(1), "animation speed: 1 frame per second");
    EXPECT_EQ(film::speedText(2), "animation speed: 2 frames per second");
}

class PlayerTest : public viewertest::ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        Exports.picFilm = {frame(RGB(255, 0, 0)), frame(RGB(0, 255, 0)), frame(RGB(0, 0, 255))};
        Exports.AniFrameCount = 3;
        Viewers.AniFrameIndex = 1;
    }
    void TearDown() override {
        if (frmAni().IsLoaded()) frmAni().Unload();
        ViewerTest::TearDown();
    }
    // The colour at the middle of the player area.
    COLORREF centre() {
        FrmAni& a = frmAni();
        const int x = a.picIconBack.Width() / TwipsPerPixelX() / 2, y = a.picIconBack.Height() / TwipsPerPixelY() / 2;
        return GetPixel(a.picIconBack.hDC(), x, y);
    }
};

TEST_F(PlayerTest, ShowingThePlayerStartsAtFiveFramesASecondAndTicksThroughTheFrames) {
    FrmAni& a = frmAni();
    a.Show(vbModeless);
    a.sldAni.SetValue(9);
    // Activation, after work in another window, puts the speed back to five frames a second.
    SendMessageA(form.hWnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageA(a.hWnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(a.sldAni.Value(), 5);
    EXPECT_EQ(a.tmrFilm.Interval(), 200);
    EXPECT_EQ(a.picIconBack.ToolTipText(), "3 frames");
    EXPECT_EQ(a.sldAni.ToolTipText(), "animation speed: 5 frames per second");
    a.sldAni.SetValue(16);
    EXPECT_EQ(a.tmrFilm.Interval(), 62);

    a.tmrFilm_Timer();
    EXPECT_EQ(centre(), RGB(255, 0, 0));
    EXPECT_EQ(Viewers.AniFrameIndex, 2);
    a.tmrFilm_Timer();
    EXPECT_EQ(centre(), RGB(0, 255, 0));
    a.tmrFilm_Timer();
    EXPECT_EQ(Viewers.AniFrameIndex, 1);

    // Pausing: neither mode selected paints nothing.
    a.RechtsBut.SetValue(false);
    a.tmrFilm_Timer();
    EXPECT_EQ(Viewers.AniFrameIndex, 1);
    a.TegenBut.SetValue(true);
    for (int i = 0; i < 3; ++i) a.tmrFilm_Timer();
    EXPECT_EQ(Viewers.AniFrameIndex, 3);
    EXPECT_TRUE(a.PlayBackward);
}

TEST_F(PlayerTest, ATickAfterThePlayerClosedOrWithAnEmptyFilmDoesNothing) {
    FrmAni& a = frmAni();
    a.Show(vbModeless);
    a.Unload();
    a.tmrFilm_Timer();
    EXPECT_FALSE(a.IsLoaded());
    EXPECT_EQ(Viewers.AniFrameIndex, 1);

    a.Show(vbModeless);
    Exports.picFilm.clear();
    Exports.AniFrameCount = 0;
    a.tmrFilm_Timer();
    EXPECT_EQ(Viewers.AniFrameIndex, 1);
}

TEST_F(PlayerTest, ANewBackColourReachesThePlayerAreaAndCancelKeepsIt) {
    FrmAni& a = frmAni();
    a.Show(vbModeless);
    const OleColor before = a.picIconBack.BackColor();
    Seam::get().queueCancel();
    a.mnuBSet.Click();
    EXPECT_EQ(a.picIconBack.BackColor(), before);
    Seam::get().queueCode(static_cast<int>(RGB(10, 20, 30)));
    a.mnuBSet.Click();
    EXPECT_EQ(a.picIconBack.BackColor(), static_cast<OleColor>(RGB(10, 20, 30)));
}
