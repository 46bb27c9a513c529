// The naming rules of Save As on their own: offered types, forced extensions,
// suggested names, favourite names and targets, and the writer a name selects.
#include <gtest/gtest.h>

#include "saveasnaming.h"

using namespace vm::exportnaming;

TEST(SaveAsNaming, DialogOffersTheSetOfTheItemAndDataSet) {
    auto check = [](DialogChoice c, FilterSet set, int index, const char* ext) {
        EXPECT_EQ(c.set, set);
        EXPECT_EQ(c.FilterIndex, index);
        EXPECT_EQ(c.DefaultExt, ext);
    };
    check(dialogChoiceFor(32, false, "high color animation", ""), FilterSet::Animation, 4, "ani");
    check(dialogChoiceFor(32, false, "Current Cursor", "Current Cursor"), FilterSet::Cursor, 2, "cur");
    check(dialogChoiceFor(32, false, "Icon Library", "Icon Library"), FilterSet::Cursor, 1, "ico");
    // The 16 x 16 data set and detail images are offered the icon set only.
    check(dialogChoiceFor(16, false, "Animated Icon", "Animated Icon"), FilterSet::Icon, 1, "ico");
    check(dialogChoiceFor(32, true, "Animated Cursor", "Animated Cursor"), FilterSet::Icon, 1, "ico");
    EXPECT_STREQ(filterText(FilterSet::Icon),
                 "Icon (*.ico)|*.ico|Bitmap (*.bmp)|*.bmp|Compuserve GIF (*.gif)|*.gif|JPEG (*.jpg)|*.jpg");
}

TEST(SaveAsNaming, FilterIndexForcesItsExtension) {
    EXPECT_EQ(forcedExtension(FilterSet::Animation, 4).extension, ".ani");
    EXPECT_TRUE(forcedExtension(FilterSet::Animation, 5).separateIcons);
    EXPECT_EQ(forcedExtension(FilterSet::Animation, 5).extension, ".ico");
    EXPECT_FALSE(forcedExtension(FilterSet::Animation, 1).separateIcons);
    EXPECT_EQ(forcedExtension(FilterSet::Icon, 2).extension, ".bmp");
    EXPECT_EQ(forcedExtension(FilterSet::Icon, 5).extension, "");
    EXPECT_EQ(forcedExtension(FilterSet::Cursor, 0).extension, "");

    EXPECT_EQ(withExtension("c:\\x\\walk.ani", ".ico"), "c:\\x\\walk.ani.ico");
    EXPECT_EQ(withExtension("c:\\x\\WALK.ICO", ".ico"), "c:\\x\\WALK.ICO");
    EXPECT_EQ(withExtension("pic.png", ".ico"), "pic.png.ico");

    EXPECT_EQ(suggestedName("folder.ico"), "folder");
    EXPECT_EQ(suggestedName("a.b.c"), "a");
    EXPECT_EQ(suggestedName("shell32.dll #4"), "shell32");
}

TEST(SaveAsNaming, FavouriteNamesAndTargets) {
    EXPECT_TRUE(hasIllegalFavoriteCharacter("a:b"));
    EXPECT_TRUE(hasIllegalFavoriteCharacter("say ”hi"));
    EXPECT_FALSE(hasIllegalFavoriteCharacter("Ôle Ünïcødé 图标")); // "Ô" ends in the quote's last byte
    EXPECT_FALSE(hasIllegalFavoriteCharacter("say \"hi\""));
    EXPECT_FALSE(hasIllegalFavoriteCharacter("Happy face (2)"));
    EXPECT_NE(illegalCharactersMessage().find("do not use ?”/\\<>*|:; characters"), std::string::npos);

    EXPECT_EQ(favoriteExtension("256 Color Animation"), ".ani");
    EXPECT_EQ(favoriteExtension("Animated Icon"), ".ico"); // dropped animations stay icons
    EXPECT_EQ(favoriteExtension("theme cursor"), ".cur");

    EXPECT_EQ(favoritesTargetFolder("c:\\fav\\", "favori"), "c:\\fav");
    EXPECT_EQ(favoritesTargetFolder("c:\\fav", "FAVORIFaces\\Happy"), "c:\\fav\\Faces\\Happy");
    EXPECT_EQ(favoritesTargetFolder("c:\\fav", "system"), "c:\\fav");
    // A long name is cut by the key, never by a count of characters.
    EXPECT_EQ(favoritesTargetFolder("c:\\fav", "favoriA very long folder name indeed"),
              "c:\\fav\\A very long folder name indeed");
}

TEST(SaveAsNaming, AStoredFileStartsTheDialogInItsFolder) {
    EXPECT_EQ(startFolderOf("c:\\icons\\walk", false), "c:\\icons");
    EXPECT_EQ(startFolderOf("c:\\icons", true), "c:\\icons");
    EXPECT_EQ(startFolderOf("walk", false), "walk");
}

TEST(SaveAsNaming, LastThreeCharactersPickTheWriter) {
    EXPECT_EQ(writerFor("x.BMP"), Writer::Bmp);
    EXPECT_EQ(writerFor("x.ico"), Writer::Ico);
    EXPECT_EQ(writerFor("x.ani.ico"), Writer::Ico);
    EXPECT_EQ(writerFor("x.png"), Writer::None);
}
