#include <windows.h>

#include <gtest/gtest.h>

#include "errorreport.h"
#include "getfield.h"
#include "imagehelpers.h"
#include "seam.h"

using namespace vm;

namespace {

struct ScriptedSeam {
    ScriptedSeam() { Seam::get().reset(), Seam::get().setScripted(true); }
    ~ScriptedSeam() { Seam::get().reset(), Seam::get().setScripted(false); }
};

TEST(GetField, SplitsAtTheDelimiter) {
    EXPECT_EQ(procGetField("book:12:3", ':', 2), "12");
    EXPECT_EQ(procGetField("a;b;c", ';', 1), "a");
    EXPECT_EQ(procGetField("a;b;c", ';', 3), "c");
    EXPECT_EQ(procGetField("a;b;c", ';', 4), "");
    EXPECT_EQ(procGetField("a;;c", ';', 2), "");
    EXPECT_EQ(procGetField("x", ';', 1), "x");
    EXPECT_EQ(procGetField("x", ';', 2), "");
    EXPECT_EQ(procGetField("x;y", ';', 0), "");
    EXPECT_EQ(procGetField("x;y", ';', -1), "");
    EXPECT_EQ(procGetField("", ';', 1), "");
    EXPECT_EQ(procGetField(" a ; b ", ';', 2), " b ");
    EXPECT_EQ(procGetField("a;b;", ';', 3), "");
}

TEST(ErrorReport, TextIsExact) {
    ScriptedSeam seam;
    procShowError(VbError(kObjectError + 3, "Vellumar.cFileIcon", "Bad image"));
    procShowError(53, "Vellumar", "File not found");
    ASSERT_EQ(Seam::get().requests().size(), 2u);
    const SeamRequest& r = Seam::get().requests()[0];
    EXPECT_EQ(r.kind, "MsgBox");
    EXPECT_EQ(r.title, "Error");
    EXPECT_EQ(r.style, 48);
    EXPECT_EQ(r.prompt,
              "Error Nr. -2147221501 in Vellumar.cFileIcon\rBad image\r\rPlease notify Tarnwick of this error.\r"
              "Try to include relevant information and\rthe actions you were performing.");
    EXPECT_EQ(Seam::get().requests()[1].prompt.substr(0, 40), "Error Nr. 53 in Vellumar\rFile not found\r");
}

TEST(ImageError, TextsAndFileNames) {
    ScriptedSeam seam;
    procShowImageError(0, "x.gif");
    procShowImageError(-4, "x.gif");
    procShowImageError(-5, "x.gif");
    procShowImageError(-13, "x.gif");
    const auto& r = Seam::get().requests();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].prompt, "Cannot open x.gif");
    EXPECT_EQ(r[0].title, "File Save Error");
    EXPECT_EQ(r[0].style, 16);
    EXPECT_EQ(r[1].prompt, "Invalid Data");
    EXPECT_EQ(r[2].prompt, "Error encountered");
}

class PaletteTest : public testing::Test {
protected:
    RGBQUAD palette[256] = {};
    QuenplexImage image{};
    void SetUp() override {
        for (int i = 0; i < 256; ++i) palette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 7, 0};
        image.palette = palette;
        image.colorCount = 256;
    }
    void set(int i, BYTE r, BYTE g, BYTE b) { palette[i] = {b, g, r, 0}; }
};

TEST_F(PaletteTest, MaskColourExactBeforeNearAndNeverPastTheCount) {
    EXPECT_EQ(procFindMaskColorIndex(image), -1);
    set(5, 130, 62, 66);
    set(200, 128, 64, 64);
    EXPECT_EQ(procFindMaskColorIndex(image), 200);
    set(200, 0, 0, 0);
    EXPECT_EQ(procFindMaskColorIndex(image), 5);
    set(5, 133, 64, 64); // 5 away is not near
    EXPECT_EQ(procFindMaskColorIndex(image), -1);

    set(20, 128, 64, 64);
    image.colorCount = 16;
    EXPECT_EQ(procFindMaskColorIndex(image), -1);
    image.colorCount = 21;
    EXPECT_EQ(procFindMaskColorIndex(image), 20);
    image.palette = nullptr;
    EXPECT_EQ(procFindMaskColorIndex(image), -1);
}

TEST_F(PaletteTest, SingleColoursPlusOne) {
    image.colorCount = 16;
    EXPECT_EQ(procCountSingleColors(image), 17);
    set(3, 1, 2, 3);
    set(9, 1, 2, 3);
    palette[9].rgbReserved = 99; // only red, green and blue count
    EXPECT_EQ(procCountSingleColors(image), 15);
    image.colorCount = 100000;
    EXPECT_EQ(procCountSingleColors(image), 255);
}

} // namespace
