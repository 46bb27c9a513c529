// What a bad password, damaged data or a hostile archive may do: never leave a
// file, never write outside the target folder, never crash.
#include "unzipcalls.h"
#include "zandrel32.h"
#include "zipwriter.h"

#include "scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::string targetFolder(const vmtest::ScratchDir& dir) {
    const std::string out = dir.file("target");
    CreateDirectoryA(out.c_str(), nullptr);
    return out;
}

TEST(Zandrel32Safety, WrongOrMissingPasswordLeavesNoFile) {
    vmtest::ScratchDir dir;
    const std::string archive = dir.file("a.zip");
    ASSERT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive({{"crc.lib", "chunk one", true, "Wrenfoldbake"},
                                                                   {"time.lib", "chunk two", false, "Wrenfoldbake", true}})));
    const std::string out = targetFolder(dir);
    for (const char* member : {"crc.lib", "time.lib"}) {
        SCOPED_TRACE(member);
        EXPECT_EQ(ztest::extract(archive, member, out, "wrenfoldbake"), ZANDREL_ERR_PASSWORD);
        EXPECT_EQ(ztest::extract(archive, member, out), ZANDREL_ERR_PASSWORD);
    }
    EXPECT_TRUE(ztest::contents(out).empty());
}

TEST(Zandrel32Safety, CrcMismatchLeavesNoFileAndKeepsTheOldOne) {
    vmtest::ScratchDir dir;
    const std::string stored = "stored member data";
    std::string bytes = vmtest::makeZipArchive({{"a.ico", stored, false}, {"b.ico", std::string(5000, 'b'), true}});
    bytes[bytes.find(stored) + 3] ^= 0x20;  // same size, different bytes
    // b.ico's CRC in the central directory, 16 bytes into its header.
    const size_t central = bytes.rfind(std::string("PK\x01\x02", 4));
    bytes[central + 16] ^= 0x01;
    const std::string archive = dir.file("a.zip");
    ASSERT_TRUE(vmtest::writeFile(archive, bytes));
    const std::string out = targetFolder(dir);

    EXPECT_EQ(ztest::extract(archive, "a.ico", out), ZANDREL_ERR_DATA);
    EXPECT_EQ(ztest::extract(archive, "b.ico", out), ZANDREL_ERR_DATA);
    EXPECT_TRUE(ztest::contents(out).empty());

    ASSERT_TRUE(vmtest::writeFile(out + "\\a.ico", "kept"));
    EXPECT_EQ(ztest::extract(archive, "a.ico", out, "", 11), ZANDREL_ERR_DATA);
    EXPECT_EQ(vmtest::readFile(out + "\\a.ico"), "kept");
    EXPECT_EQ(ztest::contents(out), std::vector<std::string>{"a.ico"});
}

TEST(Zandrel32Safety, UnsafePathsAreNeverWrittenOnlyTheirPlainNames) {
    vmtest::ScratchDir dir;
    const std::vector<std::string> unsafe = {"../up.txt", "..\\up2.txt", "sub/../../up3.txt", "/root.txt",
                                             "\\root2.txt", "C:up4.txt", "c:/up5.txt", "nul.txt",
                                             "com1", "a|b.txt", "dots./x.txt", std::string("nl\nx.txt")};
    std::vector<vmtest::ZipFixtureMember> members{{"fine.txt", "ok", false}};
    for (const auto& name : unsafe) members.push_back({name, "evil", false});
    const std::string archive = dir.file("evil.zip");
    ASSERT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive(members)));
    const std::string out = targetFolder(dir);
    CreateDirectoryA((out + "\\sub").c_str(), nullptr);

    // A path that climbs, is absolute or has a drive is listed by its plain
    // file name, when that alone is a name Windows keeps; else not at all.
    const auto listing = ztest::list(archive);
    std::vector<std::string> names;
    for (const auto& line : listing.lines) names.push_back(ztest::field(line, 5));
    EXPECT_EQ(names, (std::vector<std::string>{"fine.txt", "up.txt", "up2.txt", "up3.txt", "root.txt", "root2.txt",
                                               "up5.txt", "x.txt"}));
    EXPECT_EQ(listing.result, 8);

    for (const auto& name : unsafe) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ztest::extract(archive, name, out + "\\sub"), ZANDREL_ERR_UNSAFE);
    }
    EXPECT_EQ(ztest::contents(dir.path()), (std::vector<std::string>{"evil.zip", "target", "target\\sub"}));

    // Asked for by the listed plain name, the member lands there and nowhere else.
    EXPECT_EQ(ztest::extract(archive, "up.txt", out + "\\sub"), 1);
    EXPECT_EQ(vmtest::readFile(out + "\\sub\\up.txt"), "evil");
    EXPECT_EQ(ztest::contents(dir.path()),
              (std::vector<std::string>{"evil.zip", "target", "target\\sub", "target\\sub\\up.txt"}));
}

// Whatever byte is damaged, and wherever the archive is cut, a run returns,
// and a file is written only with exactly the member's bytes.
TEST(Zandrel32Safety, DamagedAndTruncatedArchivesNeverYieldWrongFiles) {
    vmtest::ScratchDir dir;
    const std::string data(700, 'i');
    const std::string good = vmtest::makeZipArchive(
        {{"x.ico", data, true, "pw"}, {"dir/y.ico", "plain", false, "", true}});
    const std::string archive = dir.file("d.zip");
    const std::string out = targetFolder(dir);

    auto check = [&](const std::string& bytes) {
        ASSERT_TRUE(vmtest::writeFile(archive, bytes));
        EXPECT_LE(ztest::list(archive).result, 2);
        if (ztest::extract(archive, "x.ico", out, "pw") == 1) {
            EXPECT_EQ(vmtest::readFile(out + "\\x.ico"), data);
        }
        DeleteFileA((out + "\\x.ico").c_str());
        EXPECT_TRUE(ztest::contents(out).empty());
    };
    for (size_t len = 0; len < good.size(); ++len) {
        SCOPED_TRACE("cut at " + std::to_string(len));
        ASSERT_TRUE(vmtest::writeFile(archive, good.substr(0, len)));
        EXPECT_NE(ztest::extract(archive, "x.ico", out, "pw"), 1);
        EXPECT_LE(ztest::list(archive).result, 0);
    }
    for (size_t at = 0; at < good.size(); ++at) {
        for (unsigned char value : {0x00, 0xff}) {
            SCOPED_TRACE("byte " + std::to_string(at) + " = " + std::to_string(value));
            std::string bytes = good;
            bytes[at] = static_cast<char>(value);
            check(bytes);
        }
    }
}

} // namespace
