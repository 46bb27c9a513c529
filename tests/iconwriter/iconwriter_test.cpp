// One-image icon and cursor files: their bytes, and that Windows reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include "orvexbind.h"
#include "scratch.h"
#include "writertestsupport.h"

using orvextest::Canvas;
using orvextest::u16;
using orvextest::u32;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

size_t rowSize(uint32_t width, uint32_t bits) { return ((width * bits + 31) / 32) * 4; }
uint32_t tableCount(uint32_t bits) { return bits <= 8 ? 1u << bits : 0; }

// The one image of a file the writer made, read back from its bytes.
struct WrittenImage {
    std::string bytes;
    uint32_t width, height, bits;
    size_t table = 62; // after the 6-byte directory, one 16-byte entry and the 40-byte header

    explicit WrittenImage(std::string b) : bytes(std::move(b)) {
        width = u32(bytes, 26);
        height = u32(bytes, 30) / 2;
        bits = u16(bytes, 36);
    }
    size_t plane() const { return table + 4 * tableCount(bits); }
    size_t mask() const { return plane() + rowSize(width, bits) * height; }
    // Pixel value at (x, y) counted from the top.
    uint32_t pixel(uint32_t x, uint32_t y) const {
        const size_t row = plane() + (height - 1 - y) * rowSize(width, bits);
        switch (bits) {
        case 1: return (static_cast<uint8_t>(bytes[row + x / 8]) >> (7 - x % 8)) & 1;
        case 4: return (static_cast<uint8_t>(bytes[row + x / 2]) >> (x % 2 ? 0 : 4)) & 15;
        case 8: return static_cast<uint8_t>(bytes[row + x]);
        case 16: return u16(bytes, row + 2 * x);
        case 24: return u32(bytes, row + 3 * x) & 0xFFFFFF;
        default: return u32(bytes, row + 4 * x);
        }
    }
    bool transparent(uint32_t x, uint32_t y) const {
        const size_t row = mask() + (height - 1 - y) * rowSize(width, 1);
        return (static_cast<uint8_t>(bytes[row + x / 8]) >> (7 - x % 8)) & 1;
    }
    // Colour table entry as 0x00RRGGBB.
    uint32_t entry(uint32_t i) const { return u32(bytes, table + 4 * i) & 0xFFFFFF; }
    // The colour a pixel value stands for, as 0x00RRGGBB.
    uint32_t color(uint32_t value) const {
        if (bits <= 8) return entry(value);
        if (bits == 16) return ((value >> 10) & 31) * 255 / 31 << 16 | ((value >> 5) & 31) * 255 / 31 << 8 | (value & 31) * 255 / 31;
        return value & 0xFFFFFF;
    }
};

// A red picture whose left half is transparent.
struct HalfMaskedRed {
    Canvas color, mask;
    HalfMaskedRed(int w, int h) : color(w, h, kRed), mask(w, h, kBlack) { mask.fill(0, 0, w / 2, h, kWhite); }
};

class IconWriter : public testing::Test {
protected:
    vmtest::ScratchDir dir;
};

TEST_F(IconWriter, FourBitIconHasItsLayoutAndStandardColours) {
    HalfMaskedRed pic(32, 32);
    const std::string path = dir.file("a.ico");
    ASSERT_EQ(orvexbind::SaveAsIcon(pic.color.dc(), pic.mask.dc(), 32, 32, 4, path.c_str()), -1);
    const WrittenImage im(vmtest::readFile(path));
    const std::string& b = im.bytes;
    ASSERT_EQ(b.size(), 766u);
    EXPECT_EQ(u16(b, 0), 0);
    EXPECT_EQ(u16(b, 2), 1);
    EXPECT_EQ(u16(b, 4), 1);
    EXPECT_EQ(b[6], 32);
    EXPECT_EQ(b[7], 32);
    EXPECT_EQ(b[8], 16);
    EXPECT_EQ(b[9], 0);
    EXPECT_EQ(u16(b, 10), 1);
    EXPECT_EQ(u16(b, 12), 4);
    EXPECT_EQ(u32(b, 14), 744u);
    EXPECT_EQ(u32(b, 18), 22u);
    EXPECT_EQ(u32(b, 22), 40u);
    EXPECT_EQ(u32(b, 26), 32u);
    EXPECT_EQ(u32(b, 30), 64u);
    EXPECT_EQ(u16(b, 34), 1);
    EXPECT_EQ(u32(b, 38), 0u); // BI_RGB
    EXPECT_EQ(u32(b, 42), 0u); // image size left to the reader

    const uint32_t standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                                   0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (uint32_t i = 0; i < 16; ++i) EXPECT_EQ(im.entry(i), standard[i]) << i;

    for (uint32_t y = 0; y < 32; ++y)
        for (uint32_t x = 0; x < 32; ++x) {
            ASSERT_EQ(im.transparent(x, y), x < 16) << x << "," << y;
            ASSERT_EQ(im.color(im.pixel(x, y)), x < 16 ? 0x000000u : 0xFF0000u) << x << "," << y;
        }
}

