#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folderpicker.h"
#include "iconcache.h"
#include "privilege.h"
#include "registry.h"
#include "seam.h"
#include "shellfolders.h"
#include "state.h"
#include "winversion.h"

using namespace vm;

namespace {

struct ScriptedSeam {
    ScriptedSeam() { Seam::get().reset(), Seam::get().setScripted(true); }
    ~ScriptedSeam() { Seam::get().reset(), Seam::get().setScripted(false); }
};

TEST(WindowsVersion, TableRowsAndUnknownSystems) {
    struct Row {
        DWORD platform, major, minor;
        const char *name, *code;
    } rows[] = {
        {1, 4, 0, "Windows 95 (4.0)", "95"},          {1, 4, 10, "Windows 98 (4.10)", "98"},
        {1, 4, 90, "Windows ME (4.90)", "ME"},        {1, 4, 50, "OS Unknown (4.50)", "NT4"},
        {2, 3, 51, "Windows NT 3.51 (3.51)", "NT3"},  {2, 4, 0, "Windows NT 4.0 (4.0)", "NT4"},
        {2, 5, 0, "Windows 2000 (5.0)", "2000"},      {2, 5, 1, "Windows 2000 (5.1)", "2000"},
        {2, 6, 0, "OS Unknown (6.0)", "NT4"},         {0, 3, 10, "OS Unknown (3.10)", "NT4"},
    };
    for (const Row& row : rows) {
        setWindowsVersionSource([&] { return WindowsVersion{row.platform, row.major, row.minor}; });
        procGetWindowsVersion();
        EXPECT_EQ(identity.OSName, row.name);
        EXPECT_EQ(identity.OSCode, row.code) << row.name;
    }
    setWindowsVersionSource({});
    procGetWindowsVersion(); // the test system is newer than the table knows
    EXPECT_EQ(identity.OSName.rfind("OS Unknown (", 0), 0u) << identity.OSName;
    EXPECT_EQ(identity.OSCode, "NT4");
}

// Records "Shell Icon Size" each time the settings broadcast reaches a window.
class IconCacheTest : public testing::Test {
protected:
    static constexpr const char* kKey = "Control Panel\\Desktop\\WindowMetrics";
    static inline std::vector<std::string> seen;

    static LRESULT CALLBACK listener(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_SETTINGCHANGE && wParam == SPI_SETICONMETRICS) {
            procRegGetValue(HKEY_CURRENT_USER, kKey, "Shell Icon Size");
            seen.push_back(reg.RegValue.toText());
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    void SetUp() override {
        procRegGetValue(HKEY_CURRENT_USER, kKey, "Shell Icon Size");
        original = reg.RegValue;
        WNDCLASSA wc{};
        wc.lpfnWndProc = listener;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VellumarIconCacheListener";
        RegisterClassA(&wc);
        window = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                               nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        HKEY key;
        RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key);
        if (original.isEmpty()) RegDeleteValueA(key, "Shell Icon Size");
        else {
            std::string text = original.toText();
            RegSetValueExA(key, "Shell Icon Size", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1));
        }
        RegCloseKey(key);
    }

    void run(const char* stored) {
        seen.clear();
        HKEY key;
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (stored) RegSetValueExA(key, "Shell Icon Size", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored),
                                   static_cast<DWORD>(strlen(stored) + 1));
        else RegDeleteValueA(key, "Shell Icon Size");
        RegCloseKey(key);
        runState.SystemIconsChanged = true;
        procRebuildIconCache();
        procRegGetValue(HKEY_CURRENT_USER, kKey, "Shell Icon Size");
        after = reg.RegValue.toText();
    }

    Variant original;
    HWND window = nullptr;
    std::string after;
};

TEST_F(IconCacheTest, SizeGoesUpOnePixelAndBack) {
    run("48");
    EXPECT_EQ(seen, (std::vector<std::string>{"49", "48"}));
    EXPECT_EQ(after, "48");
    EXPECT_FALSE(runState.SystemIconsChanged);

    for (const char* unusable : {static_cast<const char*>(nullptr), "abc", "0", "1", "-5"}) {
        run(unusable);
        EXPECT_EQ(seen, (std::vector<std::string>{"33", "32"})) << (unusable ? unusable : "missing");
        EXPECT_EQ(after, "32");
    }
}

TEST_F(IconCacheTest, SizeGoesBackWhenTheBroadcastFails) {
    ScriptedSeam seam;
    Seam::get().queueCode(0); // the first broadcast times out
    run("40");
    EXPECT_EQ(after, "40");
    EXPECT_FALSE(runState.SystemIconsChanged);
    int broadcasts = 0;
    for (const SeamRequest& r : Seam::get().requests())
        if (r.kind == "Broadcast" && r.style == SPI_SETICONMETRICS) ++broadcasts;
    EXPECT_EQ(broadcasts, 2);
    EXPECT_TRUE(seen.empty()); // a scripted broadcast reaches no window
}

TEST(ShutdownPrivilege, GrantedWithoutComplaint) {
    ScriptedSeam seam;
    EXPECT_EQ(procEnableShutdownPrivilege(), "");
    for (const SeamRequest& r : Seam::get().requests()) ADD_FAILURE() << r.prompt;
}

TEST(FolderPicker, ChoiceGoesWhereTheFlagsSay) {
    ScriptedSeam seam;
    std::string favorites = "unset", scan = "unset";
    HWND options = reinterpret_cast<HWND>(1), scanWindow = reinterpret_cast<HWND>(2);
    folderPickerHooks.optionsWindow = [&] { return options; };
    folderPickerHooks.scanWindow = [&] { return scanWindow; };
    folderPickerHooks.setFavoritesFolder = [&](const std::string& f) { favorites = f; };
    folderPickerHooks.setScanFolder = [&](const std::string& f) { scan = f; };

    folderPicker.BrowseResult = "before";
    folderPicker.BrowseForExtract = true;
    Seam::get().queueCancel();
    procBrowseForFolder("C:\\start", "Extract to");
    EXPECT_EQ(folderPicker.BrowseResult, "before");
    Seam::get().queueText("C:\\target");
    procBrowseForFolder("C:\\start", "Extract to");
    EXPECT_EQ(folderPicker.BrowseResult, "C:\\target");
    folderPicker.BrowseForExtract = false;

    folderPicker.SearchingFavorites = true;
    Seam::get().queueText("C:\\fav");
    procBrowseForFolder("", "Favorites");
    folderPicker.SearchingFavorites = false;
    Seam::get().queueText("C:\\scan");
    procBrowseForFolder("", "Scan");

    EXPECT_EQ(favorites, "C:\\fav");
    EXPECT_EQ(scan, "C:\\scan");
    EXPECT_EQ(folderPicker.BrowseResult, "C:\\target");
    ASSERT_EQ(Seam::get().requests().size(), 4u);
    EXPECT_EQ(Seam::get().requests()[0].kind, "Folder");
    EXPECT_EQ(Seam::get().requests()[0].detail, "C:\\start");
    EXPECT_EQ(Seam::get().requests()[0].prompt, "Extract to");
    folderPickerHooks = {};
}

TEST(SpecialFolders, DesktopEndsInBackslashAndUnknownIsEmpty) {
    std::string desktop = SpecialFolders().GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    EXPECT_EQ(desktop.back(), '\\');
    EXPECT_NE(GetFileAttributesA(desktop.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(SpecialFolders().GetSpecialFolder(0x7E), "");
}

} // namespace
