// Damaged and hostile icon files and modules: each gives False, an error of
// the class or no picture, quickly and within bounded memory, never a crash.
#include <gtest/gtest.h>


#include "cfileicon.h"
#include "cresources.h"
#include "damagedfiles.h"
#include "ico_fixtures.h"
#include "icon_testutil.h"
#include "iconsource.h"
#include "loadergate.h"
#include "peresources.h"
#include "scratch.h"
#include "patience.h"

namespace {

using vm::cFileIcon;
using vm::cResources;
namespace fx = vmtest::ico;
namespace damaged = vmtest::damaged;

std::string goodModule(const vmtest::ScratchDir& dir) {
    const std::string path = dir.file("good.dll");
    EXPECT_TRUE(fx::makeIconModule(path, {{1, "", {fx::dib(16, 16, 4), fx::dib(32, 32, 8)}},
                                          {0, "MAINICON", {fx::dib(48, 48, 32), fx::png(256, 256)}}}));
    return vmtest::readFile(path);
}

// Lists the module's icon groups and loads the first, as the selection
// handler does. Returns whether the group loaded.
bool listAndLoad(const std::string& path) {
    cResources res;
    res.file(path);
    try {
        res.GetResourceTypes();
        const int groups = res.IndexOfResourceType(14);
        if (groups > 0) res.GetResourceNames(groups);
    } catch (const vm::VbError&) {
    }
    cFileIcon icon;
    try {
        return icon.LoadIconFromEXE(path, 1, "");
    } catch (const vm::VbError&) {
        return false;
    }
}

TEST(HostileModule, GoodModuleReadsAndLoads) {
    vmtest::ScratchDir dir;
    const std::string good = goodModule(dir);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(good.data());
    const auto types = vm::pe::readResources({bytes, good.size()});
    ASSERT_TRUE(types);
    EXPECT_TRUE(vm::pe::moduleIsSound({bytes, good.size()}));
    EXPECT_TRUE(vm::IconSourceIsSound(dir.file("good.dll")));
    EXPECT_TRUE(listAndLoad(dir.file("good.dll")));
}

TEST(HostileModule, DamagedResourceTreesAreNeverHandedToTheSystem) {
    vmtest::ScratchDir dir;
    for (const auto& sample : damaged::modules(goodModule(dir))) {
        SCOPED_TRACE(sample.name);
        const std::string path = dir.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        EXPECT_FALSE(vm::IconSourceIsSound(path));
        cResources res;
        res.file(path);
        EXPECT_EQ(res.hModule(), nullptr);
        EXPECT_FALSE(listAndLoad(path));
    }
}

TEST(HostileModule, RandomChangesToTheTreeNeverCrash) {
    vmtest::ScratchDir dir;
    const auto samples = damaged::modules(goodModule(dir), 300);
    int loaded = 0;
    for (const auto& sample : samples) {
        const std::string path = dir.file("flip.dll");
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        loaded += listAndLoad(path);
    }
    EXPECT_GT(loaded, 0); // many changes are harmless and still load
}

TEST(HostileModule, AResourceWithoutALanguageIsNoneAndTheRestOfTheModuleDraws) {
    // A group, or the image a group names, whose language directory holds no
    // entry: once a crash wherever the module's icons were counted or drawn.
    vmtest::ScratchDir dir;
    for (const auto& sample : damaged::modulesWithoutLanguages(goodModule(dir))) {
        SCOPED_TRACE(sample.name);
        const auto types = vm::pe::readResources(
            {reinterpret_cast<const std::uint8_t*>(sample.bytes.data()), sample.bytes.size()});
        ASSERT_TRUE(types);
        for (const auto& type : *types)
            for (const auto& resource : type.resources) ASSERT_FALSE(resource.languages.empty());
        const std::string path = dir.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        EXPECT_TRUE(vm::IconSourceIsSound(path));
        // The named group lies first: without its language, group 1 is left.
        const UINT n = vm::gate::ExtractIcons(path, -1, nullptr, nullptr, 0);
        EXPECT_EQ(n, sample.name == "group-without-language.dll" ? 1u : 2u);
        // The resource lister, which asks the system, names them in the same places.
        cResources res;
        res.file(path);
        res.GetResourceTypes();
        const int groups = res.IndexOfResourceType(14);
        ASSERT_GT(groups, 0);
        res.GetResourceNames(groups);
        EXPECT_EQ(res.ResourceNameCount(groups), static_cast<int>(n));
        for (UINT i = 0; i < n; ++i) {
            HICON large = nullptr, small = nullptr;
            EXPECT_EQ(vm::gate::ExtractIcons(path, static_cast<int>(i), &large, &small, 1), 1u);
            EXPECT_NE(large, nullptr) << i; // group 1 at 16 pixels lacks its image
            if (large) DestroyIcon(large);
            if (small) DestroyIcon(small);
        }
    }
}

TEST(HostileModule, SixteenBitModulesAreNotHandedOver) {
    vmtest::ScratchDir dir;
    std::string ne(0x200, '\0');
    ne[0] = 'M';
    ne[1] = 'Z';
    ne[0x3C] = 0x40;
    ne[0x40] = 'N';
    ne[0x41] = 'E';
    ne[0x64] = '\x7F'; // a resource table far beyond the file
    const std::string path = dir.file("old.icl");
    ASSERT_TRUE(vmtest::writeFile(path, ne));
    EXPECT_FALSE(vm::IconSourceIsSound(path));
    EXPECT_FALSE(listAndLoad(path));
}

TEST(HostileModule, AHugeIconImageInAModuleIsRefused) {
    vmtest::ScratchDir dir;
    fx::Image huge = fx::png(16, 16);
    for (int i = 0; i < 4; ++i) huge.bytes[16 + static_cast<size_t>(i)] = huge.bytes[20 + static_cast<size_t>(i)] =
                                    "\x00\x00\x4e\x20"[i]; // 20000 x 20000
    const std::string path = dir.file("huge.dll");
    ASSERT_TRUE(fx::makeIconModule(path, {{1, "", {huge}}}));
    EXPECT_FALSE(vm::IconSourceIsSound(path));
    EXPECT_FALSE(listAndLoad(path));
}

TEST(HostileIcon, DamagedIconsLoadQuicklyAndDrawNothingWrong) {
    vmtest::ScratchDir dir;
    vmtest::Canvas canvas(64, 64);
    for (const auto& sample : damaged::iconFiles()) {
        SCOPED_TRACE(sample.name);
        const std::string path = dir.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        EXPECT_FALSE(vm::IconSourceIsSound(path));
        const vmtest::CpuStopwatch work;
        cFileIcon icon;
        try {
            if (icon.LoadIcon(path)) {
                for (int i = 1; i <= icon.ImageCount(); ++i) {
                    EXPECT_EQ(icon.IconHandle(canvas.dc(), i), nullptr);
                    icon.DrawIconImage(canvas.dc(), i, false, 0, 0, 0, 0, SRCCOPY);
                }
            }
        } catch (const vm::VbError& e) {
            EXPECT_EQ(e.number(), vm::kObjectError + 1050);
            EXPECT_EQ(icon.ImageCount(), 0);
        }
        EXPECT_LT(work.ms(), 2000u);
    }
}

TEST(HostileIcon, ImagesLargerTogetherThanTheFileRaise1050) {
    vmtest::ScratchDir dir;
    const std::string path = dir.file("span.ico");
    for (const auto& sample : damaged::iconFiles()) {
        if (sample.name == "entries-span-file.ico") {
            ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        }
    }
    cFileIcon icon;
    vmtest::expectVbError([&] { icon.LoadIcon(path); }, 1050, "Failed to load icon: Icon Images Array is Corrupt.");
    EXPECT_EQ(icon.ImageCount(), 0);
}

TEST(HostileIcon, DamagedAnimationsAreRefused) {
    vmtest::ScratchDir dir;
    for (const auto& sample : damaged::animationFiles()) {
        SCOPED_TRACE(sample.name);
        const std::string path = dir.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        EXPECT_EQ(vm::IconSourceIsSound(path), sample.name == "good.ani");
    }
}

TEST(IconModel, SaveIconRefusesReadOnlyAndHiddenFilesAndKeepsThem) {
    vmtest::ScratchDir dir;
    cFileIcon icon;
    icon.AddImage(16, 16, 16);
    for (DWORD attribute : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN}) {
        SCOPED_TRACE(attribute);
        const std::string path = dir.file("kept" + std::to_string(attribute) + ".ico");
        ASSERT_TRUE(vmtest::writeFile(path, "old icon"));
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), attribute));
        vmtest::expectVbError([&] { icon.SaveIcon(path); }, 1052, "Couldn't open file for writing.");
        EXPECT_EQ(GetFileAttributesA(path.c_str()) & attribute, attribute);
        EXPECT_EQ(vmtest::readFile(path), "old icon");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(IconModel, AddImageOfAnExistingSizeAndDepthRaises1049) {
    cFileIcon icon;
    icon.AddImage(32, 32, 65536); // any count above 256 makes a 24-bit image
    vmtest::expectVbError([&] { icon.AddImage(32, 32, 65536); }, 1049, "Icon already exists.");
    vmtest::expectVbError([&] { icon.AddImage(32, 32, 0); }, 1049, "Icon already exists.");
    vmtest::expectVbError([&] { icon.AddImage(32, 32, 16777216); }, 1049, "Icon already exists.");
    icon.AddImage(32, 32, 256);
    vmtest::expectVbError([&] { icon.AddImage(32, 32, 256); }, 1049, "Icon already exists.");
    icon.AddImage(16, 16, 65536);
    EXPECT_EQ(icon.ImageCount(), 3);
}

} // namespace

