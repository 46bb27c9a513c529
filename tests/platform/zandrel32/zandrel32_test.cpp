// Extraction and listing through the program's binding to the real DLL.
#include "unzipcalls.h"
#include "zandrel32.h"
#include "zipwriter.h"

#include "scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

using vmtest::ZipFixtureMember;

namespace {

// Every byte value, then enough text to need more than one 64 KB read.
std::string sampleData() {
    std::string s;
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
    for (int i = 0; s.size() < 150000; ++i) s += "line " + std::to_string(i * 7919 % 1000) + " of the sample\n";
    return s;
}

struct Variant {
    const char* label;
    bool deflate;
    const char* password;
    bool dataDescriptor;
};

class Extraction : public testing::TestWithParam<Variant> {};

TEST_P(Extraction, WritesTheMemberAndReturnsOne) {
    const Variant v = GetParam();
    vmtest::ScratchDir dir;
    const std::string data = sampleData();
    const std::string archive = dir.file("a.zip");
    ASSERT_TRUE(vmtest::writeFile(
        archive, vmtest::makeZipArchive({{"other.txt", "x", true, v.password, false},
                                         {"12.lib", data, v.deflate, v.password, v.dataDescriptor}})));
    const std::string out = dir.file("out");
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));

    EXPECT_EQ(ztest::extract(archive, "12.lib", out, v.password), 1);
    EXPECT_EQ(vmtest::readFile(out + "\\12.lib"), data);
    EXPECT_EQ(ztest::contents(out), std::vector<std::string>{"12.lib"});  // no temporary left
}

INSTANTIATE_TEST_SUITE_P(
    Zandrel32, Extraction,
    testing::Values(Variant{"Stored", false, "", false}, Variant{"Deflated", true, "", false},
                    Variant{"DeflatedDescriptor", true, "", true}, Variant{"StoredEncrypted", false, "Wrenfoldbake", false},
                    Variant{"DeflatedEncrypted", true, "Wrenfoldbake", false},
                    Variant{"StoredEncryptedTimeCheck", false, "pw", true},
                    Variant{"DeflatedEncryptedTimeCheck", true, "pw", true}),
    [](const testing::TestParamInfo<Variant>& info) { return std::string(info.param.label); });

std::string archiveWithFolders(const vmtest::ScratchDir& dir) {
    const std::string path = dir.file("icons.zip");
    vmtest::writeFile(path, vmtest::makeZipArchive({{"a.ico", "first", false},
                                                    {"sub/", "", false},
                                                    {"sub/b.ico", "second", true, "pw"},
                                                    {"c.txt", std::string(3000, 'c'), true}}));
    return path;
}

TEST(Zandrel32, ListsOneLinePerFileWithTheNameInFieldFive) {
    vmtest::ScratchDir dir;
    const auto listing = ztest::list(archiveWithFolders(dir));

    EXPECT_EQ(listing.result, 3);
    ASSERT_EQ(listing.lines.size(), 3u);
    EXPECT_EQ(ztest::field(listing.lines[0], 5), "a.ico");
    EXPECT_EQ(ztest::field(listing.lines[1], 5), "sub\\b.ico");
    EXPECT_EQ(ztest::field(listing.lines[2], 5), "c.txt");
    EXPECT_EQ(ztest::field(listing.lines[2], 1), "3000");
    EXPECT_EQ(ztest::field(listing.lines[2], 3), "Deflated");
}

TEST(Zandrel32, MemberInSubFolderLandsAtItsListedNameOrByFileNameInTheFolderItself) {
    vmtest::ScratchDir dir;
    const std::string archive = archiveWithFolders(dir);
    const std::string listed = ztest::field(ztest::list(archive).lines.at(1), 5);

    // By the listed name and by the stored name the archive's folder is made below the target.
    for (const std::string& request : {listed, std::string("SUB/B.ICO")}) {
        SCOPED_TRACE(request);
        EXPECT_EQ(ztest::extract(archive, request, dir.path(), "pw"), 1);
        EXPECT_EQ(vmtest::readFile(dir.file(listed)), "second");
        ASSERT_TRUE(DeleteFileA(dir.file(listed).c_str()));
    }
    // By the bare file name the member goes straight into the folder asked for.
    RemoveDirectoryA(dir.file("sub").c_str());
    EXPECT_EQ(ztest::extract(archive, "b.ico", dir.path(), "pw"), 1);
    EXPECT_EQ(vmtest::readFile(dir.file("b.ico")), "second");
    EXPECT_FALSE(vmtest::fileExists(dir.file("sub")));
}

