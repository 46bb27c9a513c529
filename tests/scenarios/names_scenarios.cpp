// Names in any language: a favourites folder, a scanned folder, an opened icon file and ZIP
// member, a keyword and a reference, a path on the command line and one handed over by a
// second start, all named in letters outside the ANSI code page. Each name is read back
// exactly from the windows, the registry and the files.
#include "scenario.h"

#include <commctrl.h>

#include "browserstate.h"
#include "dialogforms.h"
#include "ico_fixtures.h"
#include "instance.h"
#include "libfixtures.h"
#include "registry.h"
#include "state.h"
#include "utf8text.h"
#include "zipwriter.h"

using namespace vm;
using namespace vmscenario;

namespace {

using Texts = std::vector<std::string>;
namespace ico = vmtest::ico;

const std::string kName = "Ünïcødé 图标";

std::string iconFile(unsigned seed) { return ico::icoFile({ico::dib(16, 16, 4, seed), ico::dib(32, 32, 4, seed)}); }

// The text a tree node shows, read from the tree view itself.
std::string shownText(const std::string& key) {
    Node& node = frmMain().pnlNav.Nodes(key);
    wchar_t text[512] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node.handle();
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(frmMain().pnlNav.hWnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return Utf8Text(text);
}

// A folder named in any language with an icon named the same, over the sample library.
class NamesScenario : public LibraryScenario {
protected:
    void prepare() override {
        LibraryScenario::prepare();
        identity.ProductName = "Vellumar";
        CreateDirectoryA(folder().c_str(), nullptr);
        CreateDirectoryA((folder() + "\\图标").c_str(), nullptr);
        ASSERT_TRUE(vmtest::writeFile(folder() + "\\" + kName + ".ico", iconFile(1)));
        ASSERT_TRUE(vmtest::writeFile(folder() + "\\图标\\图标.ico", iconFile(2)));
        vmtest::ZipFixtureMember member{kName + "/图标.ico", iconFile(3)};
        member.utf8Name = true;
        ASSERT_TRUE(vmtest::writeFile(folder() + "\\" + kName + ".zip", vmtest::makeZipArchive({member})));
    }
    void TearDown() override {
        LibraryScenario::TearDown();
    }
    std::string folder() const { return dir.file(kName); }
    void waitForItems(int count) {
        for (int i = 0; i < 200 && w().pnlResult.ListItems.Count() != count; ++i) settle(50);
    }
};

} // namespace

TEST_F(NamesScenario, AFavouritesFolderPickedInTheOptionsKeepsItsNameInTheRegistryTheTreeAndTheList) {
    {
        Answer shown("Options", {onProgram([this] {
            FrmOptions& o = frmOptions();
            clickTab(o.tbsOptions, 4);
            // The picker starts in the folder typed into the box; the hand picks one in it.
            click(o.txtFavHomeDir);
            press(VK_HOME);
            press(VK_END, vbShiftMask);
            typeText(dir.path());
            {
                Answer pick("Browse for Folder", folderChosen(folder()));
                click(o.cmdBrowse);
            }
            EXPECT_EQ(o.txtFavHomeDir.Text(), folder());
            click(o.cmdOK);
        })});
        chooseMenu({"&View", "&Options..."});
    }
    EXPECT_EQ(stored("FavDir"), folder());
    ASSERT_TRUE(w().pnlNav.Nodes.exists("favori图标"));
    EXPECT_EQ(shownText("favori图标"), "图标");

    clickNode("favori图标");
    EXPECT_EQ(itemTexts(w().pnlResult), Texts{"图标"});
    clickNode("favori");
    EXPECT_EQ(itemTexts(w().pnlResult), Texts{kName});
    clickItem(w().pnlResult, 1);
    EXPECT_EQ(w().grdIcons.ItemCount(), 2);
}

TEST_F(NamesScenario, AScannedFolderAKeywordAndAReferenceKeepTheirNamesInTheListsAndFiles) {
    {
        Answer shown("Edit Keywords", {onProgram([] {
            FrmKey& k = frmKey();
            click(k.txtKey);
            typeText(kName);
            EXPECT_EQ(k.txtKey.Text(), kName);
            click(k.cmdAdd);
            EXPECT_EQ(k.lstKey.Text(), kName);
            click(k.cmdCancel);
        })});
        chooseMenu({"&References", "&Edit Custom Keywords..."});
    }
    EXPECT_GE(FindExact(w().cmbSearch, kName), 0);

    {
        Answer shown("Open by Folder", {onProgram([this] {
            FrmScan& s = frmScan();
            click(s.txtDir);
            typeText(folder());
            EXPECT_EQ(s.txtDir.Text(), folder());
            click(s.cmdStart);
        })});
        chooseMenu({"&File", "Open by &Folder..."});
    }
    EXPECT_EQ(panelText("count"), "2 Icon(s)");
    EXPECT_EQ(stored("ScanDirectory"), folder());
    const int own = lastItemWith(w().pnlResult, 0, kName);
    ASSERT_GT(own, 0);
    EXPECT_EQ(w().pnlResult.ListItems(own).Text(), kName + ".ico");
    clickItem(w().pnlResult, own);
    EXPECT_EQ(w().grdIcons.ItemCount(), 2);

    {
        Answer shown("Add Reference", {onProgram([] {
            FrmAdd& a = frmAdd();
            dropDown(a.cmbSearch);
            clickListEntry(a.cmbSearch, kName);
            EXPECT_EQ(a.cmbSearch.Text(), kName);
            click(a.cmdAdd);
        })});
        chooseMenu({"&References", "&Add..."});
    }
    ASSERT_GT(UserRefs.lstUser.ListCount(), 0);
    EXPECT_EQ(UserRefs.lstUser.List(UserRefs.lstUser.ListCount() - 1), kName);

    // Typed in other capitals, the keyword lists the icon it refers to, shown by its keyword.
    typeInto(w().cmbSearch, "ÜNÏCØDÉ 图标");
    press(VK_RETURN);
    EXPECT_EQ(panelText("count"), "1 Icon(s)");
    EXPECT_EQ(itemTexts(w().pnlResult), Texts{kName});
    clickItem(w().pnlResult, 1);
    EXPECT_EQ(w().grdIcons.ItemCount(), 2);

    // Switching the data set writes both files in UTF-8, every name whole.
    click(w().cmbMode);
    press(VK_UP);
    press(VK_RETURN);
    settle(200);
    const std::string keywords = vmtest::readFile(dir.file("Keyuser-32.dat"));
    EXPECT_NE(keywords.find("\r\n" + kName + "\r\n"), std::string::npos) << keywords;
    const std::string references = vmtest::readFile(dir.file("Iconuser-32.dat"));
    EXPECT_NE(references.find(kName + ";" + folder() + "\\" + kName + ".ico;"), std::string::npos) << references;
}

TEST_F(NamesScenario, AnOpenedIconFileAndZipMemberListShowAndKeepTheirNames) {
    {
        Answer open("Open by File", filesNamed(folder(), {kName + ".ico", kName + ".zip"}));
        chooseMenu({"&File", "&Open by File..."});
    }
    const std::string zip = folder() + "\\" + kName + ".zip";
    EXPECT_EQ(itemTexts(w().pnlResult), (Texts{kName + ".ico", "图标.ico in " + zip}));
    EXPECT_EQ(w().pnlResult.ListItems(1).Tag.rfind(folder() + "\\" + kName + ".ico;", 0), 0u);
    for (int item : {1, 2}) {
        clickItem(w().pnlResult, item);
        EXPECT_EQ(panelText("type"), "16 Color Icon");
        EXPECT_EQ(w().grdIcons.ItemCount(), 2) << item;
    }
}

TEST_F(NamesScenario, ASecondStartHandsOverAFolderNamedInAnyLanguage) {
    ASSERT_TRUE(shell::procIsFirstInstance(shell::kMutexName));
    startProgramAgain(folder() + "\\图标");
    waitForItems(1);
    EXPECT_EQ(itemTexts(w().pnlResult), Texts{"图标.ico"});
    EXPECT_EQ(w().pnlResult.ListItems(1).Tag.rfind(folder() + "\\图标\\图标.ico;", 0), 0u);
    shell::procReleaseInstanceMutex();
}

namespace {

// The texts of a list view of another process, asked through memory lent in that process.
Texts listTextsOf(HANDLE process, HWND list) {
    Texts texts;
    constexpr size_t kChars = 512;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT,
                                  PAGE_READWRITE);
    if (!remote) return texts;
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.pszText = remoteText;
        item.cchTextMax = kChars;
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
        wchar_t text[kChars] = {};
        ReadProcessMemory(process, remoteText, text, sizeof text - sizeof(wchar_t), nullptr);
        texts.push_back(Utf8Text(text));
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return texts;
}

struct Shown {
    DWORD process = 0;
    HWND window = nullptr;
};

// The program's main window of that process, once it shows.
HWND mainWindowOf(DWORD process) {
    Shown shown{process};
    EnumWindows(
        [](HWND window, LPARAM self) -> BOOL {
            auto* s = reinterpret_cast<Shown*>(self);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->process || !GetPropA(window, shell::kWindowProperty) || !IsWindowVisible(window)) return TRUE;
            s->window = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown.window;
}

// The texts of every list view of the window.
Texts shownListTexts(HANDLE process, HWND window) {
    std::vector<HWND> lists;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM found) -> BOOL {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (std::string(name) == WC_LISTVIEWA) reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&lists));
    Texts texts;
    for (HWND list : lists)
        for (std::string& text : listTextsOf(process, list)) texts.push_back(std::move(text));
    return texts;
}

} // namespace

