// Shortcut icons as a person changes them: a desktop shortcut listed in the
// main window, changed through the change window and set back to its
// target's icon, and files dragged from another program onto a listed
// shortcut.
#include "scenario.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "cshelllink.h"
#include "frmchange.h"
#include "ico_fixtures.h"
#include "registry.h"
#include "shellfolders.h"
#include "state.h"

using namespace vm;
using namespace vmscenario;

namespace {

// The pointer's way from one point to another, in steps as a hand moves.
void addPath(std::vector<INPUT>& inputs, POINT from, POINT to) {
    const int steps = 12;
    for (int i = 1; i <= steps; ++i)
        inputs.push_back(mouseInput(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, 0));
}

// The middle of item index's icon, in screen pixels.
POINT itemPoint(int index) {
    ListView& list = frmMain().pnlResult;
    RECT r{};
    r.left = LVIR_ICON;
    SendMessageA(list.hWnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list.hWnd(), &at);
    return at;
}

// The other program's end of the drag: it drops once the button that was
// pressed goes up again.
class HandSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        if (keys & MK_LBUTTON) {
            held_ = true;
            return S_OK;
        }
        return held_ ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ULONG refs_ = 1;
    bool held_ = false;
};

// Drags the files from beside the main window onto item index of the result
// list: the drag runs on this thread, the hand moves the real pointer and
// presses and lets go of the real button. The effect the drop took.
DWORD dragFilesOnto(const std::vector<std::string>& files, int index) {
    const POINT to = itemPoint(index);
    RECT frame{};
    GetWindowRect(frmMain().hWnd(), &frame);
    const POINT from{std::max(2L, frame.left + 4), frame.top + 4};
    SetCursorPos(from.x, from.y);
    std::atomic<bool> dragging{false}, dropped{false};
    std::thread hand([&] {
        while (!dragging) Sleep(10);
        Sleep(300);
        std::vector<INPUT> inputs{mouseInput(from, MOUSEEVENTF_LEFTDOWN)};
        addPath(inputs, from, to);
        inputs.push_back(mouseInput(to, 0));
        inputs.push_back(mouseInput(to, MOUSEEVENTF_LEFTUP));
        for (INPUT in : inputs) {
            SendInput(1, &in, sizeof in);
            Sleep(40);
        }
        // A drag that never ends is let go with Esc, so that no run hangs.
        for (int i = 0; i < 300 && !dropped; ++i) Sleep(50);
        if (!dropped) {
            INPUT esc[2]{};
            esc[0].type = esc[1].type = INPUT_KEYBOARD;
            esc[0].ki.wVk = esc[1].ki.wVk = VK_ESCAPE;
            esc[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, esc, sizeof esc[0]);
        }
    });
    IDataObject* data = draggedFiles(files);
    if (!data) return DROPEFFECT_NONE;
    HandSource source;
    DWORD effect = DROPEFFECT_NONE;
    dragging = true;
    const HRESULT result = DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    dropped = true;
    hand.join();
    data->Release();
    settle(200);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

ShellLinkInfo readLink(const std::string& link) {
    ShellLinkInfo info;
    EXPECT_TRUE(SUCCEEDED(cShellLink().Read(link, info))) << link;
    info.iconFile.resize(strnlen(info.iconFile.c_str(), info.iconFile.size()));
    return info;
}

// The colours of a file's first icon, drawn at 32 by 32 over white.
std::vector<COLORREF> iconPixels(const std::string& file) {
    std::vector<COLORREF> pixels;
    HICON icon = nullptr;
    if (ExtractIconExA(file.c_str(), 0, &icon, nullptr, 1) == 0 || !icon) return pixels;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyIcon(icon);
    return pixels;
}

int samePixels(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    if (a.size() != b.size()) return 0;
    int same = 0;
    for (size_t i = 0; i < a.size(); ++i) same += a[i] == b[i];
    return same;
}

int indexOf(const std::vector<std::string>& texts, const std::string& text) {
    const auto at = std::find(texts.begin(), texts.end(), text);
    return at == texts.end() ? 0 : static_cast<int>(at - texts.begin()) + 1;
}

// The sample library, and a desktop shortcut to a tool's icon.
class ShortcutScenario : public LibraryScenario {
protected:
    std::string link = SpecialFolders().GetSpecialFolder(16) + "Vellumar Scenario Tool.lnk";
    std::string tool;

    void prepare() override {
        LibraryScenario::prepare();
        identity.ProductName = "Vellumar";
        paths.WindowsDir = dir.path();
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "ShortcutCache", Variant(std::int32_t(1)), REG_DWORD);
        tool = dir.file("tool.ico");
        vmtest::writeFile(tool, vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 24, 4)}));
        ShellLinkInfo info;
        info.target = tool;
        info.workingFolder = dir.path() + "\\";
        info.arguments = "/quiet";
        info.description = "The scenario's tool";
        cShellLink().Write(link, info);
    }
    void TearDown() override {
        LibraryScenario::TearDown();
        DeleteFileA(link.c_str());
    }
    std::string icons() const { return paths.WindowsDir + "\\Icons\\"; }
    // Lists the desktop shortcuts and clicks the scenario's own.
    int chooseShortcut() {
        clickNode("SysShortDesk");
        const int index = indexOf(itemTexts(w().pnlResult), "Vellumar Scenario Tool");
        if (index) clickItem(w().pnlResult, index);
        return index;
    }
};

} // namespace

