#include <map>

#include "cursorsource.h"
#include "sourcefixture.h"

using namespace vm;
using vmtest::asColorRef;

namespace {

constexpr const char* kCursors = "Control Panel\\Cursors";
constexpr std::uint32_t kArrow = 0xE02020, kFrame1 = 0x20E020, kFrame2 = 0x2020E0, kFrame3 = 0xE0E020;

struct SavedValue {
    bool present = false;
    DWORD type = 0;
    std::string data;
};

void putValue(const std::string& name, const std::string& text, DWORD type = REG_SZ) {
    HKEY k = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kCursors, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
    RegSetValueExA(k, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(k);
}

// The cursor settings of the tests' prefix are put back as they were.
struct CursorTest : vmtest::SourceFixture {
    std::map<std::string, SavedValue> saved;

    void SetUp() override {
        SourceFixture::SetUp();
        HKEY k = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, kCursors, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
        for (const CursorTableRow& role : CursorTable()) {
            SavedValue& v = saved[role.valueName];
            char data[2048];
            DWORD size = sizeof(data);
            v.present = RegQueryValueExA(k, role.valueName, nullptr, &v.type, reinterpret_cast<BYTE*>(data), &size) ==
                        ERROR_SUCCESS;
            if (v.present) v.data.assign(data, size);
            RegDeleteValueA(k, role.valueName);
        }
        RegCloseKey(k);
        ASSERT_TRUE(vmtest::writeFile(dir.file("arrow.cur"), vmtest::solidCursor(kArrow, 5, 7)));
        ASSERT_TRUE(vmtest::writeFile(dir.file("wait.ANI"), vmtest::animation({kFrame1, kFrame2, kFrame3})));
        ASSERT_TRUE(vmtest::writeFile(dir.file("broken.ani"), "RIFF, but nothing else"));
    }
    void TearDown() override {
        HKEY k = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, kCursors, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
        for (const auto& [name, v] : saved) {
            if (v.present)
                RegSetValueExA(k, name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                               static_cast<DWORD>(v.data.size()));
            else
                RegDeleteValueA(k, name.c_str());
        }
        RegCloseKey(k);
        SourceFixture::TearDown();
    }
    void listCurrentCursors() {
        for (const CursorTableRow& role : CursorTable()) procGetCurrentCursor(entries.cmbResult, role.ocrId, role.valueName);
    }
    // What the tree does with a scheme's value: every field, positions from 1.
    void listScheme(const std::string& scheme, const std::string& value) {
        std::int16_t position = 0;
        size_t start = 0;
        for (;;) {
            const size_t comma = value.find(',', start);
            procGetCurrentThemeCursor(entries.cmbResult, value.substr(start, comma - start), scheme, ++position);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
};

} // namespace

TEST_F(CursorTest, CurrentCursorsOfEveryRole) {
    putValue("Arrow", dir.file("arrow.cur"));
    putValue("Wait", dir.file("wait.ANI"));
    putValue("Help", "");
    putValue("IBeam", dir.file("missing.cur"));
    putValue("AppStarting", dir.file("broken.ani"));
    SetEnvironmentVariableA("VMCURSORS", dir.path().c_str());
    putValue("No", "%VMCURSORS%\\arrow.cur", REG_EXPAND_SZ);

    listCurrentCursors();

    const std::string at = std::string(kCursors) + "\\";
    EXPECT_EQ(entryTexts(), (std::vector<std::string>{
                                dir.file("broken.ani") + ";0;" + at + "AppStarting;gsycu",
                                dir.file("arrow.cur") + ";0;" + at + "Arrow;csycu",
                                "default;0;32515;csycu",
                                "default;0;32651;csycu",
                                dir.file("missing.cur") + ";0;" + at + "IBeam;csycu",
                                dir.file("arrow.cur") + ";0;" + at + "No;csycu",
                                "default;0;32631;csycu",
                                "default;0;32646;csycu",
                                "default;0;32643;csycu",
                                "default;0;32645;csycu",
                                "default;0;32642;csycu",
                                "default;0;32644;csycu",
                                "default;0;32516;csycu",
                                dir.file("wait.ANI") + ";0;" + at + "Wait;gsycu",
                                dir.file("wait.ANI") + ";1;" + at + "Wait;gsycu",
                                dir.file("wait.ANI") + ";2;" + at + "Wait;gsycu",
                            }));

    showList();
    const std::string current = "|Current Cursor|", byDefault = "|Current Cursor|Windows Default";
    EXPECT_EQ(items(), (std::vector<std::string>{
                           "Application Starting #1|Animated Cursor|File", "Arrow" + current + "File",
                           "Crosshair" + byDefault, "Help Pointer" + byDefault, "I Beam" + current + "File",
                           "No" + current + "File", "Pen" + byDefault, "Size All" + byDefault,
                           "Size NESW" + byDefault, "Size NS" + byDefault, "Size NWSE" + byDefault,
                           "Size WE" + byDefault, "Up Arrow" + byDefault, "Wait #1|Animated Cursor|File",
                           "Wait #2|Animated Cursor|File", "Wait #3|Animated Cursor|File"}));
    EXPECT_TRUE(showsNoIcon(1));  // an animation that does not load
    EXPECT_EQ(pixel(2, 16, 16), asColorRef(kArrow));
    EXPECT_EQ(pixel(2, 0, 0), vmtest::kBlue);
    EXPECT_FALSE(showsNoIcon(3)); // the system's crosshair
    EXPECT_TRUE(showsNoIcon(5));  // a file that is not there
    EXPECT_EQ(pixel(6, 16, 16), asColorRef(kArrow));
    EXPECT_EQ(pixel(14, 16, 16), asColorRef(kFrame1));
    EXPECT_EQ(pixel(15, 16, 16), asColorRef(kFrame2));
    EXPECT_EQ(pixel(16, 16, 16), asColorRef(kFrame3));
    EXPECT_EQ(pixel(16, 0, 0), vmtest::kBlue);
    EXPECT_EQ(loader.LoadedAniFile, dir.file("wait.ANI"));
}

TEST_F(CursorTest, SchemesOfThirteenFourteenAndFifteenFields) {
    const std::string arrow = dir.file("arrow.cur"), wait = dir.file("wait.ANI");
    // Positions: 1 arrow, 2 default, 3 the animation, the rest default; a 15th field is listed too.
    std::string fields = arrow + ",," + wait;
    for (int i = 4; i <= 13; ++i) fields += ",";
    listScheme("Thirteen", fields);
    EXPECT_EQ(entries.cmbResult.ListCount(), 15); // 12 single entries and 3 steps
    entries.cmbResult.Clear();
    listScheme("Fourteen", fields + ",");
    EXPECT_EQ(entries.cmbResult.ListCount(), 16);
    entries.cmbResult.Clear();
    listScheme("My: Scheme", fields + ",," + arrow);
    ASSERT_EQ(entries.cmbResult.ListCount(), 17);

    const std::string at = std::string(kCursors) + "\\Schemes\\My: Scheme:";
    const std::vector<std::string> all = entryTexts();
    EXPECT_EQ(all[0], arrow + ";0;" + at + "1;tsytu");
    EXPECT_EQ(all[1], "default;0;" + at + "2;tsytu");
    EXPECT_EQ(all[2], wait + ";0;" + at + "3;asytu");
    EXPECT_EQ(all[4], wait + ";2;" + at + "3;asytu");
    EXPECT_EQ(all[5], "default;0;" + at + "4;tsytu");
    EXPECT_EQ(all[16], arrow + ";0;" + at + "15;tsytu");

    showList();
    const std::vector<std::string> shown = items();
    EXPECT_EQ(shown[0], "Arrow|Theme Cursor|File");
    EXPECT_EQ(shown[1], "Help|Theme Cursor|Windows Default");
    EXPECT_EQ(shown[2], "Wait #1|Animated Icon|File");
    EXPECT_EQ(shown[4], "Wait #3|Animated Icon|File");
    EXPECT_EQ(shown[5], "Application Starting|Theme Cursor|Windows Default");
    EXPECT_EQ(shown[15], "Up Arrow|Theme Cursor|Windows Default");
    EXPECT_EQ(shown[16], "|Theme Cursor|File"); // no role at position 15
    EXPECT_EQ(pixel(1, 16, 16), asColorRef(kArrow));
    EXPECT_EQ(pixel(4, 16, 16), asColorRef(kFrame2));
    EXPECT_EQ(pixel(17, 16, 16), asColorRef(kArrow));
}

TEST_F(CursorTest, SchemeFilesAsWindowsWritesThem) {
    procGetCurrentThemeCursor(entries.cmbResult, "", "Odd", 15);
    procGetCurrentThemeCursor(entries.cmbResult, dir.file("missing.cur"), "Odd", 1);
    // Scheme values name their files through variables; the entry keeps the text.
    SetEnvironmentVariableA("VMCURSORS", dir.path().c_str());
    procGetCurrentThemeCursor(entries.cmbResult, "%VMCURSORS%\\arrow.cur", "Odd", 2);
    EXPECT_EQ(entries.cmbResult.List(2), "%VMCURSORS%\\arrow.cur;0;Control Panel\\Cursors\\Schemes\\Odd:2;tsytu");
    showList();
    EXPECT_EQ(items(), (std::vector<std::string>{"|Theme Cursor|Windows Default", "Arrow|Theme Cursor|File",
                                                 "Help|Theme Cursor|File"}));
    // A default beyond the roles draws nothing; a missing file shows the no-icon picture.
    EXPECT_EQ(pixel(1, 16, 16), vmtest::kBlue);
    EXPECT_EQ(pixel(1, 0, 0), vmtest::kBlue);
    EXPECT_TRUE(showsNoIcon(2));
    EXPECT_EQ(pixel(3, 16, 16), asColorRef(kArrow));
}
