// cFileIcon: loading, saving, editing and drawing ICO files.
#include <gtest/gtest.h>

#include "cfileicon.h"
#include "ico_fixtures.h"
#include "icon_testutil.h"
#include "scratch.h"

namespace {

using vm::cFileIcon;
using vmtest::Canvas;
using vmtest::ScreenDC;
using vmtest::expectVbError;
namespace fx = vmtest::ico;

std::vector<fx::Image> everyDepth() {
    return {fx::dib(16, 16, 1, 1), fx::dib(32, 32, 4, 2), fx::dib(48, 48, 8, 3), fx::dib(24, 24, 24, 4),
            fx::dib(32, 32, 32, 5)};
}

// Expected colour of the 24-bit fixture pattern at a screen pixel.
COLORREF pattern24(int x, int y, int height, unsigned seed) {
    const unsigned v = static_cast<unsigned>(x * 3 + (height - 1 - y) * 5) + seed;
    return RGB(static_cast<BYTE>(v * 13), static_cast<BYTE>(v * 11), static_cast<BYTE>(v * 7));
}

TEST(FileIcon, LoadsImagesOfEveryDepthWithTheirFormats) {
    ScreenDC screen;
    vmtest::ScratchDir dir;
    const auto images = everyDepth();
    ASSERT_TRUE(vmtest::writeFile(dir.file("all.ico"), fx::icoFile(images)));

    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(dir.file("all.ico")));
    EXPECT_EQ(icon.Filename(), dir.file("all.ico"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(icon.ResourceID()));
    ASSERT_EQ(icon.ImageCount(), 5);
    const int colours[] = {2, 16, 256, 16777216, 16777216};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(icon.ImageWidth(i), images[i - 1].width);
        EXPECT_EQ(icon.ImageHeight(i), images[i - 1].height);
        EXPECT_EQ(icon.ImageColourCount(i), colours[i - 1]);
        EXPECT_EQ(icon.ImageSize(i), static_cast<int>(images[i - 1].bytes.size()));

        HICON h = icon.IconHandle(screen, i);
        ASSERT_NE(h, nullptr) << i;
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(h, &ii));
        BITMAP bm{};
        GetObject(ii.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, images[i - 1].width);
        DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
        DestroyIcon(h);
        EXPECT_TRUE(icon.IconPicture(screen, i)) << i;
    }
    EXPECT_THROW(icon.ImageWidth(6), vm::VbError);
    EXPECT_THROW(icon.ImageWidth(0), vm::VbError);
}

TEST(FileIcon, DrawsTheColourAndMaskPlanesPixelForPixel) {
    vmtest::ScratchDir dir;
    ASSERT_TRUE(vmtest::writeFile(dir.file("a.ico"), fx::icoFile({fx::dib(24, 20, 24, 9)})));
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(dir.file("a.ico")));

    Canvas colour(24, 20);
    icon.DrawIconImage(colour.dc(), 1, false, 0, 0, 0, 0, SRCCOPY);
    for (auto [x, y] : {std::pair{0, 0}, {5, 7}, {23, 19}, {12, 3}})
        EXPECT_EQ(colour.pixel(x, y), pattern24(x, y, 20, 9)) << x << "," << y;

    // The fixture's mask is transparent (white) in the bottom-left 2 x 2 corner.
    Canvas mask(24, 20);
    icon.DrawIconImage(mask.dc(), 1, true, 0, 0, 0, 0, SRCCOPY);
    EXPECT_EQ(mask.pixel(0, 19), RGB(255, 255, 255));
    EXPECT_EQ(mask.pixel(1, 18), RGB(255, 255, 255));
    EXPECT_EQ(mask.pixel(2, 19), RGB(0, 0, 0));
    EXPECT_EQ(mask.pixel(10, 5), RGB(0, 0, 0));

    // Stretched drawing, a 0 side keeping the image's own.
    Canvas wide(48, 20);
    icon.DrawIconImage(wide.dc(), 1, false, 0, 0, 48, 0, SRCCOPY);
    EXPECT_EQ(wide.pixel(47, 0), pattern24(23, 0, 20, 9));
}

