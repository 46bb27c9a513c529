// The stored settings against the real registry of the private prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include "mainsettings.h"
#include "registry.h"
#include "viewsettings.h"

using namespace vm;
using namespace vm::mainwindow;

namespace {
void clearSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
}
void put(const char* key, const char* name, const char* text) {
    procRegCreateKey(key, HKEY_CURRENT_USER);
    procRegSetValue(key, name, Variant(text), REG_SZ);
}
std::string get(const char* key, const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, key, name);
    return reg.RegValue.isEmpty() ? "<missing>" : reg.RegValue.toText();
}
} // namespace

TEST(MainSettingsStore, EmptyRegistryGivesDefaults) {
    clearSettings();
    MainSettings s = readMainSettings();
    EXPECT_EQ(s.iconDataMode, 1);
    EXPECT_EQ(s.dcAction, "None");
    EXPECT_EQ(s.dcZoom, 4);
    EXPECT_TRUE(s.textLabels);
    EXPECT_TRUE(s.statusBar);
    for (const Band& b : s.bands) {
        EXPECT_TRUE(b.visible);
        EXPECT_TRUE(b.newRow);
        EXPECT_EQ(b.width, 0);
    }
    EXPECT_FALSE(s.vSplitter);
    EXPECT_FALSE(s.hSplitter);
    EXPECT_TRUE(s.viewFormat);
    EXPECT_FALSE(s.hotTracking);
    EXPECT_FALSE(s.place.top);
    EXPECT_EQ(s.place.state, 0);

    ViewSettings v = readViewSettings(32, 3);
    EXPECT_EQ(v.iconsPerPage, 150);
    EXPECT_EQ(v.viewType, 0);
    EXPECT_FALSE(v.backColor);
    EXPECT_FALSE(v.useMask);
    EXPECT_FALSE(v.maskColor);
    ASSERT_EQ(v.colWidths.size(), 3u);
    EXPECT_FALSE(v.colWidths[0]);
}

TEST(MainSettingsStore, DCZoomIsTheFactorItselfAndAnyOtherNumberKeepsFour) {
    for (const auto& [stored, factor] : {std::pair{"10", 10}, {"5", 5}, {"2", 2}, {"1", 4}, {"7", 4}, {"40", 4}}) {
        clearSettings();
        put(kSettingsKey, "DCZoom", stored);
        EXPECT_EQ(readMainSettings().dcZoom, factor) << stored;
    }
}

TEST(MainSettingsStore, CorruptValuesFallBackOnTheirOwn) {
    clearSettings();
    put(kSettingsKey, "IconDatamode", "7");
    put(kSettingsKey, "DCZoom", "0");
    put(kSettingsKey, "DCPlay", "yes");
    put(kSettingsKey, "DCRef", "-1");
    put(kSettingsKey, "TextLabel", "false");
    put(kSettingsKey, "Statusbar", "garbage");
    put(kSettingsKey, "KeywordBarPos", "False");
    put(kSettingsKey, "IconSizeWidth", "wide");
    put(kPosKey, "VSplitter", "abc");
    put(kSettingsKey, "IconsPerPage16", "0");
    put(kSettingsKey, "ViewType16", "1");
    put(kSettingsKey, "BackColor16", "red");
    put(kSettingsKey, "Colwidth2-16", "1500");
    MainSettings s = readMainSettings();
    EXPECT_EQ(s.iconDataMode, 1);
    EXPECT_EQ(s.dcZoom, 4);
    EXPECT_FALSE(s.dcPlay);
    EXPECT_TRUE(s.dcRef);
    EXPECT_FALSE(s.textLabels); // any text but "True" hides the labels
    EXPECT_TRUE(s.statusBar);
    EXPECT_FALSE(s.bands[3].newRow);
    EXPECT_EQ(s.bands[2].width, 0);
    EXPECT_FALSE(s.vSplitter);

    ViewSettings v = readViewSettings(16, 2);
    EXPECT_EQ(v.iconsPerPage, 150);
    EXPECT_EQ(v.viewType, 1); // read as stored; the window ignores a style it has no command for
    EXPECT_FALSE(v.backColor);
    EXPECT_FALSE(v.colWidths[0]);
    EXPECT_EQ(v.colWidths[1], 1500);
}

