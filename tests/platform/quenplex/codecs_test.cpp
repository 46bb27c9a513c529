// The encoders and the quantiser on their own, without the DLL: GIF files read
// back by the tests' reader, JPEG files by the system's decoder.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "gifencoder.h"
#include "gifreader.h"
#include "jpegencoder.h"
#include "quantizer.h"
#include "systemdecoder.h"

using namespace quenplex;

namespace {

// A picture of exactly n colours (n <= width * height), each a different shade.
std::vector<Rgb> pictureOf(int colours, int width, int height) {
    std::vector<Rgb> p(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < p.size(); ++i) {
        const auto k = static_cast<Rgb>(i % static_cast<std::size_t>(colours));
        p[i] = ((k * 37) & 0xFF) << 16 | ((k * 11 + k / 7) & 0xFF) << 8 | ((k * 3 + k / 5) & 0xFF);
    }
    return p;
}

std::size_t distinct(const std::vector<Rgb>& v) { return std::set<Rgb>(v.begin(), v.end()).size(); }

} // namespace

TEST(Quantizer, FewColoursStayExactWithTheMaskColour) {
    for (int colours : {2, 16, 256}) {
        SCOPED_TRACE(colours);
        auto p = pictureOf(colours, 32, 32);
        ASSERT_EQ(distinct(p), static_cast<std::size_t>(colours));
        const Rgb replaced = p[5];
        for (Rgb& c : p)
            if (c == replaced) c = 0x804040; // the mask colour takes one shade's place
        const std::size_t have = distinct(p);
        const Quantized q = quantize(p.data(), p.size(), 256);
        ASSERT_EQ(q.palette.size(), have);
        for (std::size_t i = 0; i < p.size(); ++i) ASSERT_EQ(q.palette[q.indices[i]], p[i]) << i;
    }
}

TEST(Quantizer, RichPicturesGetDistinctEntriesAndKeepABigBackground) {
    // 257 colours in 256 entries; then a background of 40% around a gradient.
    auto p = pictureOf(257, 32, 32);
    Quantized q = quantize(p.data(), p.size(), 256);
    EXPECT_LE(q.palette.size(), 256u);
    EXPECT_EQ(distinct(q.palette), q.palette.size());

    std::vector<Rgb> g(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            g[static_cast<std::size_t>(y * 64 + x)] =
                x < 26 ? 0x804040 : static_cast<Rgb>((x * 4) << 16 | (y * 4) << 8 | ((x + y) * 2));
    q = quantize(g.data(), g.size(), 16);
    EXPECT_LE(q.palette.size(), 16u);
    EXPECT_EQ(distinct(q.palette), q.palette.size());
    EXPECT_EQ(q.palette[q.indices[0]], 0x804040u);
    // Each pixel lands on an entry near its own colour.
    long worst = 0;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const Rgb a = g[i], b = q.palette[q.indices[i]];
        for (int s : {0, 8, 16}) worst = std::max(worst, std::labs(long((a >> s) & 0xFF) - long((b >> s) & 0xFF)));
    }
    EXPECT_LT(worst, 96);
}

TEST(Quantizer, CountIsClampedToTwoAndTo256) {
    auto p = pictureOf(3, 4, 4);
    EXPECT_EQ(quantize(p.data(), p.size(), 0).palette.size(), 2u);
    EXPECT_EQ(quantize(p.data(), p.size(), 1000).palette.size(), 3u);
}

