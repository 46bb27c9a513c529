// What the writer makes, the program's own icon model reads back.
#include <gtest/gtest.h>

#include "cfileicon.h"
#include "orvexbind.h"
#include "scratch.h"
#include "writertestsupport.h"

namespace {

TEST(WriterToFileIcon, SizesAndColourCountsSurviveTheRoundTrip) {
    vmtest::ScratchDir dir;
    struct Case {
        int width, height, bits;
        int32_t colours;
    };
    for (const Case& c : {Case{32, 32, 1, 2}, Case{32, 32, 4, 16}, Case{16, 16, 8, 256}, Case{48, 24, 24, 16777216},
                          Case{256, 256, 32, 16777216}}) {
        orvextest::Canvas color(c.width, c.height, RGB(0, 128, 0)), mask(c.width, c.height, RGB(0, 0, 0));
        const std::string path = dir.file(std::to_string(c.bits) + ".ico");
        ASSERT_EQ(orvexbind::SaveAsIcon(color.dc(), mask.dc(), c.width, c.height, c.bits, path.c_str()), -1);
        vm::cFileIcon icon;
        ASSERT_TRUE(icon.LoadIcon(path)) << c.bits;
        ASSERT_EQ(icon.ImageCount(), 1);
        EXPECT_EQ(icon.ImageWidth(1), c.width) << c.bits;
        EXPECT_EQ(icon.ImageHeight(1), c.height) << c.bits;
        EXPECT_EQ(icon.ImageColourCount(1), c.colours) << c.bits;
    }

    // The icon model takes icons only: a cursor file is refused, not misread.
    orvextest::Canvas color(32, 32, RGB(0, 128, 0)), mask(32, 32, RGB(0, 0, 0));
    const std::string cursor = dir.file("c.cur");
    ASSERT_EQ(orvexbind::SaveAsCursor(color.dc(), mask.dc(), 32, 32, 4, 3, 3, cursor.c_str()), -1);
    vm::cFileIcon icon;
    EXPECT_FALSE(icon.LoadIcon(cursor));
}

} // namespace
