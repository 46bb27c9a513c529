#include "zipmembers.h"

#include "memberpath.h"

#include "zandrel32.h"
#include "zipnames.h"

namespace zandrel {

std::string usableName(const ZipEntry& e) {
    const std::string path = safeRelativePath(e.name);
    return path.empty() ? safeRelativePath(fileNamePart(e.name)) : path;
}

MemberIndex::MemberIndex(const std::vector<ZipEntry>& entries) : entries_(entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].isFolder()) continue;
        byPath_.emplace(pathKey(entries[i].name), i);
        byName_.emplace(pathKey(fileNamePart(entries[i].name)), i);
    }
}

int32_t MemberIndex::resolve(const std::string& member, const ZipEntry*& entry, std::string& relative) const {
    const std::string key = pathKey(member);
    auto found = byPath_.find(key);
    if (found == byPath_.end()) {
        if (fileNamePart(member).size() != member.size()) return ZANDREL_ERR_NOMEMBER;
        found = byName_.find(key);
        if (found == byName_.end()) return ZANDREL_ERR_NOMEMBER;
        // A member asked for by its bare file name is written under that name
        // straight into the folder: the caller chose the folder, not the
        // archive's folders.
        entry = &entries_[found->second];
        relative = safeRelativePath(fileNamePart(entry->name));
        return relative.empty() ? ZANDREL_ERR_UNSAFE : ZANDREL_OK;
    }
    entry = &entries_[found->second];
    // A member whose path is unsafe goes under its plain file name, as it was listed.
    relative = usableName(*entry);
    const bool asked = samePath(relative, member) || samePath(fileNamePart(relative), member);
    return relative.empty() || !asked ? ZANDREL_ERR_UNSAFE : ZANDREL_OK;
}

} // namespace zandrel
