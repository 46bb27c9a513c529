// The Windows sources as a person reaches them: a click on a node under
// "Your Icons", then on one of the icons it lists.
#include "scenario.h"

#include <algorithm>

#include "cshelllink.h"
#include "ico_fixtures.h"
#include "registry.h"
#include "seam.h"
#include "shellfolders.h"

using namespace vm;
using namespace vmscenario;

namespace {

constexpr const char* kCursors = "Control Panel\\Cursors";
constexpr const char* kScheme = "Control Panel\\Cursors\\Schemes";

int indexOf(const std::vector<std::string>& texts, const std::string& text) {
    const auto at = std::find(texts.begin(), texts.end(), text);
    return at == texts.end() ? 0 : static_cast<int>(at - texts.begin()) + 1;
}

void setValue(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    HKEY k = nullptr;
    RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
    RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

// A shortcut on the desktop, an arrow cursor and a cursor scheme, a file type.
class WindowsSourceScenario : public MainWindowScenario {
protected:
    std::string link = SpecialFolders().GetSpecialFolder(16) + "Vellumar Scenario Tool.lnk";
    std::string icon, cursor;

    void prepare() override {
        icon = dir.file("tool.ico");
        cursor = dir.file("arrow.cur");
        vmtest::writeFile(icon, vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 24, 4)}));
        vmtest::writeFile(cursor, vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 24, 9)}, 2));
        ShellLinkInfo info;
        info.target = icon;
        cShellLink().Write(link, info);
        setValue(HKEY_CURRENT_USER, kCursors, "Arrow", cursor);
        setValue(HKEY_CURRENT_USER, kScheme, "Vellumar Scenario", cursor + ",,");
        setValue(HKEY_CLASSES_ROOT, ".vmscenario", "", "VellumarScenario.File");
        setValue(HKEY_CLASSES_ROOT, "VellumarScenario.File", "", "Vellumar Scenario File");
        setValue(HKEY_CLASSES_ROOT, "VellumarScenario.File\\DefaultIcon", "", icon);
    }
    void TearDown() override {
        MainWindowScenario::TearDown();
        DeleteFileA(link.c_str());
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kCursors, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
            RegDeleteValueA(k, "Arrow");
            RegCloseKey(k);
        }
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kScheme, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
            RegDeleteValueA(k, "Vellumar Scenario");
            RegCloseKey(k);
        }
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".vmscenario");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "VellumarScenario.File");
    }
    // Clicks the item of this text and reads what the window then shows of it.
    void selectItemNamed(const std::string& text, const std::string& type) {
        const int index = indexOf(itemTexts(w().pnlResult), text);
        ASSERT_NE(index, 0) << text;
        clickItem(w().pnlResult, index);
        EXPECT_EQ(selectedItem(w().pnlResult), index);
        EXPECT_EQ(itemTexts(w().pnlResult, 1)[static_cast<size_t>(index - 1)], type);
        EXPECT_EQ(panelText("type"), type);
    }
};

} // namespace

TEST_F(WindowsSourceScenario, DesktopShortcuts) {
    clickNode("SysShortDesk");
    selectItemNamed("Vellumar Scenario Tool", "Shortcut Icon");

    // Properties asks the shell about the shortcut file itself; this shell has
    // no sheet to show, and the message names that file without calling it missing.
    Answer noSheet("Error", {clickOn("OK")});
    chooseMenu({"&File", "&Properties"});
    EXPECT_TRUE(noSheet.seen().shows("The properties of " + link + " could not be shown: Windows offers no "
                                     "properties sheet for this file."));
}

TEST_F(WindowsSourceScenario, CurrentCursorsAndAScheme) {
    clickNode("SysCurCurrent");
    EXPECT_EQ(panelText("count"), std::to_string(w().pnlResult.ListItems.Count()) + " Icon(s)");
    selectItemNamed("Arrow", "Current Cursor");
    const int wait = indexOf(itemTexts(w().pnlResult), "Wait");
    ASSERT_GT(wait, 0) << "the user's wait cursor is not the default one";
    EXPECT_EQ(itemTexts(w().pnlResult, 2)[static_cast<size_t>(wait - 1)], "Windows Default");

    clickNode("cthemeVellumar Scenario");
    EXPECT_EQ(itemTexts(w().pnlResult), (std::vector<std::string>{"Arrow", "Help", "Wait"}));
    selectItemNamed("Help", "Theme Cursor");
}

TEST_F(WindowsSourceScenario, FileTypesAndSystemIcons) {
    clickNode("SysAso");
    selectItemNamed("Vellumar Scenario File (*.vmscenario)", "File Type Icon");

    clickNode("SysFiles");
    ASSERT_GT(w().lstChange.ListCount(), 0);
    EXPECT_EQ(panelText("count"), std::to_string(w().lstChange.ListCount()) + " Icon(s)");
    const std::string first = itemTexts(w().pnlResult).front();
    selectItemNamed(first, "System Icon");
}

TEST_F(WindowsSourceScenario, TheStatusPanelTellsOfTheFirstItemOfEverySource) {
    for (const char* key : {"SysAso", "SysDesktop", "SysShortDesk"}) {
        clickNode(key);
        ASSERT_GT(w().pnlResult.ListItems.Count(), 0) << key;
        EXPECT_EQ(selectedItem(w().pnlResult), 1) << key;
        // The first item's type, and the file it comes from as a click on it shows it.
        const std::string shown = panelText("message");
        const size_t slash = shown.rfind('\\'), dot = shown.rfind('.');
        EXPECT_TRUE(slash != std::string::npos && dot != std::string::npos && dot > slash) << key << " names no file: " << shown;
        EXPECT_EQ(panelText("type"), itemTexts(w().pnlResult, 1).front()) << key;
        clickItem(w().pnlResult, 1);
        EXPECT_EQ(panelText("message"), shown) << key;
    }
}
