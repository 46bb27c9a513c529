// Hostile archives: what a crafted or damaged archive can make the library
// write is bounded, and every name it writes is one Windows keeps apart.
#include "damagedfiles.h"
#include "unzipcalls.h"
#include "zandrel32.h"
#include "zipwriter.h"

#include "scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

struct HostileZip : testing::Test {
    vmtest::ScratchDir dir;
    std::string out;

    void SetUp() override {
        out = dir.file("target");
        CreateDirectoryA(out.c_str(), nullptr);
    }
    std::string archive(const std::string& name) {
        for (const auto& sample : vmtest::damaged::zipArchives())
            if (sample.name == name) {
                const std::string path = dir.file(name);
                EXPECT_TRUE(vmtest::writeFile(path, sample.bytes));
                return path;
            }
        ADD_FAILURE() << name;
        return {};
    }
};

TEST_F(HostileZip, AFakeEndRecordInTheCommentIsNotTaken) {
    const std::string path = archive("fake-end-in-comment.zip");
    const auto listing = ztest::list(path);
    ASSERT_EQ(listing.result, 1);
    EXPECT_EQ(ztest::field(listing.lines.at(0), 5), "good.ico");
    EXPECT_EQ(ztest::extract(path, "good.ico", out), 1);
    EXPECT_EQ(vmtest::readFile(out + "\\good.ico"), "icon bytes");
}

TEST_F(HostileZip, MembersDifferingOnlyInCaseGiveTheFirstAlone) {
    const std::string path = archive("case-only-twins.zip");
    const auto listing = ztest::list(path);
    ASSERT_EQ(listing.result, 1);
    EXPECT_EQ(ztest::field(listing.lines.at(0), 5), "icons\\a.ico");
    EXPECT_EQ(ztest::extract(path, "ICONS\\A.ICO", out), 1);
    EXPECT_EQ(ztest::extract(path, "a.ico", out), 1);
    EXPECT_EQ(ztest::contents(out), (std::vector<std::string>{"a.ico", "icons", "icons\\a.ico"}));
    EXPECT_EQ(vmtest::readFile(out + "\\icons\\a.ico"), "first");
    EXPECT_EQ(vmtest::readFile(out + "\\a.ico"), "first");
}

TEST_F(HostileZip, ReservedDeviceNamesAreNeitherListedNorWritten) {
    const std::string path = archive("device-names.zip");
    const auto listing = ztest::list(path);
    ASSERT_EQ(listing.result, 1);
    EXPECT_EQ(ztest::field(listing.lines.at(0), 5), "ok.ico");
    ASSERT_EQ(listing.leftOut.size(), 6u); // and said so, with the reason
    for (const auto& line : listing.leftOut) EXPECT_EQ(ztest::field(line, 6), "device");
    for (const char* name : {"COM0.ico", "lpt0", "com\xC2\xB9.ico", "LPT\xC2\xB2", "CONIN$", "conout$.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ztest::extract(path, name, out), ZANDREL_ERR_UNSAFE);
    }
    EXPECT_TRUE(ztest::contents(out).empty());
}

TEST_F(HostileZip, MembersAboveTheLimitAreRefusedBeforeWriting) {
    for (const char* name : {"size-lies.zip", "above-limit.zip"}) {
        SCOPED_TRACE(name);
        const std::string path = archive(name);
        const std::string member = name == std::string("size-lies.zip") ? "small.ico" : "big.lib";
        EXPECT_EQ(ztest::extract(path, member, out), ZANDREL_ERR_TOOLARGE);
        EXPECT_TRUE(ztest::contents(out).empty());
        EXPECT_EQ(ztest::list(path).result, 1); // still listed
    }
}

TEST_F(HostileZip, ABareNameExtractsOnlyTheFirstMemberOfThatName) {
    const std::string path = archive("one-name-many-folders.zip");
    EXPECT_EQ(ztest::extract(path, "same.ico", out), 1);
    EXPECT_EQ(ztest::contents(out), std::vector<std::string>{"same.ico"});
    EXPECT_EQ(vmtest::readFile(out + "\\same.ico"), "copy 0");
}

TEST_F(HostileZip, TheMemberListedUnderANameIsTheOneThatNameExtracts) {
    // "x/../twin.ico" is listed as "twin.ico", ahead of the member stored as
    // "twin.ico": the name listed once gave that other member's bytes.
    const std::string path = dir.file("twins.zip");
    ASSERT_TRUE(vmtest::writeFile(
        path, vmtest::makeZipArchive({{"x/../twin.ico", "listed", false}, {"twin.ico", "unlisted", false}})));
    const auto listing = ztest::list(path);
    ASSERT_EQ(listing.result, 1);
    EXPECT_EQ(ztest::field(listing.lines.at(0), 5), "twin.ico");
    EXPECT_EQ(ztest::extract(path, "twin.ico", out), 1);
    EXPECT_EQ(vmtest::readFile(out + "\\twin.ico"), "listed");
}

TEST_F(HostileZip, AFailedMemberLeavesNoFolders) {
    std::string bytes = vmtest::makeZipArchive({{"a/b/c/d/e.ico", "stored member", false}});
    bytes[bytes.find("stored member")] ^= 0x20; // CRC mismatch
    const std::string path = dir.file("nested.zip");
    ASSERT_TRUE(vmtest::writeFile(path, bytes));
    EXPECT_EQ(ztest::extract(path, "a/b/c/d/e.ico", out), ZANDREL_ERR_DATA);
    EXPECT_EQ(ztest::extract(path, "e.ico", out), ZANDREL_ERR_DATA);
    CreateDirectoryA((out + "\\a").c_str(), nullptr); // a folder that was there stays
    EXPECT_EQ(ztest::extract(path, "e.ico", out), ZANDREL_ERR_DATA);
    EXPECT_EQ(ztest::contents(out), std::vector<std::string>{"a"});
}

// An archive written here with the traditional encryption, its password check
// byte the CRC's high byte (no data descriptor), by code of the test's own.
class OwnCipher {
public:
    explicit OwnCipher(const std::string& password) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table_[n] = c;
        }
        for (char c : password) mix(static_cast<unsigned char>(c));
    }
    std::uint32_t crc(const std::string& data) const {
        std::uint32_t c = 0xFFFFFFFFu;
        for (char b : data) c = step(c, static_cast<unsigned char>(b));
        return ~c;
    }
    std::string encrypt(const std::string& plain) {
        std::string out;
        for (char p : plain) {
            const std::uint32_t t = (keys_[2] | 2) & 0xFFFF;
            out += static_cast<char>(static_cast<unsigned char>(p) ^ static_cast<unsigned char>((t * (t ^ 1)) >> 8));
            mix(static_cast<unsigned char>(p));
        }
        return out;
    }

