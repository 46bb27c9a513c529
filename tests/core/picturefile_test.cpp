// Pictures opened as the create-icon window opens them: whole ones decode,
// damaged ones (cut, lying headers, changed bytes) give "Invalid picture"
// quickly and small, and none reaches the system's decoder unread.
#include <gtest/gtest.h>

#include <windows.h>

#include "gifencoder.h"
#include "ico_fixtures.h"
#include "jpegencoder.h"
#include "picturefile.h"
#include "picturelayout.h"
#include "processmemory.h"
#include "scratch.h"
#include "vberror.h"
#include "patience.h"

namespace {

std::string bytesOf(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

// 24 x 16 pixels of a few colours in every kind the window opens.
std::vector<std::pair<std::string, std::string>> wholePictures() {
    constexpr int w = 24, h = 16;
    std::vector<std::uint8_t> rgb(w * h * 3), indices(w * h);
    for (int i = 0; i < w * h; ++i) {
        rgb[3 * i] = static_cast<std::uint8_t>(i * 7);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(i * 3);
        rgb[3 * i + 2] = 200;
        indices[i] = static_cast<std::uint8_t>(i % 4);
    }
    quenplex::GifPicture gif{w, h, indices.data(), {0xFF0000, 0x00FF00, 0x0000FF, 0x090909}, -1};
    std::string bmp = "BM" + std::string(12, '\0');
    const std::uint32_t rowBytes = (w * 3 + 3) & ~3u;
    auto put32 = [](std::string& s, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bmp += std::string(40, '\0');
    put32(bmp, 2, static_cast<std::uint32_t>(54 + rowBytes * h));
    put32(bmp, 10, 54);
    put32(bmp, 14, 40);
    put32(bmp, 18, w);
    put32(bmp, 22, h);
    bmp[26] = 1;
    bmp[28] = 24;
    bmp += std::string(rowBytes * h, '\x40');
    return {{"whole.bmp", bmp},
            {"whole.gif", bytesOf(quenplex::encodeGif(gif))},
            {"whole.jpg", bytesOf(quenplex::encodeJpeg(w, h, rgb.data(), 75))},
            {"whole.png", vmtest::ico::png(w, h).bytes}};
}

bool loads(const std::string& path) {
    try {
        return !vm::LoadPicture(path).empty();
    } catch (const vm::VbError& e) {
        EXPECT_EQ(e.number(), 481) << path;
        return false;
    }
}

} // namespace

TEST(PictureFile, WholePicturesLoadAndDamagedOnesAreInvalidQuicklyAndSmall) {
    vmtest::ScratchDir dir;
    int tried = 0, loaded = 0;
    const std::size_t before = vmtest::PeakCommittedBytes();
    const vmtest::CpuStopwatch work;
    std::uint32_t state = 119;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (const auto& [name, bytes] : wholePictures()) {
        ASSERT_FALSE(bytes.empty()) << name;
        const std::string path = dir.file(name);
        ASSERT_TRUE(vmtest::writeFile(path, bytes));
        EXPECT_TRUE(loads(path)) << name;
        std::vector<std::string> wrecks;
        for (std::size_t cut : {std::size_t{1}, std::size_t{8}, std::size_t{30}, bytes.size() / 2, bytes.size() - 1})
            wrecks.push_back(bytes.substr(0, cut));
        // Sides of 65,535 and of 2^31 where the header keeps them.
        for (std::size_t at : {std::size_t{6}, std::size_t{16}, std::size_t{18}, std::size_t{20}, std::size_t{22}}) {
            std::string lie = bytes;
            if (at + 4 <= lie.size()) lie.replace(at, 4, "\xFF\xFF\xFF\x7F", 4);
            wrecks.push_back(lie);
        }
        for (int i = 0; i < 60; ++i) {
            std::string f = bytes;
            for (int c = 0; c < 1 + static_cast<int>(next() % 4); ++c)
                f[next() % f.size()] ^= static_cast<char>(1u << (next() % 8));
            wrecks.push_back(f);
        }
        for (std::size_t i = 0; i < wrecks.size(); ++i) {
            const std::string wreck = dir.file("wreck" + std::to_string(i) + name.substr(name.find('.')));
            ASSERT_TRUE(vmtest::writeFile(wreck, wrecks[i]));
            ++tried;
            loaded += loads(wreck);
        }
    }
    std::printf("%d damaged pictures tried, %d still loaded whole\n", tried, loaded);
    // Not a picture at all, and a missing file.
    ASSERT_TRUE(vmtest::writeFile(dir.file("words.gif"), "not a picture"));
    EXPECT_FALSE(loads(dir.file("words.gif")));
    EXPECT_THROW(vm::LoadPicture(dir.file("missing.bmp")), vm::VbError);
    EXPECT_LT(vmtest::PeakGrowthSince(before), 128u << 20);
    EXPECT_LT(work.ms(), 20000u);
}

// A sound picture larger than any the program decodes is told too large, with the limit.
TEST(PictureFile, APictureBeyondTheLimitIsToldTooLarge) {
    vmtest::ScratchDir dir;
    std::string huge = vmtest::ico::png(16, 16).bytes;
    for (std::size_t at : {std::size_t{16}, std::size_t{20}}) huge.replace(at, 4, "\x00\x00\x75\x30", 4); // 30,000
    ASSERT_TRUE(vmtest::writeFile(dir.file("huge.png"), huge));
    try {
        vm::LoadPicture(dir.file("huge.png"));
        ADD_FAILURE() << "loaded";
    } catch (const vm::VbError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_EQ(e.description(), "Picture too large: 30000 x 30000 pixels; at most 8192 pixels a side and "
                                   "16777216 pixels in all");
    }
}

// A plain bitmap read without the system's loader gives the loader's pixels,
// at every depth it takes and stored either way up; anything else is left to
// the loader.
TEST(PictureFile, PlainBitmapsReadAsTheSystemReadsThem) {
    constexpr int w = 13, h = 5; // rows that end within a byte and are padded
    auto bitmap = [&](int bits, int height, std::uint32_t used = 0) {
        const std::uint32_t colours = bits <= 8 ? (used ? used : 1u << bits) : 0, offBits = 54 + 4 * colours;
        std::string bmp = "BM" + std::string(offBits - 2 + (w * bits + 31) / 32 * 4 * h, '\0');
        auto put32 = [&bmp](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        };
        for (auto [at, v] : {std::pair{2u, std::uint32_t(bmp.size())}, {10u, offBits}, {14u, 40u},
                             {18u, std::uint32_t(w)}, {22u, std::uint32_t(height)}, {26u, 1u + (bits << 16)}, {46u, used}})
            put32(at, v);
        for (std::uint32_t i = 0; i < colours; ++i) put32(54 + 4 * i, 0x10305070u * (i + 1) & 0xFFFFFFu);
        for (std::uint32_t i = offBits; i < bmp.size(); ++i) bmp[i] = static_cast<char>(i * 37 + i / 7);
        return bmp;
    };
    auto decoded = [](const std::string& bmp, std::vector<std::uint32_t>& rgb) {
        std::uint32_t width = 0, height = 0;
        return vm::pic::decodePlainBmp({reinterpret_cast<const std::uint8_t*>(bmp.data()), bmp.size()}, width, height,
                                       rgb) && width == w && height == h;
    };
    std::vector<std::uint32_t> rgb, shown(w * h);
    for (int bits : {1, 4, 8, 24})
        for (int height : {h, -h}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, height " + std::to_string(height));
            const std::string bmp = bitmap(bits, height);
            ASSERT_TRUE(decoded(bmp, rgb));
            BITMAPINFO bmi{};
            bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
            HDC screen = GetDC(nullptr);
            GetDIBits(screen, vm::LoadPictureData(bmp.data(), bmp.size()).bitmap(), 0, h, shown.data(), &bmi, 0);
            ReleaseDC(nullptr, screen);
            for (auto& p : shown) p &= 0xFFFFFFu;
            EXPECT_EQ(rgb, shown);
        }
    EXPECT_FALSE(decoded(bitmap(4, h, 3), rgb)); // pixels name colours the palette lacks
    EXPECT_FALSE(decoded(bitmap(32, h), rgb));
}
