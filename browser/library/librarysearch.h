#pragma once
// The list builders over the icon library and the user references: the keyword
// search, and the searches by format, first letter and reference colour depth.
// Each builds the entry list from scratch and asks the window for page 1.
#include <string>

#include "browserhost.h"
#include "browserstate.h"
#include "listaccess.h"

namespace vm {

struct SearchContext {
    KeywordState& keywords;
    UserReferences& refs;
    EntryLists& entries;
    PagingState& paging;
    BusyState& busy;
    const BrowserHost& host;
    ListAccess& cmbSearch; // the keyword box: every keyword, ItemData = keyword id
    bool searchFavorites = false; // the option to match favourites' file names too
};

// The first keyword of the box that begins with text, case ignored; -1 for none.
int FindKeywordPrefix(const ListAccess& box, const std::string& text);

// Enter in the keyword box: selects the first keyword beginning with the typed
// text (or clears the selection); a keyword found is searched once, through
// the box's Click when the selection changed.
void SearchTypedKeyword(SearchContext& ctx, const std::string& typed);

// The search for the keyword selected in the box; with none selected it does nothing.
void procSearchVellumar(SearchContext& ctx);
// Appends the entries for CurrentKeywordId and the box's text, then page 1.
void procMatchKeyword(SearchContext& ctx);

// Keeps in lstFiles only the .ani, .cur and .ico files whose name holds text.
void FilterFavoriteFiles(HiddenList& lstFiles, const std::string& text);

void procSearchByFormat(SearchContext& ctx, int code);
void procSearchLetter(SearchContext& ctx, const std::string& letter);
void procSearchReferences(SearchContext& ctx, int depth);

} // namespace vm
