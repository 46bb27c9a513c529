// The dialogs opened from their menus and driven with real input: options,
// the information window, the keyword editor, the scan and Add Reference.
#include "scenario.h"

#include "browserstate.h"
#include "cshelllink.h"
#include "dialogforms.h"
#include "iclfile.h"
#include "inputlimits.h"
#include "libfixtures.h"
#include "ico_fixtures.h"
#include "zipwriter.h"
#include "regexport.h"
#include "registry.h"
#include "registrybackup.h"
#include "seam.h"
#include "shellintegration.h"
#include "startfolders.h"
#include "state.h"

#include <algorithm>
#include <set>

using namespace vm;
using namespace vmscenario;

namespace {

using Texts = std::vector<std::string>;

// The number of colours shown on the screen in a rectangle: 1 when it is empty.
size_t coloursShown(const RECT& r) {
    HDC screen = GetDC(nullptr);
    std::set<COLORREF> colours;
    for (int y = r.top; y < r.bottom; y += 2)
        for (int x = r.left; x < r.right; x += 2) colours.insert(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return colours.size();
}
size_t coloursShown(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return coloursShown(r);
}

// Whether the File menu of the main window is greyed: the window is busy.
bool mainWindowBusy() {
    return (GetMenuState(GetMenu(frmMain().hWnd()), 0, MF_BYPOSITION) & MF_GRAYED) != 0;
}

// The toolbar buttons that show enabled, by their place from 1.
std::vector<int> enabledButtons(HWND bar) {
    std::vector<int> enabled;
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        if (!(b.fsStyle & BTNS_SEP) && !(b.fsState & TBSTATE_HIDDEN) && (b.fsState & TBSTATE_ENABLED))
            enabled.push_back(i + 1);
    }
    return enabled;
}

class DialogScenario : public LibraryScenario {
protected:
    void SetUp() override {
        LibraryScenario::SetUp();
    }
    void TearDown() override {
        for (Form* f : std::initializer_list<Form*>{&frmOptions(), &frmInfo(), &frmScan()})
            if (f->IsLoaded()) f->Unload();
        LibraryScenario::TearDown();
    }
};

// Opens View > Options; the hands work in the window and close it.
void inOptions(const std::function<void(FrmOptions&)>& hands) {
    Answer shown("Options", {onProgram([&hands] { hands(frmOptions()); })});
    chooseMenu({"&View", "&Options..."});
}

} // namespace

TEST_F(DialogScenario, OptionsSetTheDoubleClickActionWithTheMouseAndApplyAndCloseStoreIt) {
    inOptions([](FrmOptions& o) {
        clickTab(o.tbsOptions, 3);
        EXPECT_TRUE(o.picOptions(3).Visible());
        EXPECT_FALSE(o.picOptions(1).Visible());
        click(o.optCopy);
        EXPECT_EQ(DoubleClick.DCAction, "Copy");
        click(o.chkPlay);
        click(o.cmdApply);
        EXPECT_EQ(stored("DCAction"), "Copy");
        click(o.optProp);
        click(o.cmdOK);
    });
    EXPECT_FALSE(frmOptions().IsLoaded());
    EXPECT_EQ(stored("DCAction"), "Prop");
    EXPECT_EQ(stored("DCPlay"), "1");
    EXPECT_TRUE(DoubleClick.DCPlay);
}

TEST_F(DialogScenario, EscCancelsTheOptionsAndTheActionChosenIsGivenBack) {
    const std::string before = DoubleClick.DCAction;
    inOptions([](FrmOptions& o) {
        clickTab(o.tbsOptions, 3);
        click(o.optSave);
        EXPECT_EQ(DoubleClick.DCAction, "Save");
        press(VK_ESCAPE);
    });
    EXPECT_FALSE(frmOptions().IsLoaded());
    EXPECT_EQ(DoubleClick.DCAction, before);
    EXPECT_EQ(stored("DCAction"), "<missing>");
}

