// The windows with a tab strip: the controls of a page show above the strip,
// and a tab shows its tool tip when the pointer rests on it.
#include "scenario.h"

#include <commctrl.h>

#include "frminfo.h"
#include "frmoptions.h"
#include "frmprop.h"

using namespace vm;
using namespace vmscenario;

namespace {

class TabStripScenario : public LibraryScenario {
protected:
    void SetUp() override {
        LibraryScenario::SetUp();
    }
    // Opens a modal window with the steps given, and answers it with a
    // click on its closing button once they are done.
    void whileShown(const std::string& caption, const std::function<void()>& look, Control& close,
                    const std::function<void()>& open) {
        Answer shown(caption, {onProgram([&] {
                         look();
                         click(close);
                     })});
        open();
        EXPECT_TRUE(shown.answered()) << caption << " did not open";
    }
};

// The tool tip the pointer brings up when it rests on tab index of a strip; "" when none shows.
std::string tabTip(TabStrip& strip, int index) {
    RECT r{};
    SendMessageA(strip.hWnd(), TCM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(strip.hWnd(), &at);
    HWND tip = strip.form()->toolTipWindow();
    // Away from the strip until a tip shown before goes, then in from the side and still.
    POINT away{0, 0};
    ClientToScreen(strip.form()->hWnd(), &away);
    INPUT leave = mouseInput(away, 0);
    SendInput(1, &leave, sizeof(INPUT));
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000 && IsWindowVisible(tip);) settle(50);
    INPUT moves[] = {mouseInput(POINT{at.x - 8, at.y}, 0), mouseInput(at, 0)};
    SendInput(2, moves, sizeof(INPUT));
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 3000 && !IsWindowVisible(tip)) settle(50);
    if (!IsWindowVisible(tip)) return {};
    char text[256] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return text;
}

} // namespace

TEST_F(TabStripScenario, ThePropertiesWindowShowsTheIconsNameTypeOriginAndKeywordsOnItsTab) {
    typeInto(w().cmbSearch, "boat");
    press(VK_RETURN);
    clickItem(w().pnlResult, 1);
    FrmProp& prop = frmProp();
    whileShown(
        "Properties",
        [&] {
            for (Control* c : std::initializer_list<Control*>{&prop.picIcon, &prop.txtName, &prop.lblType,
                                                              &prop.txtType, &prop.lblOrigin, &prop.txtOrigin,
                                                              &prop.lblKeywords, &prop.txtKeywords}) {
                RECT whole{}, shows = visibleRect(*c);
                GetWindowRect(c->hWnd(), &whole);
                EXPECT_EQ(shows.right - shows.left, whole.right - whole.left) << "a control of the page is covered";
                EXPECT_EQ(shows.bottom - shows.top, whole.bottom - whole.top) << "a control of the page is covered";
            }
            EXPECT_EQ(prop.txtKeywords.Text(), "boat");
        },
        prop.cmdOK, [&] { clickButton(w().pnlToolbar, "prop"); });
}

TEST_F(TabStripScenario, TheOptionsAndInformationTabsShowTheirToolTips) {
    FrmOptions& options = frmOptions();
    whileShown(
        "Options",
        [&] {
            EXPECT_EQ(tabTip(options.tbsOptions, 1), "General Options");
            EXPECT_EQ(tabTip(options.tbsOptions, 3), "Define Action when Doubleclicking Icons");
        },
        options.cmdCancel, [] { chooseMenu({"&View", "&Options..."}); });
    FrmInfo& info = frmInfo();
    whileShown(
        "About Vellumar", [&] { EXPECT_EQ(tabTip(info.tabStrip, 4), "Contact Me"); }, info.cmdOK,
        [] { chooseMenu({"&Help", "&About Vellumar..."}); });
}
