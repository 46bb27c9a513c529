#include "zipdircache.h"

#include "memberpath.h"
#include "storedtext.h"
#include "zandrel32.h"
#include "zipnames.h"

namespace zandrel {

void DirectoryCache::forget() {
    index_.reset();
    entries_.clear();
    archive_.clear();
}

int32_t DirectoryCache::directory(const std::string& archive, FileSource& source,
                                  const std::vector<ZipEntry>*& entries) {
    const bool same = !archive_.empty() && source.written() != 0 && written_ == source.written() &&
                      size_ == source.size() && samePath(archive_, archive);
    if (!same) {
        forget();
        ++reads_;
        if (const int32_t rc = readDirectory(source, entries_); rc != ZANDREL_OK) {
            entries_.clear();
            return rc;
        }
        // Names are listed, compared and written in the program's own UTF-8.
        for (auto& e : entries_) e.name = vm::ZipMemberNameText(e.name, (e.flags & kFlagUtf8Name) != 0);
        archive_ = archive;
        size_ = source.size();
        written_ = source.written();
    }
    entries = &entries_;
    return ZANDREL_OK;
}

const MemberIndex& DirectoryCache::index() {
    if (!index_) index_ = std::make_unique<MemberIndex>(entries_);
    return *index_;
}

} // namespace zandrel
