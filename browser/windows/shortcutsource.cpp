#include "shortcutsource.h"

#include <strings.h>

#include <cstdlib>

#include "cshelllink.h"
#include "entrylist.h"
#include "files.h"
#include "folderwalker.h"
#include "getfield.h"
#include "resultentry.h"
#include "shellfolders.h"
#include "windowsicon.h"

namespace vm {
namespace {

constexpr int kCsidlStartMenu = 11;
constexpr int kCsidlDesktopDirectory = 16;
constexpr int kCsidlCommonStartMenu = 22;
constexpr int kCsidlCommonDesktopDirectory = 25;

bool isIconBearing(const std::string& file) {
    if (file.size() < 4) return false;
    const char* ext = file.c_str() + file.size() - 4;
    for (const char* known : {".ani", ".cur", ".dll", ".exe", ".icl", ".ico"})
        if (strcasecmp(ext, known) == 0) return true;
    return false;
}

std::string folderOf(const ShortcutContext& ctx, int csidl) {
    return ctx.specialFolder ? ctx.specialFolder(csidl) : SpecialFolders().GetSpecialFolder(csidl);
}

} // namespace

std::vector<std::string> ShortcutFolders(const ShortcutContext& ctx, const std::string& scope) {
    int user = 0, common = 0;
    if (strcasecmp(scope.c_str(), "Desktop") == 0) {
        user = kCsidlDesktopDirectory;
        common = kCsidlCommonDesktopDirectory;
    } else if (strcasecmp(scope.c_str(), "Start Menu") == 0) {
        user = kCsidlStartMenu;
        common = kCsidlCommonStartMenu;
    } else {
        return {};
    }
    std::vector<std::string> folders;
    const std::string first = folderOf(ctx, user);
    const std::string second = folderOf(ctx, common);
    if (!first.empty()) folders.push_back(first);
    // Without separate all-users folders both name one folder, which is walked once.
    if (!second.empty() && strcasecmp(first.c_str(), second.c_str()) != 0) folders.push_back(second);
    return folders;
}

std::string ShortcutEntry(const std::string& linkFile) {
    cShellLink link;
    std::string target, workingFolder, arguments, iconFile, description;
    std::int32_t iconIndex = 0, showCommand = 0;
    HRESULT result = S_OK;
    link.GetLinkInfo(linkFile, target, workingFolder, arguments, iconFile, iconIndex, showCommand, description,
                     result);
    // A shortcut that cannot be read is still listed, with the no-icon picture,
    // so the user sees it is broken.
    if (FAILED(result)) return FileEntry({"", "0", ""}, 's', kKindShortcut);
    procTrimNull(target);
    procTrimNull(iconFile);
    if (iconFile.empty() || iconFile.find('\\') == std::string::npos) iconFile = target;
    if (!isIconBearing(iconFile)) return {};
    return FileEntry({iconFile, std::to_string(iconIndex), target}, 's', kKindShortcut);
}

void procSearchShortcuts(ShortcutContext& ctx, const std::string& scope) {
    const BrowserHost& host = ctx.host;
    host.hourglass(true);
    host.messagePanel("Searching for shortcuts, please wait...");
    host.events();
    host.clear();
    host.abort(false);

    // The walk fills a list of its own: stopped, it leaves lstFiles to the
    // entries still listed, whose loader reads it.
    HiddenList found;
    FolderWalk walk{found, ctx.busy, host};
    walk.WalkSubfolders = true;
    std::int32_t fileCount = 0, folderCount = 0;
    for (std::string folder : ShortcutFolders(ctx, scope)) {
        if (ctx.busy.AbortRequested) break;
        procWalkFolders(walk, folder, "*.lnk", fileCount, folderCount);
    }

    if (!ctx.busy.AbortRequested) {
        HiddenList& files = ctx.entries.lstFiles;
        HiddenList& result = ctx.entries.cmbResult;
        files = found;
        result.Clear();
        host.events();
        for (int i = 0; i < files.ListCount(); ++i) {
            const std::string entry = ShortcutEntry(files.List(i));
            if (!entry.empty()) AppendCounted(result, host, entry, i);
            host.events();
            if (ctx.busy.AbortRequested) break;
        }
    }

    ctx.busy.AbortRequested = false;
    // The page leaves the first item's origin in the message panel.
    host.messagePanel("");
    StartNewList(ctx.paging, ctx.entries.cmbResult.ListCount());
    host.page();
    if (ctx.setSearchText) ctx.setSearchText("");
    // A page fill leaves the busy state only when it has items to show.
    host.abort(true);
    host.hourglass(false);
}

void procGetShortcutItem(PageLoadContext& ctx, const std::string& entry) {
    if (entry.size() <= 3) return;
    const std::string iconFile = procGetField(entry, ';', 1);
    ctx.loader.EntryIconIndex = std::atoi(procGetField(entry, ';', 2).c_str());

    const HiddenList& files = ctx.entries.lstFiles;
    const int index = std::atoi(ctx.keywords.CurrentKeywordId.c_str());
    std::string linkPath = index >= 0 && index < files.ListCount() ? files.List(index) : std::string();
    std::string text = procGetFileName(linkPath);
    // Only the lower-case extension is cut; "Readme.LNK" keeps its own.
    const size_t ext = text.find(".lnk");
    if (ext != std::string::npos) text.resize(ext);
    const std::string origin = procGetFolder(linkPath);

    const int size = ctx.keywords.IconSize;
    AddPageItem(ctx, ItemPicture(WindowsFileIcon(ctx.loader, size, iconFile), size), "", text, "s", origin);
}

} // namespace vm
