// Quenplex.dll through the program's binding: images drawn with GDI, converted
// and saved, the files read back by the tests' GIF reader and the system's
// decoder; the calls' refusals and their codes.
#include <gtest/gtest.h>

#include <windows.h>

#include "gifreader.h"
#include "quenplexbind.h"
#include "scratch.h"
#include "systemdecoder.h"

using namespace quenplexbind;
using vm::QuenplexImage;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    const std::string s = vmtest::readFile(path);
    return {s.begin(), s.end()};
}

// Draws into the image through a memory DC: the top half red, the bottom half
// blue, a mask-coloured square at the top left, and reads nothing back itself.
void paint(QuenplexImage& image, int width, int height) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image.bitmap);
    RECT top{0, 0, width, height / 2}, bottom{0, height / 2, width, height}, corner{0, 0, 4, 4};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255)),
           mask = CreateSolidBrush(RGB(128, 64, 64));
    FillRect(dc, &top, red);
    FillRect(dc, &bottom, blue);
    FillRect(dc, &corner, mask);
    DeleteObject(red);
    DeleteObject(blue);
    DeleteObject(mask);
    SelectObject(dc, old);
    DeleteDC(dc);
}

class QuenplexTest : public ::testing::Test {
protected:
    void TearDown() override {
        freeimage(image24);
        freeimage(image8);
    }
    QuenplexImage image24, image8;
    vmtest::ScratchDir scratch;
};

} // namespace

TEST_F(QuenplexTest, AllocatesDescriptorsAndFreesOnlyWhatItMade) {
    ASSERT_EQ(allocimage(image24, 20, 10, 24), 0);
    EXPECT_NE(image24.bitmap, nullptr);
    EXPECT_NE(image24.pixels, nullptr);
    EXPECT_EQ(image24.endX, 19);
    EXPECT_EQ(image24.endY, 9);
    EXPECT_EQ(image24.rowBytes, 60);
    EXPECT_EQ(image24.palette, nullptr);
    ASSERT_EQ(allocimage(image8, 20, 10, 8), 0);
    EXPECT_EQ(image8.colorCount, 256);
    ASSERT_NE(image8.palette, nullptr);

    // A copy of a freed descriptor, a never-used one and a null one are left alone.
    QuenplexImage copy = image24, never;
    EXPECT_EQ(freeimage(image24), 0);
    EXPECT_EQ(image24.bitmap, nullptr);
    EXPECT_EQ(freeimage(copy), 0);
    EXPECT_EQ(freeimage(never), 0);
    EXPECT_EQ(freeimage(image24), 0);

    EXPECT_EQ(allocimage(image24, 0, 10, 24), -1);
    EXPECT_EQ(allocimage(image24, 10, 10, 16), -26);
    EXPECT_EQ(allocimage(image24, 40000, 10, 24), -1);
}

TEST_F(QuenplexTest, ConvertKeepsFewColoursExactlyAndTheFileShowsThem) {
    ASSERT_EQ(allocimage(image24, 16, 16, 24), 0);
    ASSERT_EQ(allocimage(image8, 16, 16, 8), 0);
    paint(image24, 16, 16); // drawn by GDI just before the conversion reads the bits
    ASSERT_EQ(convertrgbtopal(256, image24, image8), 0);
    ASSERT_EQ(image8.colorCount, 3);
    const std::string file = scratch.file("three.gif");
    int maskIndex = -1;
    for (int i = 0; i < image8.colorCount; ++i) {
        const RGBQUAD& q = image8.palette[i];
        if (q.rgbRed == 128 && q.rgbGreen == 64 && q.rgbBlue == 64) maskIndex = i;
    }
    ASSERT_GE(maskIndex, 0);
    ASSERT_EQ(savegifex(file, image8, 2, maskIndex), 0);

    const gifreader::Image gif = gifreader::read(bytesOf(file));
    ASSERT_TRUE(gif.ok()) << gif.error;
    EXPECT_EQ(gif.version, "89a");
    EXPECT_EQ(gif.transparentIndex, maskIndex);
    // Top row first: the mask corner, then red; the last row blue.
    EXPECT_EQ(gif.palette[gif.indices[0]], 0x804040u);
    EXPECT_EQ(gif.palette[gif.indices[8]], 0xFF0000u);
    EXPECT_EQ(gif.palette[gif.indices[15 * 16 + 3]], 0x0000FFu);

    // The system's decoder agrees, and sees the corner as transparent.
    const DecodedPicture shown = decodeFileWithSystem(file);
    ASSERT_EQ(shown.width, 16);
    EXPECT_EQ(shown.alpha[0], 0);
    EXPECT_EQ(shown.rgb[8 * 3], 255);
    EXPECT_EQ(shown.alpha[8], 255);

    // Without a transparent colour: 87a.
    ASSERT_EQ(savegif(file, image8), 0);
    EXPECT_EQ(gifreader::read(bytesOf(file)).version, "87a");
}

TEST_F(QuenplexTest, JpegComesOutTheRightWayUp) {
    ASSERT_EQ(allocimage(image24, 24, 16, 24), 0);
    paint(image24, 24, 16);
    const std::string file = scratch.file("picture.jpg");
    ASSERT_EQ(savejpg(file, image24, 100), 0);
    const DecodedPicture shown = decodeFileWithSystem(file);
    ASSERT_EQ(shown.width, 24);
    ASSERT_EQ(shown.height, 16);
    auto looksLike = [&](int x, int y, int r, int g, int b) {
        const std::uint8_t* p = &shown.rgb[static_cast<std::size_t>((y * 24 + x) * 3)];
        return std::abs(p[0] - r) < 6 && std::abs(p[1] - g) < 6 && std::abs(p[2] - b) < 6;
    };
    EXPECT_TRUE(looksLike(12, 2, 255, 0, 0));
    EXPECT_TRUE(looksLike(12, 14, 0, 0, 255));
    EXPECT_TRUE(looksLike(1, 1, 128, 64, 64));
}

TEST_F(QuenplexTest, FailuresGiveTheirCodesAndLeaveNoFile) {
    const std::string file = scratch.file("out.gif");
    EXPECT_EQ(savegif(file, image8), -42); // never allocated
    EXPECT_EQ(savejpg(file, image24, 100), -42);
    ASSERT_EQ(allocimage(image24, 8, 8, 24), 0);
    ASSERT_EQ(allocimage(image8, 8, 8, 8), 0);
    EXPECT_EQ(savegif(file, image24), -26);
    EXPECT_EQ(savejpg(file, image24, 0), -1);
    EXPECT_EQ(savegifex(file, image8, 2, 300), -1);
    EXPECT_EQ(savegifex(file, image8, 5, 1), -1);
    EXPECT_FALSE(vmtest::fileExists(file));
    EXPECT_EQ(savegif(scratch.file("missing\\out.gif"), image8), -10);
    EXPECT_EQ(savejpg(scratch.file("missing\\out.jpg"), image24, 100), -10);
    QuenplexImage small;
    ASSERT_EQ(allocimage(small, 4, 4, 24), 0);
    EXPECT_EQ(convertrgbtopal(16, small, image8), -1); // sizes differ
    EXPECT_EQ(convertrgbtopal(16, image8, image24), -26);
    freeimage(small);
}
