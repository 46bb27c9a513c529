#include "nodedispatch.h"

#include <strings.h>

#include <cctype>
#include <iterator>

#include "cursorsource.h"
#include "folderwalker.h"
#include "navtree.h"
#include "registry.h"
#include "systemicons.h"

namespace vm {
namespace {

using Action = void (*)(NodeClickContext&, const ClickedNode&);

// The page start of the listings this handler completes itself. The search
// message goes before the page: the page leaves the first item's origin there.
void showFirstPage(NodeClickContext& ctx) {
    ctx.search.host.messagePanel("");
    StartNewList(ctx.search.paging, ctx.search.entries.cmbResult.ListCount());
    ctx.search.host.page();
}

// The empty list, shown as any list is: its count says that nothing was found.
void emptyListing(NodeClickContext& ctx) {
    ctx.search.entries.cmbResult.Clear();
    showFirstPage(ctx);
}

// A source that builds and pages its own list, or the empty list when it is missing.
template <class Call>
void ownListing(NodeClickContext& ctx, const Call& call, bool present) {
    if (present) call();
    else emptyListing(ctx);
}

void waitFor(NodeClickContext& ctx, const char* text) {
    ctx.search.host.hourglass(true);
    ctx.search.host.messagePanel(text);
    ctx.search.host.events();
}

void byFormat(NodeClickContext& ctx, int code) { procSearchByFormat(ctx.search, code); }

void shortcuts(NodeClickContext& ctx, const char* scope) {
    const auto& hook = ctx.sources.searchShortcuts;
    ownListing(ctx, [&] { hook(scope); }, static_cast<bool>(hook));
}

void currentCursors(NodeClickContext& ctx, const ClickedNode&) {
    waitFor(ctx, "Searching for cursors, please wait...");
    ctx.search.entries.cmbResult.Clear();
    if (ctx.sources.currentCursor)
        for (const CursorTableRow& role : CursorTable()) ctx.sources.currentCursor(role.ocrId, role.valueName);
    showFirstPage(ctx);
    ctx.search.host.hourglass(false);
}

void fileTypes(NodeClickContext& ctx, const ClickedNode&) {
    waitFor(ctx, "Searching for file type icons, please wait...");
    ctx.lstChange.Clear();
    ctx.search.entries.cmbResult.Clear();
    if (ctx.sources.searchFileTypes) ctx.sources.searchFileTypes(HKEY_CLASSES_ROOT, "");
    showFirstPage(ctx);
    ctx.search.host.hourglass(false);
}

void systemIcons(NodeClickContext& ctx, const ClickedNode& node) {
    ctx.search.entries.cmbResult.Clear();
    ctx.lstChange.Clear();
    for (const std::string& row : SystemIconRows(node.key, ctx.OSCode, ctx.WindowsDir, ctx.SystemDir))
        ctx.lstChange.AddItem(row);
    if (ctx.sources.searchSystemIcons) ctx.sources.searchSystemIcons();
    showFirstPage(ctx);
}

void keywordGroup(NodeClickContext& ctx, const ClickedNode& node) {
    ListAccess& box = ctx.search.cmbSearch;
    const int before = box.ListIndex();
    int found = -1;
    for (int i = 0; i < box.ListCount() && found < 0; ++i)
        if (SameKey(box.List(i), node.tag)) found = i;
    // A keyword the editor removed meanwhile has nothing to list.
    if (found < 0) emptyListing(ctx);
    // Choosing another keyword raises the box's Click, which searches it.
    else if (found == before) procSearchVellumar(ctx.search);
    else box.SetListIndex(found);
    ctx.search.host.hourglass(false);
}

void cursorScheme(NodeClickContext& ctx, const ClickedNode& node) {
    ctx.search.entries.cmbResult.Clear();
    const std::string scheme = node.key.substr(6);
    procRegGetValue(HKEY_CURRENT_USER, kCursorSchemesKey, scheme);
    const std::string files = reg.RegValue.toText();
    if (!files.empty() && ctx.sources.themeCursor) {
        // Every field names the cursor of one role, the last one too.
        int position = 0;
        std::string::size_type start = 0;
        for (;;) {
            const std::string::size_type comma = files.find(',', start);
            ctx.sources.themeCursor(files.substr(start, comma - start), scheme, ++position);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    showFirstPage(ctx);
}

void favoritesFolder(NodeClickContext& ctx, const ClickedNode& node) {
    SearchContext& s = ctx.search;
    ctx.favorites.CurrentFavoriteNode = node.key;
    ctx.favorites.FavoriteFolderNode = node.key;
    if (ctx.enableFolderCommands) ctx.enableFolderCommands(true, node.key.size() > 6);
    s.entries.lstFiles.Clear();
    s.entries.lstZipFiles.Clear();
    s.entries.lstZipIcons.Clear();
    s.host.abort(false);
    s.host.messagePanel("Searching for favorites, please wait...");

    // Only the folder's own files: its sub-folders have nodes of their own.
    std::string folder = FavoriteFolderOf(node.key, ctx.FavoritesFolder);
    if (!folder.empty()) {
        FolderWalk walk{s.entries.lstFiles, s.busy, s.host};
        walk.yieldIntervalMs = kSpacedYieldMs;
        std::int32_t files = 0, folders = 0;
        procWalkFolders(walk, folder, "*.*", files, folders);
    }
    if (!s.busy.AbortRequested) KeepIconFiles(s.entries.lstFiles, s.busy);
    s.host.hourglass(false);
    s.host.events();
    // Also after an abort: nothing of the listing before may stand under this one.
    s.entries.cmbResult.Clear();
    // The search is over; what the listing then says (an abort, unreadable files) stays.
    s.host.messagePanel("");

    ctx.SearchingFavorites = true;
    ownListing(ctx, [&] { ctx.sources.searchOpen(); }, static_cast<bool>(ctx.sources.searchOpen));
    ctx.SearchingFavorites = false;

    s.host.abort(true);
    s.busy.AbortRequested = false;
    if (ctx.clearKeywordText) ctx.clearKeywordText();
    s.host.hourglass(false);
}

struct Route {
    const char* key; // the whole key, or the six characters of a family
    bool family;
    Action action;
};

const Route kRoutes[] = {
    {"Icon16", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 0); }},
    {"Icon256", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 1); }},
    {"IconHi", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 2); }},
    {"Ani16", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 3); }},
    {"Ani256", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 4); }},
    {"AniHi", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 5); }},
    {"Cursor16", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 6); }},
    {"Cursor256", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 7); }},
    {"CursorHi", false, [](NodeClickContext& c, const ClickedNode&) { byFormat(c, 8); }},
    {"Reference16", false, [](NodeClickContext& c, const ClickedNode&) { procSearchReferences(c.search, 0); }},
    {"Reference256", false, [](NodeClickContext& c, const ClickedNode&) { procSearchReferences(c.search, 1); }},
    {"ReferenceHi", false, [](NodeClickContext& c, const ClickedNode&) { procSearchReferences(c.search, 2); }},
    {"SysShortStart", false, [](NodeClickContext& c, const ClickedNode&) { shortcuts(c, "Start Menu"); }},
    {"SysShortDesk", false, [](NodeClickContext& c, const ClickedNode&) { shortcuts(c, "Desktop"); }},
    {"SysCurCurrent", false, currentCursors},
    {"SysAso", false, fileTypes},
    {"SysDesktop", false, systemIcons},
    {"SysStart", false, systemIcons},
    {"SysDrives", false, systemIcons},
    {"SysFolders", false, systemIcons},
    {"SysFiles", false, systemIcons},
    {"groups", true, keywordGroup},
    {"ctheme", true, cursorScheme},
    {"favori", true, favoritesFolder},
};

