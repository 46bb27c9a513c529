#include <gtest/gtest.h>

#include "typetext.h"

using namespace vm;

TEST(TypeText, CodesGiveTheirTextsWithoutRegardToCase) {
    EXPECT_EQ(TypeTextOf("0"), "16 Color Icon");
    EXPECT_EQ(TypeTextOf("5"), "High Color Animation");
    EXPECT_EQ(TypeTextOf("8"), "High Color Cursor");
    for (const char* code : {"d", "e", "i", "D", "E", "I"}) EXPECT_EQ(TypeTextOf(code), "Icon Library") << code;
    EXPECT_EQ(TypeTextOf("W"), "System Icon");
    EXPECT_EQ(TypeTextOf("g"), "Animated Cursor");
    EXPECT_EQ(TypeTextOf("t"), "Theme Cursor");
    EXPECT_EQ(TypeTextOf("f"), "File Type Icon");
}

TEST(TypeText, AnythingElseIsUnknownAndKeepsThePicture) {
    for (const char* code : {"9", "b", "x", "", "00", "ab"}) EXPECT_EQ(TypeTextOf(code), "Unknown") << code;
    EXPECT_EQ(TypePictureKeyOf("Unknown"), "");
    EXPECT_EQ(TypePictureKeyOf(TypeTextOf("g")), "typeani");
    EXPECT_EQ(TypePictureKeyOf("icon library"), "library");
    EXPECT_EQ(TypePictureKeyOf(TypeTextOf("f")), "aso");
}

TEST(TypeText, GroupsCompareWholeTextsIgnoringCase) {
    EXPECT_TRUE(IsIconText("high color icon"));
    EXPECT_FALSE(IsIconText("High Color"));
    EXPECT_TRUE(IsAnimationText("Animated Cursor"));
    EXPECT_FALSE(IsCursorText("Animated Cursor"));
    EXPECT_TRUE(IsChangeTargetText("Animated Cursor"));
    EXPECT_TRUE(IsCursorText("THEME CURSOR"));
    EXPECT_FALSE(IsChangeTargetText("Theme Cursor"));
    EXPECT_TRUE(IsChangeTargetText("Shortcut Icon"));
    EXPECT_FALSE(IsAnimationText("Icon Library"));
}
