#include <algorithm>
#include <map>

#include "cshelllink.h"
#include "damagedfiles.h"
#include "processmemory.h"
#include "shellfolders.h"
#include "shortcutsource.h"
#include "sourcefixture.h"
#include "patience.h"

using namespace vm;
using vmtest::asColorRef;

namespace {

constexpr std::uint32_t kToolColour = 0x20A040;
constexpr std::uint32_t kFirstDllColour = 0xC03020;
constexpr std::uint32_t kSecondDllColour = 0x3050D0;

struct ShortcutTest : vmtest::SourceFixture {
    std::map<int, std::string> folders; // by CSIDL
    std::vector<bool> abortCalls;       // the busy state, in call order (true = idle)
    ShortcutContext ctx{entries, paging, busy, host, {}, {}};
    std::string searchText = "keyword";

    void SetUp() override {
        SourceFixture::SetUp();
        ctx.specialFolder = [this](int csidl) { return folders.count(csidl) ? folders[csidl] : std::string(); };
        ctx.setSearchText = [this](const std::string& t) { searchText = t; };
        host.setAbort = [this](bool idle) { abortCalls.push_back(idle); };
    }
    std::string folder(const std::string& name) {
        CreateDirectoryA(dir.file(name).c_str(), nullptr);
        return dir.file(name) + "\\";
    }
    void link(const std::string& file, const std::string& target, const std::string& iconFile = "", int index = 0) {
        ShellLinkInfo info;
        info.target = target;
        info.iconFile = iconFile;
        info.iconIndex = index;
        ASSERT_EQ(cShellLink().Write(file, info), S_OK) << file;
    }
    // The item whose text is name, from 1; 0 when there is none.
    int itemNamed(const std::string& name) {
        for (int i = 1; i <= form.pnlResult.ListItems.Count(); ++i)
            if (form.pnlResult.ListItems(i).Text() == name) return i;
        return 0;
    }
};

} // namespace

TEST_F(ShortcutTest, DesktopShortcutsAreListedWithTheIconTheyShow) {
    const std::string desktop = folder("Desktop"), common = folder("Public Desktop");
    folders[16] = desktop;
    folders[25] = common;
    CreateDirectoryA((desktop + "Tools").c_str(), nullptr);
    const std::string tool = dir.file("tool.exe"), dll = dir.file("icons.dll"), notes = dir.file("notes.txt");
    ASSERT_TRUE(vmtest::writeIconModule(tool, {kToolColour}));
    ASSERT_TRUE(vmtest::writeIconModule(dll, {kFirstDllColour, kSecondDllColour}));
    ASSERT_TRUE(vmtest::writeFile(notes, "notes"));
    ASSERT_TRUE(vmtest::writeFile(dir.file("gone.exe"), "MZ"));

    link(desktop + "Tool.lnk", tool);
    link(desktop + "Notes in DLL.lnk", notes, dll, 1);
    link(desktop + "Gone.lnk", dir.file("gone.exe"));
    DeleteFileA(dir.file("gone.exe").c_str());
    ASSERT_TRUE(vmtest::writeFile(desktop + "Broken.lnk", "this is no shortcut"));
    link(desktop + "Notes.lnk", notes);
    link(desktop + "Bare.lnk", tool, "icons.dll", 0);
    link(desktop + "Tools\\Deep.lnk", tool);
    link(common + "Readme.LNK", tool);
    link(common + "Upper.lnk", notes, dir.file("solid.ICO"));
    ASSERT_TRUE(vmtest::writeFile(dir.file("solid.ICO"), vmtest::solidIcon(0x808000)));

    procSearchShortcuts(ctx, "desktop");

    EXPECT_EQ(entries.lstFiles.ListCount(), 9);
    std::vector<std::string> listed = items();
    std::sort(listed.begin(), listed.end());
    const std::string shortcut = "|Shortcut Icon|";
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "Bare" + shortcut + desktop, "Broken" + shortcut + desktop, "Deep" + shortcut + desktop + "Tools\\",
                          "Gone" + shortcut + desktop, "Notes in DLL" + shortcut + desktop,
                          "Readme.LNK" + shortcut + common, "Tool" + shortcut + desktop, "Upper" + shortcut + common}));
    // Each entry points at its shortcut file in lstFiles.
    std::map<std::string, std::string> entryOf; // by shortcut file
    for (int i = 0; i < entries.cmbResult.ListCount(); ++i)
        entryOf[entries.lstFiles.List(entries.cmbResult.ItemData(i))] = entries.cmbResult.List(i);
    EXPECT_EQ(entryOf[desktop + "Notes in DLL.lnk"], dll + ";1;" + notes + ";sshor");
    EXPECT_EQ(entryOf[desktop + "Broken.lnk"], ";0;;sshor");
    EXPECT_EQ(entryOf[desktop + "Bare.lnk"], tool + ";0;" + tool + ";sshor");
    EXPECT_EQ(entryOf.count(desktop + "Notes.lnk"), 0u);

    EXPECT_EQ(pixel(itemNamed("Tool"), 16, 16), asColorRef(kToolColour));
    EXPECT_EQ(pixel(itemNamed("Tool"), 0, 0), vmtest::kBlue); // transparent stays transparent
    EXPECT_EQ(pixel(itemNamed("Notes in DLL"), 16, 16), asColorRef(kSecondDllColour));
    EXPECT_EQ(pixel(itemNamed("Bare"), 16, 16), asColorRef(kToolColour));
    EXPECT_EQ(pixel(itemNamed("Upper"), 16, 16), asColorRef(0x808000));
    EXPECT_TRUE(showsNoIcon(itemNamed("Gone")));
    EXPECT_TRUE(showsNoIcon(itemNamed("Broken")));
    EXPECT_FALSE(showsNoIcon(itemNamed("Tool")));

    EXPECT_EQ(searchText, "");
    ASSERT_FALSE(abortCalls.empty());
    EXPECT_FALSE(abortCalls.front());
    EXPECT_TRUE(abortCalls.back());
    EXPECT_EQ(paging.CurrentPage, 1);
}

