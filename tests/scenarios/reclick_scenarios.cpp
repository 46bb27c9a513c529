// A second click on what is selected already counts as a click: the result
// list's item and the navigation tree's node.
#include "scenario.h"

#include "dialogforms.h"
#include "frmprop.h"
#include "frmzoom.h"
#include "seam.h"

using namespace vm;
using namespace vmscenario;

namespace {

const MenuLine* line(const std::vector<MenuLine>& lines, const std::string& caption) {
    const MenuLine* found = menuLine(lines, caption);
    EXPECT_NE(found, nullptr) << "no line " << caption;
    return found;
}

} // namespace

TEST_F(BoatListing, AClickOnTheSelectedItemAfterTheDetailGridMakesItTheTargetAgain) {
    clickItem(w().pnlResult, 1);
    std::vector<MenuLine> lines = openMenu("F&avorites");
    const MenuLine* add = line(lines, "&Add to Favorites...");
    ASSERT_TRUE(add);
    ASSERT_TRUE(add->enabled);
    // The detail grid takes the commands; favourites are made from result items only.
    click(w().grdIcons, 20, 10);
    lines = openMenu("F&avorites");
    ASSERT_TRUE(line(lines, "&Add to Favorites..."));
    ASSERT_FALSE(line(lines, "&Add to Favorites...")->enabled);
    clickItem(w().pnlResult, 1);
    lines = openMenu("F&avorites");
    ASSERT_TRUE(line(lines, "&Add to Favorites..."));
    EXPECT_TRUE(line(lines, "&Add to Favorites...")->enabled);
}

TEST_F(LibraryScenario, ASecondClickOnTheNodeJustListedListsItAgain) {
    clickNode("SysDrives");
    const std::vector<std::string> listed = itemTexts(w().pnlResult);
    ASSERT_FALSE(listed.empty());
    typeInto(w().cmbSearch, "boat");
    press(VK_RETURN);
    ASSERT_NE(itemTexts(w().pnlResult), listed);
    clickNode("SysDrives");
    EXPECT_EQ(itemTexts(w().pnlResult), listed);
}

// The action chosen in the options while an item stays selected is the one its double-click runs.
TEST_F(BoatListing, ADoubleClickOnTheSelectedItemRunsTheActionJustChosen) {
    clickItem(w().pnlResult, 1);
    auto choose = [](OptionButton FrmOptions::*option) {
        Answer options("Options", {onProgram([option] {
            clickTab(frmOptions().tbsOptions, 3);
            click(frmOptions().*option);
            click(frmOptions().cmdOK);
        })});
        chooseMenu({"&View", "&Options..."});
    };
    choose(&FrmOptions::optZoom);
    doubleClickItem(w().pnlResult, 1);
    EXPECT_TRUE(frmZoom().IsLoaded());
    if (frmZoom().IsLoaded()) frmZoom().Unload();

    choose(&FrmOptions::optProp);
    Answer properties("Properties", {clickOn("OK")});
    doubleClickItem(w().pnlResult, 1);
    EXPECT_TRUE(properties.answered());
    EXPECT_FALSE(frmZoom().IsLoaded());
}
