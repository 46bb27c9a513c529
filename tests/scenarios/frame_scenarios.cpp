// The frame of the main window: commands at start, splitters, window states,
// tool bars and the end of a session.
#include "scenario.h"

#include "ico_fixtures.h"
#include "registry.h"

#include <algorithm>

using namespace vm;
using namespace vmscenario;

namespace {
int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

// How the panes sit in the client area: the gaps a layout keeps whatever the window's size.
struct Gaps {
    int resultRight, resultBottom, statusBottom, statusWidth, navBottom, gridBottom, coolBarWidth;
};

Gaps gaps() {
    FrmMain& w = frmMain();
    const RECT client = clientRect(), result = rectOf(w.pnlResult), status = rectOf(w.pnlStatusbar),
               nav = rectOf(w.pnlNav), grid = rectOf(w.grdIcons);
    return {client.right - result.right, status.top - result.bottom, client.bottom - status.bottom,
            client.right - width(status), result.bottom - nav.bottom, result.bottom - grid.bottom,
            client.right - width(rectOf(w.pnlCoolBar))};
}

// The panes reach the right and bottom edges of the client area, as the layout places them.
void expectFilled(const Gaps& g) {
    EXPECT_GE(g.resultRight, -2); // the layout leaves 7 px of the outer width, a little less than the frame takes
    EXPECT_LE(g.resultRight, 10);
    EXPECT_GE(g.resultBottom, 0);
    EXPECT_LE(g.resultBottom, 3 * frmMain().TextHeight("Gg") / TwipsPerPixelY());
    EXPECT_EQ(g.statusBottom, 0);
    EXPECT_EQ(g.statusWidth, 0);
    EXPECT_NEAR(g.gridBottom, 0, 2);
    EXPECT_EQ(g.coolBarWidth, 0);
}

void expectSameGaps(const Gaps& a, const Gaps& b) {
    EXPECT_NEAR(a.resultRight, b.resultRight, 2);
    EXPECT_NEAR(a.resultBottom, b.resultBottom, 2);
    EXPECT_EQ(a.statusBottom, b.statusBottom);
    EXPECT_EQ(a.statusWidth, b.statusWidth);
    EXPECT_NEAR(a.gridBottom, b.gridBottom, 2);
}
} // namespace

TEST_F(MainWindowScenario, ItemCommandsStartAsForNoSelection) {
    const std::vector<MenuLine> file = openMenu("&File");
    for (const char* caption : {"Save &As...", "Extract from &ZIP...", "C&hange...", "Edit &With...", "P&lay",
                                "&Run Shortcut...", "&Properties"}) {
        ASSERT_NE(menuLine(file, caption), nullptr) << caption;
        EXPECT_FALSE(menuLine(file, caption)->enabled) << caption;
    }
    EXPECT_TRUE(menuLine(file, "&Open by File...")->enabled);
    const std::vector<MenuLine> tools = openMenu("&Tools");
    EXPECT_FALSE(menuLine(tools, "&Zoom")->enabled);
    for (const char* key : {"save", "copy", "play", "prop", "zoom"})
        EXPECT_FALSE(w().pnlToolbar.Buttons(key).Enabled()) << key;
    for (const char* key : {"refadd", "refdel", "favadd", "favdel", "change"})
        EXPECT_FALSE(w().pnlToolbarYour.Buttons(key).Enabled()) << key;
}

