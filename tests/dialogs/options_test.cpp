// The options window on a hidden form: what Apply, OK and Cancel store and change.
#include "dialogtest.h"

#include "browserstate.h"
#include "dialogforms.h"
#include "registry.h"
#include "seam.h"
#include "state.h"

using namespace vm;
using namespace vmtest;

namespace {

class OptionsTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Keywords.IconSize = 32;
        optionsHost = {};
        optionsHost.UseMask = &useMask;
        optionsHost.MaskColor = &maskColor;
        optionsHost.FavoritesFolder = &favorites;
        optionsHost.SendToFolder = dir.path() + "\\";
        optionsHost.showPage = [this] { ++pagesShown; };
        optionsHost.rebuildFavorites = [this] { ++rebuilds; };
        DoubleClick = {};
        Paging = {};
        Entries.cmbResult.Clear();
    }
    void TearDown() override {
        if (frmOptions().IsLoaded()) frmOptions().Unload();
        optionsHost = {};
        DoubleClick = {};
        DialogTest::TearDown();
    }
    FrmOptions& f() {
        frmOptions().Load();
        return frmOptions();
    }
    bool useMask = false;
    std::int32_t maskColor = 0x123456;
    std::string favorites = "C:\\favs";
    int pagesShown = 0, rebuilds = 0;
};

TEST_F(OptionsTest, ApplyStoresEverySettingAndTheSharedValuesFollow) {
    f().optCopy.SetValue(true);
    f().lstZoom.SetListIndex(4); // "10": choosing a factor makes Zoom the action
    EXPECT_TRUE(f().optZoom.Value());
    f().chkPlay.SetValue(vbChecked);
    f().chkRun.SetValue(vbChecked);
    f().chkMaskUseBackground.SetValue(vbUnchecked);
    EXPECT_TRUE(f().cmbMaskSystemColor.Enabled());
    f().cmbMaskSystemColor.SetListIndex(1); // Desktop
    f().chkSearchFav.SetValue(vbChecked);
    f().chkRestart.SetValue(vbChecked);
    f().chkAsoDLL.SetValue(vbChecked);
    f().txtFavHomeDir.SetText("C:\\elsewhere");
    f().cmdApply_Click();

    EXPECT_EQ(setting("DCAction"), "Zoom");
    EXPECT_EQ(setting("DCZoom"), "10"); // the factor itself, as the zoom reads it
    EXPECT_EQ(DoubleClick.DCZoom, 10);
    EXPECT_EQ(setting("DCPlay"), "1");
    EXPECT_EQ(setting("DCRef"), "0");
    EXPECT_EQ(setting("DCRun"), "1");
    EXPECT_EQ(setting("DCChange"), "0");
    EXPECT_TRUE(DoubleClick.DCPlay && DoubleClick.DCRun && !DoubleClick.DCRef);
    EXPECT_EQ(setting("UseMask32"), "True");
    EXPECT_EQ(setting("MaskColor32"), std::to_string(static_cast<std::int32_t>(0x80000001u)));
    EXPECT_TRUE(useMask);
    EXPECT_EQ(setting("SearchFav"), "1");
    EXPECT_TRUE(DoubleClick.SearchFav);
    EXPECT_EQ(setting("FavDir"), "C:\\elsewhere");
    EXPECT_EQ(favorites, "C:\\elsewhere");
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(setting("SysCursorRestart"), "1");
    EXPECT_EQ(setting("SysFileTypeRestart"), "1");
    EXPECT_EQ(setting("SysCache"), "0");
    EXPECT_EQ(setting("AsoDLL"), "1");
    EXPECT_EQ(setting("AsoICO"), "0");

    // Read back by a fresh opening.
    frmOptions().Unload();
    EXPECT_TRUE(f().optZoom.Value());
    EXPECT_EQ(f().lstZoom.Text(), "10");
    EXPECT_EQ(f().chkAsoDLL.Value(), vbChecked);
    EXPECT_EQ(f().chkRestart.Value(), vbChecked);
    EXPECT_EQ(f().chkMaskUseBackground.Value(), vbUnchecked);
    EXPECT_EQ(f().txtFavHomeDir.Text(), "C:\\elsewhere");

    // An unchanged favourites folder is not walked again.
    f().cmdApply_Click();
    EXPECT_EQ(rebuilds, 1);
}

