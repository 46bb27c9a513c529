// The icon-format grid in a real hidden window: row layout and the scroll bar
// it needs, mouse and keyboard selection, and refilling with another icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cicongrid.h"
#include "ico_fixtures.h"
#include "scratch.h"
#include "vberror.h"

namespace {

using vm::cIconGrid;

// A plain window standing in for the form that holds the grid.
struct Host : vm::Window {
    HWND window = nullptr;
    HWND hWnd() override { return window; }
    vm::Form* form() override { return nullptr; }
};

TEST(IconCaption, ColourCounts) {
    EXPECT_EQ(vm::IconCaption(32, 32, 16), "32 x 32, 16 Colors");
    EXPECT_EQ(vm::IconCaption(32, 32, 256), "32 x 32, 256 Colors");
    EXPECT_EQ(vm::IconCaption(48, 24, 257), "48 x 24, Millions of Colors");
    EXPECT_EQ(vm::IconCaption(32, 32, 16777216), "32 x 32, Millions of Colors");
}

class IconGridTest : public testing::Test {
protected:
    void SetUp() override {
        parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 600, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
        host.window = parent;
        grid = std::make_unique<cIconGrid>(nullptr);
        grid->create(host, 0, 0, vm::pixelsToTwipsX(120), vm::pixelsToTwipsY(400));
        ASSERT_NE(grid->hWnd(), nullptr);

        RECT text{};
        DrawTextA(GetDC(grid->hWnd()), "Xg", -1, &text, DT_CALCRECT);
        th = text.bottom - text.top;
        ASSERT_GT(th, 0);
        tppY = vm::TwipsPerPixelY();

        grid->MouseDown = [this](int button, int, float, float) {
            events.push_back(button);
            selectedAtEvent = selection();
        };
    }
    void TearDown() override {
        grid.reset();
        DestroyWindow(parent);
    }

    // Loads an icon of the given square sizes and depths into the grid.
    void load(const std::vector<std::pair<int, int>>& formats) {
        std::vector<vmtest::ico::Image> images;
        for (auto [size, bits] : formats) images.push_back(vmtest::ico::dib(size, size, bits));
        std::string path = scratch.file("grid.ico");
        ASSERT_TRUE(vmtest::writeFile(path, vmtest::ico::icoFile(images)));
        ASSERT_TRUE(icon.LoadIcon(path));
        grid->Init(icon);
    }
    void loadSizes() { load({{16, 4}, {32, 8}, {48, 24}}); }

    // Row tops of 16, 32 and 48 pixel images.
    int top(int row) const {
        static const int heights[] = {16, 32, 48};
        int t = 0;
        for (int i = 0; i < row - 1; ++i) t += th + heights[i] + 6;
        return t;
    }

    void click(int y, WPARAM keys = 0, UINT msg = WM_LBUTTONDOWN) {
        SendMessageA(grid->hWnd(), msg, keys, MAKELPARAM(10, y));
    }

    std::string selection() const {
        std::string s;
        for (int i = 1; i <= grid->ItemCount(); ++i) s += grid->Selected(i) ? '1' : '0';
        return s;
    }

    SCROLLINFO bar() const {
        SCROLLINFO info{sizeof(info), SIF_ALL};
        GetScrollInfo(grid->hWnd(), SB_VERT, &info);
        return info;
    }
    bool barShown() const { return GetWindowLongA(grid->hWnd(), GWL_STYLE) & WS_VSCROLL; }
    void resizeTo(int height) { SetWindowPos(grid->hWnd(), nullptr, 0, 0, 120, height, SWP_NOZORDER); }

