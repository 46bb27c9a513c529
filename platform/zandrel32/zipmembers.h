// Which member a request names, the same whoever asks: the DLL extracting to
// disk, or the program reading a member into memory. No Windows headers here.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "ziparchive.h"

namespace zandrel {

// The name a member is listed and written under: its path when that is a
// safe one, else its plain file name alone when that is safe, else "".
std::string usableName(const ZipEntry& e);

// A directory's members by path and by plain file name, first member of a
// name first, so that finding one costs the same however many there are.
class MemberIndex {
public:
    explicit MemberIndex(const std::vector<ZipEntry>& entries);

    // The member asked for by its whole path; failing that, when the request
    // is a bare file name, the first member of that file name. Only the first
    // member of a name is ever taken: a later one of the same path (case
    // ignored) would overwrite it, and an archive may list one big member
    // under many names to multiply what it writes. ZANDREL_OK with entry and
    // the relative path it goes under, ZANDREL_ERR_NOMEMBER, or
    // ZANDREL_ERR_UNSAFE when the member found cannot go under the name asked.
    int32_t resolve(const std::string& member, const ZipEntry*& entry, std::string& relative) const;

private:
    const std::vector<ZipEntry>& entries_;
    std::unordered_map<std::string, size_t> byPath_, byName_;
};

} // namespace zandrel
