// Every dialog from the keyboard (Tab and Shift+Tab round each page, Enter for
// the default button), distinct menu letters, and what a modal window leaves;
// the tip of the day that the started program shows takes the keys.
#include "patience.h"
#include "scenario.h"
#include "dialogforms.h"
#include "frmprop.h"
#include <set>

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
        if (std::find(seen.begin(), seen.end(), at) != seen.end()) break;
        seen.push_back(at);
    }
    return seen;
}

// Tab visits every shown, enabled tab stop of a page once; Shift+Tab goes the same ring backwards.
void walk(Form& form, TabStrip* tabs = nullptr, int tab = 1) {
    if (tabs) clickTab(*tabs, tab);
    ring(0); // once round first: a control may change what the others offer when it gets the focus
    std::vector<HWND> forward = ring(0), backward = ring(vbShiftMask), offered;
    EnumChildWindows(form.hWnd(), [](HWND h, LPARAM list) -> BOOL {
        bool usable = (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(h);
        for (HWND at = h; usable && (GetWindowLongA(at, GWL_STYLE) & WS_CHILD); at = GetParent(at)) usable = IsWindowEnabled(at);
        if (usable) reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&offered));
    std::vector<HWND> visited = forward;
    std::sort(visited.begin(), visited.end()), std::sort(offered.begin(), offered.end());
    EXPECT_EQ(visited, offered) << form.Name() << tab << ": Tab misses or repeats a control";
    std::reverse(backward.begin(), backward.end());
    std::rotate(backward.begin(), std::find(backward.begin(), backward.end(), forward.front()), backward.end());
    EXPECT_EQ(backward, forward) << form.Name() << tab << ": Shift+Tab goes another way";
}

// A shown top-level window of the process with this caption, or null.
HWND shownWindow(DWORD process, const char* caption) {
    for (HWND h = FindWindowExA(nullptr, nullptr, nullptr, caption); h; h = FindWindowExA(nullptr, h, nullptr, caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == process && IsWindowVisible(h)) return h;
    }
    return nullptr;
}
} // namespace

// The program started as a user starts it, with the tip of the day on: once the
// splash has gone the tip has the keys, and Esc, pressed without a click, closes it.
TEST(StartUpScenario, EscClosesTheTipOfTheDayShownAtStartUp) {
    vmtest::ScratchDir dir; // the program's folder: nothing but the tip in front (an index, no library notice)
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Vellumar\\Settings", "VellumarLight", REG_SZ, "1", 2);
    vmtest::writeFile(dir.file("Icondata-32.dat"), "none;1:0:00\r\n");
    const std::string program = dir.file("Vellumar.exe");
    ASSERT_TRUE(CopyFileA((programFolder() + "Vellumar.exe").c_str(), program.c_str(), FALSE));
    std::string line = "\"" + program + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND tip = nullptr;
    const bool shown = vmtest::waitUntil([&] { return (tip = shownWindow(pi.dwProcessId, "Tip of the Day")) != nullptr; }, [] { Sleep(50); });
    // A person reads the tip before pressing a key, as a second hand waits for a window to come to the front.
    vmtest::waitUntil([&] { return GetForegroundWindow() == tip; }, [] { Sleep(20); }, kFrontMs);
    if (shown) press(VK_ESCAPE);
    EXPECT_TRUE(shown) << "no tip of the day at start-up";
    EXPECT_TRUE(vmtest::waitUntil([&] { return !IsWindowVisible(tip); }, [] { Sleep(50); }, kFrontMs)) << "Esc did not close the tip";
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
}

TEST_F(LibraryScenario, EveryWindowIsUsedFromTheKeyboardAndAModalWindowLeavesNothingBehind) {
    // Opens a window; the hands walk it tab by tab and answer it.
    auto dialog = [](const char* caption, Form& form, TabStrip* tabs, std::function<void()> answer, std::function<void()> open) {
        Answer shown(caption, {onProgram([&] {
            for (int tab = 1; tab <= (tabs ? tabs->Tabs.Count() : 1); ++tab) walk(form, tabs, tab);
            answer();
        })});
        open();
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
    click(frmTip().chkTip), press(VK_RETURN);
    EXPECT_FALSE(frmTip().IsLoaded());
    // Menu letters differ; the folder picker opens centred; no toolbar button stays hovered.
    std::set<int> letters;
    for (const MenuLine& line : openMenu("&View"))
        EXPECT_TRUE(line.separator || letters.insert(tolower(line.caption[line.caption.find('&') + 1])).second) << line.caption;
    RECT picker{}, owner{};
    GetWindowRect(w().hWnd(), &owner);
    Answer pick("Browse for Folder", {HandStep{[&](const ShownWindow& s) { GetWindowRect(s.hwnd, &picker); }, {}}, pressKey(VK_ESCAPE)});
    chooseMenu({"&Tools", "&Set Any Folder Icon to Default..."});
    EXPECT_TRUE(pick.answered());
    EXPECT_NEAR(picker.left + picker.right, owner.left + owner.right, 4) << "the picker is not centred on its owner";
    EXPECT_NEAR(picker.top + picker.bottom, owner.top + owner.bottom, 4);
    // The pointer went from the button to the window it opened, which closed.
    Answer keys("Edit Keywords", {clickOn("Close")});
    clickButton(w().pnlToolbarYour, "refedit");
    EXPECT_TRUE(keys.answered());
    EXPECT_EQ(SendMessageA(w().pnlToolbarYour.hWnd(), TB_GETHOTITEM, 0, 0), -1);
}