TEST_F(DialogScenario, APageSizeChosenWithTheKeyboardPagesTheListAgain) {
    typeInto(w().cmbSearch, "bo");
    press(VK_RETURN);
    EXPECT_EQ(panelText("area"), "Page 1 of 2");
    inOptions([](FrmOptions& o) {
        click(o.cmbIconsPerPage);
        press(VK_HOME); // the smallest size
        press(VK_RETURN);
        EXPECT_EQ(o.cmbIconsPerPage.Text(), "10");
        click(o.cmdOK);
    });
    EXPECT_EQ(Paging.IconsPerPage, 10);
    EXPECT_EQ(panelText("area"), "Page 1 of 1");
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 5u);
}

TEST_F(DialogScenario, AboutShowsTheInstalledLibraryOnItsTabAndCloses) {
    {
        Answer shown("About Vellumar", {onProgram([] {
            FrmInfo& i = frmInfo();
            // The logo and the Contact page's picture show the program's icon.
            EXPECT_GT(coloursShown(i.picLogo.hWnd()), 2u);
            clickTab(i.tabStrip, 4);
            RECT page{}, first{};
            GetWindowRect(i.fraInfo(4).hWnd(), &page);
            GetWindowRect(i.lblUpdates.hWnd(), &first);
            EXPECT_GT(coloursShown(RECT{page.left + 8, page.top + 20, page.right - 8, first.top - 4}), 4u);
            clickTab(i.tabStrip, 3);
            EXPECT_TRUE(i.fraInfo(3).Visible());
            EXPECT_FALSE(i.fraInfo(1).Visible());
            EXPECT_GT(i.txtPellandry.ListCount(), 0);
            // F1 on a tab asks for that tab's page, as the Help button does.
            const std::size_t asked = Seam::get().requests().size();
            press(VK_F1);
            ASSERT_EQ(Seam::get().requests().size(), asked + 1);
            EXPECT_EQ(Seam::get().requests().back().kind, "HtmlHelp");
            EXPECT_EQ(Seam::get().requests().back().style, 2);
            click(i.cmdHelp);
            click(i.cmdOK);
        })});
        chooseMenu({"&Help", "&About Vellumar..."});
    }
    EXPECT_FALSE(frmInfo().IsLoaded());
    const auto& asked = Seam::get().requests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().kind, "HtmlHelp");
    EXPECT_EQ(asked.back().style, 2);
}

TEST_F(DialogScenario, AKeywordTypedInTheEditorJoinsTheKeywordBoxes) {
    {
        Answer shown("Edit Keywords", {onProgram([] {
            FrmKey& k = frmKey();
            click(k.txtKey);
            typeText("Zeppelin");
            EXPECT_TRUE(k.cmdAdd.Enabled());
            click(k.cmdAdd);
            EXPECT_EQ(k.lstKey.Text(), "Zeppelin");
            // The keyboard still works in the window: the next keyword can be typed, Esc closes.
            EXPECT_EQ(focusedWindow(), k.txtKey.hWnd());
            press(VK_ESCAPE);
        })});
        chooseMenu({"&References", "&Edit Custom Keywords..."});
    }
    EXPECT_TRUE(frmKey().IsLoaded());
    EXPECT_FALSE(frmKey().Visible());
    EXPECT_GE(FindExact(w().cmbSearch, "Zeppelin"), 0);
    EXPECT_GE(FindExact(frmAdd().cmbSearch, "Zeppelin"), 0);
    // On disk at once: a program that ends any way keeps it.
    EXPECT_EQ(vmtest::readFile(dir.file("Keyuser-32.dat")), "Bicycle\r\nmine\r\nZeppelin\r\n");
    EXPECT_FALSE(Keywords.KeywordsChanged);
}