TEST(FileIcon, RefusesNonIconFilesWithoutError) {
    vmtest::ScratchDir dir;
    cFileIcon icon;
    EXPECT_FALSE(icon.LoadIcon(dir.file("missing.ico")));
    ASSERT_TRUE(vmtest::writeFile(dir.file("c.cur"), fx::icoFile({fx::dib(32, 32, 4)}, 2)));
    EXPECT_FALSE(icon.LoadIcon(dir.file("c.cur")));
    ASSERT_TRUE(vmtest::writeFile(dir.file("empty.ico"), fx::iconDir(0, 1, 0)));
    EXPECT_FALSE(icon.LoadIcon(dir.file("empty.ico")));
    ASSERT_TRUE(vmtest::writeFile(dir.file("short.ico"), "\0\0\1"));
    EXPECT_FALSE(icon.LoadIcon(dir.file("short.ico")));
    EXPECT_EQ(icon.ImageCount(), 0);
}

TEST(FileIcon, DamagedFilesRaise1050AndLeaveTheIconEmpty) {
    vmtest::ScratchDir dir;
    cFileIcon icon;
    ASSERT_TRUE(vmtest::writeFile(dir.file("good.ico"), fx::icoFile({fx::dib(16, 16, 4)})));
    ASSERT_TRUE(icon.LoadIcon(dir.file("good.ico")));

    // A directory that promises more entries than the file holds.
    ASSERT_TRUE(vmtest::writeFile(dir.file("dir.ico"), fx::iconDir(0, 1, 3) + std::string(20, '\0')));
    expectVbError([&] { icon.LoadIcon(dir.file("dir.ico")); }, 1050,
                  "Failed to load icon: Icon Directory Array is Corrupt.");
    EXPECT_EQ(icon.ImageCount(), 0);

    auto lying = fx::dib(16, 16, 8);
    lying.declaredSize = 0xFFFFFFF0; // no buffer may be sized by this
    ASSERT_TRUE(vmtest::writeFile(dir.file("size.ico"), fx::icoFile({fx::dib(16, 16, 4), lying})));
    expectVbError([&] { icon.LoadIcon(dir.file("size.ico")); }, 1050,
                  "Failed to load icon: Icon Images Array is Corrupt.");
    EXPECT_EQ(icon.ImageCount(), 0);

    std::string offset = fx::icoFile({fx::dib(16, 16, 4)});
    offset[18] = '\x7F'; // dwImageOffset far beyond the end
    ASSERT_TRUE(vmtest::writeFile(dir.file("offset.ico"), offset));
    expectVbError([&] { icon.LoadIcon(dir.file("offset.ico")); }, 1050,
                  "Failed to load icon: Icon Images Array is Corrupt.");
}

TEST(FileIcon, ImageThatDoesNotHoldItsPlanesGivesNoHandleAndNoDrawing) {
    ScreenDC screen;
    vmtest::ScratchDir dir;
    auto damaged = fx::dib(32, 32, 8);
    damaged.bytes[8] = 0; // biHeight 256: two planes of 128 rows the block does not hold
    damaged.bytes[9] = 1;
    ASSERT_TRUE(vmtest::writeFile(dir.file("d.ico"), fx::icoFile({damaged})));
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(dir.file("d.ico")));
    EXPECT_EQ(icon.IconHandle(screen, 1), nullptr);
    EXPECT_FALSE(icon.IconPicture(screen, 1));
    Canvas canvas(32, 32);
    icon.DrawIconImage(canvas.dc(), 1, false, 0, 0, 0, 0, SRCCOPY);
    EXPECT_EQ(canvas.pixel(16, 16), RGB(255, 255, 255));
}

TEST(FileIcon, EntryWithoutBitCountTakesTheDepthFromTheImage) {
    vmtest::ScratchDir dir;
    auto eight = fx::dib(16, 16, 8);
    auto four = fx::dib(16, 16, 4);
    eight.bitCount = 0;
    four.bitCount = 0;
    four.colorCount = 0;
    ASSERT_TRUE(vmtest::writeFile(dir.file("z.ico"), fx::icoFile({eight, four})));
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(dir.file("z.ico")));
    EXPECT_EQ(icon.ImageColourCount(1), 256);
    EXPECT_EQ(icon.ImageColourCount(2), 16);
}