    vmtest::ScratchDir scratch;
    vm::cFileIcon icon;
    HWND parent = nullptr;
    Host host;
    std::unique_ptr<cIconGrid> grid;
    int th = 0;
    int tppY = 15;
    std::vector<int> events;
    std::string selectedAtEvent;
};

TEST_F(IconGridTest, RowsAndTheBarTheyNeed) {
    loadSizes();
    ASSERT_EQ(grid->ItemCount(), 3);
    int total = top(4);
    EXPECT_FALSE(barShown());

    click(top(2) + 1);
    EXPECT_EQ(selection(), "010");
    click(top(2) - 1);
    EXPECT_EQ(selection(), "100");
    // Between the icon and the caption of the last row.
    click(top(3) + 2 + 48 + 1);
    EXPECT_EQ(selection(), "001");
    click(total + 2);
    EXPECT_EQ(selection(), "001");

    int height = 100;
    resizeTo(height);
    EXPECT_TRUE(barShown());
    SCROLLINFO info = bar();
    int page = height * ((total / (total - height)) + 1);
    EXPECT_EQ(static_cast<int>(info.nPage), page);
    EXPECT_EQ(info.nMax - static_cast<int>(info.nPage), total - height);

    resizeTo(400);
    EXPECT_FALSE(barShown());
}

TEST_F(IconGridTest, AnImageWiderThanTheColumnIsDrawnScaledIntoIt) {
    load({{256, 24}, {16, 4}});
    ASSERT_EQ(grid->ItemCount(), 2);
    EXPECT_EQ(grid->RowCaption(1), "256 x 256, Millions of Colors");
    // The 120 pixel column leaves 114 for the image: the first row is that high.
    const int scaled = 114;
    click(th + scaled + 6 - 1);
    EXPECT_EQ(selection(), "10");
    click(th + scaled + 6 + 1);
    EXPECT_EQ(selection(), "01");
}

TEST_F(IconGridTest, MouseSelection) {
    loadSizes();
    // Shift without a current row selects the clicked row alone.
    click(top(2) + 1, MK_SHIFT);
    EXPECT_EQ(selection(), "010");
    click(top(3) + 1, MK_CONTROL);
    EXPECT_EQ(selection(), "011");
    click(top(2) + 1, MK_CONTROL);
    EXPECT_EQ(selection(), "001");
    // Shift ranges run from the current row, either way, replacing the rest;
    // the clicked row becomes the current one.
    click(top(1) + 1, MK_SHIFT);
    EXPECT_EQ(selection(), "110");
    click(top(3) + 1, MK_SHIFT);
    EXPECT_EQ(selection(), "111");
    click(top(2) + 1);
    click(top(3) + 1, MK_SHIFT);
    EXPECT_EQ(selection(), "011");

    // The form hears of every click before the selection moves; a right
    // click changes nothing else.
    events.clear();
    click(top(1) + 1);
    EXPECT_EQ(selectedAtEvent, "011");
    EXPECT_EQ(selection(), "100");
    click(top(3) + 1, MK_RBUTTON, WM_RBUTTONDOWN);
    EXPECT_EQ(selection(), "100");
    EXPECT_EQ(events, (std::vector<int>{1, 2}));

    // Clicks in twips go through the member the same way.
    grid->OnMouseDown(3, 0, 0.0f, static_cast<float>((top(2) + 1) * tppY));
    EXPECT_EQ(selection(), "010");
    grid->OnMouseDown(2, 0, 0.0f, static_cast<float>((top(3) + 1) * tppY));
    EXPECT_EQ(selection(), "010");
}

TEST_F(IconGridTest, AHandlerThatSelectsTheRowAtOnceLeavesACtrlClickToggledOnce) {
    loadSizes();
    grid->MouseDown = [this](int button, int shift, float x, float y) { grid->OnMouseDown(button, shift, x, y); };
    click(top(2) + 1, MK_CONTROL);
    EXPECT_EQ(selection(), "010");
    click(top(2) + 1, MK_CONTROL);
    EXPECT_EQ(selection(), "000");
    // A handler that does not select leaves it to the grid, as before.
    grid->MouseDown = nullptr;
    click(top(3) + 1, MK_CONTROL);
    EXPECT_EQ(selection(), "001");
}

TEST_F(IconGridTest, KeyboardSelection) {
    loadSizes();
    grid->OnKeyDown(VK_UP, 0);
    grid->OnKeyDown(VK_SPACE, 0);
    EXPECT_EQ(selection(), "000");
    // Down without a current row goes to the first; Shift adds the next.
    grid->OnKeyDown(VK_DOWN, 1);
    grid->OnKeyDown(VK_DOWN, 1);
    EXPECT_EQ(selection(), "110");
    grid->OnKeyDown(VK_DOWN, 0);
    grid->OnKeyDown(VK_DOWN, 0);
    EXPECT_EQ(selection(), "001");
    // Ctrl moves the current row alone, Space toggles it, Up stops at row 1.
    grid->OnKeyDown(VK_UP, 2);
    grid->OnKeyDown(VK_UP, 2);
    grid->OnKeyDown(VK_SPACE, 0);
    grid->OnKeyDown(VK_UP, 0);
    EXPECT_EQ(selection(), "101");

    grid->SetSelected(2, true);
    EXPECT_EQ(selection(), "111");
    // The window's own keys and focus reach the grid and the form.
    int focusEvents = 0;
    grid->GotFocus = [&] { ++focusEvents; };
    SendMessageA(grid->hWnd(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(focusEvents, 1);
    SendMessageA(grid->hWnd(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(selection(), "001");

    EXPECT_THROW(grid->SetSelected(4, true), vm::VbError);
    EXPECT_THROW(grid->Selected(0), vm::VbError);
}

TEST_F(IconGridTest, KeysScrollTheCurrentRowIntoView) {
    loadSizes();
    int height = 60;
    resizeTo(height);
    ASSERT_TRUE(barShown());
    grid->OnKeyDown(VK_DOWN, 0);
    EXPECT_EQ(bar().nPos, 0);
    grid->OnKeyDown(VK_DOWN, 0);
    grid->OnKeyDown(VK_DOWN, 0);
    EXPECT_EQ(bar().nPos, top(4) - height);
    // Clicks count from the scrolled list: the top pixel row now shows row 3.
    click(1);
    EXPECT_EQ(selection(), "001");
    grid->OnKeyDown(VK_UP, 0);
    EXPECT_EQ(bar().nPos, top(2));
    grid->OnKeyDown(VK_UP, 0);
    EXPECT_EQ(bar().nPos, 0);
}

TEST_F(IconGridTest, RefillKeepsTheCurrentRowInRange) {
    loadSizes();
    resizeTo(60);
    ASSERT_TRUE(barShown());
    grid->OnKeyDown(VK_DOWN, 0);
    grid->OnKeyDown(VK_DOWN, 0);
    grid->OnKeyDown(VK_DOWN, 0);

    // A new icon brings new rows, none selected; the current row shrinks to
    // the last one.
    load({{32, 4}});
    ASSERT_EQ(grid->ItemCount(), 1);
    EXPECT_FALSE(barShown());
    grid->OnKeyDown(VK_SPACE, 0);
    EXPECT_EQ(selection(), "1");

    // An icon without images empties the grid at once.
    resizeTo(20);
    ASSERT_TRUE(barShown());
    vm::cFileIcon empty;
    grid->Init(empty);
    EXPECT_EQ(grid->ItemCount(), 0);
    EXPECT_FALSE(barShown());
    grid->OnKeyDown(VK_SPACE, 0);
    grid->OnKeyDown(VK_DOWN, 1);
    EXPECT_EQ(grid->ItemCount(), 0);
}

TEST_F(IconGridTest, OutlivesItsWindow) {
    loadSizes();
    resizeTo(60);
    // The form may go first: the grid lets go of its rows and its bar.
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(grid->hWnd(), nullptr);
    EXPECT_EQ(grid->ItemCount(), 0);
    grid->Draw();
}

} // namespace