// Limits count characters, not bytes: a Greek keyword of the full length is taken whole.
TEST_F(DialogScenario, AKeywordLongerThanAKeywordCanBeIsCutAndSaidSo) {
    auto repeated = [](const std::string& letter, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) text += letter;
        return text;
    };
    const std::string longest = repeated("λ", kMaxKeywordLength);
    {
        Answer shown("Edit Keywords", {onProgram([&] {
            FrmKey& k = frmKey();
            click(k.txtKey);
            setClipboardText(repeated("λ", 10000));
            press('V', vbCtrlMask);
            EXPECT_EQ(k.txtKey.Text(), longest);
            click(k.cmdAdd);
            EXPECT_EQ(k.lstKey.Text(), longest);
            click(k.cmdCancel);
        })});
        Answer cut("Edit Keywords", {clickOn("OK")});
        chooseMenu({"&References", "&Edit Custom Keywords..."});
        EXPECT_TRUE(cut.seen().shows(InputLimitText("A keyword", kMaxKeywordLength)));
    }
    EXPECT_NE(vmtest::readFile(dir.file("Keyuser-32.dat")).find(longest + "\r\n"), std::string::npos);
    // The keyword box of the main window takes no more either.
    Answer more(w().Caption(), {clickOn("OK")});
    click(w().cmbSearch);
    setClipboardText(repeated("ж", 300));
    press('V', vbCtrlMask);
    EXPECT_TRUE(more.seen().shows(InputLimitText("A keyword", kMaxKeywordLength)));
    EXPECT_EQ(editText(w().cmbSearch), repeated("ж", kMaxKeywordLength));
}

TEST_F(DialogScenario, AFolderTypedIntoTheScanIsListedAndAnIconOfItReferenced) {
    namespace ico = vmtest::ico;
    const std::string tree = dir.file("scan");
    CreateDirectoryA(tree.c_str(), nullptr);
    CreateDirectoryA((tree + "\\sub").c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(tree + "\\a.ico", ico::icoFile({ico::dib(32, 32, 8)})));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\sub\\b.ico", ico::icoFile({ico::dib(32, 32, 4)})));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\notes.txt", "x"));
    {
        Answer shown("Open by Folder", {onProgram([tree] {
            FrmScan& s = frmScan();
            EXPECT_FALSE(s.cmdStart.Enabled());
            click(s.txtDir);
            typeText(tree);
            click(s.cmdStart);
        })});
        chooseMenu({"&File", "Open by &Folder..."});
    }
    EXPECT_EQ(panelText("count"), "2 Icon(s)");
    EXPECT_EQ(itemTexts(w().pnlResult).size(), 2u);
    EXPECT_EQ(stored("ScanDirectory"), tree);
    EXPECT_FALSE(Busy.AbortRequested);

    clickItem(w().pnlResult, 1);
    const int before = UserRefs.lstUser.ListCount();
    {
        Answer shown("Add Reference", {onProgram([] {
            FrmAdd& a = frmAdd();
            EXPECT_TRUE(a.optType(1).Value()); // the 256 colour icon's type, chosen by the selection
            dropDown(a.cmbSearch);
            clickListEntry(a.cmbSearch, "boat");
            EXPECT_EQ(a.cmbSearch.Text(), "boat");
            EXPECT_TRUE(a.cmdAdd.Enabled());
            click(a.cmdAdd);
        })});
        EXPECT_TRUE(w().mnuRefAdd.Enabled());
        chooseMenu({"&References", "&Add..."});
        EXPECT_TRUE(shown.answered());
    }
    ASSERT_EQ(UserRefs.lstUser.ListCount(), before + 1);
    EXPECT_EQ(UserRefs.lstUser.List(before), "boat");
    EXPECT_EQ(UserRefs.cmbUser.List(before).substr(UserRefs.cmbUser.List(before).size() - 5), "1user");
    EXPECT_FALSE(frmAdd().Visible());
}

TEST_F(DialogScenario, TheTipOfTheDayStepsOnAndRemembersTheNextTipAndTheBox) {
    chooseMenu({"&Help", "&Tip of the Day..."});
    FrmTip& t = frmTip();
    ASSERT_TRUE(t.IsLoaded());
    EXPECT_TRUE(t.Visible());
    EXPECT_EQ(t.txtTitle.Caption(), "Tip 1 of 29. Change Icons");
    click(t.cmdNextTip);
    EXPECT_EQ(t.txtTitle.Caption(), "Tip 2 of 29. Change Icons");
    click(t.chkTip);
    click(t.cmdOK);
    EXPECT_FALSE(t.IsLoaded());
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "TipNr");
    EXPECT_EQ(reg.RegValue.toLong().value_or(0), 3);
    EXPECT_EQ(stored("Tip"), "0");
}

