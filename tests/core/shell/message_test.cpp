// The notice window, shown modally through the scripted seam.
#include <windows.h>

#include <gtest/gtest.h>

#include "frmmessage.h"
#include "registry.h"
#include "seam.h"
#include "startpaths.h"
#include "state.h"

using namespace vm;
using namespace vm::shell;

namespace {
std::string setting(const char* key, const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, key, name);
    return reg.RegValue.isEmpty() ? "<missing>" : reg.RegValue.toText();
}

class Notice : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
        Seam::get().reset();
        Seam::get().setScripted(true);
    }
    void TearDown() override {
        Form::scriptedModal = nullptr;
        Seam::get().setScripted(false);
    }
};
} // namespace

TEST_F(Notice, ActionButtonGivesTrueAndStoresTheTickedBox) {
    Form::scriptedModal = [](Form&) {
        frmMessage().chkNoShow.SetValue(vbChecked);
        frmMessage().cmdRestart.Click();
    };
    procShowMessage("Text", "OrganizeFav", "Caption", "Organize Favorites Now");
    EXPECT_TRUE(MessageResult);
    EXPECT_FALSE(frmMessage().IsLoaded());
    EXPECT_EQ(setting(kSettingsKey, "OrganizeFav"), "1");
    EXPECT_NE(setting(kPosKey, "MessageTop"), "<missing>");
}

TEST_F(Notice, CloseButtonAndCloseBoxGiveFalse) {
    MessageResult = true; // left over from an earlier notice
    Form::scriptedModal = [](Form&) { frmMessage().Unload(vbFormControlMenu); };
    procShowMessage("Text", "VellumarLight", "Vellumar Light", "");
    EXPECT_FALSE(MessageResult);
    EXPECT_EQ(setting(kSettingsKey, "VellumarLight"), "0");

    Form::scriptedModal = [](Form& f) {
        EXPECT_EQ(f.Caption(), "Second");
        EXPECT_EQ(frmMessage().chkNoShow.Value(), vbUnchecked); // each notice starts afresh
        frmMessage().cmdOK.Click();
    };
    procShowMessage("Text", "NoCursorChange", "Second", "Define Hotspot Now");
    EXPECT_FALSE(MessageResult);
    EXPECT_EQ(setting(kSettingsKey, "NoCursorChange"), "0");
}

TEST_F(Notice, OpensCentredFirstThenWhereItWasLeft) {
    Form::scriptedModal = [](Form& f) {
        EXPECT_NEAR(f.Left(), (Screen::Width() - f.Width()) / 2, 15);
        f.Move(1500, 1200);
        frmMessage().cmdOK.Click();
    };
    procShowMessage("Text", "A", "Caption", "");
    Form::scriptedModal = [](Form& f) {
        EXPECT_EQ(f.Left(), 1500);
        EXPECT_EQ(f.Top(), 1200);
        frmMessage().cmdOK.Click();
    };
    procShowMessage("Text", "A", "Caption", "");
}

TEST_F(Notice, HotspotModeShowsOnlyTheActionButtonInCloseButtonsPlace) {
    Form::scriptedModal = [](Form&) {
        FrmMessage& f = frmMessage();
        EXPECT_FALSE(f.cmdOK.Visible());
        EXPECT_EQ(f.cmdRestart.Left() + f.cmdRestart.Width(), f.cmdOK.Left() + f.cmdOK.Width());
        f.cmdRestart.Click();
    };
    procShowMessage("Text", "NoCursorChange", "Caption", "Define Hotspot Now", true);
    EXPECT_TRUE(MessageResult);
}

TEST(StartPaths, FoldersAndVersionText) {
    EXPECT_EQ(withOneBackslash("c:\\"), "c:\\");
    EXPECT_EQ(withOneBackslash("c:\\prog\\\\"), "c:\\prog\\");
    EXPECT_EQ(withOneBackslash("c:\\prog"), "c:\\prog\\");
    EXPECT_EQ(versionText(2, 1, 0), "version 2.10");
    EXPECT_EQ(versionText(3, 0, 5), "version 3.05");
    procSetStartPaths("C:\\Prog");
    EXPECT_EQ(paths.DataPath, "C:\\Prog\\");
    ASSERT_FALSE(paths.TempPath.empty());
    EXPECT_EQ(paths.TempPath.back(), '\\');
    EXPECT_NE(paths.TempPath.substr(paths.TempPath.size() - 2), "\\\\");
    EXPECT_EQ(paths.WindowsDir, "c:\\windows");
}

TEST_F(Notice, OnlyANonZeroNumberSilencesANotice) {
    EXPECT_FALSE(procMessageSilenced("SysCache")); // never asked
    for (const auto& [stored, silenced] :
         std::initializer_list<std::pair<const char*, bool>>{{"1", true}, {"0", false}, {"", false}, {"-1", true}}) {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "SysCache", Variant(std::string(stored)), REG_SZ);
        EXPECT_EQ(procMessageSilenced("SysCache"), silenced) << '"' << stored << '"';
    }
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "SysCache", Variant(std::int32_t(1)), REG_DWORD);
    EXPECT_TRUE(procMessageSilenced("SysCache"));
}

TEST_F(Notice, ASilencedCacheNoticeShowsNothingAndRebuildsNothing) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "FolderCache", Variant(std::string("1")), REG_SZ);
    bool shown = false;
    Form::scriptedModal = [&shown](Form&) {
        shown = true;
        frmMessage().cmdRestart.Click();
    };
    MessageResult = true; // left over from an earlier notice
    procOfferIconCacheRebuild("FolderCache", "Change Any Folder");
    EXPECT_FALSE(shown);
    EXPECT_FALSE(MessageResult);
}

TEST_F(Notice, TheCacheNoticeNamesItsSettingAndCaption) {
    Form::scriptedModal = [](Form& f) {
        EXPECT_EQ(f.Caption(), "Change Any Folder");
        EXPECT_EQ(frmMessage().cmdRestart.Caption(), "Rebuild Icon Cache Now!");
        frmMessage().chkNoShow.SetValue(vbChecked);
        frmMessage().cmdOK.Click();
    };
    procOfferIconCacheRebuild("FolderCache", "Change Any Folder");
    EXPECT_FALSE(MessageResult);
    EXPECT_TRUE(procMessageSilenced("FolderCache")); // the ticked box silences the next one
}
