// Damaged ICO files: every truncation and many random byte changes of a
// multi-image file give False or a VbError, never a crash or a stray read.
#include <gtest/gtest.h>

#include "cfileicon.h"
#include "ico_fixtures.h"
#include "icon_testutil.h"
#include "scratch.h"

namespace {

using vm::cFileIcon;
namespace fx = vmtest::ico;

std::string sample() {
    return fx::icoFile({fx::dib(16, 16, 1, 1), fx::dib(16, 16, 8, 2), fx::dib(24, 24, 32, 3), fx::png(16, 16, 4)});
}

// Loads the file and, when it loads, uses every image the way callers do.
// Returns whether it loaded.
bool loadAndUse(const std::string& path, const std::string& saveTo) {
    cFileIcon icon;
    try {
        if (!icon.LoadIcon(path)) return false;
    } catch (const vm::VbError& e) {
        EXPECT_EQ(e.number(), vm::kObjectError + 1050);
        EXPECT_EQ(icon.ImageCount(), 0);
        return false;
    }
    vmtest::Canvas canvas(64, 64);
    for (int i = 1; i <= icon.ImageCount(); ++i) {
        icon.ImageColourCount(i);
        if (HICON h = icon.IconHandle(canvas.dc(), i)) DestroyIcon(h);
        icon.DrawIconImage(canvas.dc(), i, false, 0, 0, 0, 0, SRCCOPY);
        icon.DrawIconImage(canvas.dc(), i, true, 0, 0, 32, 32, SRCAND);
    }
    EXPECT_TRUE(icon.SaveIcon(saveTo));
    return true;
}

TEST(Corruption, EveryTruncationFailsCleanly) {
    vmtest::ScratchDir dir;
    const std::string file = sample();
    for (std::size_t length = 0; length < file.size(); ++length) {
        ASSERT_TRUE(vmtest::writeFile(dir.file("t.ico"), file.substr(0, length)));
        EXPECT_FALSE(loadAndUse(dir.file("t.ico"), dir.file("out.ico"))) << length;
    }
    ASSERT_TRUE(vmtest::writeFile(dir.file("t.ico"), file));
    EXPECT_TRUE(loadAndUse(dir.file("t.ico"), dir.file("out.ico")));
}

TEST(Corruption, RandomByteChangesNeverCrash) {
    vmtest::ScratchDir dir;
    const std::string file = sample();
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    int loaded = 0;
    for (int round = 0; round < 600; ++round) {
        std::string bad = file;
        const int changes = 1 + static_cast<int>(next() % 4);
        for (int c = 0; c < changes; ++c) {
            // Half of the changes hit the directory and image headers, where they hurt most.
            const std::size_t at = next() % 2 ? next() % 120 : next() % bad.size();
            bad[at] = static_cast<char>(next());
        }
        ASSERT_TRUE(vmtest::writeFile(dir.file("r.ico"), bad));
        loaded += loadAndUse(dir.file("r.ico"), dir.file("out.ico"));
    }
    EXPECT_GT(loaded, 0);
}

} // namespace
