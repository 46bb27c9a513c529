#pragma once
// The browser's shared state, one struct per concern, with the program-wide
// instance of each. Procedures take the parts they work on as arguments, so
// tests run them on their own copies.
#include <cstdint>
#include <string>
#include <vector>

#include "hiddenlist.h"

namespace vm {

inline constexpr int kMaxKeywordId = 3000;
// ItemData of a keyword that has no id yet: one the keyword editor added during
// the run. It lists no library icons until the next load gives it an id.
inline constexpr std::int32_t kNoKeywordId = -1;

// The loaded keyword index of the current data set.
struct KeywordState {
    int IconSize = 32;                      // the data set: 16 or 32
    std::vector<std::string> KeywordNames;  // by keyword id, 0..kMaxKeywordId
    std::vector<std::string> KeywordIcons;  // the KeywordRecord of each id
    std::string CurrentKeywordId;           // decimal text of the keyword being listed
    bool KeywordsChanged = false;           // the keyword editor changed the user keywords
    bool UserIconsChanged = false;          // the user references were edited

    // How a user file was loaded. One of which lines were skipped is kept as
    // it is: changes are never written over it, and the user is told once.
    struct UserFileLoad {
        bool whole = true;    // every line was loaded
        bool tooLong = false; // some lines found the keyword tables full
        bool told = false;    // the user was told the changes cannot be saved
    };
    UserFileLoad KeywordFile, ReferenceFile;

    KeywordState() : KeywordNames(kMaxKeywordId + 1), KeywordIcons(kMaxKeywordId + 1) {}
};

// What the listing of one opened archive could not take: the archive itself,
// or members it left out.
struct ZipListingNote {
    bool unreadable = false;
    int leftOut = 0;
    unsigned reasons = 0; // why they were left out: bit n for the listing's reason n
};

// The entry list and the hidden lists that feed the file-based builders.
struct EntryLists {
    HiddenList cmbResult;   // one ResultEntry per icon, in listing order
    HiddenList lstFiles;    // icon files (or shortcut files) to list
    HiddenList lstZipFiles; // opened ZIP archives
    HiddenList lstZipIcons; // their members; ItemData = archive index in lstZipFiles
    std::vector<ZipListingNote> ZipListingNotes; // by archive index in lstZipFiles
};

// The user references: item i of both lists is one reference.
struct UserReferences {
    HiddenList lstUser; // keywords; ItemData = index in cmbUser
    HiddenList cmbUser; // "user" entries; ItemData = index in lstUser
};

struct PagingState {
    std::int32_t IconsPerPage = 150;
    std::int32_t CurrentPage = 0; // 1-based; 1 after every new list
    std::int32_t PageCount = 0;   // 0 until the first list
};

// Set by Esc and the abort button, tested by every long loop after it yields.
struct BusyState {
    bool AbortRequested = false;
};

// The library chunk shown last and the result of the last extraction.
struct ChunkState {
    std::string LoadedChunkPath;    // the chunk whose picture is loaded; "" at start
    std::string LibraryArchiveName; // archive of the last extraction, without folder
    bool ChunkAvailable = false;    // the last requested chunk file exists
    std::int32_t UnzipResult = 0;   // result of the last unzip call, kept, not interpreted
};

// Pages needed for count entries: rounded up, and 1 for an empty list.
std::int32_t PageCountFor(std::int32_t entryCount, std::int32_t iconsPerPage);

// The new-list step shared by every builder: page 1 of the list's pages.
void StartNewList(PagingState& paging, std::int32_t entryCount);

extern KeywordState Keywords;
extern EntryLists Entries;
extern UserReferences UserRefs;
extern PagingState Paging;
extern BusyState Busy;
extern ChunkState Chunks;

} // namespace vm