TEST_F(DialogScenario, EscClosesTheTipOfTheDayAsItsCloseButtonDoes) {
    chooseMenu({"&Help", "&Tip of the Day..."});
    FrmTip& t = frmTip();
    ASSERT_TRUE(t.IsLoaded());
    click(t.cmdNextTip);
    press(VK_ESCAPE);
    EXPECT_FALSE(t.IsLoaded());
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "TipNr");
    EXPECT_EQ(reg.RegValue.toLong().value_or(0), 3);
}

TEST_F(DialogScenario, EveryAssociationTickedAndUntickedLeavesTheRegistryExactlyAsItWas) {
    // As Windows sets them up: icon files with flags and their own icon, DLLs with an expandable icon path.
    static const char* const kKeys[] = {".ico", "icofile", ".dll", "dllfile", ".ani",
                                        "anifile", ".cur", "curfile", ".icl", "iclfile"};
    for (const char* key : kKeys) RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    const char iconPath[] = "%SystemRoot%\\system32\\shell32.dll,-154";
    const DWORD flags = 0x10000;
    WriteRawValue(HKEY_CLASSES_ROOT, ".ico", "", {true, REG_SZ, {'i', 'c', 'o', 'f', 'i', 'l', 'e', 0}});
    const auto* flagBytes = reinterpret_cast<const BYTE*>(&flags);
    WriteRawValue(HKEY_CLASSES_ROOT, "icofile", "EditFlags",
                  {true, REG_DWORD, std::vector<BYTE>(flagBytes, flagBytes + sizeof flags)});
    WriteRawValue(HKEY_CLASSES_ROOT, "icofile\\DefaultIcon", "", {true, REG_SZ, {'%', '1', 0}});
    WriteRawValue(HKEY_CLASSES_ROOT, ".dll", "", {true, REG_SZ, {'d', 'l', 'l', 'f', 'i', 'l', 'e', 0}});
    WriteRawValue(HKEY_CLASSES_ROOT, "dllfile\\DefaultIcon", "",
                  {true, REG_EXPAND_SZ, std::vector<BYTE>(iconPath, iconPath + sizeof iconPath)});
    auto exported = [] {
        std::vector<std::string> all;
        for (const char* key : kKeys) all.push_back(vmtest::regExport(std::string("HKEY_CLASSES_ROOT\\") + key));
        return all;
    };
    const std::vector<std::string> before = exported();
    auto tickAll = [] {
        inOptions([](FrmOptions& o) {
            clickTab(o.tbsOptions, 2);
            for (CheckBox* box : {&o.chkAsoANI, &o.chkAsoCUR, &o.chkAsoDLL, &o.chkAsoICL, &o.chkAsoICO}) click(*box);
            click(o.cmdApply);
            click(o.cmdOK);
        });
    };
    tickAll();
    procRegGetValue(HKEY_CLASSES_ROOT, "icofile\\Shell\\Vellumar\\command", "");
    EXPECT_EQ(reg.RegValue.toText(), "\"" + paths.DataPath + "Vellumar.exe\" \"%1\"");
    EXPECT_EQ(stored("AsoICO"), "1");

    tickAll(); // unticks them
    EXPECT_EQ(stored("AsoICO"), "0");
    EXPECT_EQ(exported(), before);
}

