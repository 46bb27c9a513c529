// Every dialog from the keyboard (Tab and Shift+Tab round each page, Enter for
// the default button), distinct menu letters, and what a modal window leaves.
#include "scenario.h"

#include <commctrl.h>

#include <set>

#include "dialogforms.h"
#include "frmprop.h"

using namespace vm;
using namespace vmscenario;

namespace {
// Tab (or Shift+Tab) from the focus until it comes back: the tab stops visited.
std::vector<HWND> ring(int shift) {
    std::vector<HWND> seen;
    while (seen.size() < 40) {
        press(VK_TAB, shift);
        HWND at = focusedWindow();
        while ((GetWindowLongA(at, GWL_STYLE) & (WS_TABSTOP | WS_CHILD)) == WS_CHILD) at = GetParent(at);
        if (!seen.empty() && at == seen.front()) break;
        seen.push_back(at);
    }
    return seen;
}

// Tab visits every shown, enabled tab stop once; Shift+Tab goes the same ring backwards.
void walk(Form& form, const std::string& page, std::vector<std::string>& faults) {
    std::vector<HWND> forward = ring(0), backward = ring(vbShiftMask);
    std::set<HWND> offered;
    EnumChildWindows(form.hWnd(), [](HWND h, LPARAM set) -> BOOL {
        bool usable = (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(h);
        for (HWND at = h; usable && (GetWindowLongA(at, GWL_STYLE) & WS_CHILD); at = GetParent(at)) usable = IsWindowEnabled(at);
        if (usable) reinterpret_cast<std::set<HWND>*>(set)->insert(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&offered));
    if (std::set<HWND>(forward.begin(), forward.end()) != offered || forward.size() != offered.size())
        faults.push_back(page + ": Tab visits " + std::to_string(forward.size()) + " of " + std::to_string(offered.size()));
    std::reverse(backward.begin(), backward.end());
    std::rotate(backward.begin(), std::find(backward.begin(), backward.end(), forward.front()), backward.end());
    if (backward != forward) faults.push_back(page + ": Shift+Tab goes another way");
}
} // namespace

TEST_F(LibraryScenario, EveryDialogGoesRoundWithTabAndEnterPressesItsDefaultButton) {
    std::vector<std::string> faults;
    // Opens a window; the hands walk it tab by tab and answer it.
    auto dialog = [&](const char* caption, Form& form, TabStrip* tabs, std::function<void()> answer, std::function<void()> open) {
        Answer shown(caption, {onProgram([&] {
            for (int tab = 1; tab <= (tabs ? tabs->Tabs.Count() : 1); ++tab) {
                if (tabs) clickTab(*tabs, tab);
                walk(form, caption + std::to_string(tab), faults);
            }
            answer();
        })});
        open();
        EXPECT_TRUE(shown.answered()) << caption;
    };
    FrmOptions& o = frmOptions();
    dialog("Options", o, &o.tbsOptions, [&] { clickTab(o.tbsOptions, 3), click(o.optCopy), press(VK_RETURN); },
           [] { chooseMenu({"&View", "&Options..."}); });
    EXPECT_EQ(stored("DCAction"), "Copy"); // Enter is Close, which keeps what was chosen
    dialog("About Vellumar", frmInfo(), &frmInfo().tabStrip, [] { clickTab(frmInfo().tabStrip, 1), press(VK_RETURN); },
           [] { chooseMenu({"&Help", "&About Vellumar..."}); });
    typeInto(w().cmbSearch, "boat");
    press(VK_RETURN);
    clickItem(w().pnlResult, 1);
    // The keywords box hands Tab on, and Enter in it to OK.
    dialog("Properties", frmProp(), nullptr, [] { click(frmProp().txtKeywords), press(VK_RETURN); },
           [] { clickButton(w().pnlToolbar, "prop"); });
    FrmKey& k = frmKey();
    dialog("Edit Keywords", k, nullptr, [&] { click(k.txtKey), typeText("Quokka"), press(VK_RETURN), press(VK_ESCAPE); },
           [] { chooseMenu({"&References", "&Edit Custom Keywords..."}); });
    EXPECT_EQ(k.lstKey.Text(), "Quokka"); // Enter adds what was typed
    EXPECT_FALSE(frmInfo().IsLoaded() || frmOptions().IsLoaded() || frmProp().IsLoaded() || k.Visible());
    chooseMenu({"&Help", "&Tip of the Day..."});
    walk(frmTip(), "Tip", faults);
    click(frmTip().chkTip);
    press(VK_RETURN);
    EXPECT_FALSE(frmTip().IsLoaded());
    EXPECT_EQ(faults, std::vector<std::string>{});
}

TEST_F(LibraryScenario, MenusMarkDistinctLettersAndAModalWindowLeavesNothingBehind) {
    std::set<char> letters;
    for (const MenuLine& line : openMenu("&View"))
        if (size_t at = line.caption.find('&'); at != std::string::npos) {
            EXPECT_TRUE(letters.insert(static_cast<char>(tolower(line.caption[at + 1]))).second) << line.caption;
        }
    RECT picker{}, owner{};
    Answer shown("Options", {onProgram([&] {
        GetWindowRect(frmOptions().hWnd(), &owner);
        clickTab(frmOptions().tbsOptions, 4);
        Answer pick("Browse for Folder", {HandStep{[&](const ShownWindow& s) { GetWindowRect(s.hwnd, &picker); }, {}}, pressKey(VK_ESCAPE)});
        click(frmOptions().cmdBrowse);
        EXPECT_TRUE(pick.answered());
        click(frmOptions().cmdCancel);
    })});
    chooseMenu({"&View", "&Options..."});
    EXPECT_TRUE(shown.answered());
    EXPECT_NEAR(picker.left + picker.right, owner.left + owner.right, 4) << "the picker is not centred on its owner";
    EXPECT_NEAR(picker.top + picker.bottom, owner.top + owner.bottom, 4);
    // The pointer went from the button to the window it opened, which closed.
    Answer keys("Edit Keywords", {clickOn("Close")});
    clickButton(w().pnlToolbarYour, "refedit");
    EXPECT_TRUE(keys.answered());
    EXPECT_EQ(SendMessageA(w().pnlToolbarYour.hWnd(), TB_GETHOTITEM, 0, 0), -1);
}
