#include <gtest/gtest.h>

#include "desktopini.h"

using namespace vm;

namespace {

// desktop.ini files as users and Windows leave them: trailing blanks, LF or
// no final line break, a byte-order mark, the keys spelt otherwise, none at all.
class DesktopIniRoundTrip : public testing::TestWithParam<std::string> {};

INSTANTIATE_TEST_SUITE_P(
    Files, DesktopIniRoundTrip,
    testing::Values("", "\r\n", "[.ShellClassInfo]\r\nInfoTip=Mine  \r\n[ViewState]\r\nMode=  \r\nVid=\r\n",
                    "[.ShellClassInfo]\nIconFile = mine.ico \nIconIndex=3\n", "[Other]\r\nkey=value",
                    "\xEF\xBB\xBF[.shellclassinfo]\r\nConfirmFileOp=0\r\n\r\n[Last]\r\n",
                    "; only a comment", "[.ShellClassInfo]\r\niconindex=-2\r\n\r\n\r\n[Other]\r\nx=1\r\n"));

} // namespace

TEST_P(DesktopIniRoundTrip, TheChangeKeepsARecordAndTheRestorePutsBackEveryByte) {
    const std::string& original = GetParam();
    FolderIconRecord before = RecordOfKeys(original);
    before.iniExisted = true;
    before.iniAttributes = 6;
    before.folderAttributes = 5;
    before.iconExisted = true;
    const std::string changed = WithFolderIcon(original, before);
    EXPECT_NE(changed.find("IconFile=folder.ico"), std::string::npos);
    EXPECT_NE(changed.find("IconIndex=0"), std::string::npos);

    const auto record = ReadFolderIconRecord(changed);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->iconFileLine, before.iconFileLine);
    EXPECT_EQ(record->iconIndexLine, before.iconIndexLine);
    EXPECT_EQ(record->iniAttributes, 6u);
    EXPECT_EQ(record->folderAttributes, 5u);
    EXPECT_EQ(WithoutFolderIcon(changed, *record), original);

    // A second change keeps the first record.
    EXPECT_EQ(WithFolderIcon(changed, FolderIconRecord{}), changed);
}

TEST(DesktopIni, LinesAddedSinceTheChangeStayWhenItIsUndone) {
    const std::string original = "[.ShellClassInfo]\r\nInfoTip=Mine\r\n";
    const std::string changed = WithFolderIcon(original, RecordOfKeys(original));
    const auto record = ReadFolderIconRecord(changed);
    ASSERT_TRUE(record);
    EXPECT_EQ(WithoutFolderIcon("[ViewState]\r\nMode=1\r\n" + changed, *record),
              "[ViewState]\r\nMode=1\r\n" + original);
}

TEST(DesktopIni, WithoutARecordOnlyTheValuesOfTheTwoKeysAreBlanked) {
    EXPECT_EQ(WithIconKeysBlanked("[.ShellClassInfo]\r\nIconFile = folder.ico  \r\nInfoTip=x  \r\nIconIndex=0"),
              "[.ShellClassInfo]\r\nIconFile =\r\nInfoTip=x  \r\nIconIndex=");
    EXPECT_FALSE(WithIconKeysBlanked("[.ShellClassInfo]\r\nIconFile=\r\nInfoTip=x\r\n"));
    EXPECT_FALSE(WithIconKeysBlanked("[Other]\r\nIconFile=a.ico\r\n"));
    // A damaged record is no record.
    EXPECT_FALSE(ReadFolderIconRecord("[Vellumar.Before]\r\nIconFile=\r\nIconIndex=\r\nFolder=x\r\n"));
    EXPECT_FALSE(ReadFolderIconRecord("[Vellumar.Before]\r\nIconFile=InfoTip=x\r\nIconIndex=\r\nShellClassInfo=1\r\n"
                                      "DesktopIni=none\r\nFolder=4\r\nFolderIco=0\r\n"));
}
