#pragma once
// Files lie in the program folder (paths.DataPath).
// The keyword index of the icon library and the user's keyword and reference
// files of a data set, all in the program folder:
//   Icondata-<n>.dat  <keyword>;<LibraryIconId>;...;<LibraryIconId>   (read only)
//   Keyuser-<n>.dat   one user keyword a line
//   Iconuser-<n>.dat  <keyword>;<"user" entry>
#include <string>
#include <string_view>
#include <vector>

#include "browserhost.h"
#include "browserstate.h"
#include "listaccess.h"

namespace vm {

// The keyword lists of the windows that procFillSearch fills; the dialogs'
// lists may be missing (null) while those dialogs are not loaded.
struct KeywordLists {
    ListAccess* cmbSearch = nullptr; // main window: every keyword, ItemData = keyword id
    ListAccess* addSearch = nullptr; // reference dialog: every keyword
    ListAccess* lstKey = nullptr;    // keyword editor: user keywords, ItemData = position in cmbSearch
};

// Gives the files of versions without the size suffix (always the 32 x 32 data
// set) their new names, where the new name is not taken yet.
void MigrateOldLibraryNames();

// Loads the index and user files of keywords.IconSize into the keyword tables,
// the keyword lists and the user reference lists.
void procFillSearch(KeywordState& keywords, UserReferences& refs, const KeywordLists& lists, const BrowserHost& host);

// Writes back the user files of data set sizeText ("16" or "32") that changed,
// keeping the previous file as .bak. A flag is cleared only when its file was written.
void procSaveUserData(const std::string& sizeText, KeywordState& keywords, const UserReferences& refs,
                      const ListAccess* lstKey);

// Writes the changed user files of the data set in force at once, so that no
// edit waits for the program's end (the keyword file only with the editor's list).
void procSaveUserChanges(const ListAccess* lstKey = nullptr);

// Calls f(LibraryIconId) for each id of a KeywordRecord ("id;id;...;").
template <class F>
void ForEachIconId(std::string_view record, F&& f) {
    size_t start = 0;
    for (size_t end; (end = record.find(';', start)) != std::string_view::npos; start = end + 1)
        f(record.substr(start, end - start));
}

} // namespace vm
