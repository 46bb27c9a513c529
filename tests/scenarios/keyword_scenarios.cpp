// Searching by keyword: typed into the keyword box, picked from its list,
// stopped with Esc; the box's own editing keys.
#include "scenario.h"

#include <fstream>

#include "registry.h"
#include "seam.h"
#include "state.h"

using namespace vm;
using namespace vmscenario;

namespace {
using Texts = std::vector<std::string>;

int entryIndex(ComboBox& box, const std::string& text) {
    const Texts entries = listEntries(box);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text) return static_cast<int>(i);
    return -1;
}
} // namespace

TEST_F(LibraryScenario, TypedStartOfAKeywordAndEnterListsItsIcons) {
    typeInto(w().cmbSearch, "bo");
    EXPECT_EQ(editText(w().cmbSearch), "bo");
    press(VK_RETURN);
    EXPECT_EQ(panelText("count"), "5 Icon(s)");
    EXPECT_EQ(panelText("area"), "Page 1 of 2");
    EXPECT_EQ(itemTexts(w().pnlResult), (Texts{"boat", "boat", "boat"}));
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
    // The first item is selected and the status bar tells where it comes from at once.
    EXPECT_EQ(panelText("message"), itemTexts(w().pnlResult, 2)[0]);
    EXPECT_EQ(panelText("type"), itemTexts(w().pnlResult, 1)[0]);

    // A text no keyword begins with lists nothing new.
    typeInto(w().cmbSearch, "zebra");
    press(VK_RETURN);
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 3u);
}

TEST_F(LibraryScenario, F1InTheKeywordBoxOpensTheHelpOnKeywordSearches) {
    typeInto(w().cmbSearch, "a");
    press(VK_F1);
    const auto& asked = Seam::get().requests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().kind, "HtmlHelp");
    EXPECT_EQ(asked.back().prompt, dir.path() + "\\Vellumar.chm");
    EXPECT_EQ(asked.back().style, 13);
}

TEST_F(LibraryScenario, KeywordPickedWithTheMouseIsSearchedWithItsOwnText) {
    // Two references are filed under mine, one under Bicycle.
    typeInto(w().cmbSearch, "mine");
    press(VK_RETURN);
    ASSERT_EQ(panelText("count"), "2 Icon(s)");
    dropDown(w().cmbSearch);
    clickListEntry(w().cmbSearch, "Bicycle");
    EXPECT_EQ(editText(w().cmbSearch), "Bicycle");
    EXPECT_EQ(panelText("count"), "1 Icon(s)");
    EXPECT_EQ(itemTexts(w().pnlResult, 2), (Texts{"Reference"}));
}

TEST_F(LibraryScenario, KeywordPickedWithTheArrowKeysIsSearchedWithItsOwnText) {
    typeInto(w().cmbSearch, "Bicycle");
    press(VK_RETURN);
    ASSERT_EQ(panelText("count"), "1 Icon(s)");
    const int from = entryIndex(w().cmbSearch, "Bicycle"), to = entryIndex(w().cmbSearch, "mine");
    ASSERT_GE(from, 0);
    ASSERT_GE(to, 0);
    press(VK_F4); // opens the list
    for (int i = from; i != to; i += to > from ? 1 : -1) press(to > from ? VK_DOWN : VK_UP);
    press(VK_RETURN);
    EXPECT_EQ(editText(w().cmbSearch), "mine");
    EXPECT_EQ(panelText("count"), "2 Icon(s)");
    EXPECT_EQ(itemTexts(w().pnlResult, 2), (Texts{"Reference", "Reference"}));
}

TEST_F(LibraryScenario, CtrlCInTheKeywordBoxCopiesTheSelectedText) {
    setClipboardText("before");
    typeInto(w().cmbSearch, "boat");
    press(VK_LEFT);
    press(VK_HOME, vbShiftMask); // selects "boa"
    press('C', vbCtrlMask);
    EXPECT_EQ(clipboardText(), "boa");
    // The Edit menu has no shortcut of its own for it.
    const std::vector<MenuLine> edit = openMenu("&Edit");
    ASSERT_EQ(edit.size(), 1u);
    EXPECT_EQ(edit[0].caption, "&Copy");
}

namespace {
// The sample library with a keyword of many icons on one page: its fill takes
// long enough for a key pressed once it starts to arrive before it ends.
class LongListingScenario : public LibraryScenario {
protected:
    void prepare() override {
        LibraryScenario::prepare();
        std::ofstream index(dir.path() + "\\Icondata-32.dat", std::ios::binary | std::ios::app);
        index << "many";
        for (int i = 0; i < 3000; ++i) index << ";1:" << i % 10 << ":" << i % 10 << i % 9;
        index << "\r\n";
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "IconsPerPage32", Variant(std::string("3000")), REG_SZ);
    }
};
} // namespace

TEST_F(LongListingScenario, EscDuringAListingStopsItAndSaysSo) {
    // Esc is pressed once the page is being filled. On a busy machine the
    // second hand may not get to look before a fill ends: the user searches again.
    bool pressed = false;
    for (int attempt = 0; attempt < 3 && !pressed; ++attempt) {
        typeInto(w().cmbSearch, "many");
        KeyDuringWork esc(VK_ESCAPE, listingRuns);
        press(VK_RETURN);
        pressed = esc.pressed();
    }
    ASSERT_TRUE(pressed) << "the listing never started";
    settle();
    EXPECT_EQ(panelText("message"), "Aborted!");
    EXPECT_EQ(panelText("count"), "3000 Icon(s)");
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 0u);
    // Idle again: the next search lists its icons.
    typeInto(w().cmbSearch, "apple");
    press(VK_RETURN);
    EXPECT_EQ(panelText("message").rfind("Vellumar", 0), 0u);
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 4u); // three library icons and a reference
}