TEST(MainSettingsStore, BandWidthsOnlyWhereTheNextBandSharesTheRow) {
    clearSettings();
    MainSave save;
    save.bands[1].newRow = false; // bands 1 and 2 on one row
    save.bands[0].width = 3000;
    save.bands[1].width = 2500;
    save.bands[2].width = 2000; // band 3 ends a row: its width is not written
    save.bands[3].newRow = true;
    save.bands[2].newRow = true;
    save.top = 100, save.left = 200, save.width = 9000, save.height = 7000;
    writeMainSettings(save);
    EXPECT_EQ(get(kSettingsKey, "StandardToolbarWidth"), "3000");
    EXPECT_EQ(get(kSettingsKey, "YourToolbarWidth"), "<missing>");
    EXPECT_EQ(get(kSettingsKey, "IconSizeWidth"), "<missing>");
    EXPECT_EQ(get(kPosKey, "HSplitter"), "<missing>");
    EXPECT_EQ(get(kPosKey, "MainWidth"), "9000");

    // The user's toolbar hidden: neither its row flag nor band 1's width is written.
    clearSettings();
    save.bands[1].visible = false;
    save.maximised = true;
    save.hSplitter = 2222;
    writeMainSettings(save);
    EXPECT_EQ(get(kSettingsKey, "YourPos"), "<missing>");
    EXPECT_EQ(get(kSettingsKey, "StandardToolbarWidth"), "<missing>");
    EXPECT_EQ(get(kPosKey, "MainState"), "2");
    EXPECT_EQ(get(kPosKey, "MainTop"), "<missing>"); // a maximised window keeps its normal place
    EXPECT_EQ(get(kPosKey, "HSplitter"), "2222");

    // Minimised: no state and no place.
    clearSettings();
    save.minimised = true;
    writeMainSettings(save);
    EXPECT_EQ(get(kPosKey, "MainState"), "<missing>");

    // And the reader takes back exactly these forms.
    clearSettings();
    MainSave round;
    round.bands[1].newRow = false;
    round.bands[0].width = 3100;
    round.bands[3].newRow = false;
    round.bands[2].width = 1800;
    round.textLabels = false;
    round.statusBar = false;
    round.vSplitter = 3500;
    round.hSplitter = 2400;
    round.iconDataMode = 0;
    round.top = 300, round.left = 400, round.width = 9900, round.height = 7700;
    writeMainSettings(round);
    MainSettings s = readMainSettings();
    EXPECT_EQ(s.iconDataMode, 0);
    EXPECT_FALSE(s.textLabels);
    EXPECT_FALSE(s.statusBar);
    EXPECT_FALSE(s.bands[1].newRow);
    EXPECT_EQ(s.bands[0].width, 3100);
    EXPECT_FALSE(s.bands[3].newRow);
    EXPECT_EQ(s.bands[2].width, 1800);
    EXPECT_EQ(s.vSplitter, 3500);
    EXPECT_EQ(s.hSplitter, 2400);
    EXPECT_EQ(s.place.width, 9900);

    ViewSave view{3, 0x123456, 60, {1000, 1200, 1400}};
    writeViewSettings(16, view);
    ViewSettings v = readViewSettings(16, 3);
    EXPECT_EQ(v.viewType, 3);
    EXPECT_EQ(v.backColor, 0x123456);
    EXPECT_EQ(v.iconsPerPage, 60);
    EXPECT_EQ(v.colWidths[2], 1400);
    EXPECT_EQ(readViewSettings(32, 3).iconsPerPage, 150); // the other data set keeps its own
}
