// The player's and the zoom window's pictures answer the mouse: the three
// picture buttons of the player toggle its modes, a double-click on the
// enlarged picture copies it.
#include "scenario.h"

#include "frmani.h"
#include "frmzoom.h"
#include "viewerhost.h"

using namespace vm;
using namespace vmscenario;

namespace {

class PlayerZoomScenario : public LibraryScenario {
protected:
    void TearDown() override {
        for (Form* f : std::initializer_list<Form*>{&frmZoom(), &frmAni()})
            if (f->IsLoaded()) f->Unload();
        LibraryScenario::TearDown();
    }
    void showItem(const std::string& keyword, int index) {
        typeInto(w().cmbSearch, keyword);
        press(VK_RETURN);
        clickItem(w().pnlResult, index);
    }
    // A click on the tree where the window does not cover it.
    void clickBeside(HWND window) {
        RECT over{}, tree = rectOf(w().pnlNav), both{};
        GetWindowRect(window, &over);
        for (int y = 5; y < tree.bottom - tree.top; y += 20) {
            POINT at{5, y};
            ClientToScreen(w().pnlNav.hWnd(), &at);
            const RECT spot{at.x, at.y, at.x + 1, at.y + 1};
            if (IntersectRect(&both, &spot, &over)) continue;
            click(w().pnlNav, 5, y);
            return;
        }
        ADD_FAILURE() << "the window covers the tree";
    }
    static bool checked(Control& box) { return SendMessageA(box.hWnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
};

} // namespace

TEST_F(PlayerZoomScenario, ThePlayersPictureButtonsPauseSwitchAndKeepItOnTop) {
    showItem("spinner", 2);
    clickButton(w().pnlToolbar, "play");
    ASSERT_TRUE(IsWindowVisible(frmAni().hWnd()));
    FrmAni& player = frmAni();
    ASSERT_TRUE(checked(player.RechtsBut));

    // The picture of the running mode pauses the player: the frame stays.
    click(player.imgRechts);
    EXPECT_FALSE(checked(player.RechtsBut));
    const int frame = Viewers.AniFrameIndex;
    settle(static_cast<int>(GetDoubleClickTime()) + 100);
    EXPECT_EQ(Viewers.AniFrameIndex, frame);
    click(player.imgRechts);
    EXPECT_TRUE(checked(player.RechtsBut));

    click(player.imgTegen);
    EXPECT_TRUE(checked(player.TegenBut));
    EXPECT_FALSE(checked(player.RechtsBut));

    click(player.imgTop);
    EXPECT_TRUE(checked(player.chkTop));
    EXPECT_TRUE(GetWindowLongA(player.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // A click on the main window beside it leaves it in front of the main window.
    clickBeside(player.hWnd());
    EXPECT_EQ(GetForegroundWindow(), w().hWnd());
    EXPECT_TRUE(shownOnScreen(player.hWnd()));
    Sleep(GetDoubleClickTime()); // a second click at once would be a double-click
    click(player.imgTop);
    EXPECT_FALSE(GetWindowLongA(player.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(PlayerZoomScenario, ADoubleClickOnTheZoomedPictureCopiesIt) {
    showItem("boat", 1);
    chooseMenu({"&Tools", "&Zoom", "&4:1"});
    ASSERT_TRUE(IsWindowVisible(frmZoom().hWnd()));
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    doubleClick(frmZoom().picZoom, 20, 20);
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    OpenClipboard(nullptr);
    BITMAP copied{};
    GetObjectA(GetClipboardData(CF_BITMAP), sizeof copied, &copied);
    CloseClipboard();
    RECT shown{};
    GetClientRect(frmZoom().picZoom.hWnd(), &shown);
    EXPECT_EQ(copied.bmWidth, shown.right);
    EXPECT_EQ(copied.bmHeight, shown.bottom);
}

// A modal window that closes gives activation back to its owner, not to an open zoom window.
TEST_F(PlayerZoomScenario, AClosedModalWindowHandsTheKeysBackToTheMainWindow) {
    showItem("boat", 1);
    chooseMenu({"&Tools", "&Zoom", "&4:1"});
    ASSERT_TRUE(IsWindowVisible(frmZoom().hWnd()));
    clickBeside(frmZoom().hWnd());
    ASSERT_EQ(GetForegroundWindow(), w().hWnd());
    {
        Answer options("Options", {pressKey(VK_ESCAPE)});
        chooseMenu({"&View", "&Options..."});
    }
    settle(100);
    EXPECT_EQ(GetForegroundWindow(), w().hWnd());
    EXPECT_EQ(GetAncestor(focusedWindow(), GA_ROOT), w().hWnd());
}
