#include "librarysearch.h"

#include <unordered_set>

#include "entrylist.h"
#include "libraryindex.h"
#include "resultentry.h"
#include "utf8text.h"

namespace vm {
namespace {

// The record of a keyword id, or null for ids the tables do not hold
// (a keyword added during the run has none yet).
const std::string* recordOf(const KeywordState& keywords, long id) {
    if (id < 0 || id > kMaxKeywordId) return nullptr;
    return &keywords.KeywordIcons[static_cast<size_t>(id)];
}

long keywordIdOf(const std::string& text) {
    if (text.empty()) return kNoKeywordId;
    try {
        return std::stol(text);
    } catch (...) {
        return kNoKeywordId;
    }
}

// A reference's TypeCode as its digit, or -1 for anything else.
int referenceDigit(const std::string& entry) {
    const std::string code = EntryTypeCode(entry);
    return code.size() == 1 && code[0] >= '0' && code[0] <= '9' ? code[0] - '0' : -1;
}

// The new-list steps; a builder that made the window busy hands it back idle.
void finishList(SearchContext& ctx, bool wasBusy = false) {
    StartNewList(ctx.paging, ctx.entries.cmbResult.ListCount());
    ctx.host.page();
    if (wasBusy) ctx.host.abort(true);
}

// Walks the library icons of every keyword the filter accepts, appending those
// the id filter accepts, each once, with the id of the first keyword that held
// it. False when the walk was aborted.
template <class KeywordFilter, class IconFilter>
bool walkLibrary(SearchContext& ctx, KeywordFilter&& takeKeyword, IconFilter&& takeIcon, bool yield) {
    std::unordered_set<std::string> listed;
    HiddenList& result = ctx.entries.cmbResult;
    for (int i = 0; i < ctx.cmbSearch.ListCount(); ++i) {
        const std::int32_t id = ctx.cmbSearch.ItemData(i);
        const std::string* record = recordOf(ctx.keywords, id);
        if (!record || !takeKeyword(ctx.keywords.KeywordNames[static_cast<size_t>(id)])) continue;
        ctx.keywords.CurrentKeywordId = std::to_string(id);
        bool aborted = false;
        ForEachIconId(*record, [&](std::string_view iconId) {
            if (aborted) return;
            if (takeIcon(iconId)) {
                std::string entry = BookEntry(std::string(iconId));
                if (listed.insert(entry).second) AppendCounted(result, ctx.host, entry, id);
            }
            if (yield) {
                ctx.host.events();
                aborted = ctx.busy.AbortRequested;
            }
        });
        if (aborted) return false;
    }
    return true;
}

} // namespace

int FindKeywordPrefix(const ListAccess& box, const std::string& text) {
    for (int i = 0; i < box.ListCount(); ++i) {
        const std::string item = box.List(i);
        if (StartsWithText(item, text)) return i;
    }
    return -1;
}

void SearchTypedKeyword(SearchContext& ctx, const std::string& typed) {
    const int found = FindKeywordPrefix(ctx.cmbSearch, typed);
    const int before = ctx.cmbSearch.ListIndex();
    ctx.cmbSearch.SetListIndex(found);
    // Choosing another keyword raises the box's Click, which searches it; only
    // the keyword already chosen is searched from here, so it runs once either way.
    if (found >= 0 && found == before) procSearchVellumar(ctx);
}

void procSearchVellumar(SearchContext& ctx) {
    // With no keyword chosen (Enter on a text no keyword begins with clears the
    // choice) there is nothing to search, and the list shown stays.
    const int selected = ctx.cmbSearch.ListIndex();
    if (selected < 0) return;
    ctx.host.hourglass(true);
    ctx.host.messagePanel("Searching for icons, please wait...");
    ctx.host.events();
    ctx.keywords.CurrentKeywordId = std::to_string(ctx.cmbSearch.ItemData(selected));
    ctx.entries.cmbResult.Clear();
    procMatchKeyword(ctx);
    ctx.host.hourglass(false);
}

void procMatchKeyword(SearchContext& ctx) {
    HiddenList& result = ctx.entries.cmbResult;
    const long id = keywordIdOf(ctx.keywords.CurrentKeywordId);
    if (const std::string* record = recordOf(ctx.keywords, id)) {
        ForEachIconId(*record, [&](std::string_view iconId) {
            AppendEntry(result, BookEntry(std::string(iconId)), static_cast<std::int32_t>(id));
        });
    }

    const std::string text = ctx.cmbSearch.Text();
    for (int i = 0; i < ctx.refs.lstUser.ListCount(); ++i) {
        if (!SameText(ctx.refs.lstUser.List(i), text)) continue;
        AppendEntry(result, ctx.refs.cmbUser.List(i), i);
    }

    if (text.size() >= 2 && ctx.keywords.IconSize == 32 && ctx.searchFavorites && ctx.host.listFavoriteFiles &&
        ctx.host.appendFileEntries) {
        HiddenList& files = ctx.entries.lstFiles;
        files.Clear();
        ctx.host.listFavoriteFiles(files);
        FilterFavoriteFiles(files, text);
        for (int i = 0; i < files.ListCount(); ++i) ctx.host.appendFileEntries(files.List(i));
    }

    // The search's own message goes before the page is shown: the page leaves
    // the first item's origin there, or "Aborted!" when it was stopped.
    ctx.host.messagePanel("");
    finishList(ctx);
}

void FilterFavoriteFiles(HiddenList& lstFiles, const std::string& text) {
    const std::string needle = LowerText(text);
    for (int i = 0; i < lstFiles.ListCount();) {
        const std::string path = lstFiles.List(i);
        bool keep = EndsWithText(path, ".ani") || EndsWithText(path, ".cur") || EndsWithText(path, ".ico");
        if (keep) {
            const size_t slash = path.rfind('\\');
            std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
            name = LowerText(name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string());
            keep = name.find(needle) != std::string::npos;
        }
        if (keep) ++i;
        else lstFiles.RemoveItem(i);
    }
}

void procSearchByFormat(SearchContext& ctx, int code) {
    ctx.host.clear();
    ctx.entries.cmbResult.Clear();
    ctx.host.abort(false);
    ctx.host.events();
    const char digit = static_cast<char>('0' + code);
    bool done = walkLibrary(
        ctx, [](const std::string&) { return true; },
        [digit](std::string_view iconId) { return !iconId.empty() && iconId.back() == digit; }, true);
    for (int i = 0; done && i < ctx.refs.cmbUser.ListCount(); ++i) {
        if (referenceDigit(ctx.refs.cmbUser.List(i)) != code) continue;
        AppendCounted(ctx.entries.cmbResult, ctx.host, ctx.refs.cmbUser.List(i), i);
        ctx.host.events();
        done = !ctx.busy.AbortRequested;
    }
    ctx.busy.AbortRequested = false;
    finishList(ctx, true);
    ctx.host.hourglass(false);
}

void procSearchLetter(SearchContext& ctx, const std::string& letter) {
    ctx.host.clear();
    ctx.entries.cmbResult.Clear();
    ctx.host.abort(false);
    // A letter is one character, however many bytes it takes.
    const std::string wanted = FirstCharacter(letter);
    auto startsWithLetter = [&wanted](const std::string& keyword) {
        return !wanted.empty() && SameText(FirstCharacter(keyword), wanted);
    };
    if (walkLibrary(ctx, startsWithLetter, [](std::string_view) { return true; }, true)) {
        for (int i = 0; i < ctx.refs.cmbUser.ListCount() && i < ctx.refs.lstUser.ListCount(); ++i)
            if (startsWithLetter(ctx.refs.lstUser.List(i)))
                AppendEntry(ctx.entries.cmbResult, ctx.refs.cmbUser.List(i), i);
    }
    ctx.busy.AbortRequested = false;
    finishList(ctx, true);
    ctx.host.hourglass(false);
}

void procSearchReferences(SearchContext& ctx, int depth) {
    ctx.host.hourglass(true);
    ctx.entries.cmbResult.Clear();
    for (int i = 0; i < ctx.refs.cmbUser.ListCount(); ++i) {
        const int t = referenceDigit(ctx.refs.cmbUser.List(i));
        if (t == depth || t == depth + 3 || t == depth + 6) AppendEntry(ctx.entries.cmbResult, ctx.refs.cmbUser.List(i), i);
    }
    finishList(ctx);
    ctx.host.hourglass(false);
}

} // namespace vm
