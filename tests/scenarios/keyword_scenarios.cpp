// Searching by keyword: typed into the keyword box, picked from its list.
#include "scenario.h"

#include "seam.h"

using namespace vm;
using namespace vmscenario;

namespace {
using Texts = std::vector<std::string>;
} // namespace

TEST_F(LibraryScenario, TypedStartOfAKeywordAndEnterListsItsIcons) {
    typeInto(w().cmbSearch, "bo");
    EXPECT_EQ(editText(w().cmbSearch), "bo");
    press(VK_RETURN);
    EXPECT_EQ(panelText("count"), "5 Icon(s)");
    EXPECT_EQ(panelText("area"), "Page 1 of 2");
    EXPECT_EQ(itemTexts(w().pnlResult), (Texts{"boat", "boat", "boat"}));
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
}

TEST_F(LibraryScenario, F1InTheKeywordBoxOpensTheHelpOnKeywordSearches) {
    typeInto(w().cmbSearch, "a");
    press(VK_F1);
    const auto& asked = Seam::get().requests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().kind, "HtmlHelp");
    EXPECT_EQ(asked.back().style, 13);
}
