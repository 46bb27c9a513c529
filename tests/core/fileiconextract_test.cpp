// The one way the program asks Windows for a file's icons: good files give
// their icons, damaged ones none, and Windows is never handed them.
#include <algorithm>
#include <gtest/gtest.h>

#include <windows.h>

#include <span>
#include <vector>

#include "damagedfiles.h"
#include "fileiconextract.h"
#include "iclfile.h"
#include "ico_fixtures.h"
#include "loadergate.h"
#include "scratch.h"
#include "patience.h"

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
        const vmtest::CpuStopwatch work;
        EXPECT_EQ(vm::procFileIconCount(path), 0);
        EXPECT_EQ(vm::procExtractFileIcon(path, 0, 32), nullptr);
        const vm::gate::IconBytes fromBytes(
            {reinterpret_cast<const std::uint8_t*>(sample.bytes.data()), sample.bytes.size()});
        EXPECT_EQ(fromBytes.count(), 0u);
        EXPECT_EQ(fromBytes.icon(0, 32), nullptr);
        EXPECT_EQ(fromBytes.animation(), nullptr);
        EXPECT_LT(work.ms(), 2000u);
    }
}

// Colour and mask of an icon as 32-bit rows, to compare two icons pixel by pixel.
std::vector<std::uint32_t> iconPixels(HICON icon) {
    std::vector<std::uint32_t> pixels;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return pixels;
    HDC dc = GetDC(nullptr);
    for (HBITMAP part : {info.hbmColor, info.hbmMask}) {
        BITMAP bm{};
        if (!part || !GetObject(part, sizeof bm, &bm)) continue;
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<std::uint32_t> bits(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
        GetDIBits(dc, part, 0, static_cast<UINT>(bm.bmHeight), bits.data(), &bi, DIB_RGB_COLORS);
        pixels.push_back(static_cast<std::uint32_t>(bm.bmWidth));
        pixels.insert(pixels.end(), bits.begin(), bits.end());
    }
    ReleaseDC(nullptr, dc);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return pixels;
}

// An opened file's icons are drawn from the bytes already read: each must be
// the very icon its path gives, for every kind, image choice and size.
TEST(FileIconExtract, IconsFromBytesAreThoseOfThePath) {
    vmtest::ScratchDir dir;
    const std::vector<fx::Group> groups{{1, "", {fx::dib(16, 16, 4, 1), fx::dib(32, 32, 8, 2)}},
                                         {0, "LAST", {fx::dib(48, 48, 32, 3), fx::dib(32, 32, 24, 4)}}};
    ASSERT_TRUE(fx::makeIconModule(dir.file("m.dll"), groups));
    std::vector<std::pair<std::string, std::string>> files{
        {"m.dll", vmtest::readFile(dir.file("m.dll"))},
        {"m.icl", vmtest::icl::iclFile(groups)},
        {"one.ico", fx::icoFile({fx::dib(32, 32, 8, 1)})},
        {"many.ico", fx::icoFile({fx::dib(16, 16, 4, 2), fx::dib(32, 32, 1, 3), fx::dib(32, 32, 24, 4),
                                  fx::dib(48, 48, 32, 5)})},
        {"png.ico", fx::icoFile({fx::png(32, 32, 9), fx::dib(16, 16, 8, 10)})},
        {"alpha.ico", fx::icoFile({fx::dib(32, 32, 32, 6), fx::dib(16, 16, 32, 7)})},
        {"arrow.cur", fx::icoFile({fx::dib(32, 32, 8, 11)}, 2)},
        {"sizes.cur", fx::icoFile({fx::dib(16, 16, 8, 12), fx::dib(32, 32, 4, 13)}, 2)},
    };
    for (auto& s : damaged::animationFiles())
        if (s.name == "good.ani") files.emplace_back(s.name, s.bytes);
    ASSERT_EQ(files.size(), 9u);
    int decoded = 0;
    for (const auto& [name, bytes] : files) {
        const std::string path = dir.file(name);
        ASSERT_TRUE(vmtest::writeFile(path, bytes));
        const vm::gate::IconBytes icons({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        SCOPED_TRACE(name);
        if (name.ends_with(".ani")) {
            HICON fromFile = static_cast<HICON>(vm::gate::LoadImageFile(path, IMAGE_ICON, 0, 0, 0));
            HICON fromBytes = icons.animation();
            ASSERT_NE(fromBytes, nullptr);
            EXPECT_EQ(iconPixels(fromBytes), iconPixels(fromFile));
            DestroyIcon(fromFile);
            DestroyIcon(fromBytes);
            continue;
        }
        EXPECT_EQ(static_cast<int>(icons.count()), vm::procFileIconCount(path));
        for (int index = 0; index < vm::procFileIconCount(path); ++index)
            for (int size : {16, 32}) {
                SCOPED_TRACE(index * 100 + size);
                HICON fromFile = vm::procExtractFileIcon(path, index, size);
                HICON fromBytes = icons.icon(index, size);
                ASSERT_NE(fromFile, nullptr);
                ASSERT_NE(fromBytes, nullptr);
                EXPECT_EQ(iconPixels(fromBytes), iconPixels(fromFile));
                // Pixels the page takes without the system are those of the icon it would make.
                std::vector<std::uint32_t> colours;
                std::vector<std::uint8_t> transparent;
                if (const int side = icons.pixels(index, size, colours, transparent)) {
                    ++decoded;
                    const std::vector<std::uint32_t> made = iconPixels(fromBytes);
                    const auto n = static_cast<size_t>(side) * static_cast<size_t>(side);
                    ASSERT_EQ(made.size(), 2 * (n + 1));
                    EXPECT_TRUE(std::equal(colours.begin(), colours.end(), made.begin() + 1));
                    for (size_t i = 0; i < n; ++i) ASSERT_EQ(transparent[i] != 0, made[n + 2 + i] != 0) << i;
                }
                DestroyIcon(fromFile);
                DestroyIcon(fromBytes);
            }
    }
    EXPECT_GE(decoded, 10); // every DIB of the size asked for but the monochrome one
}

} // namespace