private:
    std::uint32_t step(std::uint32_t c, unsigned char b) const { return table_[(c ^ b) & 0xFF] ^ (c >> 8); }
    void mix(unsigned char p) {
        keys_[0] = step(keys_[0], p);
        keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
        keys_[2] = step(keys_[2], static_cast<unsigned char>(keys_[1] >> 24));
    }
    std::uint32_t table_[256];
    std::uint32_t keys_[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

void add16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void add32(std::string& s, std::uint32_t v) {
    add16(s, v & 0xFFFF);
    add16(s, v >> 16);
}

std::string crcCheckedArchive(const std::string& name, const std::string& data, const std::string& password) {
    OwnCipher cipher(password);
    const std::uint32_t crc = cipher.crc(data);
    std::string header = "\x11\x22\x33\x44\x55\x66\x77\x88\x99\xAA\xBB";
    header += static_cast<char>(crc >> 24);
    const std::string body = cipher.encrypt(header + data);
    auto common = [&](std::string& s) {
        add16(s, 20);   // version needed
        add16(s, 1);    // flags: encrypted
        add16(s, 0);    // stored
        add16(s, 0x6a3c);
        add16(s, 0x5a21);
        add32(s, crc);
        add32(s, static_cast<std::uint32_t>(body.size()));
        add32(s, static_cast<std::uint32_t>(data.size()));
        add16(s, static_cast<std::uint32_t>(name.size()));
        add16(s, 0);
    };
    std::string zip = "PK\x03\x04";
    common(zip);
    zip += name + body;
    const std::uint32_t central = static_cast<std::uint32_t>(zip.size());
    std::string dirEntry = "PK\x01\x02";
    add16(dirEntry, 20);
    common(dirEntry);
    add16(dirEntry, 0);
    add16(dirEntry, 0);
    add16(dirEntry, 0);
    add32(dirEntry, 0);
    add32(dirEntry, 0);
    dirEntry += name;
    zip += dirEntry;
    zip += "PK\x05\x06";
    add32(zip, 0);
    add16(zip, 1);
    add16(zip, 1);
    add32(zip, static_cast<std::uint32_t>(dirEntry.size()));
    add32(zip, central);
    add16(zip, 0);
    return zip;
}

TEST_F(HostileZip, PasswordCheckByteIsTheCrcHighByteWithoutADataDescriptor) {
    const std::string data = "a chunk picture's bytes, encrypted by the test itself";
    const std::string path = dir.file("own.zip");
    ASSERT_TRUE(vmtest::writeFile(path, crcCheckedArchive("12.lib", data, "Wrenfoldbake")));
    const int wrong = ztest::extract(path, "12.lib", out, "wrenfoldbake");
    EXPECT_TRUE(wrong == ZANDREL_ERR_PASSWORD || wrong == ZANDREL_ERR_DATA) << wrong;
    EXPECT_TRUE(ztest::contents(out).empty());
    EXPECT_EQ(ztest::extract(path, "12.lib", out, "Wrenfoldbake"), 1);
    EXPECT_EQ(vmtest::readFile(out + "\\12.lib"), data);
}

} // namespace
