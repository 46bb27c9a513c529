// The test harness itself: scratch folders are private and go away.
#include "scratch.h"

#include <gtest/gtest.h>

TEST(Harness, ScratchFolderHoldsFilesAndIsRemoved) {
    std::string kept;
    {
        vmtest::ScratchDir dir;
        kept = dir.path();
        ASSERT_TRUE(vmtest::writeFile(dir.file("a.bin"), std::string("x\0y", 3)));
        EXPECT_EQ(vmtest::readFile(dir.file("a.bin")), std::string("x\0y", 3));
    }
    EXPECT_FALSE(vmtest::fileExists(kept));
}
