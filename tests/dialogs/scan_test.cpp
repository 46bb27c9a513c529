// The scan window over a generated folder tree: the kinds kept, ZIP archives,
// the summary, the settings it keeps, and a stop during the walk.
#include "dialogtest.h"

#include <algorithm>

#include "browserstate.h"
#include "dialogforms.h"
#include "registry.h"
#include "seam.h"
#include "twips.h"

using namespace vm;
using namespace vmtest;

namespace {

std::string nameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

class ScanTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Keywords.IconSize = 32;
        root = dir.file("tree");
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA((root + "\\sub").c_str(), nullptr);
        CreateDirectoryA((root + "\\sub\\folder.ico").c_str(), nullptr); // a folder is no icon file
        for (const char* name : {"a.ico", "a.cur", "a.ani", "a.dll", "a.exe", "a.icl", "a.zip", "a.txt", "sub\\b.ico",
                                 "sub\\C.DLL", "sub\\d.zip"})
            writeFile(root + "\\" + name, "x");
        entries.cmbResult.Clear();
        entries.cmbResult.AddItem("before;0;xopen");
        browser = {};
        browser.doEvents = [this] {
            if (stopAfter > 0 && --stopAfter == 0) busy.AbortRequested = true;
        };
        browser.setAbort = [this](bool idle) { states += idle ? "idle " : "busy "; };
        browser.setMessagePanel = [this](const std::string& t) { message = t; };
        browser.showPage = [this] { ++pagesShown; };
        scanHost = {};
        scanHost.entries = &entries;
        scanHost.paging = &paging;
        scanHost.busy = &busy;
        scanHost.browser = &browser;
        scanHost.setTypePanel = [this](const std::string& t) { typePanel.push_back(t); };
        scanHost.listZipMembers = [this] {
            for (int i = 0; i < entries.lstZipFiles.ListCount(); ++i)
                entries.lstZipIcons.AddItem("member" + std::to_string(i) + ".ico");
        };
        scanHost.searchOpen = [this] {
            for (int i = 0; i < entries.lstFiles.ListCount(); ++i) listed.push_back(nameOf(entries.lstFiles.List(i)));
        };
        putSetting("ScanDirectory", root);
    }
    void TearDown() override {
        if (frmScan().IsLoaded()) frmScan().Unload();
        scanHost = {};
        DialogTest::TearDown();
    }
    FrmScan& f() {
        frmScan().Load();
        return frmScan();
    }
    std::vector<std::string> sortedListed() {
        std::vector<std::string> s = listed;
        std::sort(s.begin(), s.end());
        return s;
    }
    std::string root;
    EntryLists entries;
    PagingState paging;
    BusyState busy;
    BrowserHost browser;
    int stopAfter = 0, pagesShown = 0;
    std::string states, message;
    std::vector<std::string> typePanel, listed;
};

TEST_F(ScanTest, AllTypesKeepsEveryIconFileAndZipArchivesAreOpenedOnlyWhenAsked) {
    EXPECT_EQ(f().txtDir.Text(), root);
    EXPECT_EQ(f().chkALL.Value(), vbChecked);
    EXPECT_EQ(f().chkScanSubDir.Value(), vbChecked);
    EXPECT_FALSE(f().chkICO.Enabled());
    f().cmdStart_Click();
    EXPECT_EQ(sortedListed(), (std::vector<std::string>{"C.DLL", "a.ani", "a.cur", "a.dll", "a.exe", "a.icl", "a.ico",
                                                       "b.ico"}));
    EXPECT_EQ(entries.lstZipFiles.ListCount(), 0); // not asked for
    EXPECT_EQ(message.substr(message.find(" files checked")), " files checked, 8 icon libraries matched your filter.");
    const int firstCount = std::atoi(message.c_str());
    EXPECT_GE(firstCount, 11);
    EXPECT_EQ(entries.cmbResult.ListCount(), 0);
    EXPECT_EQ(states, "busy idle ");
    EXPECT_EQ(typePanel, (std::vector<std::string>{"0 libraries found"}));
    EXPECT_TRUE(frmScan().IsLoaded());
    EXPECT_FALSE(frmScan().Visible());

    listed.clear();
    f().chkScanZIP.SetValue(vbChecked);
    f().chkScanSubDir.SetValue(vbUnchecked);
    f().cmdStart_Click();
    EXPECT_EQ(listed.size(), 6u);
    ASSERT_EQ(entries.lstZipFiles.ListCount(), 1);
    EXPECT_EQ(nameOf(entries.lstZipFiles.List(0)), "a.zip");
    // The second summary counts only the second walk's files.
    EXPECT_EQ(message.substr(message.find(" files checked")), " files checked, 7 icon libraries matched your filter.");
    EXPECT_LT(std::atoi(message.c_str()), firstCount);
    EXPECT_EQ(setting("ScanZIP"), "1");
    EXPECT_EQ(setting("ScanSubDir"), "0");
    EXPECT_EQ(setting("ScanDirectory"), root);
}

