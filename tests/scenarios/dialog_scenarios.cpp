// The dialogs opened from their menus and driven with real input: options,
// the information window, the keyword editor, the scan and Add Reference.
#include "scenario.h"

#include "browserstate.h"
#include "cshelllink.h"
#include "dialogforms.h"
#include "ico_fixtures.h"
#include "zipwriter.h"
#include "registry.h"
#include "seam.h"
#include "startfolders.h"
#include "state.h"

using namespace vm;
using namespace vmscenario;

namespace {

using Texts = std::vector<std::string>;

// A modal dialog opened from a menu and answered by the hands, run inside its
// modal loop once it shows.
void throughDialog(const std::string& caption, std::function<void()> hands, std::initializer_list<std::string> menu) {
    if (caption == "Open by Folder") {
        // The scan still walks inside its dialog's modal loop, which keeps the
        // main window disabled: scripted until the walk runs in the main window.
        Seam::get().setWindowsShown(false);
        Form::scriptedModal = [hands](Form& f) {
            f.Show(vbModeless);
            SetForegroundWindow(f.hWnd());
            settle(50);
            hands();
            settle();
        };
        chooseMenu(menu);
        Form::scriptedModal = nullptr;
        return;
    }
    realWindows();
    Answer dialog(caption, {onProgram(std::move(hands))});
    chooseMenu(menu);
}

void clickTab(TabStrip& strip, int index) {
    RECT r{};
    SendMessageA(strip.hWnd(), TCM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    click(strip, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::string stored(const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    return reg.RegValue.isEmpty() ? "<missing>" : reg.RegValue.toText();
}

class DialogScenario : public LibraryScenario {
protected:
    void TearDown() override {
        for (Form* f : std::initializer_list<Form*>{&frmOptions(), &frmInfo(), &frmScan()})
            if (f->IsLoaded()) f->Unload();
        LibraryScenario::TearDown();
    }
};

} // namespace

TEST_F(DialogScenario, OptionsSetTheDoubleClickActionWithTheMouseAndApplyAndCloseStoreIt) {
    throughDialog("Options", [] {
        FrmOptions& o = frmOptions();
        clickTab(o.tbsOptions, 3);
        EXPECT_TRUE(o.picOptions(3).Visible());
        EXPECT_FALSE(o.picOptions(1).Visible());
        click(o.optCopy);
        EXPECT_EQ(DoubleClick.DCAction, "Copy");
        click(o.chkPlay);
        click(o.cmdApply);
        EXPECT_EQ(stored("DCAction"), "Copy");
        click(o.optProp);
        click(o.cmdOK);
    }, {"&View", "&Options..."});
    EXPECT_FALSE(frmOptions().IsLoaded());
    EXPECT_EQ(stored("DCAction"), "Prop");
    EXPECT_EQ(stored("DCPlay"), "1");
    EXPECT_TRUE(DoubleClick.DCPlay);
}

TEST_F(DialogScenario, EscCancelsTheOptionsAndTheActionChosenIsGivenBack) {
    const std::string before = DoubleClick.DCAction;
    throughDialog("Options", [] {
        FrmOptions& o = frmOptions();
        clickTab(o.tbsOptions, 3);
        click(o.optSave);
        EXPECT_EQ(DoubleClick.DCAction, "Save");
        press(VK_ESCAPE);
    }, {"&View", "&Options..."});
    EXPECT_FALSE(frmOptions().IsLoaded());
    EXPECT_EQ(DoubleClick.DCAction, before);
    EXPECT_EQ(stored("DCAction"), "<missing>");
}

TEST_F(DialogScenario, APageSizeChosenWithTheKeyboardPagesTheListAgain) {
    typeInto(w().cmbSearch, "bo");
    press(VK_RETURN);
    EXPECT_EQ(panelText("area"), "Page 1 of 2");
    throughDialog("Options", [] {
        FrmOptions& o = frmOptions();
        click(o.cmbIconsPerPage);
        press(VK_HOME); // the smallest size
        press(VK_RETURN);
        EXPECT_EQ(o.cmbIconsPerPage.Text(), "10");
        click(o.cmdOK);
    }, {"&View", "&Options..."});
    EXPECT_EQ(Paging.IconsPerPage, 10);
    EXPECT_EQ(panelText("area"), "Page 1 of 1");
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 5u);
}

TEST_F(DialogScenario, AboutShowsTheInstalledLibraryOnItsTabAndCloses) {
    throughDialog("About Vellumar", [] {
        FrmInfo& i = frmInfo();
        clickTab(i.tabStrip, 3);
        EXPECT_TRUE(i.fraInfo(3).Visible());
        EXPECT_FALSE(i.fraInfo(1).Visible());
        EXPECT_GT(i.txtPellandry.ListCount(), 0);
        press(VK_F1);
        click(i.cmdHelp);
        click(i.cmdOK);
    }, {"&Help", "&About Vellumar..."});
    EXPECT_FALSE(frmInfo().IsLoaded());
    const auto& asked = Seam::get().requests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().kind, "HtmlHelp");
    EXPECT_EQ(asked.back().style, 2);
}

TEST_F(DialogScenario, AKeywordTypedInTheEditorJoinsTheKeywordBoxes) {
    throughDialog("Edit Keywords", [] {
        FrmKey& k = frmKey();
        click(k.txtKey);
        typeText("Zeppelin");
        EXPECT_TRUE(k.cmdAdd.Enabled());
        click(k.cmdAdd);
        EXPECT_EQ(k.lstKey.Text(), "Zeppelin");
        click(k.cmdCancel);
    }, {"&References", "&Edit Custom Keywords..."});
    EXPECT_TRUE(frmKey().IsLoaded());
    EXPECT_FALSE(frmKey().Visible());
    EXPECT_GE(FindExact(w().cmbSearch, "Zeppelin"), 0);
    EXPECT_GE(FindExact(frmAdd().cmbSearch, "Zeppelin"), 0);
    EXPECT_TRUE(Keywords.KeywordsChanged);
}

TEST_F(DialogScenario, AFolderTypedIntoTheScanIsListedAndAnIconOfItReferenced) {
    namespace ico = vmtest::ico;
    const std::string tree = dir.file("scan");
    CreateDirectoryA(tree.c_str(), nullptr);
    CreateDirectoryA((tree + "\\sub").c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(tree + "\\a.ico", ico::icoFile({ico::dib(32, 32, 8)})));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\sub\\b.ico", ico::icoFile({ico::dib(32, 32, 4)})));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\notes.txt", "x"));
    throughDialog("Open by Folder", [tree] {
        FrmScan& s = frmScan();
        EXPECT_FALSE(s.cmdStart.Enabled());
        click(s.txtDir);
        typeText(tree);
        click(s.cmdStart);
    }, {"&File", "Open by &Folder..."});
    EXPECT_EQ(panelText("count"), "2 Icon(s)");
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 2u);
    EXPECT_EQ(stored("ScanDirectory"), tree);
    EXPECT_FALSE(Busy.AbortRequested);

    clickItem(w().pnlResult, 1);
    const int before = UserRefs.lstUser.ListCount();
    EXPECT_TRUE(w().mnuRefAdd.Enabled());
    throughDialog("Add Reference", [] {
        FrmAdd& a = frmAdd();
        EXPECT_TRUE(a.optType(1).Value()); // the 256 colour icon's type, chosen by the selection
        dropDown(a.cmbSearch);
        clickListEntry(a.cmbSearch, "boat");
        EXPECT_EQ(a.cmbSearch.Text(), "boat");
        EXPECT_TRUE(a.cmdAdd.Enabled());
        click(a.cmdAdd);
    }, {"&References", "&Add..."});
    EXPECT_EQ(Seam::get().requests().back().prompt, "frmAdd");
    ASSERT_EQ(UserRefs.lstUser.ListCount(), before + 1);
    EXPECT_EQ(UserRefs.lstUser.List(before), "boat");
    EXPECT_EQ(UserRefs.cmbUser.List(before).substr(UserRefs.cmbUser.List(before).size() - 5), "1user");
    EXPECT_FALSE(frmAdd().Visible());
}

