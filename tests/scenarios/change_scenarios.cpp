// The change window as a person uses it: a Windows item chosen in the main
// window, a library icon dragged onto "New", Apply, and the Windows default
// restored, for a system icon, a file type and a cursor.
#include "scenario.h"

#include "frmchange.h"
#include "frmzoom.h"
#include "ico_fixtures.h"
#include "regexport.h"
#include "registrybackup.h"
#include "registry.h"
#include "seam.h"
#include "state.h"
#include "systemicons.h"

using namespace vm;
using namespace vmscenario;

namespace {

std::string regText(HKEY root, const std::string& key, const std::string& name) {
    procRegGetValue(root, key, name);
    return reg.RegValue.toText();
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

constexpr const char* kCursors = "Control Panel\\Cursors";

// The colours of a picture box at every fourth pixel of an icon, the box showing it enlarged by factor.
std::vector<COLORREF> iconPixels(PictureBox& box, int factor) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; y += 4)
        for (int x = 0; x < 32; x += 4) pixels.push_back(GetPixel(box.hDC(), x * factor + factor / 2, y * factor + factor / 2));
    return pixels;
}

size_t sameAt(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    size_t same = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) same += a[i] == b[i];
    return same;
}

class ChangeScenario : public LibraryScenario {
protected:
    void prepare() override {
        LibraryScenario::prepare();
        identity.ProductName = "Vellumar";
        // Changed icons go to the scratch folder's Icons folder.
        paths.WindowsDir = dir.path();
        // The notices stay silent, so that every apply runs to its end.
        for (const char* setting : {"SysCache", "SysFileTypeRestart", "SysCursorRestart", "ShortcutCache"}) {
            procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
            procRegSetValue(kSettingsKey, setting, Variant(std::int32_t(1)), REG_DWORD);
        }
    }
    // Chooses the item of this text under the Windows node and opens the change window on it.
    FrmChange& changeItemNamed(const std::string& node, const std::string& text) {
        clickNode(node);
        const std::vector<std::string> texts = itemTexts(w().pnlResult);
        const auto at = std::find(texts.begin(), texts.end(), text);
        EXPECT_NE(at, texts.end()) << text << " in " << ::testing::PrintToString(texts);
        return changeItem(node, at == texts.end() ? 0 : static_cast<int>(at - texts.begin()) + 1);
    }
    // Chooses item index of the Windows node and opens the change window on it.
    FrmChange& changeItem(const std::string& node, int index) {
        clickNode(node);
        if (w().pnlResult.ListItems.Count() < index) return frmChange();
        clickItem(w().pnlResult, index);
        chooseMenu({"&File", "C&hange..."});
        return frmChange();
    }
    // Lists the library's "bo" icons and drags the first onto "New".
    void dropLibraryIcon(FrmChange& c) {
        typeInto(w().cmbSearch, "bo");
        press(VK_RETURN);
        clickItem(w().pnlResult, 2);
        dragItemOnto(2, c.picIcon);
    }
    std::string icons() const { return paths.WindowsDir + "\\Icons\\"; }
};

} // namespace

TEST_F(ChangeScenario, ListingTheSystemIconsWritesNothingAndAChangeIsRestoredToExactlyWhatWasThere) {
    if (!w().nodeSources.searchSystemIcons) GTEST_SKIP() << "the system icons are not listed in this build";
    // Every key the drives' rows name, as it is before anything is listed.
    std::vector<std::string> keys;
    for (const std::string& row : SystemIconRows("SysDrives", identity.OSCode, "c:\\windows", "c:\\windows\\system32")) {
        const std::string location = row.substr(row.find(';', row.find(';') + 1) + 1);
        keys.push_back(location.substr(0, location.find(',')));
    }
    auto exported = [&keys] {
        std::string all;
        for (const std::string& key : keys) all += vmtest::regExport(key);
        return all;
    };
    const std::string before = exported();
    FrmChange& c = changeItem("SysDrives", 1);
    ASSERT_TRUE(c.IsLoaded());
    EXPECT_EQ(exported(), before) << "the listing wrote to the registry";
    EXPECT_EQ(c.Caption(), "Change System Icon");
    EXPECT_EQ(c.status(), "Drop icon from Vellumar on New");
    const std::string row = c.picImport.Tag;
    std::string place = row.substr(row.find(';', row.find(';') + 1) + 1), value;
    const HKEY root = RegistryRootOf(place.substr(0, place.find('\\')));
    std::string key = place.substr(place.find('\\') + 1);
    if (const auto comma = key.find(','); comma != std::string::npos) {
        value = key.substr(comma + 1);
        key.resize(comma);
    }

    // The change writes the value, there or not before; Windows Default gives back exactly what was there.
    dropLibraryIcon(c);
    EXPECT_EQ(c.status(), "Choose File, Apply to Change");
    clickButton(c.pnlToolbar, "apply");
    const std::string changed = regText(root, key, value);
    ASSERT_EQ(changed.substr(0, icons().size()), icons());
    const std::string file = changed.substr(0, changed.size() - 2);
    EXPECT_TRUE(exists(file));
    EXPECT_EQ(c.status(), "Select a System Icon to Change");

    clickButton(c.pnlToolbar, "default");
    clickButton(c.pnlToolbar, "apply");
    EXPECT_EQ(exported(), before);
    EXPECT_FALSE(exists(file));
}

