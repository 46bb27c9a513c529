// File associations on the test prefix's HKEY_CLASSES_ROOT: set and given back
// for each type whose class already had an icon and a verb of its own.
#include "dialogtest.h"

#include "cshelllink.h"
#include "regexport.h"
#include "registry.h"
#include "registrybackup.h"
#include "shellintegration.h"

using namespace vm;
using namespace vmtest;

namespace {

void putClassText(const std::string& key, const std::string& value) {
    procRegCreateKey(key, HKEY_CLASSES_ROOT);
    procRegSetValue(key, "", Variant(value), REG_SZ);
}

std::string classText(const std::string& key) { return regText(HKEY_CLASSES_ROOT, key, ""); }

class AssociationTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        for (const AssociationRow& row : kAssociations) forget(row);
    }
    void TearDown() override {
        for (const AssociationRow& row : kAssociations) forget(row);
        DialogTest::TearDown();
    }
    static void forget(const AssociationRow& row) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, row.fileClass);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, row.extension);
    }
    // A class as another program left it: its own icon, verb and command.
    static void existing(const AssociationRow& row) {
        const std::string cls = row.fileClass;
        putClassText(row.extension, cls);
        putClassText(cls, "Their Type");
        putClassText(cls + "\\DefaultIcon", "their.dll,3");
        putClassText(cls + "\\Shell", "edit");
        putClassText(cls + "\\Shell\\edit\\command", "their.exe \"%1\"");
    }
};

TEST_F(AssociationTest, EachTypeIsAssociatedAndGivenBackAsItWas) {
    for (const AssociationRow& row : kAssociations) {
        SCOPED_TRACE(row.extension);
        existing(row);
        const std::string cls = row.fileClass;
        procSetAso(true, row, paths.DataPath);
        procSetAso(true, row, paths.DataPath); // a second Apply keeps the first backup
        EXPECT_EQ(classText(row.extension), cls);
        EXPECT_EQ(classText(cls), "Their Type"); // a name of its own is kept
        const bool iconFile = std::string(row.extension) != ".dll" && std::string(row.extension) != ".icl";
        EXPECT_EQ(classText(cls + "\\DefaultIcon"), iconFile ? "%1" : paths.DataPath + "vellumar.exe,0");
        EXPECT_EQ(classText(cls + "\\Shell"), "Vellumar");
        EXPECT_EQ(classText(cls + "\\Shell\\Vellumar\\command"), "\"" + paths.DataPath + "Vellumar.exe\" \"%1\"");
        EXPECT_EQ(regText(HKEY_CLASSES_ROOT, cls, "EditFlags"), "0");

        procSetAso(false, row, paths.DataPath);
        EXPECT_EQ(classText(cls + "\\DefaultIcon"), "their.dll,3");
        EXPECT_EQ(classText(cls + "\\Shell"), "edit");
        EXPECT_EQ(classText(cls + "\\Shell\\edit\\command"), "their.exe \"%1\"");
        EXPECT_EQ(classText(cls + "\\Shell\\Vellumar"), "<missing>");
        EXPECT_EQ(classText(row.extension), cls);
        EXPECT_EQ(classText(cls), "Their Type");
    }
}

TEST_F(AssociationTest, ATypeNeverAssociatedIsLeftAloneAndAMissingClassIsMadeAndTakenAwayAgain) {
    const AssociationRow& icl = kAssociations[3];
    existing(icl);
    procSetAso(false, icl, paths.DataPath);
    EXPECT_EQ(classText("iclfile\\DefaultIcon"), "their.dll,3");
    EXPECT_EQ(classText("iclfile\\Shell"), "edit");

    const AssociationRow& ico = kAssociations[4];
    procSetAso(true, ico, paths.DataPath);
    EXPECT_EQ(classText(".ico"), "icofile");
    EXPECT_EQ(classText("icofile"), "Icon File");
    procSetAso(false, ico, paths.DataPath);
    EXPECT_EQ(classText(".ico"), "<missing>");
    EXPECT_EQ(classText("icofile\\DefaultIcon"), "<missing>");
    EXPECT_EQ(classText("icofile\\Shell"), "<missing>");
    EXPECT_EQ(classText("icofile\\Shell\\Vellumar"), "<missing>");
}

