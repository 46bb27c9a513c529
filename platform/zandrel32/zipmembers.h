// Which member a request names, the same whoever asks: the DLL extracting to
// disk, or the program reading a member into memory. No Windows headers here.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ziparchive.h"
#include "zipnames.h"

namespace zandrel {

// The name a member is listed and written under: its path when that is a
// safe one, else its plain file name alone when that is safe, else "".
std::string usableName(const ZipEntry& e);

// A member as a listing takes it: its entry, and the name it is listed and
// extracted under; or, for a member left out, why (path then empty).
struct ListedMember {
    const ZipEntry* entry = nullptr;
    std::string path;
    NameFault fault = NameFault::None;
};

// Every member but the folders, in the directory's order, as a listing takes
// it. Left out (with its fault) is a member whose name gives not even a safe
// plain file name, and a second member of an earlier one's path (case
// ignored: its file would overwrite that one's); one whose path is unsafe
// ("..", a drive, a leading separator) is listed by its plain name.
std::vector<ListedMember> listedMembers(const std::vector<ZipEntry>& entries);

// The same, member by member, so that a long listing can start at once and
// a caller can stop or pause it at any member.
class MemberLister {
public:
    explicit MemberLister(const std::vector<ZipEntry>& entries) : entries_(entries) {}
    // The next member as a listing takes it; false when there is none.
    bool next(ListedMember& member);

private:
    const std::vector<ZipEntry>& entries_;
    size_t at_ = 0;
    std::unordered_set<std::string> seen_;
};

// A directory's members by the name a listing shows and by plain file name,
// first member of a name first, so that finding one costs the same however
// many there are. It is made as far as requests need: a member the listing
// names is found by taking the listing up to it; the rest is made at the
// first request for a name the listing does not give.
class MemberIndex {
public:
    explicit MemberIndex(const std::vector<ZipEntry>& entries);

    // The member a listing shows under that name (listedMembers), which is
    // not always the one stored under it: "x/../a.ico" is listed as "a.ico"
    // before a later "a.ico". Failing that, when the request is a bare file
    // name, the first member of that file name. Only the first member of a
    // name is ever taken: a later one of the same path (case ignored) would
    // overwrite it, and an archive may list one big member under many names
    // to multiply what it writes. ZANDREL_OK with entry and the relative path
    // it goes under, ZANDREL_ERR_NOMEMBER, or ZANDREL_ERR_UNSAFE when the
    // member asked for cannot go under the name asked (its path is unsafe).
    int32_t resolve(const std::string& member, const ZipEntry*& entry, std::string& relative) const;

private:
    const ZipEntry* listedUnder(const std::string& key) const;
    void indexStored() const;

    const std::vector<ZipEntry>& entries_;
    mutable MemberLister lister_;
    mutable std::unordered_map<std::string, size_t> byListed_, byName_;
    mutable std::unordered_set<std::string> stored_; // every member's path as stored
    mutable bool storedIndexed_ = false;
};

} // namespace zandrel