// The program itself, started from a folder named in any language with such a folder on its
// command line: its window lists the icon by its whole name.
TEST(NamesOnTheCommandLine, TheProgramStartedWithAPathInAnyLanguageListsItsIcons) {
    vmtest::ScratchDir dir;
    const std::string program = dir.file(kName + " program");
    const std::string icons = dir.file(kName);
    CreateDirectoryA(program.c_str(), nullptr);
    CreateDirectoryA(icons.c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(icons + "\\" + kName + ".ico", iconFile(4)));
    for (const char* file : {"Vellumar.exe", "Orvex32.dll", "Zandrel32.dll", "Quenplex.dll"})
        ASSERT_TRUE(CopyFileA((programFolder() + file).c_str(), (program + "\\" + file).c_str(), FALSE)) << file;
    vmtest::writeSampleLibrary(program);
    // No tip and no notice of a missing library stand in front of the window.
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "Tip", Variant(std::string("0")), REG_SZ);
    procRegSetValue(kSettingsKey, "VellumarLight", Variant(std::string("1")), REG_SZ);

    std::string command = "\"" + program + "\\Vellumar.exe\" \"" + icons + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    Texts shown;
    for (int i = 0; i < 300 && shown != Texts{kName + ".ico"}; ++i) {
        Sleep(50);
        if (HWND window = mainWindowOf(pi.dwProcessId)) shown = shownListTexts(pi.hProcess, window);
    }
    EXPECT_EQ(shown, Texts{kName + ".ico"});
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
}
