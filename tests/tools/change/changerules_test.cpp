#include <gtest/gtest.h>

#include "changerules.h"
#include "scratch.h"

using namespace vm::change;

TEST(ChangeRules, TitleIsTheTextBeforeTheBlankAheadOfTheFirstHash) {
    EXPECT_EQ(changeTitle("Recycle Bin #2"), "Recycle Bin");
    EXPECT_EQ(changeTitle("My Computer"), "My Computer");
    EXPECT_EQ(changeTitle("a#1"), "");
    EXPECT_EQ(changeTitle("#1"), "");
}

TEST(ChangeRules, FileTypeKeyIsTheExtensionBetweenStarDotAndTheClosingBracket) {
    EXPECT_EQ(fileTypeKey("c:\\x.dll;0;Text Document (*.txt);more"), ".txt:");
    EXPECT_EQ(fileTypeKey("f;0;Web Page (*.html);"), ".html:");
    EXPECT_EQ(fileTypeKey("no star here;"), "");
    EXPECT_EQ(fileTypeKey("name (*"), "");
}

TEST(ChangeRules, RowsAreFoundWithoutRegardToCaseFirstInListOrder) {
    const std::vector<std::string> rows = {"My Computerx;f,1;HKEY_CLASSES_ROOT\\a", "MY COMPUTER;f,2;HKEY_CLASSES_ROOT\\b",
                                           ".TXT:txtfile;c:\\n.exe,3;", ".txt:other;d,4;"};
    EXPECT_EQ(findSystemIconRow(rows, "My Computer"), rows[1]);
    EXPECT_FALSE(findSystemIconRow(rows, "My"));
    EXPECT_EQ(findFileTypeRow(rows, ".txt:"), rows[2]);
    EXPECT_FALSE(findFileTypeRow(rows, ""));
    EXPECT_FALSE(findFileTypeRow(rows, ".doc:"));
}

TEST(ChangeRules, LocationsAndRowsSplitIntoTheirParts) {
    EXPECT_EQ(shortcutPath("c:\\windows", "Desktop", "Notes"), "c:\\windows\\Desktop\\Notes.lnk");
    // A folder named in full is the shortcut's own place, whatever the Windows folder.
    EXPECT_EQ(shortcutPath("c:\\windows", "C:\\users\\ann\\Desktop\\", "Notes"), "C:\\users\\ann\\Desktop\\Notes.lnk");
    EXPECT_EQ(shortcutPath("c:\\windows", "\\\\server\\share\\Desktop", "Notes"), "\\\\server\\share\\Desktop\\Notes.lnk");
    const IconLocation negative = splitIconLocation("c:\\a,b.dll,-12");
    EXPECT_EQ(negative.file, "c:\\a");
    EXPECT_EQ(negative.index, 0); // "b.dll,-12" is no number
    EXPECT_EQ(splitIconLocation("shell32.dll,-12").index, -12);
    EXPECT_EQ(splitIconLocation("shell32.dll").index, 0);
    EXPECT_EQ(splitIconLocation("shell32.dll").file, "shell32.dll");

    const auto row = parseFileTypeRow(".txt:txtfile;c:\\notepad.exe,1;Text");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->fileClass, "txtfile");
    EXPECT_EQ(row->iconLocation, "c:\\notepad.exe,1");
    EXPECT_EQ(row->icon.file, "c:\\notepad.exe");
    EXPECT_EQ(row->icon.index, 1);
    EXPECT_FALSE(parseFileTypeRow("no colon"));
    EXPECT_FALSE(parseFileTypeRow(".txt:;x,1;"));
}

TEST(ChangeRules, TheLowestFreeNumberIsChosen) {
    vmtest::ScratchDir dir;
    const std::string folder = dir.path() + "\\";
    EXPECT_EQ(freeChangedIconName(folder, ".ico"), folder + "1.ico");
    for (const char* n : {"1.ico", "3.ico", "2.cur"}) ASSERT_TRUE(vmtest::writeFile(folder + n, "x"));
    EXPECT_EQ(freeChangedIconName(folder, ".ico"), folder + "2.ico");
    EXPECT_EQ(freeChangedIconName(folder, ".cur"), folder + "1.cur");
}
