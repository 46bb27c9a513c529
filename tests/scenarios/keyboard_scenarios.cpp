// Every window from the keyboard: Tab and Shift+Tab reach each control the
// shown page offers, in one ring, Enter presses the default button and Esc the
// cancel button; the letters of a menu differ; what a modal window leaves
// behind is tidy (the picker centred on its owner, no toolbar button hovered).
#include "scenario.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "browserstate.h"
#include "dialogforms.h"
#include "frmchange.h"
#include "frmimport.h"
#include "frmprop.h"
#include "ico_fixtures.h"
#include "state.h"

using namespace vm;
using namespace vmscenario;

namespace {

// The control a focused window stands for (a combo box for its edit box).
HWND tabStopOf(HWND h) {
    for (HWND at = h; at && (GetWindowLongA(at, GWL_STYLE) & WS_CHILD); at = GetParent(at))
        if (GetWindowLongA(at, GWL_STYLE) & WS_TABSTOP) return at;
    return h;
}

std::string nameOf(HWND h) {
    char cls[32] = {};
    GetClassNameA(h, cls, sizeof cls);
    return std::string(cls) + " \"" + TextOfWindow(h) + "\"";
}

// What Tab presses from the focus visit until the focus is back where the ring began.
std::vector<HWND> ring(int shift) {
    std::vector<HWND> seen;
    for (int i = 0; i < 40; ++i) {
        press(VK_TAB, shift);
        const HWND at = tabStopOf(focusedWindow());
        if (!seen.empty() && at == seen.front()) break;
        seen.push_back(at);
    }
    return seen;
}

// Tab and Shift+Tab walk the shown page of the form: each ring visits every
// visible, enabled tab stop once, and Shift+Tab walks the ring backwards.
// The faults found, as texts.
std::vector<std::string> walkFaults(Form& form, const std::string& page) {
    std::vector<std::string> faults;
    const std::vector<HWND> forward = ring(0);
    std::set<HWND> offered;
    EnumChildWindows(
        form.hWnd(),
        [](HWND h, LPARAM lp) -> BOOL {
            bool usable = (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(h);
            for (HWND at = h; usable && at && at != GetAncestor(h, GA_ROOT); at = GetParent(at))
                usable = IsWindowEnabled(at) != FALSE;
            if (usable) reinterpret_cast<std::set<HWND>*>(lp)->insert(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&offered));
    const std::set<HWND> visited(forward.begin(), forward.end());
    for (HWND h : offered)
        if (!visited.count(h)) faults.push_back(page + ": Tab never reaches " + nameOf(h));
    for (HWND h : visited)
        if (!offered.count(h)) faults.push_back(page + ": Tab stops on " + nameOf(h));
    if (visited.size() != forward.size()) faults.push_back(page + ": Tab visits a control twice");
    const std::vector<HWND> backward = ring(vbShiftMask);
    const auto start = std::find(forward.begin(), forward.end(), backward.empty() ? nullptr : backward.front());
    std::vector<HWND> reversed;
    for (size_t i = 0; start != forward.end() && i < forward.size(); ++i)
        reversed.push_back(forward[(static_cast<size_t>(start - forward.begin()) + forward.size() - i) % forward.size()]);
    if (backward != reversed) faults.push_back(page + ": Shift+Tab does not walk the ring backwards");
    return faults;
}

using Texts = std::vector<std::string>;

// The letters marked with "&" in a menu's lines, and those two lines share.
void sharedLetters(HMENU menu, const std::string& where, Texts& faults) {
    std::map<char, std::string> taken;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const std::string line = text;
        for (size_t at = line.find('&'); at != std::string::npos && at + 1 < line.size(); at = line.find('&', at + 2)) {
            if (line[at + 1] == '&') continue;
            const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(line[at + 1])));
            if (taken.count(letter)) faults.push_back(where + ": \"" + taken[letter] + "\" and \"" + line + "\"");
            taken[letter] = line;
            break;
        }
        if (HMENU sub = GetSubMenu(menu, i)) sharedLetters(sub, where + " > " + line, faults);
    }
}

class KeyboardScenario : public LibraryScenario {
protected:
    void TearDown() override {
        for (Form* f : std::initializer_list<Form*>{&frmOptions(), &frmInfo(), &frmProp()})
            if (f->IsLoaded()) f->Unload();
        LibraryScenario::TearDown();
    }
};

} // namespace