TEST_F(OptionsTest, CancelStoresNothingAndGivesBackTheActionAndMaskColour) {
    DoubleClick.DCAction = "Prop";
    putSetting("DCAction", "Prop");
    const std::string before = allSettings();
    f().optCopy.SetValue(true);
    EXPECT_EQ(DoubleClick.DCAction, "Copy"); // in force at once
    Seam::get().queueCode(0xABCDEF);
    f().chkMaskUseBackground.SetValue(vbUnchecked);
    f().cmdMaskCustom_Click();
    EXPECT_EQ(maskColor, 0xABCDEF);
    f().chkAsoICO.SetValue(vbChecked);
    f().cmdCancel_Click();
    EXPECT_FALSE(frmOptions().IsLoaded());
    EXPECT_EQ(allSettings(), before);
    EXPECT_EQ(DoubleClick.DCAction, "Prop");
    EXPECT_EQ(maskColor, 0x123456);
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, "icofile\\Shell\\Vellumar\\command", ""), "<missing>");

    // OK keeps what it applied.
    f().optSave.SetValue(true);
    f().cmdOK_Click();
    EXPECT_FALSE(frmOptions().IsLoaded());
    EXPECT_EQ(DoubleClick.DCAction, "Save");
    EXPECT_EQ(setting("DCAction"), "Save");
}

TEST_F(OptionsTest, ReminderBoxesShowMixedStatesGreyAndAGreyBoxWritesNothing) {
    putSetting("SysCache", "1");
    putSetting("FolderCache", "1");
    putSetting("SysCursorRestart", "1");
    putSetting("SysFileTypeRestart", "-1"); // either sign counts
    EXPECT_EQ(f().chkRebuild.Value(), vbGrayed);
    EXPECT_EQ(f().chkRestart.Value(), vbChecked);
    f().cmdApply_Click();
    EXPECT_EQ(setting("SysCache"), "1");
    EXPECT_EQ(setting("ShortcutCache"), "<missing>");
    f().chkRebuild.SetValue(vbChecked);
    f().cmdApply_Click();
    EXPECT_EQ(setting("SysCache"), "1");
    EXPECT_EQ(setting("ShortcutCache"), "1");
    EXPECT_EQ(setting("FolderCache"), "1");
}

TEST_F(OptionsTest, ANewPageSizeRepagesTheListAndNoChoiceLeavesItAlone) {
    for (int i = 0; i < 1000; ++i) Entries.cmbResult.AddItem(std::to_string(i));
    Paging.IconsPerPage = 10;
    Paging.PageCount = 100;
    Paging.CurrentPage = 80;
    EXPECT_EQ(f().cmbIconsPerPage.Text(), "10");
    f().cmbIconsPerPage.SetListIndex(8); // 200
    f().cmdApply_Click();
    EXPECT_EQ(Paging.IconsPerPage, 200);
    EXPECT_EQ(Paging.PageCount, PageCountFor(1000, 200));
    EXPECT_EQ(Paging.CurrentPage, Paging.PageCount);
    EXPECT_EQ(pagesShown, 1);

    frmOptions().Unload();
    Paging.IconsPerPage = 33; // not one of the choices: none is selected
    EXPECT_EQ(f().cmbIconsPerPage.ListIndex(), -1);
    f().cmdApply_Click();
    EXPECT_EQ(Paging.IconsPerPage, 33);
    EXPECT_EQ(pagesShown, 1);

    // An empty list takes the size at once, with nothing to show again.
    Entries.cmbResult.Clear();
    f().cmbIconsPerPage.SetListIndex(0);
    f().cmdApply_Click();
    EXPECT_EQ(Paging.IconsPerPage, 10);
    EXPECT_EQ(pagesShown, 1);
}

