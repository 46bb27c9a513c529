#include <gtest/gtest.h>

#include "importrules.h"

using namespace vm::importrules;

TEST(ImportRules, DefaultNameAndFolderOfAPicture) {
    EXPECT_EQ(defaultIconName("c:\\pics\\flower.big.bmp"), "flower");
    EXPECT_EQ(defaultIconName("c:\\pics.old\\a"), "a");
    EXPECT_EQ(defaultIconName("c:\\pics\\.hidden"), "");
    EXPECT_EQ(folderOf("c:\\pics\\a.b.gif"), "c:\\pics\\");
    EXPECT_EQ(folderOf("a.gif"), "");
}

TEST(ImportRules, ExtensionIsAddedUnlessPresentInAnyCase) {
    EXPECT_EQ(withExtension("star.ICO", ".ico"), "star.ICO");
    EXPECT_EQ(withExtension("star.cur", ".ico"), "star.cur.ico");
    EXPECT_EQ(withExtension("star", ".cur"), "star.cur");
    EXPECT_EQ(withExtension("ico", ".ico"), "ico.ico");
    EXPECT_EQ(withExtension("", ".cur"), ".cur");
}

TEST(ImportRules, HotSpotScaledToTheCursorAndKeptInside) {
    EXPECT_EQ(scaleHotSpot(16, 16, 32, 16).x, 8);
    EXPECT_EQ(scaleHotSpot(16, 16, 32, 72).y, 36);
    EXPECT_EQ(scaleHotSpot(31, 0, 32, 16).x, 15); // 15.5 rounds up, then is clamped to the last pixel
    EXPECT_EQ(scaleHotSpot(40, -3, 32, 24).x, 23);
    EXPECT_EQ(scaleHotSpot(40, -3, 32, 24).y, 0);
    EXPECT_EQ(scaleHotSpot(5, 7, 16, 16).x, 5);
    EXPECT_EQ(scaleHotSpot(8, 8, 16, 48).y, 24);
}
