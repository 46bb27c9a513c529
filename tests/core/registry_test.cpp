#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "registry.h"

using namespace vm;

namespace {

const std::string kTestKey = "Software\\VellumarTest" + std::to_string(GetCurrentProcessId());

class RegistryTest : public testing::Test {
protected:
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey.c_str()); }

    void write(const std::string& name, const Variant& value, DWORD type) {
        procRegCreateKey(kTestKey, HKEY_CURRENT_USER);
        procRegSetValue("ignored", name, value, type);
    }
    Variant read(const std::string& name) {
        procRegGetValue(HKEY_CURRENT_USER, kTestKey, name);
        return reg.RegValue;
    }
    // Stores bytes exactly as given, bypassing the procedures under test.
    void writeRaw(const std::string& name, DWORD type, const std::string& bytes) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }
    std::string readRaw(const std::string& name, DWORD* type) {
        char buffer[256];
        DWORD size = sizeof(buffer);
        if (RegGetValueA(HKEY_CURRENT_USER, kTestKey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, type, buffer,
                         &size) != ERROR_SUCCESS)
            return "<missing>";
        return std::string(buffer, size);
    }
};

TEST_F(RegistryTest, TextIsStoredWithItsNulAndReadUpToTheFirstNul) {
    write("Text", "abc", REG_SZ);
    DWORD type = 0;
    EXPECT_EQ(readRaw("Text", &type), std::string("abc\0", 4));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(read("Text"), Variant("abc"));

    writeRaw("NoNul", REG_SZ, "xyz");
    EXPECT_EQ(read("NoNul"), Variant("xyz"));
    writeRaw("Inner", REG_SZ, std::string("ab\0cd\0", 6));
    EXPECT_EQ(read("Inner"), Variant("ab"));

    write("Blank", "", REG_SZ);
    EXPECT_EQ(read("Blank").toText(), "");

    // A name in any language comes back whole, however many bytes its letters take.
    std::string name = "C:\\Ünïcødé 图标";
    for (int i = 0; i < 50; ++i) name += "\\图标";
    write("FavDir", name, REG_SZ);
    EXPECT_EQ(read("FavDir"), Variant(name));
}

TEST_F(RegistryTest, NumbersAndOtherTypes) {
    write("Minus", -1, REG_DWORD);
    EXPECT_EQ(read("Minus"), Variant(-1));
    write("FromText", "42", REG_DWORD);
    EXPECT_EQ(read("FromText"), Variant(42));
    write("Other", "x", REG_BINARY); // not a type the program writes
    EXPECT_TRUE(read("Other").isEmpty());
    EXPECT_EQ(reg.RegResult, 0);

    writeRaw("Binary", REG_BINARY, "\x01\x02");
    EXPECT_TRUE(read("Binary").isEmpty());
    EXPECT_TRUE(read("NeverWritten").isEmpty());
    procRegGetValue(HKEY_CURRENT_USER, kTestKey + "\\NoSuchKey", "x");
    EXPECT_TRUE(reg.RegValue.isEmpty());
    EXPECT_EQ(reg.RegResult, 0);
}

TEST_F(RegistryTest, ExpandableTextIsExpandedWhetherLongerOrShorter) {
    char root[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("SystemRoot", root, MAX_PATH), 0u);
    std::string stored = "%SystemRoot%\\system32";
    writeRaw("Root", REG_EXPAND_SZ, stored + '\0');
    EXPECT_EQ(read("Root"), Variant(std::string(root) + "\\system32"));

    std::string longText(300, 'L');
    SetEnvironmentVariableA("VELLUMAR_TEST_LONG", longText.c_str());
    writeRaw("Long", REG_EXPAND_SZ, std::string("%VELLUMAR_TEST_LONG%x") + '\0');
    EXPECT_EQ(read("Long"), Variant(longText + "x"));
    SetEnvironmentVariableA("VELLUMAR_TEST_LONG", nullptr);
}

TEST_F(RegistryTest, SharedHandleIsClearedSoAStraySetWritesNothing) {
    write("First", "1", REG_SZ);
    EXPECT_EQ(reg.RegKey, nullptr);
    procRegSetValue("", "AfterClose", "x", REG_SZ);
    EXPECT_NE(reg.RegResult, 0);

    procRegCreateKey(kTestKey, HKEY_CURRENT_USER);
    ASSERT_NE(reg.RegKey, nullptr);
    procRegCreateKey("Sub", nullptr); // fails
    EXPECT_NE(reg.RegResult, 0);
    EXPECT_EQ(reg.RegKey, nullptr);
    procRegSetValue("", "AfterFailedCreate", "x", REG_SZ);

    DWORD type;
    EXPECT_EQ(readRaw("AfterClose", &type), "<missing>");
    EXPECT_EQ(readRaw("AfterFailedCreate", &type), "<missing>");
    EXPECT_EQ(read("First"), Variant("1"));

    procRegDeleteKey(HKEY_CURRENT_USER, kTestKey);
    EXPECT_EQ(reg.RegResult, 0);
    EXPECT_TRUE(read("First").isEmpty());
}

TEST_F(RegistryTest, ValueTheUserMayReadButNotChangeIsNotMissing) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, FALSE};
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                     &sa.lpSecurityDescriptor, nullptr));
    std::string sub = kTestKey + "\\ReadOnly";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, &sa, &key, nullptr),
              ERROR_SUCCESS);
    LocalFree(sa.lpSecurityDescriptor);
    RegSetValueExA(key, "Kept", 0, REG_SZ, reinterpret_cast<const BYTE*>("yes"), 4);
    RegCloseKey(key);

    HKEY probe;
    bool enforced = RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_ALL_ACCESS, &probe) != ERROR_SUCCESS;
    if (!enforced) RegCloseKey(probe);
    procRegGetValue(HKEY_CURRENT_USER, sub, "Kept");
    EXPECT_EQ(reg.RegValue, Variant("yes"));
    if (!enforced) GTEST_SKIP() << "this system does not enforce the key's access list";
}

TEST(SettingsStore, ValuesLandInTheProgramsOwnKeys) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "VellumarTestValue", "True", REG_SZ);
    procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
    procRegSetValue(kPosKey, "VellumarTestTop", 1440, REG_DWORD);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Vellumar\\Settings", "VellumarTestValue", RRF_RT_REG_SZ,
                           &type, nullptr, &size),
              ERROR_SUCCESS);
    DWORD top = 0;
    size = sizeof(top);
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Vellumar\\Pos", "VellumarTestTop", RRF_RT_REG_DWORD, &type,
                           &top, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(top, 1440u);

    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Vellumar\\Settings", "VellumarTestValue");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Vellumar\\Pos", "VellumarTestTop");
}

} // namespace