TEST_F(ShortcutScenario, AShortcutIconIsChangedAndSetBackToItsTarget) {
    ASSERT_NE(chooseShortcut(), 0);
    chooseMenu({"&File", "C&hange..."});
    FrmChange& c = frmChange();
    ASSERT_TRUE(c.IsLoaded());
    EXPECT_EQ(c.Caption(), "Change Shortcut Icon");
    EXPECT_EQ(std::string(c.picImport.Tag), link);

    typeInto(w().cmbSearch, "bo");
    press(VK_RETURN);
    clickItem(w().pnlResult, 2);
    dragItemOnto(2, c.picIcon);
    EXPECT_EQ(c.status(), "Choose File, Apply to Change");
    clickButton(c.pnlToolbar, "apply");

    const ShellLinkInfo changed = readLink(link);
    ASSERT_EQ(changed.iconFile.substr(0, icons().size()), icons());
    EXPECT_EQ(changed.iconIndex, 0);
    EXPECT_TRUE(exists(changed.iconFile));
    // Every other field of the shortcut stays.
    EXPECT_EQ(changed.target, tool);
    EXPECT_EQ(changed.workingFolder, dir.path() + "\\");
    EXPECT_EQ(changed.arguments, "/quiet");
    EXPECT_EQ(changed.description, "The scenario's tool");
    const std::vector<COLORREF> original = iconPixels(tool);
    ASSERT_EQ(original.size(), 1024u);
    EXPECT_LT(samePixels(iconPixels(changed.iconFile), original), 900);

    // Windows Default draws the target's icon; Apply makes it the shortcut's again.
    clickButton(c.pnlToolbar, "default");
    EXPECT_EQ(c.status(), "Choose File, Apply to Change");
    clickButton(c.pnlToolbar, "apply");
    const ShellLinkInfo restored = readLink(link);
    ASSERT_EQ(restored.iconFile.substr(0, icons().size()), icons());
    EXPECT_NE(lstrcmpiA(restored.iconFile.c_str(), changed.iconFile.c_str()), 0);
    EXPECT_FALSE(exists(changed.iconFile));
    EXPECT_TRUE(exists(restored.iconFile));
    EXPECT_GE(samePixels(iconPixels(restored.iconFile), original), 1000);
    EXPECT_EQ(restored.target, tool);
    EXPECT_EQ(restored.arguments, "/quiet");
}

TEST_F(ShortcutScenario, FilesDroppedOnAShortcutGetItsIcon) {
    const int index = chooseShortcut();
    ASSERT_NE(index, 0);
    // Two shortcuts, a broken one between them, and a plain file.
    const std::string first = dir.file("first.lnk"), broken = dir.file("broken.lnk"), second = dir.file("second.lnk");
    const std::string notes = dir.file("notes.txt"), made = dir.file("notes shortcut");
    ShellLinkInfo one;
    one.target = dir.file("first.exe");
    one.iconFile = tool;
    one.iconIndex = 3;
    one.description = "first";
    cShellLink().Write(first, one);
    ShellLinkInfo two;
    two.target = dir.file("second.exe");
    two.arguments = "-x";
    cShellLink().Write(second, two);
    vmtest::writeFile(broken, "not a shortcut at all");
    vmtest::writeFile(notes, "notes");
    clickItem(w().pnlResult, index == 1 && w().pnlResult.ListItems.Count() > 1 ? 2 : 1);

    // The plain file gets a shortcut of its own, under the name asked for; the broken shortcut is named.
    Answer name("Create Shortcut", fileNamed(made));
    Answer told("Change Shortcut", {clickOn("OK")});
    const DWORD effect = dragFilesOnto({first, broken, notes, second}, index);
    EXPECT_TRUE(name.seen().shows("notes.txt"));
    EXPECT_NE(told.seen().find("The shortcut " + broken + " could not be read. Its icon was not changed.", true),
              nullptr);
    EXPECT_NE(effect, DWORD(DROPEFFECT_NONE));
    // The item under the drop is the chosen one.
    EXPECT_EQ(selectedItem(w().pnlResult), index);

    const ShellLinkInfo a = readLink(first);
    const ShellLinkInfo b = readLink(second);
    const ShellLinkInfo n = readLink(made + ".lnk");
    for (const ShellLinkInfo* info : {&a, &b, &n}) {
        EXPECT_EQ(info->iconFile.substr(0, icons().size()), icons());
        EXPECT_EQ(info->iconIndex, 0);
        EXPECT_TRUE(exists(info->iconFile)) << info->iconFile;
    }
    EXPECT_NE(a.iconFile, b.iconFile);
    EXPECT_NE(a.iconFile, n.iconFile);
    EXPECT_NE(b.iconFile, n.iconFile);
    // The shortcuts keep their fields; the icon of another folder stays.
    EXPECT_EQ(a.target, dir.file("first.exe"));
    EXPECT_EQ(a.description, "first");
    EXPECT_EQ(b.arguments, "-x");
    EXPECT_TRUE(exists(tool));
    EXPECT_EQ(n.target, notes);
    EXPECT_EQ(n.workingFolder, dir.path() + "\\");
    // The listed shortcut's icon went into the files.
    EXPECT_GE(samePixels(iconPixels(a.iconFile), iconPixels(tool)), 1000);
    // The broken one is skipped and named; no icon file was left for it.
    EXPECT_EQ(vmtest::readFile(broken), "not a shortcut at all");
    WIN32_FIND_DATAA found{};
    int count = 0;
    HANDLE find = FindFirstFileA((icons() + "*.ico").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do ++count;
        while (FindNextFileA(find, &found));
        FindClose(find);
    }
    EXPECT_EQ(count, 3);
}