TEST_F(ChangeScenario, TheRecycleBinIsChangedAndRestoredToExactlyWhatWasThere) {
    if (!w().nodeSources.searchSystemIcons) GTEST_SKIP() << "the system icons are not listed in this build";
    const std::string key = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon";
    // As Windows has them: expandable paths with resource ids, not the row's default.
    const char theirs[] = "%SystemRoot%\\system32\\shell32.dll,-33";
    const RawValue windows{true, REG_EXPAND_SZ, std::vector<BYTE>(theirs, theirs + sizeof theirs)};
    for (const char* name : {"Empty", ""}) WriteRawValue(HKEY_CLASSES_ROOT, key, name, windows);

    FrmChange& c = changeItem("SysDesktop", 3);
    ASSERT_TRUE(c.IsLoaded());
    const std::string before = vmtest::regExport("HKEY_CLASSES_ROOT\\" + key); // as the listing left it
    if (c.picImport.Tag.find(key + ",Empty") == std::string::npos)
        GTEST_SKIP() << "another Windows: " << c.picImport.Tag;
    dropLibraryIcon(c);
    clickButton(c.pnlToolbar, "apply");
    const std::string empty = regText(HKEY_CLASSES_ROOT, key, "Empty");
    ASSERT_EQ(empty.substr(0, icons().size()), icons());
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, key, ""), empty.substr(0, empty.size() - 2)); // no ",0"

    clickButton(c.pnlToolbar, "default");
    clickButton(c.pnlToolbar, "apply");
    EXPECT_EQ(vmtest::regExport("HKEY_CLASSES_ROOT\\" + key), before);
}