TEST_F(DialogScenario, TheTipOfTheDayStepsOnAndRemembersTheNextTipAndTheBox) {
    chooseMenu({"&Help", "&Tip of the Day..."});
    FrmTip& t = frmTip();
    ASSERT_TRUE(t.IsLoaded());
    EXPECT_TRUE(t.Visible());
    EXPECT_EQ(t.txtTitle.Caption(), "Tip 1 of 29. Change Icons");
    click(t.cmdNextTip);
    EXPECT_EQ(t.txtTitle.Caption(), "Tip 2 of 29. Change Icons");
    click(t.chkTip);
    click(t.cmdOK);
    EXPECT_FALSE(t.IsLoaded());
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "TipNr");
    EXPECT_EQ(reg.RegValue.toLong().value_or(0), 3);
    EXPECT_EQ(stored("Tip"), "0");
}

TEST_F(DialogScenario, TheIconAssociationIsSetAndGivenBackFromTheShellIntegrationTab) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "icofile");
    procRegCreateKey("icofile\\DefaultIcon", HKEY_CLASSES_ROOT);
    procRegSetValue("", "", Variant(std::string("their.dll,2")), REG_SZ);
    auto classText = [](const char* key) {
        procRegGetValue(HKEY_CLASSES_ROOT, key, "");
        return reg.RegValue.isEmpty() ? std::string("<missing>") : reg.RegValue.toText();
    };
    throughDialog("Options", [] {
        FrmOptions& o = frmOptions();
        clickTab(o.tbsOptions, 2);
        click(o.chkAsoICO);
        click(o.cmdApply);
        click(o.cmdOK);
    }, {"&View", "&Options..."});
    EXPECT_EQ(classText("icofile\\DefaultIcon"), "%1");
    EXPECT_EQ(classText("icofile\\Shell\\Vellumar\\command"), "\"" + paths.DataPath + "Vellumar.exe\" \"%1\"");
    EXPECT_EQ(stored("AsoICO"), "1");

    throughDialog("Options", [] {
        FrmOptions& o = frmOptions();
        clickTab(o.tbsOptions, 2);
        EXPECT_EQ(o.chkAsoICO.Value(), vbChecked);
        click(o.chkAsoICO);
        click(o.cmdOK);
    }, {"&View", "&Options..."});
    EXPECT_EQ(classText("icofile\\DefaultIcon"), "their.dll,2");
    EXPECT_EQ(classText("icofile\\Shell\\Vellumar\\command"), "<missing>");
    EXPECT_EQ(stored("AsoICO"), "0");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "icofile");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".ico");
}