TEST_F(MainWindowScenario, EachSplitterDragsAlone) {
    // The splitter follows the pointer, which grabbed the bar within its 4 px gap.
    const int grab = 4;
    const RECT nav = rectOf(w().pnlNav), result = rectOf(w().pnlResult), grid = rectOf(w().grdIcons);
    dragSplitter(w().picSplitV, 40, 0);
    EXPECT_NEAR(width(rectOf(w().pnlNav)), width(nav) + 40, grab);
    EXPECT_EQ(rectOf(w().pnlResult).left - rectOf(w().pnlNav).right, result.left - nav.right);
    EXPECT_EQ(width(rectOf(w().grdIcons)), width(rectOf(w().pnlNav)));
    EXPECT_NEAR(rectOf(w().pnlResult).right, result.right, 1);
    EXPECT_EQ(height(rectOf(w().pnlNav)), height(nav)); // the other splitter stays
    const RECT navAfterV = rectOf(w().pnlNav), resultAfterV = rectOf(w().pnlResult);

    dragSplitter(w().picSplitH, 0, -50);
    EXPECT_NEAR(height(rectOf(w().pnlNav)), height(nav) - 50, grab);
    EXPECT_EQ(rectOf(w().grdIcons).top - rectOf(w().pnlNav).bottom, grid.top - nav.bottom);
    EXPECT_EQ(rectOf(w().grdIcons).bottom, grid.bottom);
    EXPECT_EQ(width(rectOf(w().pnlNav)), width(navAfterV)); // the other splitter stays
    EXPECT_EQ(rectOf(w().pnlResult).left, resultAfterV.left);
}

TEST_F(MainWindowScenario, MaximisedAndRestoredThePanesFillTheClientArea) {
    const Gaps restored = gaps();
    const RECT before = clientRect();
    clickFrame(HTMAXBUTTON);
    ASSERT_EQ(w().WindowState(), vbMaximized);
    ASSERT_GT(width(clientRect()), width(before));
    expectFilled(gaps());
    expectSameGaps(gaps(), restored);
    systemMenu('R');
    ASSERT_EQ(w().WindowState(), vbNormal);
    EXPECT_EQ(width(clientRect()), width(before));
    expectSameGaps(gaps(), restored);
    // Maximised from the system menu and restored with the caption button.
    systemMenu('X');
    ASSERT_EQ(w().WindowState(), vbMaximized);
    expectFilled(gaps());
    clickFrame(HTMAXBUTTON);
    ASSERT_EQ(w().WindowState(), vbNormal);
    expectSameGaps(gaps(), restored);
}

namespace {
class StartMaximised : public MainWindowScenario {
protected:
    void prepare() override {
        procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
        procRegSetValue(kPosKey, "MainState", Variant(std::int32_t{2}), REG_DWORD);
    }
};
} // namespace