namespace {

TEST(HostileIcon, ThirtyTwoBitImagesWithoutTheirMaskAreNoDamage) {
    // Many tools leave out the mask of a 32-bit image; the system draws it by its alpha.
    vmtest::ScratchDir dir;
    fx::Image image = fx::dib(32, 32, 32);
    image.bytes.resize(40 + 32 * 32 * 4);
    const std::string path = dir.file("nomask.ico");
    ASSERT_TRUE(vmtest::writeFile(path, fx::icoFile({image, fx::dib(16, 16, 8)})));
    EXPECT_TRUE(vm::IconSourceIsSound(path));
    image.bytes.resize(40 + 32 * 32 * 4 - 1); // but the colour plane must all be there
    ASSERT_TRUE(vmtest::writeFile(path, fx::icoFile({image})));
    EXPECT_FALSE(vm::IconSourceIsSound(path));
}

} // namespace

namespace {

TEST(HostileIcon, AFileReadWholeGetsTheCheckersVerdictUntilItChanges) {
    vmtest::ScratchDir dir;
    fx::Image cut = fx::dib(32, 32, 32);
    cut.bytes.resize(40 + 32 * 32 * 4 - 1); // the colour plane one byte short
    const std::string goodBytes = fx::icoFile({fx::dib(32, 32, 8)});
    const std::string badBytes = fx::icoFile({cut});
    const std::string good = dir.file("good.ico");
    const std::string bad = dir.file("bad.ico");
    ASSERT_TRUE(vmtest::writeFile(good, goodBytes));
    ASSERT_TRUE(vmtest::writeFile(bad, badBytes));

    std::string bytes;
    bool sound = false;
    ASSERT_TRUE(vm::ReadIconSource(good, 1u << 20, bytes, sound));
    EXPECT_EQ(bytes, goodBytes);
    EXPECT_TRUE(sound);
    ASSERT_TRUE(vm::ReadIconSource(bad, 1u << 20, bytes, sound));
    EXPECT_FALSE(sound);
    // Both verdicts are kept, whichever file was asked for last.
    EXPECT_TRUE(vm::IconSourceIsSound(good));
    EXPECT_FALSE(vm::IconSourceIsSound(bad));
    EXPECT_TRUE(vm::IconSourceIsSound(good));

    // A file replaced after its check is checked again.
    ASSERT_TRUE(vmtest::writeFile(good, badBytes));
    EXPECT_FALSE(vm::IconSourceIsSound(good));
    ASSERT_TRUE(vmtest::writeFile(bad, goodBytes));
    ASSERT_TRUE(vm::ReadIconSource(bad, 1u << 20, bytes, sound));
    EXPECT_TRUE(sound);
    EXPECT_TRUE(vm::IconSourceIsSound(bad));

    // Too large, missing or empty: nothing read, and nothing held against the file.
    EXPECT_FALSE(vm::ReadIconSource(bad, 10, bytes, sound));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(vm::ReadIconSource(dir.file("none.ico"), 1u << 20, bytes, sound));
    ASSERT_TRUE(vmtest::writeFile(good, ""));
    EXPECT_TRUE(vm::ReadIconSource(good, 1u << 20, bytes, sound));
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(sound);
}

} // namespace