TEST(Zandrel32, MemberNamesInAnyLanguageAreListedAndWrittenInUtf8) {
    vmtest::ScratchDir dir;
    const std::string archive = dir.file("names.zip");
    vmtest::ZipFixtureMember marked{"Ünïcødé 图标/a.ico", "marked"};
    marked.utf8Name = true;
    // An archiver of the system's own kind writes "Ünï.ico" in the OEM code page, unmarked.
    ASSERT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive({marked, {"\x9An\x8B.ico", "oem"}})));
    const auto listing = ztest::list(archive);
    ASSERT_EQ(listing.result, 2);
    EXPECT_EQ(ztest::field(listing.lines.at(0), 5), "Ünïcødé 图标\\a.ico");
    EXPECT_EQ(ztest::field(listing.lines.at(1), 5), "Ünï.ico");
    EXPECT_EQ(ztest::extract(archive, "ÜNÏCØDÉ 图标\\A.ICO", dir.path()), 1);
    EXPECT_EQ(vmtest::readFile(dir.file("Ünïcødé 图标\\a.ico")), "marked");
    EXPECT_EQ(ztest::extract(archive, "ünï.ico", dir.path()), 1);
    EXPECT_EQ(vmtest::readFile(dir.file("Ünï.ico")), "oem");
}

TEST(Zandrel32, OverwritesOnlyWithModeEleven) {
    vmtest::ScratchDir dir;
    const std::string archive = archiveWithFolders(dir);
    ASSERT_TRUE(vmtest::writeFile(dir.file("a.ico"), "old"));

    EXPECT_EQ(ztest::extract(archive, "a.ico", dir.path(), "", 0), ZANDREL_ERR_EXISTS);
    EXPECT_EQ(vmtest::readFile(dir.file("a.ico")), "old");

    EXPECT_EQ(ztest::extract(archive, "a.ico", dir.path() + "\\", "", 11), 1);
    EXPECT_EQ(vmtest::readFile(dir.file("a.ico")), "first");
}

TEST(Zandrel32, FailuresAreNeverOne) {
    vmtest::ScratchDir dir;
    const std::string archive = archiveWithFolders(dir);
    ASSERT_TRUE(vmtest::writeFile(dir.file("text.zip"), "this is not an archive at all, just some text"));

    EXPECT_EQ(ztest::extract(dir.file("missing.zip"), "a.ico", dir.path()), ZANDREL_ERR_OPEN);
    EXPECT_EQ(ztest::extract(dir.file("text.zip"), "a.ico", dir.path()), ZANDREL_ERR_FORMAT);
    EXPECT_EQ(ztest::extract(archive, "zz.ico", dir.path()), ZANDREL_ERR_NOMEMBER);
    EXPECT_EQ(ztest::extract(archive, "sub/", dir.path()), ZANDREL_ERR_NOMEMBER);
    EXPECT_EQ(ztest::extract("", "a.ico", dir.path()), ZANDREL_ERR_ARGUMENT);
    EXPECT_EQ(ztest::extract(archive, "a.ico", dir.file("no such folder")), ZANDREL_ERR_WRITE);
    EXPECT_EQ(ztest::list(dir.file("missing.zip")).result, ZANDREL_ERR_OPEN);
    EXPECT_TRUE(ztest::list(dir.file("missing.zip")).lines.empty());
}

TEST(Zandrel32, InitialiseForgetsTheLastOperation) {
    vmtest::ScratchDir dir;
    const std::string archive = archiveWithFolders(dir);
    ASSERT_EQ(ztest::extract(archive, "sub/b.ico", dir.path(), "pw"), 1);
    ASSERT_EQ(ztest::list(archive).result, 3);

    // Neither the view mode nor the password of earlier runs carries over.
    EXPECT_EQ(ztest::extract(archive, "a.ico", dir.path()), 1);
    EXPECT_TRUE(vmtest::fileExists(dir.file("a.ico")));
    EXPECT_EQ(ztest::extract(archive, "sub/b.ico", dir.path()), ZANDREL_ERR_PASSWORD);
}

// The directory is read once for member after member, but never outlives
// the archive as it was: a rewritten archive is read afresh.
TEST(Zandrel32, AnArchiveRewrittenBetweenCallsIsReadAgain) {
    vmtest::ScratchDir dir;
    const std::string archive = dir.file("a.zip");
    ASSERT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive({{"a.ico", "first", false}})));
    ASSERT_EQ(ztest::extract(archive, "a.ico", dir.path()), 1);
    EXPECT_EQ(vmtest::readFile(dir.file("a.ico")), "first");

    ASSERT_TRUE(vmtest::writeFile(
        archive, vmtest::makeZipArchive({{"other.txt", "padding that moves a.ico", false}, {"a.ico", "again", false},
                                         {"b.ico", "second", true}})));
    EXPECT_EQ(ztest::extract(archive, "a.ico", dir.path()), 1);
    EXPECT_EQ(vmtest::readFile(dir.file("a.ico")), "again");
    EXPECT_EQ(ztest::extract(archive, "b.ico", dir.path()), 1);
    EXPECT_EQ(vmtest::readFile(dir.file("b.ico")), "second");
}

} // namespace
