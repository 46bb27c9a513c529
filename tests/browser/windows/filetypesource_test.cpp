#include <algorithm>
#include <map>

#include "filetypesource.h"
#include "sourcefixture.h"
#include "state.h"
#include "windowsicon.h"

using namespace vm;
using vmtest::asColorRef;

namespace {

constexpr const char* kClasses = "Software\\VellumarTest\\Classes";
constexpr std::uint32_t kFirst = 0x10A0E0, kSecond = 0xE0A010, kQuoted = 0x40C040;

void setDefault(const std::string& key, const std::string& value, DWORD type = REG_SZ, HKEY root = HKEY_CURRENT_USER) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, "", 0, type, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

struct FileTypeTest : vmtest::SourceFixture {
    FileTypeContext ctx{entries.cmbResult, lstChange, ""};
    HiddenList lstChange;
    std::string dll, windowsCopy;

    void SetUp() override {
        SourceFixture::SetUp();
        ctx.windowsDir = paths.WindowsDir;
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VellumarTest");
        dll = dir.file("types.dll");
        ASSERT_TRUE(vmtest::writeIconModule(dll, {kFirst, kSecond}));
        // A module of the Windows folder that settings name without that folder.
        CreateDirectoryA((paths.WindowsDir + "\\vmtypes").c_str(), nullptr);
        windowsCopy = paths.WindowsDir + "\\vmtypes\\types.dll";
        ASSERT_TRUE(CopyFileA(dll.c_str(), windowsCopy.c_str(), FALSE));
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VellumarTest");
        DeleteFileA(windowsCopy.c_str());
        RemoveDirectoryA((paths.WindowsDir + "\\vmtypes").c_str());
        SourceFixture::TearDown();
    }
    // An extension key, its class with a type name, and the class's default icon.
    void type(const std::string& ext, const std::string& cls, const std::string& name, const std::string& icon,
              DWORD iconType = REG_SZ) {
        const std::string base = std::string(kClasses) + "\\";
        setDefault(base + ext, cls);
        if (cls.empty()) return;
        setDefault(base + cls, name);
        if (!icon.empty()) setDefault(base + cls + "\\DefaultIcon", icon, iconType);
    }
    std::map<std::string, std::string> entryByLabel() {
        std::map<std::string, std::string> out;
        for (const std::string& e : entryTexts()) {
            const size_t a = e.find(';'), b = e.find(';', a + 1), c = e.find(';', b + 1);
            out[e.substr(b + 1, c - b - 1)] = e;
        }
        return out;
    }
    int itemNamed(const std::string& name) {
        for (int i = 1; i <= form.pnlResult.ListItems.Count(); ++i)
            if (form.pnlResult.ListItems(i).Text() == name) return i;
        return 0;
    }
};

} // namespace

TEST(FileTypeLocations, LeadingVariablesAndQuotes) {
    EXPECT_EQ(ExpandLeadingVariable("%SystemRoot%\\system32\\shell32.dll,-152", "c:\\windows"),
              "c:\\windows\\system32\\shell32.dll,-152");
    EXPECT_EQ(ExpandLeadingVariable("%SYSTEMDRIVE%\\x.ico", "d:\\winnt"), "d:\\x.ico");
    EXPECT_EQ(ExpandLeadingVariable("%%SystemRoot%%\\x.dll,2", "c:\\windows"), "c:\\windows\\x.dll,2");
    EXPECT_EQ(ExpandLeadingVariable("%ProgramFiles%\\x.ico", "c:\\windows"), "%ProgramFiles%\\x.ico");
    EXPECT_EQ(ExpandLeadingVariable("c:\\a%SystemRoot%", "c:\\windows"), "c:\\a%SystemRoot%");
    EXPECT_EQ(ExpandLeadingVariable("%1", "c:\\windows"), "%1");
    EXPECT_EQ(ExpandLeadingVariable("%", "c:\\windows"), "%");

    std::string file, index;
    SplitIconLocation("\"c:\\my icons\\a.ico\",1", file, index);
    EXPECT_EQ(file, "c:\\my icons\\a.ico");
    EXPECT_EQ(index, "1");
    SplitIconLocation("\"c:\\a.ico", file, index);
    EXPECT_EQ(file, "\"c:\\a.ico");
    EXPECT_EQ(index, "0");
    SplitIconLocation("c:\\a.dll,-3,junk", file, index);
    EXPECT_EQ(file, "c:\\a.dll");
    EXPECT_EQ(index, "-3,junk");
}

