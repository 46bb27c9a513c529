#include <gtest/gtest.h>

#include <windows.h>

#include "scratch.h"
#include "storedtext.h"
#include "temporaryname.h"
#include "utf8text.h"

namespace {

const std::string kName = "Ünïcødé 图标";

TEST(Utf8Text, TheProgramRunsWithUtf8AsItsCodePage) { EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)); }

TEST(Utf8Text, CaseIsFoldedAndComparedByLetterNotByByte) {
    EXPECT_EQ(vm::LowerText(kName), "ünïcødé 图标");
    EXPECT_EQ(vm::UpperText("ünïcødé 图标.ico"), "ÜNÏCØDÉ 图标.ICO");
    EXPECT_TRUE(vm::SameText("C:\\ÜNÏCØDÉ 图标\\A.ICO", "c:\\ünïcødé 图标\\a.ico"));
    EXPECT_FALSE(vm::SameText("ünïcødé", "ünïcode"));
    EXPECT_FALSE(vm::SameText("a[", "A{")); // only letters fold
    EXPECT_TRUE(vm::EndsWithText("Ünïcødé 图标.ANI", ".ani"));
    EXPECT_FALSE(vm::EndsWithText("ni", ".ani"));
}

TEST(Utf8Text, SortingPutsAccentedLettersBesideTheirBaseLetter) {
    // Byte order would put every letter outside ASCII after "z".
    EXPECT_LT(vm::CompareText("écu", "zebra"), 0);
    EXPECT_LT(vm::CompareText("apple", "Ünïcødé"), 0);
    EXPECT_LT(vm::CompareText("Ünïcødé", "zebra"), 0);
    EXPECT_EQ(vm::CompareText("ÜNÏ", "ünï"), 0);
}

TEST(Utf8Text, FirstCharacterAndCutsNeverSplitALetter) {
    EXPECT_EQ(vm::FirstCharacter(kName), "Ü");
    EXPECT_EQ(vm::FirstCharacter("图标"), "图");
    EXPECT_EQ(vm::FirstCharacter(""), "");
    EXPECT_EQ(vm::CutText("图标", 4), "图");
    EXPECT_EQ(vm::CutText("图标", 6), "图标");
    EXPECT_EQ(vm::CutText("aÜ", 2), "a");
    EXPECT_EQ(vm::Utf8Text(vm::WideText(kName)), kName);
}

TEST(StoredText, Utf8IsKeptAndOlderAnsiFilesAreReadInTheSystemCodePage) {
    EXPECT_TRUE(vm::IsUtf8(kName));
    EXPECT_FALSE(vm::IsUtf8("\xDCn\xEF"));           // Windows-1252 "Ünï"
    EXPECT_FALSE(vm::IsUtf8("\xC0\xAF"));            // an overlong "/"
    EXPECT_FALSE(vm::IsUtf8("\xED\xA0\x80"));        // a surrogate
    EXPECT_FALSE(vm::IsUtf8("\xE5\x9B"));            // cut inside a character
    EXPECT_EQ(vm::StoredText(kName), kName);
    EXPECT_EQ(vm::StoredText("\xEF\xBB\xBF" "abc"), "abc");
    ASSERT_EQ(vm::SystemAnsiCodePage(), 1252u) << "the tests' Wine prefix is western";
    EXPECT_EQ(vm::StoredText("\xDCn\xEF" "c\xF8" "d\xE9;k"), "Ünïcødé;k");
}

TEST(StoredText, ZipMemberNamesAreUtf8WhenMarkedOrWellFormedAndOemOtherwise) {
    EXPECT_EQ(vm::ZipMemberNameText(kName + "\\a.ico", false), kName + "\\a.ico");
    EXPECT_EQ(vm::ZipMemberNameText(kName, true), kName);
    ASSERT_EQ(vm::SystemOemCodePage(), 437u);
    EXPECT_EQ(vm::ZipMemberNameText("\x9An\x8B" "c\x9B" "d\x82.ico", false), "Ünïc¢dé.ico");
}

TEST(TemporaryName, AFolderWhoseUtf8NameIsLongerThanMaxPathBytesStillGetsOne) {
    vmtest::ScratchDir dir;
    std::string folder = dir.file(kName);
    for (int i = 0; i < 75; ++i) folder += "图";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_GT(folder.size(), static_cast<size_t>(MAX_PATH));
    const std::string name = vm::NewTemporaryFileIn(folder, "vm");
    ASSERT_EQ(name.rfind(folder + "\\vm", 0), 0u) << name;
    EXPECT_NE(GetFileAttributesA(name.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(vm::NewTemporaryFileIn(dir.file("missing"), "vm"), "");
}

} // namespace
