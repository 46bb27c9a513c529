// The View menu, the toolbar's view button, the page panel and the Help menu.
#include "scenario.h"

#include <commctrl.h>

#include <algorithm>

#include "seam.h"

using namespace vm;
using namespace vmscenario;

namespace {
using Texts = std::vector<std::string>;


bool checked(const std::string& menu, const std::string& caption) {
    const std::vector<MenuLine> lines = openMenu(menu);
    const MenuLine* l = menuLine(lines, caption);
    EXPECT_NE(l, nullptr) << caption;
    return l && l->checked;
}

int height(const RECT& r) { return r.bottom - r.top; }

// The view the result list shows.
DWORD listView() { return static_cast<DWORD>(SendMessageA(frmMain().pnlResult.hWnd(), LVM_GETVIEW, 0, 0)); }

using BoatsInView = BoatListing;
} // namespace

TEST_F(MainWindowScenario, StatusBarAndDetailPaneComeAndGoFromTheViewMenu) {
    const RECT result = rectOf(w().pnlResult), status = rectOf(w().pnlStatusbar);
    ASSERT_TRUE(checked("&View", "Status &Bar"));
    chooseMenu({"&View", "Status &Bar"});
    EXPECT_FALSE(IsWindowVisible(w().pnlStatusbar.hWnd()));
    EXPECT_EQ(height(rectOf(w().pnlResult)), height(result) + height(status));
    EXPECT_FALSE(checked("&View", "Status &Bar"));
    chooseMenu({"&View", "Status &Bar"});
    EXPECT_TRUE(IsWindowVisible(w().pnlStatusbar.hWnd()));
    EXPECT_EQ(height(rectOf(w().pnlResult)), height(result));

    ASSERT_TRUE(checked("&View", "All Icon &Formats"));
    chooseMenu({"&View", "All Icon &Formats"});
    EXPECT_FALSE(IsWindowVisible(w().grdIcons.hWnd()));
    EXPECT_NEAR(rectOf(w().pnlNav).bottom, rectOf(w().pnlResult).bottom - 1, 2); // the tree takes the column
    EXPECT_FALSE(checked("&View", "All Icon &Formats"));
    chooseMenu({"&View", "All Icon &Formats"});
    EXPECT_TRUE(IsWindowVisible(w().grdIcons.hWnd()));
    EXPECT_LT(rectOf(w().pnlNav).bottom, rectOf(w().grdIcons).top);
}

TEST_F(MainWindowScenario, ToolbarsComeAndGoFromTheViewMenu) {
    chooseMenu({"&View", "&Toolbars", "&Standard Buttons"});
    EXPECT_FALSE(IsWindowVisible(w().pnlToolbar.hWnd()));
    // The panes move up into the room the band leaves.
    const RECT without = rectOf(w().pnlResult);
    chooseMenu({"&View", "&Toolbars", "&Standard Buttons"});
    EXPECT_TRUE(IsWindowVisible(w().pnlToolbar.hWnd()));
    EXPECT_GT(rectOf(w().pnlResult).top, without.top);
    EXPECT_GE(rectOf(w().pnlResult).top, rectOf(w().pnlCoolBar).bottom);
}

TEST_F(BoatsInView, ViewStylesFromTheMenuAndTheToolbarButton) {
    EXPECT_EQ(listView(), static_cast<DWORD>(LV_VIEW_ICON));
    chooseMenu({"&View", "&Details"});
    EXPECT_EQ(listView(), static_cast<DWORD>(LV_VIEW_DETAILS));
    EXPECT_TRUE(checked("&View", "&Details"));
    EXPECT_FALSE(checked("&View", "La&rge Icons"));
    // The button steps on: details to large icons, then list.
    clickButton(w().pnlToolbar, "view");
    EXPECT_EQ(listView(), static_cast<DWORD>(LV_VIEW_ICON));
    clickButton(w().pnlToolbar, "view");
    EXPECT_EQ(listView(), static_cast<DWORD>(LV_VIEW_LIST));
    EXPECT_TRUE(checked("&View", "&List"));
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 3u); // the items stay
}

TEST_F(BoatsInView, ArrangeIconsByOriginSortsThePage) {
    chooseMenu({"&View", "Arrange &Icons", "by &Origin"});
    const Texts origins = itemTexts(w().pnlResult, 2);
    EXPECT_TRUE(std::is_sorted(origins.begin(), origins.end()));
    EXPECT_EQ(origins.size(), 3u);
}

TEST_F(BoatsInView, AClickOnThePagePanelOffersThePages) {
    HWND bar = w().pnlStatusbar.hWnd();
    RECT area{};
    SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(w().pnlStatusbar.Panels("area").Index() - 1),
                 reinterpret_cast<LPARAM>(&area));
    {
        Answer pages(kPopupMenu, {chooseLine("2")});
        click(w().pnlStatusbar, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
        ASSERT_TRUE(pages.answered());
        EXPECT_NE(menuLine(pages.seen().lines, "1"), nullptr);
    }
    EXPECT_EQ(panelText("area"), "Page 2 of 2");
}

TEST_F(MainWindowScenario, HelpTopicsOpensTheHelpFile) {
    chooseMenu({"&Help", "&Help Topics..."});
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().kind, "HtmlHelp");
    EXPECT_EQ(Seam::get().requests().back().prompt, dir.path() + "\\Vellumar.chm");
}

// F1 opens the page of the pane that has the focus: the result list's for the
// list and the detail pane, the main window's anywhere else.
TEST_F(BoatsInView, FOneOpensThePageOfThePaneWithTheFocus) {
    const auto helpAsked = [] {
        const std::size_t before = Seam::get().requests().size();
        press(VK_F1);
        const auto& asked = Seam::get().requests();
        return asked.size() == before + 1 && asked.back().kind == "HtmlHelp" ? asked.back().style : -1LL;
    };
    clickItem(w().pnlResult, 1);
    EXPECT_EQ(helpAsked(), 14);
    click(w().grdIcons, 20, 10);
    EXPECT_EQ(helpAsked(), 14);
    dropDown(w().cmbMode);
    press(VK_ESCAPE);
    EXPECT_EQ(helpAsked(), 13);
}