bool isLetterKey(const std::string& key) { return key.size() == 1 && std::isalpha(static_cast<unsigned char>(key[0])); }

const Route* routeOf(const std::string& key) {
    for (const Route& r : kRoutes)
        if (r.family ? HasFamily(key, r.key) : SameKey(key, r.key)) return &r;
    return nullptr;
}

} // namespace

bool NodeHasListing(const std::string& key) { return isLetterKey(key) || routeOf(key) != nullptr; }

bool KeepIconFiles(HiddenList& lstFiles, const BusyState& busy) {
    static const char* const kinds[] = {".ani", ".cur", ".dll", ".exe", ".icl", ".ico"};
    for (int i = 0; i < lstFiles.ListCount();) {
        if (busy.AbortRequested) return false;
        const std::string& path = lstFiles.List(i);
        const char* tail = path.size() >= 4 ? path.c_str() + path.size() - 4 : "";
        bool keep = false;
        for (const char* kind : kinds) keep = keep || strcasecmp(tail, kind) == 0;
        if (keep) ++i;
        else lstFiles.RemoveItem(i);
    }
    return true;
}

void procNodeClick(NodeClickContext& ctx, const ClickedNode& node) {
    if (!node.hasChildren) {
        ctx.search.host.messagePanel("Searching for icons, please wait...");
        ctx.search.host.events();
    }
    ctx.favorites.CurrentFavoriteNode.clear();
    ctx.SearchingFavorites = false;
    if (ctx.enableFolderCommands) ctx.enableFolderCommands(false, false);
    // The letters "A" to "Z" are a key of their own each; the keys compare
    // in any case, the letter searched is the node's own.
    if (isLetterKey(node.key)) {
        procSearchLetter(ctx.search, node.key);
        return;
    }
    if (const Route* route = routeOf(node.key)) route->action(ctx, node);
    // A parent without children ("Groups by Design" of a data set without group
    // keywords) was clicked as a list of its own: it lists nothing, and says so.
    else if (!node.hasChildren) emptyListing(ctx);
}

} // namespace vm
