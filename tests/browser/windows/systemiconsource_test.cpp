#include "registry.h"
#include "registrybackup.h"
#include "sourcefixture.h"
#include "state.h"
#include "systemiconsource.h"
#include "vberror.h"

using namespace vm;
using vmtest::asColorRef;

namespace {

constexpr const char* kKey = "Software\\VellumarTest\\System";
constexpr std::uint32_t kFirst = 0xB02060, kSecond = 0x20B060;

std::string value(const std::string& key, const std::string& name) {
    procRegGetValue(HKEY_CURRENT_USER, key, name);
    return reg.RegValue.isEmpty() ? "<missing>" : reg.RegValue.toText();
}

void setValue(const std::string& key, const std::string& name, const std::string& text) {
    procRegCreateKey(key, HKEY_CURRENT_USER);
    procRegSetValue(key, name, Variant(text), REG_SZ);
}

struct SystemIconTest : vmtest::SourceFixture {
    HiddenList lstChange;
    SystemIconContext ctx{lstChange, entries.cmbResult, ""};
    std::string dll;

    void SetUp() override {
        SourceFixture::SetUp();
        ctx.windowsDir = paths.WindowsDir;
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VellumarTest");
        dll = dir.file("system.dll");
        ASSERT_TRUE(vmtest::writeIconModule(dll, {kFirst, kSecond}));
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VellumarTest");
        SourceFixture::TearDown();
    }
};

} // namespace

TEST_F(SystemIconTest, EveryRowIsListedAndAMissingValueListsItsDefaultWithoutAWrite) {
    const std::string key = std::string(kKey);
    setValue(key + "\\Shell Icons", "3", dll + ",1");
    setValue(key + "\\Shell Icons", "4", dll);
    setValue(key + "\\Root", "", "%SystemRoot%\\system32\\shell32.dll,3");
    lstChange.AddItem("Missing Value;" + dll + ",1;HKEY_CURRENT_USER\\" + key + "\\Missing,Icon");
    lstChange.AddItem("Missing Default;" + dll + ",0;hkey_current_user\\" + key + "\\Default");
    lstChange.AddItem("Closed Folder;x.dll,9;HKEY_CURRENT_USER\\" + key + "\\Shell Icons,3");
    lstChange.AddItem("Open Folder;x.dll,9;HKEY_CURRENT_USER\\" + key + "\\Shell Icons,4");
    lstChange.AddItem("Root;x.dll,9;HKEY_CURRENT_USER\\" + key + "\\Root");
    lstChange.AddItem("Nothing There;" + dir.file("gone.ico") + ",0;HKEY_CURRENT_USER\\" + key + "\\Gone");
    const std::vector<std::string> rows = [&] {
        std::vector<std::string> r;
        for (int i = 0; i < lstChange.ListCount(); ++i) r.push_back(lstChange.List(i));
        return r;
    }();

    procSearchSystemIcons(ctx);

    EXPECT_EQ(entryTexts(), (std::vector<std::string>{
                                dll + ";1;Missing Value;wsysy",
                                dll + ";0;Missing Default;wsysy",
                                dll + ";1;Closed Folder;wsysy",
                                dll + ";0;Open Folder;wsysy",
                                paths.WindowsDir + "\\system32\\shell32.dll;3;Root;wsysy",
                                dir.file("gone.ico") + ";0;Nothing There;wsysy",
                            }));
    for (int i = 0; i < entries.cmbResult.ListCount(); ++i) EXPECT_EQ(entries.cmbResult.ItemData(i), i);
    // Listing writes nothing; the rows stay as they were.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\Missing"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\Default"));
    EXPECT_EQ(value(key + "\\Root", ""), "%SystemRoot%\\system32\\shell32.dll,3");
    for (int i = 0; i < lstChange.ListCount(); ++i) EXPECT_EQ(lstChange.List(i), rows[static_cast<size_t>(i)]);

    showList();
    EXPECT_EQ(items()[0], "Missing Value|System Icon|File");
    EXPECT_EQ(items()[4], "Root|System Icon|File");
    EXPECT_EQ(pixel(1, 16, 16), asColorRef(kSecond));
    EXPECT_EQ(pixel(1, 0, 0), vmtest::kBlue);
    EXPECT_EQ(pixel(4, 16, 16), asColorRef(kFirst));
    EXPECT_FALSE(showsNoIcon(5)); // the Windows folder's own shell module
    EXPECT_TRUE(showsNoIcon(6));
}

TEST_F(SystemIconTest, AMalformedRowEndsTheListingWithAnError) {
    setValue(std::string(kKey) + "\\Good", "", dll);
    lstChange.AddItem("Good;x.dll,0;HKEY_CURRENT_USER\\" + std::string(kKey) + "\\Good");
    lstChange.AddItem("No location;x.dll,0");
    EXPECT_THROW(procSearchSystemIcons(ctx), VbError);
    EXPECT_EQ(entries.cmbResult.ListCount(), 1);

    entries.cmbResult.Clear();
    lstChange.Clear();
    lstChange.AddItem("Other root;x.dll,0;HKEY_CURRENT_CONFIG\\Software\\VellumarTest");
    EXPECT_THROW(procSearchSystemIcons(ctx), VbError);
    EXPECT_EQ(RegistryRootNamed("hkey_users"), HKEY_USERS);
    EXPECT_EQ(RegistryRootNamed("HKEY_CLASSES_ROOT"), HKEY_CLASSES_ROOT);
    EXPECT_EQ(RegistryRootNamed("HKEY_LOCAL_MACHINE"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RegistryRootNamed("HKLM"), nullptr);
}