TEST_F(DialogScenario, SendToAndTheDesktopGetAShortcutToTheProgram) {
    const std::string sendTo = folders.SendToFolder + "Vellumar.lnk";
    const std::string desktop = folders.DesktopFolder + "Vellumar.lnk";
    DeleteFileA(sendTo.c_str());
    DeleteFileA(desktop.c_str());
    inOptions([](FrmOptions& o) {
        clickTab(o.tbsOptions, 2);
        EXPECT_EQ(o.chkSendTo.Value(), vbUnchecked);
        click(o.chkSendTo);
        click(o.cmdDesktop);
        click(o.cmdOK);
    });
    for (const std::string& link : {sendTo, desktop}) {
        cShellLink reader;
        ShellLinkInfo info;
        ASSERT_EQ(reader.Read(link, info), S_OK) << link;
        EXPECT_EQ(info.target, paths.DataPath + "Vellumar.exe");
    }

    inOptions([](FrmOptions& o) {
        clickTab(o.tbsOptions, 2);
        EXPECT_EQ(o.chkSendTo.Value(), vbChecked);
        click(o.chkSendTo);
        click(o.cmdOK);
    });
    EXPECT_EQ(GetFileAttributesA(sendTo.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(desktop.c_str());
}

TEST_F(DialogScenario, ApplyStoresWhatWasChangedAtOnceAndLeavesWhatWasNotTouched) {
    const std::string sendTo = folders.SendToFolder + "Vellumar.lnk", types = vmtest::regExport("HKEY_CLASSES_ROOT\\.ico");
    DeleteFileA(sendTo.c_str());
    inOptions([&](FrmOptions& o) {
        const bool hot = o.chkHoverSelection.Value() == vbChecked;
        click(o.chkHoverSelection);
        click(o.cmbIconsPerPage);
        press(VK_HOME);
        press(VK_RETURN);
        // A shortcut of the program appears in Send To while the window is open.
        ASSERT_TRUE(WriteShellShortcut(sendTo, paths.DataPath + "Vellumar.exe", paths.DataPath));
        click(o.cmdApply);
        EXPECT_EQ(stored("HotTracking"), hot ? "False" : "True"); // now, not at the program's end
        EXPECT_EQ(stored(("IconsPerPage" + std::to_string(Keywords.IconSize)).c_str()), "10");
        press(VK_ESCAPE);
    });
    EXPECT_NE(GetFileAttributesA(sendTo.c_str()), INVALID_FILE_ATTRIBUTES) << "a box not touched took it away";
    EXPECT_EQ(vmtest::regExport("HKEY_CLASSES_ROOT\\.ico"), types);
    DeleteFileA(sendTo.c_str());
}

TEST_F(DialogScenario, AScanOfEveryKindOfFileFindsTheIconsInsideAZipWhenAskedTo) {
    namespace ico = vmtest::ico;
    const std::string tree = dir.file("kinds");
    CreateDirectoryA(tree.c_str(), nullptr);
    const std::string icon = ico::icoFile({ico::dib(32, 32, 8)});
    ASSERT_TRUE(vmtest::writeFile(tree + "\\a.ico", icon));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\b.cur", ico::icoFile({ico::dib(32, 32, 4)}, 2)));
    ASSERT_TRUE(ico::makeIconModule(tree + "\\c.dll", {{100, "", {ico::dib(32, 32, 8)}}}));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\d.zip", vmtest::makeZipArchive({{"inside.ico", icon}})));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\e.txt", "x"));
    ASSERT_TRUE(vmtest::writeFile(tree + "\\f.icl", vmtest::icl::iclFile({{1, "", {ico::dib(32, 32, 4)}},
                                                                         {2, "", {ico::dib(16, 16, 4)}}})));
    {
        Answer shown("Open by Folder", {onProgram([tree] {
            FrmScan& s = frmScan();
            click(s.txtDir);
            typeText(tree);
            click(s.cmdStart);
        })});
        chooseMenu({"&File", "Open by &Folder..."});
    }
    EXPECT_EQ(panelText("count"), "5 Icon(s)"); // every icon of the library; the archive stays shut

    {
        Answer shown("Open by Folder", {onProgram([] {
            FrmScan& s = frmScan();
            click(s.chkScanZIP);
            click(s.chkALL); // the filter: icons only
            click(s.chkCUR);
            click(s.chkDLL);
            click(s.chkEXE);
            click(s.chkICL);
            click(s.chkANI);
            EXPECT_EQ(s.chkICO.Value(), vbChecked);
            click(s.cmdStart);
        })});
        chooseMenu({"&File", "Open by &Folder..."});
    }
    EXPECT_EQ(panelText("count"), "2 Icon(s)"); // a.ico and the archive's inside.ico
    EXPECT_EQ(Entries.lstZipIcons.ListCount(), 1);
    EXPECT_EQ(stored("ScanZIP"), "1");
    EXPECT_EQ(stored("ScanCUR"), "0");
}

