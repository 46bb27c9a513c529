// The command-state decision over type text, origin, double-click settings,
// data set and page count, and the small rules beside it.
#include <gtest/gtest.h>

#include "selectiondecision.h"

using namespace vm::selection;

namespace {

SelectionFacts facts(const std::string& type, const std::string& origin) {
    SelectionFacts f;
    f.typeText = type;
    f.origin = origin;
    return f;
}

std::string enabledOptions(const CommandDecision& d) {
    std::string s;
    for (int i = 0; i < 9; ++i)
        if (d.optionEnabled[static_cast<size_t>(i)]) s += static_cast<char>('0' + i);
    return s;
}

} // namespace

TEST(Decision, ZipAndShortcutSwitchExtractRunAndCaption) {
    for (const char* origin : {"ZIP File", "zip file"}) {
        CommandDecision d = decideCommands(facts("16 Color Icon", origin));
        EXPECT_TRUE(d.extract);
        EXPECT_TRUE(d.run);
        EXPECT_EQ(d.runCaption, "Open ZIP &Archive...");
    }
    CommandDecision shortcut = decideCommands(facts("Shortcut Icon", "Shortcut Icon"));
    EXPECT_FALSE(shortcut.extract);
    EXPECT_TRUE(shortcut.run);
    EXPECT_EQ(shortcut.runCaption, "&Run Shortcut...");
    CommandDecision file = decideCommands(facts("16 Color Icon", "File"));
    EXPECT_FALSE(file.extract);
    EXPECT_FALSE(file.run);
    EXPECT_EQ(file.runCaption, "&Run Shortcut...");
}

TEST(Decision, FirstSelectionOnlyTouchesCommonPagingAndFolderIcon) {
    SelectionFacts f = facts("16 Color Icon", "File");
    f.firstSelection = true;
    f.pageCount = 1;
    CommandDecision d = decideCommands(f);
    EXPECT_TRUE(d.pageLedOff);
    EXPECT_TRUE(d.enableCommon);
    EXPECT_EQ(d.goToPage, false);
    EXPECT_EQ(d.changeFolder, true);

    f.pageCount = 2;
    f.iconSize = 16;
    d = decideCommands(f);
    EXPECT_EQ(d.goToPage, true);
    EXPECT_FALSE(d.changeFolder.has_value()); // left as it was in the 16 x 16 set

    f.iconSize = 32;
    f.browserAvailable = false;
    EXPECT_FALSE(decideCommands(f).changeFolder.has_value());

    f.firstSelection = false;
    d = decideCommands(f);
    EXPECT_FALSE(d.enableCommon);
    EXPECT_FALSE(d.pageLedOff);
    EXPECT_FALSE(d.goToPage.has_value());
}

TEST(Decision, CurrentActionPrecedence) {
    SelectionFacts f = facts("Shortcut Icon", "Shortcut Icon");
    f.dcAction = "Copy";
    EXPECT_EQ(decideCommands(f).currentAction, "Copy");
    f.dcRun = true;
    EXPECT_EQ(decideCommands(f).currentAction, "Run");
    f.dcChange = true;
    EXPECT_EQ(decideCommands(f).currentAction, "Change");

    SelectionFacts a = facts("16 Color Animation", "File");
    a.dcAction = "Zoom";
    EXPECT_EQ(decideCommands(a).currentAction, "Zoom");
    a.dcPlay = true;
    EXPECT_EQ(decideCommands(a).currentAction, "Play");
    a.dcRef = true;
    EXPECT_EQ(decideCommands(a).currentAction, "Ref");
    // Run only belongs to shortcuts, Ref only to items that can be referenced.
    SelectionFacts lib = facts("High Color Icon", "Vellumar Icons");
    lib.dcRun = lib.dcRef = lib.dcPlay = lib.dcChange = true;
    EXPECT_EQ(decideCommands(lib).currentAction, "None");
}

TEST(Decision, ReferenceGroupByOriginAndPane) {
    for (const char* origin : {"File", "file favorite", "File Favorite"})
        EXPECT_TRUE(decideCommands(facts("16 Color Icon", origin)).addReference) << origin;
    for (const char* origin : {"Vellumar Icons", "ZIP File", "Reference", "Fil", "Windows Default"})
        EXPECT_FALSE(decideCommands(facts("16 Color Icon", origin)).addReference) << origin;
    SelectionFacts grid = facts("16 Color Icon", "File");
    grid.detailPaneActive = true;
    grid.dcRef = true;
    CommandDecision d = decideCommands(grid);
    EXPECT_FALSE(d.addReference);
    EXPECT_EQ(enabledOptions(d), "");
    EXPECT_EQ(d.currentAction, "None");

    EXPECT_TRUE(decideCommands(facts("16 Color Icon", "reference")).deleteReference);
    EXPECT_FALSE(decideCommands(facts("16 Color Icon", "File")).deleteReference);
}

TEST(Decision, ReferenceTypePresetTable) {
    struct Row {
        const char* type;
        const char* enabled;
        int selected;
    } rows[] = {
        {"16 Color Icon", "0", 0},        {"256 color icon", "1", 1},      {"High Color Icon", "2", 2},
        {"16 Color Animation", "345", 5}, {"Animated Cursor", "345", 5},   {"Animated Icon", "345", 5},
        {"16 Color Cursor", "6", 6},      {"256 Color Cursor", "7", 7},    {"High Color Cursor", "8", 8},
        {"Current Cursor", "8", 8},       {"Theme Cursor", "8", 8},        {"Icon Library", "012678", 2},
        {"File Type Icon", "012", 2},     {"Shortcut Icon", "", -1},       {"Unknown", "", -1},
    };
    for (const Row& r : rows) {
        CommandDecision d = decideCommands(facts(r.type, "File"));
        EXPECT_EQ(enabledOptions(d), r.enabled) << r.type;
        EXPECT_EQ(d.optionSelected, r.selected) << r.type;
    }
}