TEST_F(DialogScenario, SendToAndTheDesktopGetAShortcutToTheProgram) {
    const std::string sendTo = folders.SendToFolder + "Vellumar.lnk";
    const std::string desktop = folders.DesktopFolder + "Vellumar.lnk";
    DeleteFileA(sendTo.c_str());
    DeleteFileA(desktop.c_str());
    throughDialog("Options", [] {
        FrmOptions& o = frmOptions();
        clickTab(o.tbsOptions, 2);
        EXPECT_EQ(o.chkSendTo.Value(), vbUnchecked);
        click(o.chkSendTo);
        click(o.cmdDesktop);
        click(o.cmdOK);
    }, {"&View", "&Options..."});
    for (const std::string& link : {sendTo, desktop}) {
        cShellLink reader;
        ShellLinkInfo info;
        ASSERT_EQ(reader.Read(link, info), S_OK) << link;
        EXPECT_EQ(info.target, paths.DataPath + "Vellumar.exe");
    }

    throughDialog("Options", [] {
        FrmOptions& o = frmOptions();
        clickTab(o.tbsOptions, 2);
        EXPECT_EQ(o.chkSendTo.Value(), vbChecked);
        click(o.chkSendTo);
        click(o.cmdOK);
    }, {"&View", "&Options..."});
    EXPECT_EQ(GetFileAttributesA(sendTo.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(desktop.c_str());
}

TEST_F(DialogScenario, AScanOfEveryKindOfFileFindsTheIconsInsideAZipWhenAskedTo) {
    namespace ico = vmtest::ico;
    const std::string tree = dir.file("kinds");
    CreateDirectoryA(tree.c_str(), nullptr);
    const std::string icon = ico::icoFile({ico::dib(32, 32, 8)});
    ASSERT_TRUE(vmtest::writeFile(tree + "\\a.ico", icon));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\b.cur", ico::icoFile({ico::dib(32, 32, 4)}, 2)));
    ASSERT_TRUE(ico::makeIconModule(tree + "\\c.dll", {{100, "", {ico::dib(32, 32, 8)}}}));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\d.zip", vmtest::makeZipArchive({{"inside.ico", icon}})));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\e.txt", "x"));
    throughDialog("Open by Folder", [tree] {
        FrmScan& s = frmScan();
        click(s.txtDir);
        typeText(tree);
        click(s.cmdStart);
    }, {"&File", "Open by &Folder..."});
    EXPECT_EQ(panelText("count"), "3 Icon(s)"); // the archive stays shut

    throughDialog("Open by Folder", [] {
        FrmScan& s = frmScan();
        click(s.chkScanZIP);
        click(s.chkALL); // the filter: icons only
        click(s.chkCUR);
        click(s.chkDLL);
        click(s.chkEXE);
        click(s.chkICL);
        click(s.chkANI);
        EXPECT_EQ(s.chkICO.Value(), vbChecked);
        click(s.cmdStart);
    }, {"&File", "Open by &Folder..."});
    EXPECT_EQ(panelText("count"), "2 Icon(s)"); // a.ico and the archive's inside.ico
    EXPECT_EQ(Entries.lstZipIcons.ListCount(), 1);
    EXPECT_EQ(stored("ScanZIP"), "1");
    EXPECT_EQ(stored("ScanCUR"), "0");
}
