#include "zipdircache.h"

#include "zandrel32.h"

namespace zandrel {
namespace {

bool sameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return a.nFileSizeLow == b.nFileSizeLow && a.nFileSizeHigh == b.nFileSizeHigh &&
           CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 &&
           CompareFileTime(&a.ftCreationTime, &b.ftCreationTime) == 0;
}

} // namespace

void DirectoryCache::forget() {
    index_.reset();
    entries_.clear();
    archive_.clear();
}

int32_t DirectoryCache::directory(const std::string& archive, ArchiveSource& source,
                                  const std::vector<ZipEntry>*& entries, const MemberIndex*& index) {
    WIN32_FILE_ATTRIBUTE_DATA stamp{};
    const bool stamped = GetFileAttributesExA(archive.c_str(), GetFileExInfoStandard, &stamp);
    if (!stamped || !index_ || archive_ != archive || !sameStamp(stamp, stamp_)) {
        forget();
        if (const int32_t rc = readDirectory(source, entries_); rc != ZANDREL_OK) {
            entries_.clear();
            return rc;
        }
        index_ = std::make_unique<MemberIndex>(entries_);
        // A file whose times cannot be read is read again next time.
        if (stamped) archive_ = archive;
        stamp_ = stamp;
    }
    entries = &entries_;
    index = index_.get();
    return ZANDREL_OK;
}

} // namespace zandrel