TEST(Decision, PlayChangeAndTypePicture) {
    CommandDecision theme = decideCommands(facts("Theme Cursor", "Theme Cursor"));
    EXPECT_EQ(theme.typePictureKey, "cursor");
    EXPECT_FALSE(theme.change);
    EXPECT_FALSE(theme.play);

    CommandDecision ani = decideCommands(facts("Animated Cursor", "Windows Default"));
    EXPECT_EQ(ani.typePictureKey, "typeani");
    EXPECT_TRUE(ani.play);
    EXPECT_TRUE(ani.change);

    for (const char* t : {"File Type Icon", "current cursor", "System Icon", "Shortcut Icon"})
        EXPECT_TRUE(decideCommands(facts(t, "Windows Default")).change) << t;
    EXPECT_FALSE(decideCommands(facts("High Color Animation", "Vellumar Animations")).change);
    EXPECT_EQ(decideCommands(facts("Unknown", "File")).typePictureKey, "");
}

TEST(Decision, SeparatorsFollowTheReferenceItems) {
    CommandDecision none = decideCommands(facts("16 Color Icon", "Vellumar Icons"));
    EXPECT_FALSE(none.div16);
    EXPECT_EQ(none.div22, true);
    CommandDecision add = decideCommands(facts("16 Color Icon", "File"));
    EXPECT_TRUE(add.div16);
    EXPECT_FALSE(add.div22.has_value()); // never hidden by the handler
    CommandDecision del = decideCommands(facts("16 Color Icon", "Reference"));
    EXPECT_TRUE(del.div16);
    EXPECT_FALSE(del.div22.has_value());
}

TEST(Decision, FavouritesByDataSet) {
    SelectionFacts f = facts("16 Color Icon", "File Favorite");
    CommandDecision d = decideCommands(f);
    EXPECT_TRUE(d.div14);
    EXPECT_TRUE(d.addFavoriteVisible);
    EXPECT_EQ(d.addFavoriteEnabled, true);
    EXPECT_TRUE(d.deleteFavorite);
    f.origin = "File";
    EXPECT_FALSE(decideCommands(f).deleteFavorite);

    f.iconSize = 16;
    f.origin = "File Favorite";
    d = decideCommands(f);
    EXPECT_FALSE(d.div14);
    EXPECT_FALSE(d.addFavoriteVisible);
    EXPECT_FALSE(d.addFavoriteEnabled.has_value());
    EXPECT_FALSE(d.deleteFavorite);
}

TEST(SaveBitDepth, ByTypeTextAndColourCount) {
    EXPECT_EQ(saveBitDepthForTypeText("16 color icon", "NT4"), 4);
    EXPECT_EQ(saveBitDepthForTypeText("16 Color Cursor", "NT4"), 4);
    EXPECT_EQ(saveBitDepthForTypeText("256 Color Animation", "NT4"), 8);
    EXPECT_EQ(saveBitDepthForTypeText("High Color Icon", "NT4"), 24);
    EXPECT_EQ(saveBitDepthForTypeText("High Color Icon", "95"), 16);
    EXPECT_EQ(saveBitDepthForTypeText("Animated Icon", "nt3"), 16);
    EXPECT_EQ(saveBitDepthForTypeText("Icon Library", "2000"), 24);
    EXPECT_EQ(saveBitDepthForColourCount(16, "98"), 4);
    EXPECT_EQ(saveBitDepthForColourCount(256, "98"), 8);
    EXPECT_EQ(saveBitDepthForColourCount(2, "98"), 24); // monochrome goes out at the high-colour depth
    EXPECT_EQ(saveBitDepthForColourCount(16777216, "95"), 16);
}

TEST(PathFit, WholePathShortenedOrKept) {
    auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 10; };
    const std::string folder = "c:\\icons\\deep\\";
    const std::string name = "a.ico";
    const std::string path = folder + name; // 19 characters, 190 wide
    EXPECT_EQ(fitPath(201, path, folder, name, "w", width), path);
    EXPECT_NE(fitPath(201, path, folder, name, "ww", width), path); // the resize margin is wider
    // 150 / 10 - (5 + 5) = 5 characters of the folder.
    EXPECT_EQ(fitPath(150, path, folder, name, "w", width), std::string("c:\\ic...\\a.ico"));
    // Halves go to the even number: 125 / 10 - 10 = 2.5 -> 2; 135 -> 3.5 -> 4.
    EXPECT_EQ(fitPath(125, path, folder, name, "w", width), std::string("c:...\\a.ico"));
    EXPECT_EQ(fitPath(135, path, folder, name, "w", width), std::string("c:\\i...\\a.ico"));
    // Only "...\" and the name fit; narrower still nothing can be made.
    EXPECT_EQ(fitPath(100, path, folder, name, "w", width), std::string("...\\a.ico"));
    EXPECT_EQ(fitPath(80, path, folder, name, "w", width), std::nullopt);
    EXPECT_EQ(fitPath(80, path, "", name, "w", width), std::nullopt);
}