TEST_F(ScanTest, TheTypeFilterKeepsTheCheckedKindsAndTheSmallDataSetOnlyItsOwn) {
    f().chkALL.SetValue(vbUnchecked);
    EXPECT_TRUE(f().chkANI.Enabled());
    f().chkEXE.SetValue(vbUnchecked);
    f().chkCUR.SetValue(vbUnchecked);
    f().cmdStart_Click();
    EXPECT_EQ(sortedListed(), (std::vector<std::string>{"C.DLL", "a.ani", "a.dll", "a.icl", "a.ico", "b.ico"}));
    frmScan().Unload();
    EXPECT_EQ(setting("ScanEXE"), "0");
    EXPECT_EQ(setting("ScanAll"), "0");

    // At 16 x 16 the unchecked rule keeps only DLL, EXE and ICO files, and says so once.
    Keywords.IconSize = 16;
    putSetting("ScanEXE", "1");
    listed.clear();
    f();
    EXPECT_FALSE(f().chkANI.Enabled());
    EXPECT_EQ(Seam::get().requests().back().kind, "Form"); // the notice
    f().cmdStart_Click();
    EXPECT_EQ(sortedListed(), (std::vector<std::string>{"C.DLL", "a.dll", "a.exe", "a.ico", "b.ico"}));
    // The all-types rule still keeps every kind.
    listed.clear();
    f().chkALL.SetValue(vbChecked);
    f().cmdStart_Click();
    EXPECT_EQ(listed.size(), 8u);
}

TEST_F(ScanTest, AnEmptyFolderBoxIsRefusedAndAStopDuringTheWalkShowsThePreviousList) {
    f().txtDir.SetText("");
    f().cmdStart_Click();
    EXPECT_EQ(lastMessage(), "Select a valid path!");
    EXPECT_FALSE(f().cmdStart.Enabled());
    EXPECT_TRUE(listed.empty());

    f().txtDir.SetText(root);
    paging.IconsPerPage = 150;
    paging.CurrentPage = 3;
    stopAfter = 3;
    f().cmdStart_Click();
    EXPECT_FALSE(busy.AbortRequested);
    EXPECT_FALSE(frmScan().IsLoaded());
    EXPECT_TRUE(listed.empty());
    EXPECT_EQ(entries.cmbResult.ListCount(), 1); // the list that was there
    EXPECT_EQ(paging.CurrentPage, 1);
    EXPECT_EQ(pagesShown, 1);
    EXPECT_EQ(states, "busy idle ");
}

TEST_F(ScanTest, TheWindowOpensCentredWithoutAStoredPlaceAndKeepsItsPlace) {
    const int screenW = pixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN));
    const int screenH = pixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NEAR(f().Left(), (screenW - f().Width()) / 2, 30);
    EXPECT_NEAR(f().Top(), (screenH - f().Height()) / 2, 30);
    frmScan().Unload();
    putDword(kPosKey, "ScanLeft", 600);
    putDword(kPosKey, "ScanTop", 0); // a stored 0 centres that edge only
    EXPECT_EQ(f().Left(), 600);
    EXPECT_NEAR(f().Top(), (screenH - f().Height()) / 2, 30);
    f().Move(900, 1200);
    frmScan().Unload();
    EXPECT_EQ(regText(HKEY_CURRENT_USER, kPosKey, "ScanLeft"), "900");
    EXPECT_EQ(regText(HKEY_CURRENT_USER, kPosKey, "ScanTop"), "1200");
}

} // namespace