TEST_F(FileTypeTest, EveryKindOfDefaultIconIsListedOrLeftOut) {
    const std::string quoted = dir.file("quoted icon.ico");
    ASSERT_TRUE(vmtest::writeFile(quoted, vmtest::solidIcon(kQuoted)));
    SetEnvironmentVariableA("VMTESTICONS", dir.path().c_str());
    type(".aaa", "aaafile", "AAA File", dll + ",1");
    setDefault(std::string(kClasses) + "\\aaafile\\Shell\\Open\\Command", "notepad.exe \"%1\"");
    type(".bbb", "bbbfile", "Self", "%1");
    type(".ccc", "cccfile", "Expandable", "%VMTESTICONS%\\types.dll,0", REG_EXPAND_SZ);
    type(".ddd", "dddfile", "Root", "%SystemRoot%\\system32\\shell32.dll,-152");
    type(".eee", "eeefile", "Quoted", "\"" + quoted + "\",0");
    type(".fff", "ffffile", "Missing", dir.file("missing.ico"));
    type(".ggg", "gggfile", "Past the end", dll + ",7");
    type(".hhh", "", "", "");
    type(".iii", "iiifile", "No icon", "");
    type(".JJJ", "jjjfile", "", "\\vmtypes\\types.dll,1");
    type("kkkfile", "unused", "Not an extension", dll);

    procSearchFileTypes(ctx, HKEY_CURRENT_USER, kClasses);

    std::map<std::string, std::string> entryOf = entryByLabel();
    std::map<std::string, std::string> expected{
        {"AAA File (*.aaa)", dll + ";1;AAA File (*.aaa);fsyas"},
        {"Expandable (*.ccc)", dll + ";0;Expandable (*.ccc);fsyas"},
        {"Root (*.ddd)", paths.WindowsDir + "\\system32\\shell32.dll;-152;Root (*.ddd);fsyas"},
        {"Quoted (*.eee)", quoted + ";0;Quoted (*.eee);fsyas"},
        {"Missing (*.fff)", dir.file("missing.ico") + ";0;Missing (*.fff);fsyas"},
        {"Past the end (*.ggg)", dll + ";7;Past the end (*.ggg);fsyas"},
        {" (*.JJJ)", "\\vmtypes\\types.dll;1; (*.JJJ);fsyas"}};
    EXPECT_EQ(entryOf, expected);

    // One row per entry, its index the entry's ItemData.
    ASSERT_EQ(lstChange.ListCount(), entries.cmbResult.ListCount());
    for (int i = 0; i < entries.cmbResult.ListCount(); ++i) EXPECT_EQ(entries.cmbResult.ItemData(i), i);
    std::vector<std::string> rows;
    for (int i = 0; i < lstChange.ListCount(); ++i) rows.push_back(lstChange.List(i));
    EXPECT_NE(std::find(rows.begin(), rows.end(), ".aaa:aaafile;AAA File;" + dll + ",1;notepad.exe \"%1\""),
              rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), ".JJJ:jjjfile;;\\vmtypes\\types.dll,1;"), rows.end());

    showList();
    EXPECT_EQ(form.pnlResult.ListItems(1).SubItems(1), "File Type Icon");
    EXPECT_EQ(form.pnlResult.ListItems(1).SubItems(2), "File");
    EXPECT_EQ(pixel(itemNamed("AAA File (*.aaa)"), 16, 16), asColorRef(kSecond));
    EXPECT_EQ(pixel(itemNamed("AAA File (*.aaa)"), 0, 0), vmtest::kBlue);
    EXPECT_EQ(pixel(itemNamed("Expandable (*.ccc)"), 16, 16), asColorRef(kFirst));
    EXPECT_EQ(pixel(itemNamed("Quoted (*.eee)"), 16, 16), asColorRef(kQuoted));
    EXPECT_EQ(pixel(itemNamed(" (*.JJJ)"), 16, 16), asColorRef(kSecond)); // found in the Windows folder
    EXPECT_TRUE(showsNoIcon(itemNamed("Missing (*.fff)")));
    EXPECT_TRUE(showsNoIcon(itemNamed("Past the end (*.ggg)")));
}

TEST_F(FileTypeTest, TheTreesNodeReadsTheClassesRoot) {
    setDefault(".vmtesttype", "VellumarTest.File", REG_SZ, HKEY_CLASSES_ROOT);
    setDefault("VellumarTest.File", "Vellumar Test File", REG_SZ, HKEY_CLASSES_ROOT);
    setDefault("VellumarTest.File\\DefaultIcon", dll + ",1", REG_SZ, HKEY_CLASSES_ROOT);
    procSearchFileTypes(ctx, HKEY_CLASSES_ROOT, "");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".vmtesttype");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "VellumarTest.File");
    const std::vector<std::string> all = entryTexts();
    EXPECT_NE(std::find(all.begin(), all.end(), dll + ";1;Vellumar Test File (*.vmtesttype);fsyas"), all.end());
}