TEST_F(DialogScenario, DeletingAReferenceSelectsTheNextItemAndTheWindowShowsIt) {
    typeInto(w().cmbSearch, "mine");
    press(VK_RETURN);
    const size_t listed = itemTexts(w().pnlResult).size();
    const int reference = lastItemWith(w().pnlResult, 2, "Reference");
    ASSERT_GT(reference, 1);
    clickItem(w().pnlResult, reference - 1);
    clickItem(w().pnlResult, reference);
    chooseMenu({"&References", "&Delete"});
    ASSERT_EQ(itemTexts(w().pnlResult).size(), listed - 1);
    // The item now in its place (or the last) is selected, and what the window shows is its own.
    const int now = std::min(reference, static_cast<int>(listed) - 1);
    ASSERT_EQ(selectedItem(w().pnlResult), now);
    EXPECT_EQ(panelText("type"), itemTexts(w().pnlResult, 1)[static_cast<size_t>(now - 1)]);
    EXPECT_EQ(w().pnlResult.Tag, itemTexts(w().pnlResult)[static_cast<size_t>(now - 1)]);
    EXPECT_EQ(panelText("count"), std::to_string(listed - 1) + " icon(s)");
    EXPECT_EQ(w().mnuRefDelete.Enabled(), itemTexts(w().pnlResult, 2)[static_cast<size_t>(now - 1)] == "Reference");
}

// A scan of a tree of icon files, stopped with the Stop button while it walks the
// folders and with Esc once it has listed a hundred of them: meanwhile only Stop is live in
// the toolbars and menus, and once it stops all is live again as before it.
TEST_F(DialogScenario, EscStopsAScanOfALargeFolderWhichLeavesTheMainWindowWithTheFocus) {
    const std::string tree = dir.file("large");
    CreateDirectoryA(tree.c_str(), nullptr);
    const std::string icon = vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 8)});
    for (int d = 0; d < 10; ++d) {
        const std::string sub = tree + "\\d" + std::to_string(d);
        CreateDirectoryA(sub.c_str(), nullptr);
        for (int f = 0; f < 100; ++f) ASSERT_TRUE(vmtest::writeFile(sub + "\\f" + std::to_string(f) + ".ico", icon));
    }
    typeInto(w().cmbSearch, "boat");
    press(VK_RETURN);
    const Texts before = itemTexts(w().pnlResult);
    const int abort = w().pnlToolbar.Buttons("abort").Index();
    const HWND standard = w().pnlToolbar.hWnd(), your = w().pnlToolbarYour.hWnd();
    const HMENU bar = GetMenu(w().hWnd());
    RECT stop{};
    SendMessageA(standard, TB_GETITEMRECT, static_cast<WPARAM>(abort - 1), reinterpret_cast<LPARAM>(&stop));
    POINT at{(stop.left + stop.right) / 2, (stop.top + stop.bottom) / 2};
    ClientToScreen(standard, &at);
    const std::vector<INPUT> clickStop{mouseInput(at, MOUSEEVENTF_LEFTDOWN), mouseInput(at, MOUSEEVENTF_LEFTUP)};

    // What shows live: the buttons of each toolbar by their places (only those live
    // before the scan when asked), and how many menus of the bar.
    const std::vector<int> idleStandard = enabledButtons(standard), idleYour = enabledButtons(your);
    auto live = [&](bool onlyIdle) {
        std::string shown;
        for (auto [toolbar, idle] : {std::pair{standard, &idleStandard}, std::pair{your, &idleYour}}) {
            for (int button : enabledButtons(toolbar))
                if (!onlyIdle || std::ranges::count(*idle, button)) shown += std::to_string(button) + " ";
            shown += "| ";
        }
        int menus = 0;
        for (int i = 0; i < GetMenuItemCount(bar); ++i)
            menus += !(GetMenuState(bar, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED);
        return shown + std::to_string(menus) + " menus";
    };
    // All back: what was live before, and the item commands the listing shown allows.
    const std::string idle = live(true);
    ASSERT_TRUE(idle.ends_with("| " + std::to_string(GetMenuItemCount(bar)) + " menus")) << idle;
    // listed: how many icons the listing has found when the hand stops it.
    auto scan = [&](std::vector<INPUT> input, const char* phase, int listed) {
        std::string busy;
        auto inPhase = [&, phase, listed] {
            if (!mainWindowBusy() || panelText("message").find(phase) == std::string::npos ||
                Entries.cmbResult.ListCount() < listed)
                return false;
            busy = live(false);
            return true;
        };
        Answer shown("Open by Folder", {onProgram([&] {
            FrmScan& s = frmScan();
            click(s.txtDir); // over the folder the last scan left there
            press(VK_END);
            press(VK_HOME, vbShiftMask);
            typeText(tree);
            click(s.cmdStart);
        })});
        KeyDuringWork hand(std::move(input), inPhase);
        chooseMenu({"&File", "Open by &Folder..."});
        settle();
        EXPECT_TRUE(hand.pressed()) << "no " << phase;
        EXPECT_EQ(busy, std::to_string(abort) + " | | 0 menus") << phase;
        EXPECT_EQ(live(true), idle) << phase;
        EXPECT_NE(panelText("count"), "1000 Icon(s)") << phase;
        EXPECT_FALSE(Busy.AbortRequested) << phase;
        EXPECT_FALSE(frmScan().Visible()) << phase;
        EXPECT_EQ(GetAncestor(focusedWindow(), GA_ROOT), w().hWnd()) << phase;
    };
    scan(clickStop, "Searching for icon libraries", 0);
    EXPECT_EQ(itemTexts(w().pnlResult), before); // the walk stopped: the list before it shows again
    scan(keyStrokes(VK_ESCAPE), "Searching for icons,", 100);
}

