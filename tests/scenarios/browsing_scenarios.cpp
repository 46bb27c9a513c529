// Paging through a listing and looking at its items.
#include "scenario.h"

#include "seam.h"

using namespace vm;
using namespace vmscenario;

namespace {
using Texts = std::vector<std::string>;
} // namespace

TEST_F(BoatListing, ToolbarGoMenuAndPageKeysPage) {
    clickButton(w().pnlToolbar, "nextpage");
    EXPECT_EQ(panelText("area"), "Page 2 of 2");
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 2u);
    clickButton(w().pnlToolbar, "firstpage");
    EXPECT_EQ(panelText("area"), "Page 1 of 2");

    std::vector<MenuLine> go = openMenu("&Go");
    ASSERT_NE(menuLine(go, "&Next Page"), nullptr);
    EXPECT_TRUE(menuLine(go, "&Next Page")->enabled);
    EXPECT_FALSE(menuLine(go, "&Previous Page")->enabled);
    chooseMenu({"&Go", "&Last Page"});
    EXPECT_EQ(panelText("area"), "Page 2 of 2");
    chooseMenu({"&Go", "&Jump to Page", "1"});
    EXPECT_EQ(panelText("area"), "Page 1 of 2");

    // The digit keys 2 and 3 page forward and back where they are no text.
    clickItem(w().pnlResult, 1);
    press('2');
    EXPECT_EQ(panelText("area"), "Page 2 of 2");
    press('3');
    EXPECT_EQ(panelText("area"), "Page 1 of 2");
    // In the keyword box they are text.
    typeInto(w().cmbSearch, "2");
    EXPECT_EQ(panelText("area"), "Page 1 of 2");
    EXPECT_EQ(editText(w().cmbSearch), "2");
}

TEST_F(BoatListing, ClickingAndArrowingThroughItemsShowsEachOnesOriginTypeAndFormats) {
    const Texts types = itemTexts(w().pnlResult, 1), origins = itemTexts(w().pnlResult, 2);
    clickItem(w().pnlResult, 2);
    EXPECT_EQ(selectedItem(w().pnlResult), 2);
    EXPECT_EQ(panelText("message"), origins[1]);
    EXPECT_EQ(panelText("type"), types[1]);
    EXPECT_EQ(w().grdIcons.ItemCount(), 1);
    EXPECT_EQ(w().grdIcons.RowCaption(1), "32 x 32, 256 Colors");

    press(VK_RIGHT);
    EXPECT_EQ(selectedItem(w().pnlResult), 3);
    EXPECT_EQ(panelText("message"), origins[2]);
    EXPECT_EQ(panelText("type"), types[2]);
    EXPECT_EQ(w().grdIcons.ItemCount(), 1);
    press(VK_HOME);
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
    EXPECT_EQ(panelText("type"), types[0]);
}

// Copy and Save As follow each other with no separator between them.
TEST_F(BoatListing, RightClickOnAnItemOffersItsCommandsWithNoSeparatorUnderCopy) {
    Answer menu(kPopupMenu, {pressKey(VK_ESCAPE)});
    rightClickItem(w().pnlResult, 2);
    const std::vector<MenuLine>& lines = menu.seen().lines;
    EXPECT_EQ(selectedItem(w().pnlResult), 2);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].caption, "&Copy");
    EXPECT_TRUE(lines[0].enabled);
    EXPECT_EQ(lines[1].caption, "&Save As...");
}

// A right-click on empty space clears the selection, and the item commands go off with it.
TEST_F(BoatListing, ARightClickOnEmptySpaceSwitchesTheItemCommandsOff) {
    clickItem(w().pnlResult, 1);
    EXPECT_TRUE(menuLine(openMenu("&File"), "Save &As...")->enabled);
    const RECT list = rectOf(w().pnlResult);
    {
        Answer menu(kPopupMenu, {pressKey(VK_ESCAPE)});
        rightClick(w().pnlResult, (list.right - list.left) - 20, (list.bottom - list.top) - 20);
        ASSERT_TRUE(menu.answered());
        EXPECT_NE(menuLine(menu.seen().lines, "&View"), nullptr);
    }
    EXPECT_EQ(selectedItem(w().pnlResult), 0);
    EXPECT_FALSE(menuLine(openMenu("&File"), "Save &As...")->enabled);
    EXPECT_FALSE(menuLine(openMenu("&Tools"), "&Zoom")->enabled);
    for (const char* key : {"save", "copy", "zoom"}) EXPECT_FALSE(w().pnlToolbar.Buttons(key).Enabled()) << key;
}

// Whatever leaves no item selected switches every item command off, menus and toolbars alike.
TEST_F(BoatListing, WhateverEmptiesTheSelectionSwitchesTheItemCommandsOff) {
    const RECT list = rectOf(w().pnlResult);
    const int x = (list.right - list.left) - 20, y = (list.bottom - list.top) - 20;
    auto allOff = [&](const char* after) {
        EXPECT_EQ(selectedItem(w().pnlResult), 0) << after;
        const std::vector<MenuLine> file = openMenu("&File");
        for (const char* caption : {"Save &As...", "C&hange...", "P&lay", "&Properties"})
            EXPECT_FALSE(menuLine(file, caption)->enabled) << caption << " after " << after;
        EXPECT_FALSE(menuLine(openMenu("&Edit"), "&Copy")->enabled) << after;
        EXPECT_FALSE(menuLine(openMenu("&Tools"), "&Zoom")->enabled) << after;
        for (const char* key : {"save", "copy", "play", "prop", "zoom"})
            EXPECT_FALSE(w().pnlToolbar.Buttons(key).Enabled()) << key << " after " << after;
        EXPECT_FALSE(w().pnlToolbarYour.Buttons("change").Enabled()) << after;
    };
    typeInto(w().cmbSearch, "spinner");
    press(VK_RETURN);
    clickItem(w().pnlResult, 2); // an animation: Play is on
    ASSERT_TRUE(w().pnlToolbar.Buttons("play").Enabled());
    click(w().pnlResult, x, y);
    allOff("a left click on empty space");

    clickNode("SysDrives");
    clickItem(w().pnlResult, 1); // a system icon: Change is on
    ASSERT_TRUE(w().pnlToolbarYour.Buttons("change").Enabled());
    press(VK_SPACE, vbCtrlMask);
    allOff("Ctrl+Space on the selected item");
}
