#include "zipmembers.h"

#include <unordered_set>

#include "memberpath.h"

#include "zandrel32.h"
#include "zipnames.h"

namespace zandrel {

std::string usableName(const ZipEntry& e) {
    const std::string path = safeRelativePath(e.name);
    return path.empty() ? safeRelativePath(fileNamePart(e.name)) : path;
}

bool MemberLister::next(ListedMember& member) {
    while (at_ < entries_.size() && entries_[at_].isFolder()) ++at_;
    if (at_ == entries_.size()) return false;
    const ZipEntry& e = entries_[at_++];
    std::string path = usableName(e);
    if (path.empty())
        member = {&e, {}, nameFault(fileNamePart(e.name))};
    else if (!seen_.insert(pathKey(path)).second)
        member = {&e, {}, NameFault::Repeated};
    else
        member = {&e, std::move(path)};
    return true;
}

std::vector<ListedMember> listedMembers(const std::vector<ZipEntry>& entries) {
    std::vector<ListedMember> listed;
    MemberLister lister(entries);
    for (ListedMember m; lister.next(m);) listed.push_back(std::move(m));
    return listed;
}

MemberIndex::MemberIndex(const std::vector<ZipEntry>& entries) : entries_(entries), lister_(entries) {}

const ZipEntry* MemberIndex::listedUnder(const std::string& key) const {
    for (;;) {
        if (const auto found = byListed_.find(key); found != byListed_.end()) return &entries_[found->second];
        ListedMember m;
        if (!lister_.next(m)) return nullptr;
        if (m.fault == NameFault::None)
            byListed_.emplace(pathKey(m.path), static_cast<size_t>(m.entry - entries_.data()));
    }
}

void MemberIndex::indexStored() const {
    if (storedIndexed_) return;
    storedIndexed_ = true;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].isFolder()) continue;
        stored_.insert(pathKey(entries_[i].name));
        byName_.emplace(pathKey(fileNamePart(entries_[i].name)), i);
    }
}

int32_t MemberIndex::resolve(const std::string& member, const ZipEntry*& entry, std::string& relative) const {
    const std::string key = pathKey(member);
    if (const ZipEntry* listed = listedUnder(key)) {
        entry = listed;
        relative = usableName(*entry);
        return ZANDREL_OK;
    }
    // Stored under that path, yet listed under no such name: the path is unsafe.
    indexStored();
    if (stored_.count(key)) return ZANDREL_ERR_UNSAFE;
    if (fileNamePart(member).size() != member.size()) return ZANDREL_ERR_NOMEMBER;
    const auto found = byName_.find(key);
    if (found == byName_.end()) return ZANDREL_ERR_NOMEMBER;
    // A member asked for by its bare file name is written under that name
    // straight into the folder: the caller chose the folder, not the
    // archive's folders.
    entry = &entries_[found->second];
    relative = safeRelativePath(fileNamePart(entry->name));
    return relative.empty() ? ZANDREL_ERR_UNSAFE : ZANDREL_OK;
}

} // namespace zandrel