TEST_F(ShortcutTest, StartMenuWalksItsTwoFoldersAndOneFolderOnlyOnce) {
    const std::string start = folder("Start Menu");
    folders[11] = start;
    folders[22] = dir.file("START MENU") + "\\"; // the same folder, spelt otherwise
    folders[16] = folder("Desktop");
    const std::string tool = dir.file("tool.exe");
    ASSERT_TRUE(vmtest::writeIconModule(tool, {kToolColour}));
    link(start + "Tool.lnk", tool);
    link(folders[16] + "Elsewhere.lnk", tool);
    procSearchShortcuts(ctx, "Start Menu");
    EXPECT_EQ(items(), (std::vector<std::string>{"Tool|Shortcut Icon|" + start}));
    EXPECT_EQ(ShortcutFolders(ctx, "START MENU"), (std::vector<std::string>{start}));
    EXPECT_TRUE(ShortcutFolders(ctx, "Send To").empty());
}

TEST_F(ShortcutTest, NothingToListStillLeavesTheBusyState) {
    folders[16] = folder("Desktop");
    entries.cmbResult.AddItem("1:0:00book");
    procSearchShortcuts(ctx, "Desktop");
    EXPECT_EQ(entries.cmbResult.ListCount(), 0);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 0);
    ASSERT_FALSE(abortCalls.empty());
    EXPECT_TRUE(abortCalls.back());

    abortCalls.clear();
    procSearchShortcuts(ctx, "Recycle Bin");
    EXPECT_EQ(entries.cmbResult.ListCount(), 0);
    EXPECT_TRUE(abortCalls.back());
}