TEST_F(KeyboardScenario, EveryDialogIsWalkedWithTabAndAnsweredWithEnterAndEsc) {
    Texts faults;
    {
        Answer shown("Options", {onProgram([&] {
            FrmOptions& o = frmOptions();
            for (int page = 1; page <= 4; ++page) {
                clickTab(o.tbsOptions, page);
                const Texts found = walkFaults(o, "Options page " + std::to_string(page));
                faults.insert(faults.end(), found.begin(), found.end());
            }
            clickTab(o.tbsOptions, 3);
            click(o.optCopy);
            press(VK_RETURN); // Close keeps what was chosen
        })});
        chooseMenu({"&View", "&Options..."});
    }
    EXPECT_FALSE(frmOptions().IsLoaded());
    EXPECT_EQ(stored("DCAction"), "Copy");
    {
        Answer shown("About Vellumar", {onProgram([&] {
            FrmInfo& i = frmInfo();
            for (int page = 1; page <= 4; ++page) {
                clickTab(i.tabStrip, page);
                const Texts found = walkFaults(i, "About page " + std::to_string(page));
                faults.insert(faults.end(), found.begin(), found.end());
            }
            press(VK_RETURN);
        })});
        chooseMenu({"&Help", "&About Vellumar..."});
    }
    EXPECT_FALSE(frmInfo().IsLoaded());

    typeInto(w().cmbSearch, "boat");
    press(VK_RETURN);
    clickItem(w().pnlResult, 1);
    {
        // The keywords box passes Tab on, and Enter in it presses OK.
        Answer shown("Properties", {onProgram([&] {
            const Texts found = walkFaults(frmProp(), "Properties");
            faults.insert(faults.end(), found.begin(), found.end());
            click(frmProp().txtKeywords);
            press(VK_RETURN);
        })});
        clickButton(w().pnlToolbar, "prop");
    }
    EXPECT_FALSE(frmProp().IsLoaded());
    {
        Answer shown("Edit Keywords", {onProgram([&] {
            FrmKey& k = frmKey();
            const Texts found = walkFaults(k, "Edit Keywords");
            faults.insert(faults.end(), found.begin(), found.end());
            click(k.txtKey);
            typeText("Quokka");
            press(VK_RETURN); // adds what was typed
            EXPECT_EQ(k.lstKey.Text(), "Quokka");
            EXPECT_TRUE(k.Visible());
            press(VK_ESCAPE);
        })});
        chooseMenu({"&References", "&Edit Custom Keywords..."});
    }
    EXPECT_FALSE(frmKey().Visible());

    // A folder typed into the scan and Enter, then a reference made with Enter.
    const std::string tree = dir.file("scan");
    CreateDirectoryA(tree.c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(tree + "\\a.ico", vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 8)})));
    {
        Answer shown("Open by Folder", {onProgram([&] {
            const Texts found = walkFaults(frmScan(), "Open by Folder");
            faults.insert(faults.end(), found.begin(), found.end());
            click(frmScan().txtDir);
            typeText(tree);
            press(VK_RETURN);
        })});
        chooseMenu({"&File", "Open by &Folder..."});
    }
    ASSERT_EQ(panelText("count"), "1 Icon(s)");
    clickItem(w().pnlResult, 1);
    const int before = UserRefs.lstUser.ListCount();
    {
        Answer shown("Add Reference", {onProgram([&] {
            FrmAdd& a = frmAdd();
            dropDown(a.cmbSearch);
            clickListEntry(a.cmbSearch, "boat");
            const Texts found = walkFaults(a, "Add Reference");
            faults.insert(faults.end(), found.begin(), found.end());
            click(a.cmbSearch);
            press(VK_RETURN);
        })});
        chooseMenu({"&References", "&Add..."});
    }
    EXPECT_FALSE(frmAdd().Visible());
    EXPECT_EQ(UserRefs.lstUser.ListCount(), before + 1);

    chooseMenu({"&Help", "&Tip of the Day..."});
    ASSERT_TRUE(frmTip().Visible());
    const Texts found = walkFaults(frmTip(), "Tip of the Day");
    faults.insert(faults.end(), found.begin(), found.end());
    click(frmTip().chkTip);
    press(VK_RETURN);
    EXPECT_FALSE(frmTip().IsLoaded());
    EXPECT_EQ(stored("Tip"), "0");
    EXPECT_EQ(faults, Texts{});
}

TEST_F(KeyboardScenario, MenusHaveDistinctLettersAndAModalWindowLeavesNothingBehind) {
    Texts faults;
    for (Form* f : std::initializer_list<Form*>{&w(), &frmChange(), &frmImport()}) {
        f->Create();
        sharedLetters(f->menuBar(), f->Name(), faults);
    }
    // The windows that are no dialogs are walked too.
    clickNode("SysDrives");
    for (Form* f : std::initializer_list<Form*>{&w(), &frmImport()}) {
        if (f == &frmImport()) clickButton(w().pnlToolbar, "create");
        const Texts found = walkFaults(*f, f->Name());
        faults.insert(faults.end(), found.begin(), found.end());
    }
    frmImport().Unload();
    EXPECT_EQ(faults, Texts{});

    // The folder picker stands in the middle of the window it opened for.
    {
        RECT picker{}, owner{};
        Answer shown("Options", {onProgram([&] {
            FrmOptions& o = frmOptions();
            GetWindowRect(o.hWnd(), &owner);
            clickTab(o.tbsOptions, 4);
            Answer pick("Browse for Folder",
                        {HandStep{[&](const ShownWindow& s) { GetWindowRect(s.hwnd, &picker); }, {}},
                         pressKey(VK_ESCAPE)});
            click(o.cmdBrowse);
            EXPECT_TRUE(pick.answered());
            click(o.cmdCancel);
        })});
        chooseMenu({"&View", "&Options..."});
        EXPECT_TRUE(shown.answered());
        EXPECT_NEAR((picker.left + picker.right) / 2, (owner.left + owner.right) / 2, 2);
        EXPECT_NEAR((picker.top + picker.bottom) / 2, (owner.top + owner.bottom) / 2, 2);
    }

    // A toolbar button that opened a modal window shows no hover frame once
    // the pointer has gone to the window and the window closed.
    {
        Answer shown("Edit Keywords", {clickOn("Close")});
        clickButton(w().pnlToolbarYour, "refedit");
        EXPECT_TRUE(shown.answered());
    }
    settle(100);
    EXPECT_EQ(SendMessageA(w().pnlToolbarYour.hWnd(), TB_GETHOTITEM, 0, 0), -1);
}
