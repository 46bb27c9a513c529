// The information window's library list and the tip window's stored number.
#include "dialogtest.h"

#include "dialogforms.h"
#include "registry.h"

using namespace vm;
using namespace vmtest;

namespace {

using InfoTest = DialogTest;

TEST_F(InfoTest, TheLibraryListNamesWhatIsInstalledForEachDataSet) {
    const std::string p = paths.DataPath;
    for (const char* name : {"icondata-16.dat", "Iconlib-16.res", "Iconlib1-16.res", "Iconlib2-16.res", "Iconlib10-16.res"})
        writeFile(p + name, "x");
    const auto lines = FrmInfo::LibraryLines({16, 32}, p);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].rfind("16*16 Index Version\t", 0), 0u);
    EXPECT_GT(lines[0].size(), std::string("16*16 Index Version\t").size());
    EXPECT_EQ(lines[1], "16*16 Core Library\t\tPresent");
    EXPECT_EQ(lines[2], "16*16 Pellandry 1\tPresent");
    EXPECT_EQ(lines[3], "16*16 Pellandry 2\tPresent");
    EXPECT_EQ(lines[4], "16*16 Pellandry 10\tPresent");
    EXPECT_EQ(lines[5], "32*32 Core Library\t\tNOT Present"); // no 32 index: no index line

    infoHost.iconSizes = {16, 32};
    frmInfo().Load();
    EXPECT_EQ(frmInfo().txtPellandry.ListCount(), 6);
    EXPECT_EQ(frmInfo().txtPellandry.ListIndex(), 0);
    EXPECT_EQ(frmInfo().lblBuild.Caption(), "Vellumar version 1.00");
    frmInfo().tabStrip.Tabs(4).SetSelected(true);
    EXPECT_TRUE(frmInfo().fraInfo(4).Visible());
    EXPECT_FALSE(frmInfo().fraInfo(1).Visible());
    frmInfo().cmdHelp_Click();
    EXPECT_EQ(Seam::get().requests().back().kind, "HtmlHelp");
    EXPECT_EQ(Seam::get().requests().back().style, 3);
    frmInfo().txtMail_Click();
    EXPECT_EQ(Seam::get().requests().back().prompt.rfind("mailto:", 0), 0u);
    frmInfo().Unload();
}

TEST_F(InfoTest, AStoredTipNumberOutsideTheTipsStartsAtTheFirst) {
    for (DWORD stored : {45u, 0xFFFFFFFFu}) {
        putDword(kSettingsKey, "TipNr", stored);
        frmTip().Load();
        EXPECT_EQ(frmTip().TipNumber, 1);
        EXPECT_EQ(frmTip().txtTitle.Caption(), "Tip 1 of 29. Change Icons");
        frmTip().Unload();
    }
}

} // namespace