TEST_F(ShortcutTest, AStoppedWalkKeepsThePreviousListAndItsShortcutFiles) {
    const std::string desktop = folder("Desktop");
    folders[16] = desktop;
    const std::string tool = dir.file("tool.exe");
    ASSERT_TRUE(vmtest::writeIconModule(tool, {kToolColour}));
    link(desktop + "One.lnk", tool);
    link(desktop + "Two.lnk", tool);
    procSearchShortcuts(ctx, "Desktop");
    ASSERT_EQ(entries.cmbResult.ListCount(), 2);
    const std::vector<std::string> before = entryTexts();
    const std::string firstFile = entries.lstFiles.List(0);

    // Esc during the walk: the walk yields after the status text, then per file.
    int yields = 0;
    host.doEvents = [&] {
        if (++yields == 2) busy.AbortRequested = true;
    };
    link(desktop + "Three.lnk", tool);
    procSearchShortcuts(ctx, "Desktop");
    EXPECT_FALSE(busy.AbortRequested);
    EXPECT_EQ(entryTexts(), before);
    EXPECT_EQ(entries.lstFiles.ListCount(), 2);
    EXPECT_EQ(entries.lstFiles.List(0), firstFile);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 2); // page 1 of the old list again
    EXPECT_TRUE(abortCalls.back());

    // Esc once the first shortcut is listed: what was found so far is listed.
    entries.cmbResult.Clear();
    host.doEvents = [&] {
        if (entries.cmbResult.ListCount() == 1) busy.AbortRequested = true;
    };
    procSearchShortcuts(ctx, "Desktop");
    EXPECT_EQ(entries.lstFiles.ListCount(), 3);
    EXPECT_EQ(entries.cmbResult.ListCount(), 1);
    EXPECT_EQ(form.pnlResult.ListItems.Count(), 1);
    EXPECT_FALSE(busy.AbortRequested);
}

TEST_F(ShortcutTest, AShortcutFileNoLongerInTheListShowsNoName) {
    entries.cmbResult.AddItem(";0;;sshor");
    entries.cmbResult.SetItemData(0, 7); // lstFiles was refilled by another listing
    showList();
    EXPECT_EQ(items(), (std::vector<std::string>{"|Shortcut Icon|"}));
    EXPECT_TRUE(showsNoIcon(1));
}

TEST_F(ShortcutTest, TheDesktopIsTheShellsOwnByDefault) {
    ctx.specialFolder = nullptr;
    const std::string desktop = SpecialFolders().GetSpecialFolder(16);
    ASSERT_FALSE(desktop.empty());
    const std::string tool = dir.file("tool.exe");
    ASSERT_TRUE(vmtest::writeIconModule(tool, {kToolColour}));
    link(desktop + "Vellumar Test Tool.lnk", tool);
    procSearchShortcuts(ctx, "Desktop");
    DeleteFileA((desktop + "Vellumar Test Tool.lnk").c_str());
    const int item = itemNamed("Vellumar Test Tool");
    ASSERT_NE(item, 0);
    EXPECT_EQ(form.pnlResult.ListItems(item).SubItems(2), desktop);
    EXPECT_EQ(pixel(item, 16, 16), asColorRef(kToolColour));
}

TEST_F(ShortcutTest, DamagedShortcutsInTheStartMenuAreListedBrokenQuicklyAndSmall) {
    // A link info of 0xFFFFFFFF bytes once took the listing to 3.8 GB and froze it for 12 s.
    const std::string start = folder("Start Menu");
    folders[11] = start;
    const std::string tool = dir.file("tool.exe");
    ASSERT_TRUE(vmtest::writeIconModule(tool, {kToolColour}));
    link(start + "Tool.lnk", tool);
    const auto wrecks = vmtest::damaged::shellLinks();
    for (const auto& sample : wrecks) ASSERT_TRUE(vmtest::writeFile(start + sample.name, sample.bytes));
    const std::size_t before = vmtest::PeakCommittedBytes();
    const vmtest::CpuStopwatch work;
    procSearchShortcuts(ctx, "Start Menu");
    EXPECT_LT(work.ms(), 5000u);
    EXPECT_LT(vmtest::PeakGrowthSince(before), 64u << 20);
    // Each is still listed, with the no-icon picture, so the user sees it is broken.
    EXPECT_EQ(form.pnlResult.ListItems.Count(), static_cast<int>(wrecks.size()) + 1);
    EXPECT_GT(itemNamed("link-info-size-ffffffff"), 0);
    EXPECT_GT(itemNamed("Tool"), 0);
}