TEST(FileIcon, PngImagesAreKeptAsStoredAndDecodedByTheSystem) {
    ScreenDC screen;
    vmtest::ScratchDir dir;
    const auto big = fx::png(256, 256, 3);
    const std::string file = fx::icoFile({fx::dib(16, 16, 8), big});
    ASSERT_TRUE(vmtest::writeFile(dir.file("png.ico"), file));
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(dir.file("png.ico")));
    EXPECT_EQ(icon.ImageWidth(2), 256);
    EXPECT_EQ(icon.ImageHeight(2), 256);
    EXPECT_EQ(icon.ImageColourCount(2), 16777216);

    HICON h = icon.IconHandle(screen, 2);
    ASSERT_NE(h, nullptr);
    Canvas canvas(256, 256);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, h, 0, 0, 0, nullptr, DI_NORMAL));
    DestroyIcon(h);
    EXPECT_EQ(canvas.pixel(10, 20), RGB(13, 43, (10 ^ 20) + 3));
    EXPECT_EQ(canvas.pixel(1, 1), RGB(255, 255, 255)); // transparent corner

    Canvas plane(256, 256);
    icon.DrawIconImage(plane.dc(), 2, false, 0, 0, 0, 0, SRCCOPY);
    EXPECT_EQ(plane.pixel(10, 20), RGB(13, 43, (10 ^ 20) + 3));

    ASSERT_TRUE(icon.SaveIcon(dir.file("copy.ico")));
    EXPECT_EQ(vmtest::readFile(dir.file("copy.ico")), file);
}

TEST(FileIcon, SaveThenLoadGivesTheSameFile) {
    vmtest::ScratchDir dir;
    const std::string file = fx::icoFile(everyDepth());
    ASSERT_TRUE(vmtest::writeFile(dir.file("a.ico"), file));
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(dir.file("a.ico")));
    ASSERT_TRUE(icon.SaveIcon(dir.file("b.ico")));
    EXPECT_EQ(icon.Filename(), dir.file("b.ico"));
    EXPECT_EQ(vmtest::readFile(dir.file("b.ico")), file);

    cFileIcon again;
    ASSERT_TRUE(again.LoadIcon(dir.file("b.ico")));
    ASSERT_EQ(again.ImageCount(), icon.ImageCount());
    for (int i = 1; i <= icon.ImageCount(); ++i) {
        EXPECT_EQ(again.ImageSize(i), icon.ImageSize(i));
        EXPECT_EQ(again.ImageColourCount(i), icon.ImageColourCount(i));
    }
}

TEST(FileIcon, ImagesStoredOutOfOrderWithGapsAreSavedPacked) {
    vmtest::ScratchDir dir;
    const auto images = everyDepth();
    ASSERT_TRUE(vmtest::writeFile(dir.file("s.ico"), fx::scatteredIcoFile(images, 37)));
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(dir.file("s.ico")));
    ASSERT_TRUE(icon.SaveIcon(dir.file("p.ico")));
    EXPECT_EQ(vmtest::readFile(dir.file("p.ico")), fx::icoFile(images));
}

