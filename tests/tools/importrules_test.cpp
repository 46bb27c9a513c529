#include <gtest/gtest.h>

#include "importrules.h"

using namespace vm::importrules;

TEST(ImportRules, DepthListsPerSystemAndTheirDefaults) {
    auto texts = [](const std::vector<ListEntry>& entries) {
        std::vector<int> data;
        for (const auto& e : entries) data.push_back(e.itemData);
        return data;
    };
    EXPECT_EQ(texts(colorDepthEntries("98")), (std::vector<int>{1, 4, 8, 16, 24, 32}));
    EXPECT_EQ(texts(colorDepthEntries("2000")), (std::vector<int>{1, 4, 8, 24}));
    EXPECT_EQ(colorDepthEntries("98")[kDefaultColorDepthIndex].text, "High Color (16 bit)");
    EXPECT_EQ(colorDepthEntries("2000")[kDefaultColorDepthIndex].text, "True Color (24 bit)");
    EXPECT_EQ(sizeEntries()[kDefaultSizeIndex].text, "24 x 24 pixels");
    EXPECT_EQ(sizeEntries().back().itemData, 72);
}

TEST(ImportRules, StoredValueSelectsItsEntryOrTheDefault) {
    const auto depths = colorDepthEntries("2000");
    EXPECT_EQ(indexForStored(depths, 24, 3), 3);
    EXPECT_EQ(indexForStored(depths, 1, 3), 0);
    EXPECT_EQ(indexForStored(depths, 32, 3), 3); // stored on another system
    EXPECT_EQ(indexForStored(depths, std::nullopt, 3), 3);
    EXPECT_EQ(indexForStored(sizeEntries(), 0, 1), 1);
}

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