struct Depth {
    int width, height, bits;
    uint32_t bufferSize;
    int colorCount;
};

class IconWriterDepth : public IconWriter, public testing::WithParamInterface<Depth> {};

// Sizes per depth, and the transparent half turned black whatever the depth.
TEST_P(IconWriterDepth, SizesAndMaskedPixels) {
    const Depth d = GetParam();
    HalfMaskedRed pic(d.width, d.height);
    const std::string path = dir.file("d.ico");
    ASSERT_EQ(orvexbind::SaveAsIcon(pic.color.dc(), pic.mask.dc(), d.width, d.height, d.bits, path.c_str()), -1);
    const WrittenImage im(vmtest::readFile(path));
    ASSERT_EQ(im.bytes.size(), 22 + d.bufferSize);
    EXPECT_EQ(u32(im.bytes, 14), d.bufferSize);
    EXPECT_EQ(static_cast<uint8_t>(im.bytes[6]), d.width & 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(im.bytes[7]), d.height & 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(im.bytes[8]), d.colorCount);
    EXPECT_EQ(u16(im.bytes, 12), d.bits);
    EXPECT_EQ(u32(im.bytes, 30), 2u * d.height);
    // The file at 1 bit has only black and white, so its red falls to one of them.
    const uint32_t opaque = d.bits == 1 ? im.color(im.pixel(d.width - 1, 0)) : 0xFF0000u;
    for (uint32_t y = 0; y < im.height; ++y)
        for (uint32_t x = 0; x < im.width; ++x) {
            const bool left = x < im.width / 2;
            ASSERT_EQ(im.transparent(x, y), left) << x << "," << y;
            ASSERT_EQ(im.color(im.pixel(x, y)), left ? 0u : opaque) << x << "," << y;
            if (left && d.bits > 8) {
                ASSERT_EQ(im.pixel(x, y), 0u);
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Depths, IconWriterDepth,
                         testing::Values(Depth{32, 32, 1, 40 + 8 + 128 + 128, 2}, Depth{16, 16, 8, 1384, 0},
                                         Depth{32, 32, 16, 40 + 2048 + 128, 0}, Depth{32, 32, 24, 3240, 0},
                                         Depth{32, 32, 32, 40 + 4096 + 128, 0}, Depth{5, 3, 24, 40 + 48 + 12, 0},
                                         Depth{256, 256, 32, 40 + 262144 + 8192, 0}));

TEST_F(IconWriter, IconLoadsAndDrawsWithItsTransparency) {
    HalfMaskedRed pic(32, 32);
    for (int bits : {4, 8, 24, 32}) {
        const std::string path = dir.file(std::to_string(bits) + "bit.ico");
        ASSERT_EQ(orvexbind::SaveAsIcon(pic.color.dc(), pic.mask.dc(), 32, 32, bits, path.c_str()), -1);
        HICON icon = static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        ASSERT_NE(icon, nullptr) << bits;
        Canvas screen(32, 32, RGB(0, 0, 255));
        ASSERT_TRUE(DrawIconEx(screen.dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(screen.pixel(3, 10), RGB(0, 0, 255)) << bits;
        EXPECT_EQ(screen.pixel(28, 10), kRed) << bits;
        DestroyIcon(icon);
    }
}

TEST_F(IconWriter, CursorKeepsItsHotspot) {
    HalfMaskedRed pic(32, 32);
    const std::string path = dir.file("c.cur");
    ASSERT_EQ(orvexbind::SaveAsCursor(pic.color.dc(), pic.mask.dc(), 32, 32, 4, 5, 7, path.c_str()), -1);
    const std::string b = vmtest::readFile(path);
    ASSERT_EQ(b.size(), 766u);
    EXPECT_EQ(u16(b, 2), 2);
    EXPECT_EQ(u16(b, 10), 5);
    EXPECT_EQ(u16(b, 12), 7);
    EXPECT_EQ(b[8], 16);

    HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 7u);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
}

TEST_F(IconWriter, ReplacesAnExistingFile) {
    HalfMaskedRed pic(16, 16);
    const std::string path = dir.file("r.ico");
    ASSERT_TRUE(vmtest::writeFile(path, std::string(5000, 'x')));
    ASSERT_EQ(orvexbind::SaveAsIcon(pic.color.dc(), pic.mask.dc(), 16, 16, 24, path.c_str()), -1);
    EXPECT_EQ(vmtest::readFile(path).size(), 22u + 40 + 768 + 64);
    EXPECT_EQ(orvextest::filesIn(dir.path()), std::vector<std::string>{"r.ico"});
}

TEST_F(IconWriter, WritesToAPathInAnyLanguageLongerThanMaxPathBytes) {
    HalfMaskedRed pic(16, 16);
    std::string folder = dir.file("Ünïcødé 图标");
    for (int i = 0; i < 60; ++i) folder += "图";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = folder + "\\" + std::string(10 * 3, 'x') + "图标图标图标.ico";
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH)); // bytes; in characters it is shorter
    ASSERT_EQ(orvexbind::SaveAsIcon(pic.color.dc(), pic.mask.dc(), 16, 16, 24, path.c_str()), -1);
    EXPECT_EQ(vmtest::readFile(path).size(), 22u + 40 + 768 + 64);
}

TEST_F(IconWriter, RefusedCallsLeaveTheTargetAlone) {
    HalfMaskedRed pic(32, 32);
    const HDC c = pic.color.dc(), m = pic.mask.dc();
    const std::string path = dir.file("keep.ico");
    const std::string old = "old contents";
    ASSERT_TRUE(vmtest::writeFile(path, old));
    const char* p = path.c_str();
    const std::string tooLong = dir.path() + "\\" + std::string(32767, 'n'); // beyond what Windows takes

    EXPECT_EQ(orvexbind::SaveAsIcon(nullptr, m, 32, 32, 4, p), 0);
    EXPECT_EQ(orvexbind::SaveAsIcon(c, nullptr, 32, 32, 4, p), 0);
    // Handles that are no device context: a stale value and another GDI object.
    const HDC stale = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x5A5A0));
    const HDC brush = reinterpret_cast<HDC>(GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(orvexbind::SaveAsIcon(stale, m, 32, 32, 4, p), 0);
    EXPECT_EQ(orvexbind::SaveAsIcon(c, brush, 32, 32, 4, p), 0);
    EXPECT_EQ(orvexbind::SaveAsIcon(c, m, 0, 32, 4, p), 0);
    EXPECT_EQ(orvexbind::SaveAsIcon(c, m, 32, 257, 4, p), 0);
    EXPECT_EQ(orvexbind::SaveAsIcon(c, m, 32, -32, 4, p), 0);
    for (int bits : {0, 2, 3, 15, 64}) EXPECT_EQ(orvexbind::SaveAsIcon(c, m, 32, 32, bits, p), 0) << bits;
    EXPECT_EQ(orvexbind::SaveAsIcon(c, m, 32, 32, 4, nullptr), 0);
    EXPECT_EQ(orvexbind::SaveAsIcon(c, m, 32, 32, 4, ""), 0);
    EXPECT_EQ(orvexbind::SaveAsIcon(c, m, 32, 32, 4, tooLong.c_str()), 0);
    EXPECT_EQ(orvexbind::SaveAsCursor(c, m, 32, 32, 4, -1, 0, p), 0);
    EXPECT_EQ(orvexbind::SaveAsCursor(c, m, 32, 32, 4, 0, 65536, p), 0);
    EXPECT_EQ(orvexbind::SaveAsIcon(c, m, 32, 32, 4, dir.file("missing\\x.ico").c_str()), 0);

    EXPECT_EQ(vmtest::readFile(path), old);
    EXPECT_EQ(orvextest::filesIn(dir.path()), std::vector<std::string>{"keep.ico"});
}

TEST_F(IconWriter, ReadOnlyTargetFailsWithoutLeftovers) {
    HalfMaskedRed pic(16, 16);
    const std::string path = dir.file("ro.ico");
    ASSERT_TRUE(vmtest::writeFile(path, "old"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(orvexbind::SaveAsIcon(pic.color.dc(), pic.mask.dc(), 16, 16, 8, path.c_str()), 0);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(vmtest::readFile(path), "old");
    EXPECT_EQ(orvextest::filesIn(dir.path()), std::vector<std::string>{"ro.ico"});
}

} // namespace