TEST(FileIcon, SaveIconErrorsAndTargets) {
    vmtest::ScratchDir dir;
    cFileIcon icon;
    expectVbError([&] { icon.SaveIcon(""); }, 1051, "No filename specified.");
    expectVbError([&] { icon.SaveIcon(dir.file("x.ico")); }, 1052, "Icon contains no images.");

    ASSERT_TRUE(vmtest::writeFile(dir.file("a.ico"), fx::icoFile({fx::dib(16, 16, 4)})));
    ASSERT_TRUE(icon.LoadIcon(dir.file("a.ico")));
    icon.AddImage(32, 32, 256);
    ASSERT_TRUE(icon.SaveIcon(""));
    cFileIcon saved;
    ASSERT_TRUE(saved.LoadIcon(dir.file("a.ico")));
    EXPECT_EQ(saved.ImageCount(), 2);

    expectVbError([&] { icon.SaveIcon(dir.file("no\\such\\folder\\x.ico")); }, 1052,
                  "Couldn't open file for writing.");
    // A target that cannot be replaced is left as it was, with no temporary file behind.
    ASSERT_TRUE(CreateDirectoryA(dir.file("taken.ico").c_str(), nullptr));
    expectVbError([&] { icon.SaveIcon(dir.file("taken.ico")); }, 1052, "Couldn't open file for writing.");
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(dir.file("*.tmp").c_str(), &fd);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST(FileIcon, AddImageAppendsBlankOpaqueImages) {
    ScreenDC screen;
    vmtest::ScratchDir dir;
    cFileIcon icon;
    icon.AddImage(32, 32, 16);
    EXPECT_EQ(icon.ImageCount(), 1);
    EXPECT_EQ(icon.ImageSize(1), 744);
    EXPECT_EQ(icon.ImageColourCount(1), 16);
    ASSERT_TRUE(icon.SaveIcon(dir.file("new.ico")));
    const std::string bytes = vmtest::readFile(dir.file("new.ico"));
    ASSERT_EQ(bytes.size(), 766u);
    EXPECT_EQ(bytes.substr(0, 6), fx::iconDir(0, 1, 1));
    EXPECT_EQ(static_cast<unsigned char>(bytes[18]), 22); // dwImageOffset
    EXPECT_EQ(bytes[12], 4);                              // wBitCount

    icon.AddImage(16, 16, 2);
    icon.AddImage(48, 48, 1000);
    EXPECT_EQ(icon.ImageColourCount(3), 16777216);
    expectVbError([&] { icon.AddImage(32, 32, 16); }, 1049, "Icon already exists.");
    EXPECT_EQ(icon.ImageCount(), 3);
    EXPECT_THROW(icon.AddImage(300, 16, 16), vm::VbError);
    EXPECT_EQ(icon.ImageCount(), 3);

    for (int i = 1; i <= 3; ++i) {
        Canvas colour(48, 48), mask(48, 48);
        icon.DrawIconImage(colour.dc(), i, false, 0, 0, 0, 0, SRCCOPY);
        icon.DrawIconImage(mask.dc(), i, true, 0, 0, 0, 0, SRCCOPY);
        EXPECT_EQ(colour.pixel(5, 5), RGB(0, 0, 0)) << i;
        EXPECT_EQ(mask.pixel(5, 5), RGB(0, 0, 0)) << i;
        HICON h = icon.IconHandle(screen, i);
        EXPECT_NE(h, nullptr) << i;
        DestroyIcon(h);
    }
    ASSERT_TRUE(icon.SaveIcon(""));
    cFileIcon saved;
    ASSERT_TRUE(saved.LoadIcon(dir.file("new.ico")));
    EXPECT_EQ(saved.ImageCount(), 3);

    // A count that is no palette size gives 24 bits, which have no colour
    // table: the block holds exactly what its header describes.
    cFileIcon odd;
    odd.AddImage(16, 16, 100);
    EXPECT_EQ(odd.ImageSize(1), 40 + 16 * 48 + 16 * 4);
    HICON h = odd.IconHandle(screen, 1);
    EXPECT_NE(h, nullptr);
    DestroyIcon(h);
}

TEST(FileIcon, RemoveImageKeepsTheRestConsistent) {
    vmtest::ScratchDir dir;
    auto images = everyDepth();
    ASSERT_TRUE(vmtest::writeFile(dir.file("a.ico"), fx::icoFile(images)));
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(dir.file("a.ico")));
    icon.RemoveImage(2);
    EXPECT_THROW(icon.RemoveImage(5), vm::VbError);
    ASSERT_TRUE(icon.SaveIcon(dir.file("b.ico")));
    images.erase(images.begin() + 1);
    EXPECT_EQ(vmtest::readFile(dir.file("b.ico")), fx::icoFile(images));

    cFileIcon one;
    one.AddImage(16, 16, 256);
    one.RemoveImage(7); // a lone image goes whatever the index
    EXPECT_EQ(one.ImageCount(), 0);
}

TEST(FileIcon, CloneToCopiesIndependently) {
    vmtest::ScratchDir dir;
    ASSERT_TRUE(vmtest::writeFile(dir.file("a.ico"), fx::icoFile(everyDepth())));
    cFileIcon icon, copy;
    copy.AddImage(8, 8, 2);
    ASSERT_TRUE(icon.LoadIcon(dir.file("a.ico")));
    icon.CloneTo(copy);
    icon.RemoveImage(1);
    EXPECT_EQ(copy.ImageCount(), 5);
    EXPECT_EQ(copy.Filename(), dir.file("a.ico"));
    ASSERT_TRUE(copy.SaveIcon(dir.file("c.ico")));
    EXPECT_EQ(vmtest::readFile(dir.file("c.ico")), fx::icoFile(everyDepth()));
}

} // namespace
