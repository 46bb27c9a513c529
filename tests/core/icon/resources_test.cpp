// cResources and cFileIcon.LoadIconFromEXE against a module built for the test.
#include <gtest/gtest.h>

#include "cfileicon.h"
#include "cresources.h"
#include "datamodule.h"
#include "ico_fixtures.h"
#include "icon_testutil.h"
#include "scratch.h"

namespace {

using vm::cFileIcon;
using vm::cResources;
using vm::ResourceKey;
using vmtest::expectVbError;
namespace fx = vmtest::ico;

class IconModule : public testing::Test {
protected:
    void SetUp() override {
        auto shortIcon = fx::dib(32, 32, 8, 6);
        shortIcon.declaredSize = static_cast<std::uint32_t>(shortIcon.bytes.size() + 4);
        ASSERT_TRUE(fx::makeIconModule(module, {{1, "", {fx::dib(16, 16, 4), fx::dib(32, 32, 8)}},
                                                {0, "MAINICON", {fx::dib(48, 48, 32), fx::png(256, 256)}},
                                                {9, "", {fx::dib(16, 16, 1), shortIcon}}}));
    }
    vmtest::ScratchDir dir;
    std::string module = dir.file("icons.dll");
};

TEST_F(IconModule, ListsNumberedAndNamedTypesAndNames) {
    cResources res;
    res.file(module);
    ASSERT_NE(res.hModule(), nullptr);
    EXPECT_EQ(res.file(), module);
    ASSERT_TRUE(res.GetResourceTypes());

    const int groups = res.IndexOfResourceType(14);
    ASSERT_GT(groups, 0);
    EXPECT_EQ(res.ResourceType(groups), ResourceKey(14));
    EXPECT_GT(res.IndexOfResourceType(16), 0); // version
    EXPECT_EQ(res.IndexOfResourceType(12), 0);
    const int named = res.IndexOfResourceType(0);
    ASSERT_GT(named, 0);
    EXPECT_EQ(res.ResourceType(named), ResourceKey(std::string("SAMPLEDATA")));

    ASSERT_TRUE(res.GetResourceNames(groups));
    ASSERT_TRUE(res.GetResourceNames(groups)); // again: the same list, not a doubled one
    ASSERT_EQ(res.ResourceNameCount(groups), 3);
    std::vector<ResourceKey> names;
    for (int i = 1; i <= 3; ++i) names.push_back(res.ResourceName(groups, i));
    EXPECT_NE(std::find(names.begin(), names.end(), ResourceKey(std::string("MAINICON"))), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), ResourceKey(1)), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), ResourceKey(9)), names.end());

    ASSERT_TRUE(res.GetResourceNames(named));
    ASSERT_EQ(res.ResourceNameCount(named), 1);
    EXPECT_EQ(res.ResourceName(named, 1), ResourceKey(std::string("HELLO")));
    EXPECT_THROW(res.ResourceName(groups, 4), vm::VbError);
    EXPECT_THROW(res.ResourceNameCount(res.IndexOfResourceType(16)), vm::VbError); // never listed

    res.UnloadModule();
    EXPECT_EQ(res.hModule(), nullptr);
}

TEST_F(IconModule, WithoutAModuleNothingIsListed) {
    cResources res;
    res.file(module);
    ASSERT_NE(res.hModule(), nullptr);
    res.file(dir.file("missing.dll"));
    EXPECT_EQ(res.hModule(), nullptr);
    try {
        res.GetResourceTypes();
        ADD_FAILURE() << "listed without a module";
    } catch (const vm::VbError& e) {
        EXPECT_EQ(e.number(), vm::kObjectError + 1049);
        EXPECT_EQ(e.source(), "test_coreicon.cResource");
        EXPECT_FALSE(e.description().empty());
    }
    EXPECT_EQ(res.ResourceTypeCount(), 0);
}

TEST(Resources, TypeNames) {
    EXPECT_EQ(cResources::ResourceTypeName(14), "Group Icon");
    EXPECT_EQ(cResources::ResourceTypeName(19), "VXD");
    EXPECT_EQ(cResources::ResourceTypeName(20), "VXD");
    EXPECT_EQ(cResources::ResourceTypeName(23), "HTML");
    EXPECT_EQ(cResources::ResourceTypeName(13), "Other (13)");
    EXPECT_EQ(cResources::ResourceTypeName(24), "Other (24)");
}

