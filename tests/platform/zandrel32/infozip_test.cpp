// Archives written by Info-ZIP's zip -P on the build host (see CMakeLists.txt).
#include "unzipcalls.h"
#include "ziparchive.h"
#include "zandrel32.h"

#include "memorysource.h"
#include "scratch.h"

#include <gtest/gtest.h>

namespace {

std::string infozip(const std::string& name) { return ztest::exeFolder() + "infozip\\" + name; }

TEST(Zandrel32InfoZip, ExtractsWithTheFileTimePasswordCheck) {
    const std::string readme = vmtest::readFile(infozip("src\\readme.txt"));
    ASSERT_FALSE(readme.empty());
    for (const char* archive : {"secret.zip", "stored.zip", "stream.zip"}) {
        SCOPED_TRACE(archive);
        // The check this test is about only applies when the writer set bit 3.
        vmtest::MemorySource source(vmtest::readFile(infozip(archive)));
        std::vector<zandrel::ZipEntry> entries;
        ASSERT_EQ(zandrel::readDirectory(source, entries), ZANDREL_OK);
        EXPECT_TRUE(entries.at(0).flags & zandrel::kFlagDataDescriptor);

        vmtest::ScratchDir dir;
        // The archive's random encryption header lets one wrong password in 256
        // through the one-byte check; the data check must then refuse it.
        const int wrong = ztest::extract(infozip(archive), "readme.txt", dir.path(), "wrong");
        EXPECT_TRUE(wrong == ZANDREL_ERR_PASSWORD || wrong == ZANDREL_ERR_DATA) << wrong;
        EXPECT_TRUE(ztest::contents(dir.path()).empty());
        EXPECT_EQ(ztest::extract(infozip(archive), "readme.txt", dir.path(), "secret"), 1);
        EXPECT_EQ(vmtest::readFile(dir.file("readme.txt")), readme);
    }
}

TEST(Zandrel32InfoZip, ListsAndExtractsMembersOfFolders) {
    const auto listing = ztest::list(infozip("secret.zip"));
    ASSERT_EQ(listing.result, 2);  // the folder entry "icons/" is not a member file
    EXPECT_EQ(ztest::field(listing.lines.at(0), 5), "readme.txt");
    EXPECT_EQ(ztest::field(listing.lines.at(1), 5), "icons\\notes.txt");

    vmtest::ScratchDir dir;
    EXPECT_EQ(ztest::extract(infozip("secret.zip"), "icons\\notes.txt", dir.path(), "secret"), 1);
    EXPECT_EQ(vmtest::readFile(dir.file("icons\\notes.txt")), "short note\n");
}

} // namespace