TEST_F(OptionsTest, AMissingEditorIsReportedAtOnceAndNoFallsBackToNone) {
    putSetting("ExtEditFile", "gone.exe");
    putSetting("ExtEditFolder", dir.path() + "\\");
    DoubleClick.DCAction = "EditWith";
    Seam::get().queueCode(vbNo);
    f();
    EXPECT_EQ(lastMessage(), "The current selected External Icon Editor is not valid.\n"
                             "Do you want to select another External Icon Editor?");
    EXPECT_TRUE(f().optNone.Value());
    EXPECT_FALSE(f().optEditWith.Enabled());
    EXPECT_EQ(DoubleClick.DCAction, "None");

    // Browsing to an editor that exists selects Edit With and warns once.
    const std::string editor = dir.file("paint.exe");
    writeFile(editor, "MZ");
    Seam::get().queueText(editor);
    f().cmdBrowseEdit_Click();
    EXPECT_TRUE(f().optEditWith.Value());
    EXPECT_EQ(f().txtEdit.Text(), "paint.exe");
    EXPECT_EQ(f().txtEdit.Tag, dir.path() + "\\");
    f().cmdApply_Click();
    EXPECT_EQ(setting("ExtEditFile"), "paint.exe");
    EXPECT_EQ(setting("DCAction"), "EditWith");
}

TEST_F(OptionsTest, FavouritesDefaultAndTheSmallDataSet) {
    optionsHost.FavoritesFolderName = "Favoriten";
    f().cmdCreate_Click();
    EXPECT_EQ(f().txtFavHomeDir.Text(), paths.DataPath + "Favoriten");
    f().cmdApply_Click();
    EXPECT_EQ(GetFileAttributesA((paths.DataPath + "Favoriten").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)); // the folder the box names is made
    EXPECT_EQ(favorites, paths.DataPath + "Favoriten");
    frmOptions().Unload();

    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    Keywords.IconSize = 16;
    EXPECT_FALSE(f().txtFavHomeDir.Enabled());
    EXPECT_FALSE(f().chkSearchFav.Enabled());
    f().cmdApply_Click();
    EXPECT_EQ(setting("FavDir"), "<missing>");
    EXPECT_EQ(setting("SearchFav"), "<missing>");
    EXPECT_EQ(setting("UseMask16"), "False");
}

TEST_F(OptionsTest, AnUnknownActionSelectsNoOptionAndIsWrittenBackUnchanged) {
    DoubleClick.DCAction = "Dance";
    for (OptionButton* o : {&f().optNone, &f().optCopy, &f().optSave, &f().optZoom, &f().optProp, &f().optEditWith})
        EXPECT_FALSE(o->Value());
    f().cmdApply_Click();
    EXPECT_EQ(setting("DCAction"), "Dance");
}

TEST_F(OptionsTest, SendToAndDesktopShortcutsGoThroughTheWriterAndAFailureIsShown) {
    std::vector<std::string> written;
    bool works = true;
    optionsHost.saveShortcut = [&](const std::string& link, const std::string& target, const std::string& folder) {
        written.push_back(link + "|" + target + "|" + folder);
        if (works) writeFile(link, "L");
        return works;
    };
    optionsHost.DesktopFolder = dir.path() + "\\";
    const std::string sendTo = dir.file("Vellumar.lnk");
    EXPECT_EQ(f().chkSendTo.Value(), vbUnchecked);
    f().chkSendTo.SetValue(vbChecked);
    f().cmdApply_Click();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], sendTo + "|" + paths.DataPath + "Vellumar.exe|" + paths.DataPath);
    frmOptions().Unload();
    EXPECT_EQ(f().chkSendTo.Value(), vbChecked); // the file is there
    f().chkSendTo.SetValue(vbUnchecked);
    f().cmdApply_Click();
    EXPECT_FALSE(fileExists(sendTo));
    EXPECT_EQ(messageCount(), 0);

    works = false;
    f().chkSendTo.SetValue(vbChecked);
    f().cmdApply_Click();
    EXPECT_EQ(lastMessage(), "Vellumar could not be added to the Send To menu.");
    EXPECT_EQ(f().chkSendTo.Value(), vbUnchecked);
    f().cmdDesktop_Click();
    EXPECT_EQ(lastMessage(), "The shortcut on the desktop could not be made.");
    EXPECT_EQ(messageCount(), 2);
}

} // namespace
