// The hotspot step in front of every cursor write, through the scripted seam.
#include <windows.h>

#include <gtest/gtest.h>

#include "commandstate.h"
#include "frmmessage.h"
#include "frmzoom.h"
#include "hotspot.h"
#include "registry.h"
#include "seam.h"

using namespace vm;

namespace {

class HotSpot : public testing::Test {
protected:
    std::vector<std::string> shown; // "<form>:<caption>" of each modal show
    bool pickerInHotSpotMode = false;

    void SetUp() override {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "NoCursorChange", Variant(""), REG_SZ);
        Seam::get().reset();
        Seam::get().setScripted(true);
        Form::scriptedModal = [this](Form& f) {
            shown.push_back(f.Name() + ":" + f.Caption());
            if (&f == &shell::frmMessage()) {
                shell::frmMessage().cmdRestart.Click();
                return;
            }
            // The picker: the user clicks the cursor's tip.
            pickerInHotSpotMode = Commands.HotSpotMode;
            Commands.CursorHotSpotX = 3;
            Commands.CursorHotSpotY = 9;
            f.Unload();
        };
    }
    void TearDown() override {
        Form::scriptedModal = nullptr;
        Seam::get().setScripted(false);
        if (frmZoom().IsLoaded()) frmZoom().Unload();
        Commands.HotSpotMode = false;
    }
};

} // namespace

TEST_F(HotSpot, TheNoticeComesFirstUntilSilencedThenThePicker) {
    procSetHotSpot();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "frmMessage:Change Cursors");
    EXPECT_EQ(shown[1].substr(0, 8), "frmZoom:");
    EXPECT_TRUE(pickerInHotSpotMode);
    EXPECT_FALSE(Commands.HotSpotMode);
    EXPECT_EQ(Commands.CursorHotSpotX, 3);
    EXPECT_EQ(Commands.CursorHotSpotY, 9);

    shown.clear();
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "NoCursorChange", Variant("1"), REG_SZ);
    procSetHotSpot();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 8), "frmZoom:");
    EXPECT_FALSE(Commands.HotSpotMode);
}

TEST_F(HotSpot, AnOpenZoomWindowMakesWayForThePicker) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "NoCursorChange", Variant("1"), REG_SZ);
    frmZoom().Show(vbModeless);
    ASSERT_TRUE(Commands.ZoomWindowOpen);
    procSetHotSpot();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(frmZoom().IsLoaded());
    EXPECT_FALSE(Commands.ZoomWindowOpen);
}