TEST_F(StartMaximised, ThePanesFillTheMaximisedClientArea) {
    ASSERT_EQ(w().WindowState(), vbMaximized);
    RECT screen{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    EXPECT_GT(width(clientRect()), width(screen) * 9 / 10);
    expectFilled(gaps());
}

namespace {
void store(const char* key, const char* name, const std::string& text) {
    procRegCreateKey(key, HKEY_CURRENT_USER);
    procRegSetValue(key, name, Variant(text), REG_SZ);
}

std::string stored(const char* key, const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, key, name);
    return reg.RegValue.isEmpty() ? "<missing>" : reg.RegValue.toText();
}

// A band's place in the main window's client area (bands count from 1).
RECT bandRect(int band) {
    HWND rebar = frmMain().pnlCoolBar.hWnd();
    RECT r{};
    SendMessageA(rebar, RB_GETRECT, static_cast<WPARAM>(band - 1), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(rebar, frmMain().hWnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Every button of the toolbar lies inside its band and the window.
void expectWhole(Toolbar& bar, int band) {
    HWND h = bar.hWnd();
    const int count = static_cast<int>(SendMessageA(h, TB_BUTTONCOUNT, 0, 0));
    RECT last{};
    SendMessageA(h, TB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last));
    MapWindowPoints(h, frmMain().hWnd(), reinterpret_cast<POINT*>(&last), 2);
    EXPECT_LE(last.right, bandRect(band).right) << "band " << band << " cuts its toolbar off";
    EXPECT_LE(last.right, clientRect().right) << "the window cuts band " << band << " off";
}

// Both toolbars without labels, the second one beside the first.
class SharedToolbarRow : public MainWindowScenario {
protected:
    void prepare() override {
        store(kSettingsKey, "TextLabel", "False");
        store(kSettingsKey, "YourPos", "False");
    }
};
} // namespace

TEST_F(SharedToolbarRow, TheSecondToolbarSitsBesideTheFirstAndTheNextStartShowsTheSame) {
    EXPECT_EQ(bandRect(2).top, bandRect(1).top);
    EXPECT_EQ(SendMessageA(w().pnlCoolBar.hWnd(), RB_GETROWCOUNT, 0, 0), 3);
    expectWhole(w().pnlToolbar, 1);
    expectWhole(w().pnlToolbarYour, 2);
    chooseMenu({"&File", "E&xit"});
    ASSERT_FALSE(w().IsLoaded());
    EXPECT_EQ(stored(kSettingsKey, "YourPos"), "False");

    w().Load();
    show();
    EXPECT_EQ(bandRect(2).top, bandRect(1).top);
    expectWhole(w().pnlToolbar, 1);
    expectWhole(w().pnlToolbarYour, 2);
}

TEST_F(SharedToolbarRow, ANarrowWindowShowsTheWholeStandardToolbarAndSavesTheRowsItShows) {
    // Just wide enough for the standard toolbar with its labels.
    const int needed = w().pnlToolbar.ButtonsWidth();
    chooseMenu({"&View", "&Toolbars", "&Text Labels"});
    const int labelled = w().pnlToolbar.ButtonsWidth();
    ASSERT_GT(labelled, needed);
    w().SetWidth(labelled + 60 * TwipsPerPixelX());
    settle();
    expectWhole(w().pnlToolbar, 1);
    // The second toolbar no longer fits beside the first: the bar shows it on a row of its own.
    EXPECT_GT(bandRect(2).top, bandRect(1).top);
    chooseMenu({"&File", "E&xit"});
    ASSERT_FALSE(w().IsLoaded());
    EXPECT_EQ(stored(kSettingsKey, "YourPos"), "True");
}

TEST_F(LibraryScenario, ACancelledLogOffLeavesTheWindowWorking) {
    SendMessageA(w().hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageA(w().hWnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    ASSERT_TRUE(w().IsLoaded());
    // A later start still hands its paths over: the file is listed.
    std::string text = dir.file("later.ico");
    ASSERT_TRUE(vmtest::writeFile(text, vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 8)})));
    COPYDATASTRUCT cds{0, static_cast<DWORD>(text.size()), text.data()};
    SendMessageA(w().hWnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    settle(100);
    EXPECT_EQ(itemTexts(w().pnlResult), (std::vector<std::string>{"later.ico"}));
    // Another data set chosen is read in full: its keywords fill the keyword box.
    click(w().cmbMode);
    press(VK_UP);
    press(VK_RETURN);
    EXPECT_EQ(w().cmbMode.Text(), "16 x 16");
    const std::vector<std::string> keywords = listEntries(w().cmbSearch);
    EXPECT_NE(std::find(keywords.begin(), keywords.end(), "nowhere"), keywords.end());
    EXPECT_EQ(std::find(keywords.begin(), keywords.end(), "spinner"), keywords.end());
}

TEST_F(MainWindowScenario, TheWindowShowsTheProgramsOwnIcon) {
    for (auto [which, metric] : {std::pair{GCLP_HICON, SM_CXICON}, std::pair{GCLP_HICONSM, SM_CXSMICON}}) {
        auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(w().hWnd(), which));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        GetObjectA(info.hbmColor, sizeof(colour), &colour);
        EXPECT_EQ(colour.bmWidth, GetSystemMetrics(metric));
        // Drawn, not blank: the middle of the sheet is covered.
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, info.hbmMask);
        EXPECT_EQ(GetPixel(dc, colour.bmWidth / 2, colour.bmHeight / 2) & 0xFFFFFF, 0u);
        EXPECT_NE(GetPixel(dc, 0, 0) & 0xFFFFFF, 0u); // a corner stays transparent
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}