TEST_F(AssociationTest, ARecordCutShortOrNamingNoKeyExactlyIsLeftAloneAndReportedOnce) {
    existing(kAssociations[3]);
    const std::string slots = std::string(kAsoBackupKey) + "\\.icl\\";
    auto record = [&](int n, const std::string& key, bool whole) {
        WriteRawValue(HKEY_CURRENT_USER, slots + std::to_string(n), "Key", {true, REG_SZ, {key.begin(), key.end()}});
        if (whole) WriteRawValue(HKEY_CURRENT_USER, slots + std::to_string(n), "Kind", {true, REG_DWORD, {0, 0, 0, 0}});
    };
    record(0, "iclfile", false); // stopped before its kind: "the key was missing"
    record(1, "", true);         // names no key
    record(2, "CLSID", true);    // a first-level class not the program's
    for (int twice = 0; twice < 2; ++twice) procSetAso(false, kAssociations[3], paths.DataPath);
    EXPECT_EQ(classText("iclfile\\Shell\\edit\\command"), "their.exe \"%1\"");
    ASSERT_EQ(messageCount(), 1);
    EXPECT_NE(lastMessage().find("HKEY_CLASSES_ROOT\\iclfile\n"), std::string::npos) << lastMessage();
}

std::vector<std::string> exportedTypes() {
    std::vector<std::string> all;
    for (const AssociationRow& row : kAssociations)
        for (const char* k : {row.extension, row.fileClass})
            all.push_back(regExport(std::string("HKEY_CLASSES_ROOT\\") + k));
    return all;
}

TEST_F(AssociationTest, TickingAndUntickingEveryTypeLeavesTheRegistryExactlyAsItWas) {
    // As Windows sets them up: a class with a DWORD of flags, an expandable icon path and a verb.
    putClassText(".ico", "icofile");
    putClassText("icofile", "Icon");
    putClassText("icofile\\DefaultIcon", "%1");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "icofile", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), 0);
    const DWORD flags = 0x10000;
    RegSetValueExA(key, "EditFlags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof flags);
    RegCloseKey(key);
    putClassText(".dll", "dllfile");
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "dllfile\\DefaultIcon", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              0);
    const char icon[] = "%SystemRoot%\\system32\\shell32.dll,-154";
    RegSetValueExA(key, "", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(icon), sizeof icon);
    RegCloseKey(key);

    const std::vector<std::string> before = exportedTypes();
    ASSERT_NE(before[9].find("EditFlags"), std::string::npos) << before[9];

    for (bool ticked : {true, false})
        for (const AssociationRow& row : kAssociations) procSetAso(ticked, row, paths.DataPath);
    EXPECT_EQ(exportedTypes(), before);
    for (const AssociationRow& row : kAssociations) // the backup goes with the restore
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string(kAsoBackupKey) + "\\" + row.extension));
}

} // namespace

namespace {

// The shortcut the options write, read back through the shell's link object.
TEST_F(AssociationTest, TheProgramShortcutIsWrittenAndResolvesToTheProgram) {
    const std::string link = dir.file("Vellumar.lnk");
    writeFile(paths.DataPath + "Vellumar.exe", "MZ");
    ASSERT_TRUE(procSaveProgramShortcut(WriteShellShortcut, link, paths.DataPath));
    cShellLink reader;
    ShellLinkInfo info;
    ASSERT_EQ(reader.Read(link, info), S_OK);
    EXPECT_EQ(info.target, paths.DataPath + "Vellumar.exe");
    EXPECT_EQ(info.workingFolder, paths.DataPath);
    EXPECT_EQ(info.iconFile, paths.DataPath + "Vellumar.exe");
    EXPECT_EQ(info.iconIndex, 0);
    EXPECT_EQ(info.showCommand, SW_SHOWNORMAL);
    EXPECT_TRUE(info.arguments.empty());

    // A folder that is not there takes no shortcut, and says so.
    EXPECT_FALSE(procSaveProgramShortcut(WriteShellShortcut, dir.file("missing\\Vellumar.lnk"), paths.DataPath));
}

} // namespace