TEST(GifEncoder, RoundTripsExactlyThroughAnIndependentReader) {
    struct Case {
        int width, height, colours;
        int transparent;
    };
    // A single colour, two colours (smallest code size), 16, and a noisy
    // 256-colour picture large enough to fill the string table several times.
    for (const Case& k : {Case{1, 1, 1, -1}, Case{7, 3, 2, 1}, Case{33, 17, 16, 5}, Case{256, 256, 256, 200}}) {
        SCOPED_TRACE(k.width);
        std::mt19937 random(k.width);
        std::vector<std::uint8_t> indices(static_cast<std::size_t>(k.width * k.height));
        for (auto& i : indices) i = static_cast<std::uint8_t>(random() % static_cast<unsigned>(k.colours));
        GifPicture p;
        p.width = k.width;
        p.height = k.height;
        p.indices = indices.data();
        for (int i = 0; i < k.colours; ++i) p.palette.push_back(static_cast<Rgb>(i * 0x010203) & 0xFFFFFF);
        p.transparentIndex = k.transparent;
        const auto bytes = encodeGif(p);
        const gifreader::Image img = gifreader::read(bytes);
        ASSERT_TRUE(img.ok()) << img.error;
        EXPECT_EQ(img.version, k.transparent >= 0 ? "89a" : "87a");
        EXPECT_EQ(img.width, k.width);
        EXPECT_EQ(img.height, k.height);
        EXPECT_EQ(img.transparentIndex, k.transparent);
        ASSERT_GE(img.palette.size(), static_cast<std::size_t>(k.colours));
        for (int i = 0; i < k.colours; ++i) EXPECT_EQ(img.palette[static_cast<std::size_t>(i)], p.palette[static_cast<std::size_t>(i)]);
        EXPECT_EQ(img.indices, indices);
    }
}

TEST(GifEncoder, RefusesPicturesItCannotWrite) {
    std::uint8_t pixels[4] = {0, 1, 2, 3};
    GifPicture p;
    p.width = 2;
    p.height = 2;
    p.indices = pixels;
    p.palette = {0, 1, 2}; // index 3 names no colour
    EXPECT_TRUE(encodeGif(p).empty());
    p.palette.push_back(3);
    p.transparentIndex = 4;
    EXPECT_TRUE(encodeGif(p).empty());
    p.transparentIndex = -1;
    p.width = 0;
    EXPECT_TRUE(encodeGif(p).empty());
}

TEST(JpegEncoder, QualityHundredHasEveryQuantiserOneAndLowerScalesTheTables) {
    for (int t : {0, 1})
        for (auto q : quantiserTable(t, 100)) EXPECT_EQ(q, 1);
    EXPECT_EQ(quantiserTable(0, 50)[0], 16);
    EXPECT_EQ(quantiserTable(1, 50)[63], 99);
    EXPECT_EQ(quantiserTable(0, 1)[63], 255);

    std::vector<std::uint8_t> rgb(9 * 5 * 3, 200);
    const auto bytes = encodeJpeg(9, 5, rgb.data(), 100);
    ASSERT_GT(bytes.size(), 200u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    EXPECT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 11), std::string("JFIF\0", 5));
    // The tables as stored: two of 64 ones after the DQT marker.
    const std::size_t dqt = 2 + 18;
    ASSERT_EQ(bytes[dqt + 1], 0xDB);
    for (std::size_t i = 0; i < 64; ++i) {
        EXPECT_EQ(bytes[dqt + 5 + i], 1);
        EXPECT_EQ(bytes[dqt + 5 + 65 + i], 1);
    }
    EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
    EXPECT_EQ(bytes[bytes.size() - 1], 0xD9);
    EXPECT_TRUE(encodeJpeg(0, 5, rgb.data(), 100).empty());
    EXPECT_TRUE(encodeJpeg(9, 5, rgb.data(), 0).empty());
}

TEST(JpegEncoder, TheSystemDecoderReadsItBackWithinASmallError) {
    // Sizes off the 8-pixel grid, smooth shading and hard edges.
    for (int quality : {100, 75}) {
        const int w = 45, h = 29;
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w * h * 3));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint8_t* p = &rgb[static_cast<std::size_t>((y * w + x) * 3)];
                p[0] = static_cast<std::uint8_t>(x * 5);
                p[1] = static_cast<std::uint8_t>(y < h / 2 ? 230 : 20);
                p[2] = static_cast<std::uint8_t>((x + y) * 3);
            }
        const auto bytes = encodeJpeg(w, h, rgb.data(), quality);
        const auto decoded = decodeWithSystem(bytes);
        ASSERT_EQ(decoded.width, w);
        ASSERT_EQ(decoded.height, h);
        double total = 0;
        for (std::size_t i = 0; i < rgb.size(); ++i) total += std::abs(int(rgb[i]) - int(decoded.rgb[i]));
        EXPECT_LT(total / static_cast<double>(rgb.size()), quality == 100 ? 2.0 : 8.0) << quality;
    }
}
