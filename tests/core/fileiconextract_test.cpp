// The one way the program asks Windows for a file's icons: good files give
// their icons, damaged ones none, and Windows is never handed them.
#include <gtest/gtest.h>

#include <windows.h>

#include "damagedfiles.h"
#include "fileiconextract.h"
#include "iclfile.h"
#include "ico_fixtures.h"
#include "scratch.h"

namespace {

namespace fx = vmtest::ico;
namespace damaged = vmtest::damaged;

TEST(FileIconExtract, GoodFilesGiveTheirIcons) {
    vmtest::ScratchDir dir;
    const std::string dll = dir.file("good.dll");
    ASSERT_TRUE(fx::makeIconModule(dll, {{1, "", {fx::dib(16, 16, 4), fx::dib(32, 32, 8)}},
                                         {2, "", {fx::dib(32, 32, 8)}}}));
    EXPECT_EQ(vm::procFileIconCount(dll), 2);
    HICON icon = vm::procExtractFileIcon(dll, 1, 32);
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(icon);
    const std::string ico = dir.file("good.ico");
    ASSERT_TRUE(vmtest::writeFile(ico, fx::icoFile({fx::dib(16, 16, 4), fx::dib(32, 32, 8)})));
    EXPECT_EQ(vm::procFileIconCount(ico), 1);
}

TEST(FileIconExtract, DamagedFilesGiveNoIcons) {
    vmtest::ScratchDir dir;
    const std::string good = dir.file("good.dll");
    ASSERT_TRUE(fx::makeIconModule(good, {{1, "", {fx::dib(16, 16, 4), fx::dib(32, 32, 8)}}}));
    auto samples = damaged::modules(vmtest::readFile(good));
    for (auto& s : damaged::iconFiles()) samples.push_back(std::move(s));
    for (auto& s : vmtest::icl::damagedLibraries({{1, "", {fx::dib(32, 32, 8)}}, {2, "", {fx::dib(16, 16, 4)}}}))
        samples.push_back(std::move(s));
    for (auto& s : damaged::animationFiles())
        if (s.name != "good.ani") samples.push_back(std::move(s));
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.name);
        const std::string path = dir.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        const DWORD start = GetTickCount();
        EXPECT_EQ(vm::procFileIconCount(path), 0);
        EXPECT_EQ(vm::procExtractFileIcon(path, 0, 32), nullptr);
        EXPECT_LT(GetTickCount() - start, 2000u);
    }
}

} // namespace
