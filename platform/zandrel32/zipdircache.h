// The directory of the archive read last, kept while the file stays as it
// was: whoever takes member after member of one archive would otherwise read
// its whole directory again for each, and the cost would grow with the
// square of its members.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ziparchive.h"
#include "zipfilesource.h"
#include "zipmembers.h"

namespace zandrel {

class DirectoryCache {
public:
    // The directory of archive, open in source: the kept one when the file's
    // size and time have not changed since, else read now. ZANDREL_OK, or
    // readDirectory's failure (nothing is kept then).
    int32_t directory(const std::string& archive, FileSource& source, const std::vector<ZipEntry>*& entries);
    // The index of the directory kept, made when first asked for: a listing
    // needs none, and making one for 65,535 members takes a while.
    const MemberIndex& index();
    void forget();
    // How many times the directory has been read: what was taken from an
    // earlier read is stale once this changes.
    uint64_t reads() const { return reads_; }

private:
    std::string archive_;
    uint64_t size_ = 0;
    uint64_t written_ = 0;
    uint64_t reads_ = 0;
    std::vector<ZipEntry> entries_;
    std::unique_ptr<MemberIndex> index_;
};

} // namespace zandrel
