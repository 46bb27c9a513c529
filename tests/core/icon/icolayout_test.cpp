// The byte-layout checks that stand between a file's fields and GDI.
#include <gtest/gtest.h>

#include "ico_fixtures.h"
#include "icolayout.h"

namespace {

using namespace vm::ico;

Bytes bytesOf(const std::string& s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

TEST(IcoLayout, CheckDibAcceptsWellFormedImagesOfEveryDepth) {
    for (int bits : {1, 4, 8, 24, 32}) {
        auto im = vmtest::ico::dib(20, 13, bits);
        auto d = checkDib(bytesOf(im.bytes));
        ASSERT_TRUE(d) << bits;
        EXPECT_EQ(d->width, 20);
        EXPECT_EQ(d->height, 13);
        EXPECT_EQ(d->end, im.bytes.size()) << bits;
        EXPECT_EQ(d->colourTable, bits <= 8 ? (1u << bits) : 0u);
    }
}

TEST(IcoLayout, CheckDibRejectsImagesThatDoNotHoldTheirPlanes) {
    auto im = vmtest::ico::dib(32, 32, 8);
    // One byte short of the mask plane.
    EXPECT_FALSE(checkDib(bytesOf(im.bytes.substr(0, im.bytes.size() - 1))));
    EXPECT_FALSE(checkDib(bytesOf(im.bytes.substr(0, 39))));

    auto patched = [&](std::size_t at, std::uint32_t value) {
        std::string s = im.bytes;
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(value >> (8 * i));
        return checkDib(bytesOf(s)).has_value();
    };
    EXPECT_FALSE(patched(0, 0x7FFFFFFF));  // header larger than the image
    EXPECT_FALSE(patched(4, 0x7FFFFFFF));  // absurd width
    EXPECT_FALSE(patched(4, 0xFFFFFFF0));  // negative width
    EXPECT_FALSE(patched(8, 0x00000042));  // one row taller than the bytes hold
    EXPECT_FALSE(patched(16, 1));          // compressed
    EXPECT_FALSE(patched(32, 257));        // more colours than 8 bits can index
    EXPECT_FALSE(patched(32, 0x40000000)); // colour table far beyond the image
}

TEST(IcoLayout, ColourCountTakesTheDepthFromTheImageWhenTheEntryHasNone) {
    auto im = vmtest::ico::dib(16, 16, 8);
    DirEntry e;
    EXPECT_EQ(colourCount(e, bytesOf(im.bytes)), 256);
    e.bColorCount = 16;
    EXPECT_EQ(colourCount(e, bytesOf(im.bytes)), 16);
    e.bColorCount = 0;
    e.wBitCount = 24;
    EXPECT_EQ(colourCount(e, {}), 16777216);
    e.wBitCount = 32;
    EXPECT_EQ(colourCount(e, {}), 16777216);
    e.wBitCount = 0;
    EXPECT_EQ(colourCount(e, bytesOf(vmtest::ico::png(8, 8).bytes)), 16777216);
    EXPECT_EQ(colourCount(e, {}), 0);
}

TEST(IcoLayout, PackedOffsetsFollowTheDirectory) {
    const std::uint32_t sizes[] = {100, 50, 7};
    EXPECT_EQ(packedOffsets(sizes), (std::vector<std::uint32_t>{54, 154, 204}));
    EXPECT_TRUE(blockInside(10, 0, 10));
    EXPECT_FALSE(blockInside(11, 0, 10));
    EXPECT_FALSE(blockInside(0xFFFFFFFFull, 2, 10));
    EXPECT_FALSE(blockInside(4, 0xFFFFFFFFFFFFFFF0ull, 10)); // no wrap-around
}

} // namespace
