// The 16-bit module reader against icon libraries written by the fixture
// generator, and the icon model and resource lister reading them through it.
#include <gtest/gtest.h>

#include "cfileicon.h"
#include "cresources.h"
#include "iclfile.h"
#include "icon_testutil.h"
#include "iconsource.h"
#include "neresources.h"
#include "scratch.h"

namespace {

namespace fx = vmtest::ico;
namespace ne = vm::ne;

ne::Bytes bytesOf(const std::string& s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

std::string imageBytes(const std::string& file, const ne::GroupImage& image) {
    return file.substr(image.offset, image.entry.dwBytesInRes);
}

// Three groups: numbered, named, numbered again; DIBs of several depths and a PNG.
std::vector<fx::Group> sampleGroups() {
    return {{1, "", {fx::dib(16, 16, 4, 1), fx::dib(32, 32, 4, 2), fx::dib(32, 32, 8, 3)}},
            {0, "Sun", {fx::dib(32, 32, 24, 4)}},
            {7, "", {fx::dib(48, 48, 32, 5), fx::png(64, 64, 6)}}};
}

TEST(NeReader, ListsNumberedAndNamedGroupsWithTheirImagesAtEveryAlignment) {
    const auto groups = sampleGroups();
    for (std::uint16_t shift : {0, 4, 9}) {
        SCOPED_TRACE(shift);
        const std::string file = vmtest::icl::iclFile(groups, shift, 20);
        ASSERT_TRUE(ne::isNeModule(bytesOf(file)));
        const auto types = ne::readResources(bytesOf(file));
        ASSERT_TRUE(types);
        ASSERT_EQ(types->size(), 2u);
        EXPECT_EQ((*types)[0].id.number, 3);
        EXPECT_EQ((*types)[0].resources.size(), 6u);
        EXPECT_EQ((*types)[1].id.number, 14);
        const auto read = ne::readIconGroups(bytesOf(file));
        ASSERT_TRUE(read);
        ASSERT_EQ(read->size(), 3u);
        EXPECT_FALSE((*read)[0].id.named);
        EXPECT_EQ((*read)[0].id.number, 1);
        EXPECT_TRUE((*read)[1].id.named);
        EXPECT_EQ((*read)[1].id.name, "SUN");
        EXPECT_EQ((*read)[2].id.number, 7);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            ASSERT_EQ((*read)[g].images.size(), groups[g].images.size());
            for (std::size_t i = 0; i < groups[g].images.size(); ++i) {
                EXPECT_EQ(imageBytes(file, (*read)[g].images[i]), groups[g].images[i].bytes);
                EXPECT_EQ((*read)[g].images[i].entry.bWidth, groups[g].images[i].width);
            }
        }
        EXPECT_TRUE(ne::moduleIsSound(bytesOf(file)));
        // The image that shows a group best at a size: that size and the most colours, else a larger one.
        EXPECT_EQ(ne::bestImage(bytesOf(file), (*read)[0], 32).entry.wBitCount, 8);
        EXPECT_EQ(ne::bestImage(bytesOf(file), (*read)[0], 16).entry.bWidth, 16);
        EXPECT_EQ(ne::bestImage(bytesOf(file), (*read)[2], 32).entry.bWidth, 48);
        EXPECT_EQ(ne::bestImage(bytesOf(file), (*read)[2], 256).entry.bWidth, 64);
    }
}

TEST(NeReader, OtherFilesAreNoSixteenBitModules) {
    const std::string ico = fx::icoFile({fx::dib(16, 16, 4)});
    EXPECT_FALSE(ne::isNeModule(bytesOf(ico)));
    EXPECT_FALSE(ne::readIconGroups(bytesOf(ico)));
    std::string noResources(0x80, '\0');
    noResources.replace(0, 2, "MZ");
    noResources[0x3C] = 0x40;
    noResources.replace(0x40, 2, "NE");
    const auto groups = ne::readIconGroups(bytesOf(noResources));
    ASSERT_TRUE(groups);
    EXPECT_TRUE(groups->empty());
}

TEST(NeReader, DamagedLibrariesAreRefusedAndNeverHandedOver) {
    vmtest::ScratchDir dir;
    for (const auto& sample : vmtest::icl::damagedLibraries(sampleGroups())) {
        SCOPED_TRACE(sample.name);
        EXPECT_FALSE(ne::moduleIsSound(bytesOf(sample.bytes)));
        // Only an image no decoder should take leaves the tables readable.
        EXPECT_EQ(ne::readIconGroups(bytesOf(sample.bytes)).has_value(), sample.name == "huge-image.icl");
        const std::string path = dir.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        EXPECT_FALSE(vm::IconSourceIsSound(path));
        vm::cResources resources;
        resources.file(path);
        EXPECT_THROW(resources.GetResourceTypes(), vm::VbError);
        vm::cFileIcon icon;
        EXPECT_FALSE(icon.LoadIconFromEXE(path, 1, ""));
    }
}

TEST(NeReader, TheResourceListerAndTheIconModelReadSixteenBitModules) {
    vmtest::ScratchDir dir;
    const auto groups = sampleGroups();
    const std::string path = dir.file("old.dll");
    ASSERT_TRUE(vmtest::writeFile(path, vmtest::icl::iclFile(groups)));
    vm::cResources resources;
    resources.file(path);
    ASSERT_TRUE(resources.GetResourceTypes());
    const int t = resources.IndexOfResourceType(14);
    ASSERT_EQ(t, 2);
    ASSERT_TRUE(resources.GetResourceNames(t));
    resources.UnloadModule();
    ASSERT_EQ(resources.ResourceNameCount(t), 3);
    EXPECT_EQ(resources.ResourceName(t, 1), vm::ResourceKey(1));
    EXPECT_EQ(resources.ResourceName(t, 2), vm::ResourceKey(std::string("SUN")));
    EXPECT_EQ(resources.ResourceName(t, 3), vm::ResourceKey(7));

    vm::cFileIcon icon;
    ASSERT_TRUE(icon.LoadIconFromEXE(path, 0, "sun"));
    ASSERT_EQ(icon.ImageCount(), 1);
    EXPECT_EQ(icon.ImageWidth(1), 32);
    ASSERT_TRUE(icon.LoadIconFromEXE(path, 7, ""));
    ASSERT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(icon.ImageWidth(2), 64);
    // Saved as an ICO file it holds the library's own image bytes.
    ASSERT_TRUE(icon.SaveIcon(dir.file("seven.ico")));
    EXPECT_EQ(vmtest::readFile(dir.file("seven.ico")), fx::icoFile(groups[2].images));
    vmtest::expectVbError([&] { icon.LoadIconFromEXE(path, 2, ""); }, 1055, "Can't find resource.");
}

} // namespace