TEST_F(ChangeScenario, AFileTypeIconIsChangedAndRestored) {
    if (!w().nodeSources.searchFileTypes) GTEST_SKIP() << "the file types are not listed in this build";
    FrmChange& c = changeItem("SysAso", 1);
    ASSERT_TRUE(c.IsLoaded());
    EXPECT_EQ(c.Caption(), "Change File Type Icon");
    const std::string row = c.picImport.Tag;
    const auto colon = row.find(':'), semi = row.find(';');
    ASSERT_TRUE(colon != std::string::npos && semi != std::string::npos) << row;
    const std::string cls = row.substr(colon + 1, semi - colon - 1);
    // As Windows has it: an expandable path.
    const RawValue original = ReadRawValue(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon", "");
    const char theirs[] = "%SystemRoot%\\system32\\shell32.dll,3";
    WriteRawValue(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon", "",
                  {true, REG_EXPAND_SZ, std::vector<BYTE>(theirs, theirs + sizeof theirs)});
    const std::string before = vmtest::regExport("HKEY_CLASSES_ROOT\\" + cls);

    dropLibraryIcon(c);
    clickButton(c.pnlToolbar, "apply");
    const std::string changed = regText(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon", "");
    ASSERT_EQ(changed.substr(0, icons().size()), icons());
    EXPECT_TRUE(exists(changed.substr(0, changed.size() - 2)));

    // Windows Default: the value's type and text as they were, and nothing of the program's left in the class.
    clickButton(c.pnlToolbar, "default");
    clickButton(c.pnlToolbar, "apply");
    EXPECT_EQ(vmtest::regExport("HKEY_CLASSES_ROOT\\" + cls), before);
    WriteRawValue(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon", "", original);
}

TEST_F(ChangeScenario, ACursorIsChangedAndRestored) {
    if (!w().nodeSources.currentCursor) GTEST_SKIP() << "the current cursors are not listed in this build";
    FrmChange& c = changeItem("SysCurCurrent", 1);
    ASSERT_TRUE(c.IsLoaded());
    const std::string entry = c.picImport.Tag;
    dropLibraryIcon(c);
    {
        HotspotAnswered hotspot;
        clickButton(c.pnlToolbar, "apply");
    }
    // Which role: the one whose value now names the new cursor.
    bool found = false;
    for (const char* role : {"AppStarting", "Arrow", "Crosshair", "IBeam", "Help", "No", "NWPen", "SizeAll",
                             "SizeNESW", "SizeNS", "SizeNWSE", "SizeWE", "UpArrow", "Wait"}) {
        const std::string value = regText(HKEY_CURRENT_USER, "Control Panel\\Cursors", role);
        if (value.substr(0, icons().size()) != icons()) continue;
        found = true;
        EXPECT_TRUE(exists(value));
        clickButton(c.pnlToolbar, "default");
        clickButton(c.pnlToolbar, "apply");
        EXPECT_EQ(regText(HKEY_CURRENT_USER, "Control Panel\\Cursors", role), "");
        EXPECT_FALSE(exists(value));
    }
    EXPECT_TRUE(found) << entry;
}

namespace {
// All fourteen cursor roles on one page.
class CursorChangeScenario : public ChangeScenario {
protected:
    void prepare() override {
        ChangeScenario::prepare();
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "IconsPerPage32", Variant(std::string("20")), REG_SZ);
    }
};
} // namespace

TEST_F(CursorChangeScenario, TheWindowsDefaultOfTheUpArrowIsShownAndPutBack) {
    if (!w().nodeSources.currentCursor) GTEST_SKIP() << "the current cursors are not listed in this build";
    const std::string cursor = dir.file("up.cur");
    ASSERT_TRUE(vmtest::writeFile(cursor, vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 24, 5)}, 2)));
    procRegCreateKey(kCursors, HKEY_CURRENT_USER);
    procRegSetValue(kCursors, "UpArrow", Variant(cursor), REG_SZ);
    FrmChange& c = changeItemNamed("SysCurCurrent", "Up Arrow");
    ASSERT_TRUE(c.IsLoaded());
    clickButton(c.pnlToolbar, "default");
    EXPECT_EQ(c.status(), "Choose File, Apply to Change");
    clickButton(c.pnlToolbar, "apply");
    EXPECT_EQ(regText(HKEY_CURRENT_USER, kCursors, "UpArrow"), "");
    EXPECT_FALSE(c.picImport.GetPicture().empty()); // "Current" shows the built-in cursor
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kCursors, "UpArrow");
}

TEST_F(CursorChangeScenario, TheHotspotPickerShowsTheCursorBeingSavedNotTheOneBefore) {
    if (!w().nodeSources.currentCursor) GTEST_SKIP() << "the current cursors are not listed in this build";
    std::vector<COLORREF> picked;
    // The Arrow changed twice, with two library icons in turn.
    FrmChange& c = changeItemNamed("SysCurCurrent", "Arrow");
    ASSERT_TRUE(c.IsLoaded());
    std::vector<COLORREF> dropped[2];
    for (int round = 0; round < 2; ++round) {
        typeInto(w().cmbSearch, "bo");
        press(VK_RETURN);
        clickItem(w().pnlResult, round + 1);
        dragItemOnto(round + 1, c.picIcon);
        dropped[round] = iconPixels(c.picIcon, 1);
        picked.clear();
        Answer notice("Change Cursors", {clickOn("Define Hotspot Now")});
        Answer picker("Set the Cursor's Hotspot", {onProgram([&picked] {
                          picked = iconPixels(frmZoom().picZoom, 10);
                          frmZoom().Unload();
                      })});
        clickButton(c.pnlToolbar, "apply");
    }
    ASSERT_NE(dropped[0], dropped[1]);
    ASSERT_FALSE(picked.empty()) << "the hotspot picker never showed";
    EXPECT_GT(sameAt(picked, dropped[1]), sameAt(picked, dropped[0]));

    clickButton(c.pnlToolbar, "default");
    clickButton(c.pnlToolbar, "apply");
    EXPECT_EQ(regText(HKEY_CURRENT_USER, kCursors, "Arrow"), "");
}