TEST_F(IconModule, LoadsGroupsByNumberAndByName) {
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIconFromEXE(module, 1, "MAINICON")); // a number wins over the name
    EXPECT_EQ(icon.ResourceID(), ResourceKey(1));
    EXPECT_EQ(icon.Filename(), module);
    ASSERT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(icon.ImageWidth(1), 16);
    EXPECT_EQ(icon.ImageColourCount(1), 16);
    EXPECT_EQ(icon.ImageWidth(2), 32);

    ASSERT_TRUE(icon.LoadIconFromEXE(module, 0, "MAINICON"));
    EXPECT_EQ(icon.ResourceID(), ResourceKey(std::string("MAINICON")));
    ASSERT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(icon.ImageWidth(2), 256);
    for (int i = 1; i <= 2; ++i) {
        HICON h = icon.IconHandle(vmtest::ScreenDC(), i);
        EXPECT_NE(h, nullptr) << i;
        DestroyIcon(h);
    }

    // Saved as an ICO file, the group's images lie packed behind the directory.
    ASSERT_TRUE(icon.SaveIcon(dir.file("main.ico")));
    cFileIcon file;
    ASSERT_TRUE(file.LoadIcon(dir.file("main.ico")));
    ASSERT_EQ(file.ImageCount(), 2);
    EXPECT_EQ(file.ImageSize(2), icon.ImageSize(2));
    EXPECT_EQ(vmtest::readFile(dir.file("main.ico")),
              fx::icoFile({fx::dib(48, 48, 32), fx::png(256, 256)}));
}

TEST_F(IconModule, MissingAndDamagedGroups) {
    cFileIcon icon;
    EXPECT_FALSE(icon.LoadIconFromEXE(dir.file("none.dll"), 1, ""));
    ASSERT_TRUE(vmtest::writeFile(dir.file("text.dll"), "not a module"));
    EXPECT_FALSE(icon.LoadIconFromEXE(dir.file("text.dll"), 1, ""));
    // A 16-bit (NE) module without resources has no such group, as a 32-bit one.
    std::string ne(0x80, '\0');
    ne.replace(0, 2, "MZ");
    ne[0x3C] = 0x40;
    ne.replace(0x40, 2, "NE");
    ASSERT_TRUE(vmtest::writeFile(dir.file("old.icl"), ne));
    expectVbError([&] { icon.LoadIconFromEXE(dir.file("old.icl"), 1, ""); }, 1055, "Can't find resource.");
    expectVbError([&] { icon.LoadIconFromEXE(module, 2, ""); }, 1055, "Can't find resource.");
    expectVbError([&] { icon.LoadIconFromEXE(module, 0, "NOSUCH"); }, 1055, "Can't find resource.");
    // Group 9's second image is 4 bytes shorter than its entry says.
    expectVbError([&] { icon.LoadIconFromEXE(module, 9, ""); }, 1057,
                  "Failed to read bitmap bits from resource.");
    EXPECT_EQ(icon.ImageCount(), 0);
    try {
        icon.LoadIconFromEXE(module, 2, "");
    } catch (const vm::VbError& e) {
        EXPECT_EQ(e.source(), "test_coreicon.cFileIcon");
    }
}

} // namespace

namespace {

TEST_F(IconModule, GroupsReadWhileTheListerHoldsTheFileShareItsModuleAndNoneOutlivesItsHolders) {
    {
        cResources res;
        res.file(module);
        ASSERT_NE(res.hModule(), nullptr);
        // Another holder of the same file, named in other case, gets the same module.
        std::string upper = module;
        for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        HMODULE shared = vm::AcquireDataModule(upper);
        EXPECT_EQ(shared, res.hModule());
        cFileIcon icon;
        EXPECT_TRUE(icon.LoadIconFromEXE(module, 1, ""));
        EXPECT_EQ(icon.ImageCount(), 2);
        EXPECT_TRUE(icon.LoadIconFromEXE(module, 0, "MAINICON"));
        EXPECT_EQ(icon.ImageCount(), 2);
        vm::ReleaseDataModule(shared);
        EXPECT_EQ(vm::AcquireDataModule(dir.file("missing.dll")), nullptr);
        vm::ReleaseDataModule(nullptr);
    }
    // Once the last holder let go, the file is read afresh: a rebuilt module
    // shows its own groups, not those of a mapping kept behind.
    ASSERT_TRUE(fx::makeIconModule(module, {{4, "", {fx::dib(16, 16, 4)}}}));
    cFileIcon icon;
    EXPECT_TRUE(icon.LoadIconFromEXE(module, 4, ""));
    EXPECT_EQ(icon.ImageCount(), 1);
    cResources res;
    res.file(module);
    ASSERT_TRUE(res.GetResourceTypes());
    const int groups = res.IndexOfResourceType(14);
    ASSERT_GT(groups, 0);
    res.GetResourceNames(groups);
    EXPECT_EQ(res.ResourceNameCount(groups), 1);
}

} // namespace