namespace {
// A user keyword file of 200,000 keywords, far more than the keyword tables hold.
class LongKeywordFileScenario : public DialogScenario {
protected:
    void prepare() override {
        DialogScenario::prepare();
        std::string keywords = vmtest::kSampleUserKeywords;
        for (int i = 0; i < 200000; ++i) keywords += "keyword" + std::to_string(i) + "\r\n";
        ASSERT_TRUE(vmtest::writeFile(dir.file("Keyuser-32.dat"), keywords));
        original = keywords;
        answerAtStart("Vellumar error", {clickOn("OK")});
    }
    int said(const std::string& part) {
        int n = 0;
        for (const SeamRequest& r : Seam::get().requests())
            n += r.kind == "MsgBox" && r.prompt.find(part) != std::string::npos;
        return n;
    }
    std::string original;
};
} // namespace

TEST_F(LongKeywordFileScenario, ItIsCalledTooLongNotDamagedAndAnEditNeverWritesOverIt) {
    const std::string file = dir.file("Keyuser-32.dat");
    EXPECT_EQ(said("The file " + file + " is longer than the program can hold"), 1);
    EXPECT_NE(atStart().seen().find("The file " + file + " is longer than the program can hold", true), nullptr);
    EXPECT_EQ(said("damaged"), 0);
    Answer unsaved("Vellumar error", {clickOn("OK")});
    for (int edit = 0; edit < 2; ++edit) {
        {
            Answer shown("Edit Keywords", {onProgram([] {
                FrmKey& k = frmKey();
                click(k.lstKey, 20, 8); // the first keyword
                EXPECT_TRUE(k.cmdDelete.Enabled());
                click(k.cmdDelete);
                click(k.cmdCancel);
            })});
            chooseMenu({"&References", "&Edit Custom Keywords..."});
        }
    }
    EXPECT_EQ(vmtest::readFile(file), original);
    EXPECT_FALSE(vmtest::fileExists(dir.file("Keyuser-32.bak")));
    // Said once.
    EXPECT_NE(unsaved.seen().find("Your changes to the keywords cannot be saved: the file " + file, true), nullptr);
}
