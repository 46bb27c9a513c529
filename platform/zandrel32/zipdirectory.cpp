#include "zandrel32.h"
#include "ziparchive.h"
#include "zipbytes.h"

#include <algorithm>

namespace zandrel {

bool ZipEntry::isFolder() const {
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

namespace {

constexpr size_t kMaxCommentSize = 0xffff;

// Finds the end record in the archive's tail. A comment may itself hold the
// signature's bytes, even a whole fake record, so the record taken is one
// whose comment ends exactly at the end of the file and whose directory ends
// where the record starts; failing that, one whose comment ends at the end
// of the file; and only when there is none (bytes appended after the
// archive) the nearest whose comment fits.
bool findEndRecord(ArchiveSource& source, uint64_t& recordOffset, std::vector<unsigned char>& record) {
    const uint64_t size = source.size();
    if (size < kEndRecordSize) return false;
    const size_t tailSize = static_cast<size_t>(std::min<uint64_t>(size, kEndRecordSize + kMaxCommentSize));
    std::vector<unsigned char> tail(tailSize);
    const uint64_t tailOffset = size - tailSize;
    if (!source.read(tailOffset, tail.data(), tailSize)) return false;
    constexpr size_t kNone = ~size_t{0};
    size_t best[3] = {kNone, kNone, kNone}; // exact and consistent, exact, fitting
    for (size_t i = tailSize - kEndRecordSize + 1; i-- > 0;) {
        const unsigned char* p = tail.data() + i;
        if (le32(p) != kEndRecordSignature) continue;
        const size_t end = i + kEndRecordSize + le16(p + 20);
        if (end > tailSize) continue;
        const bool exact = end == tailSize;
        const bool consistent = uint64_t{le32(p + 16)} + le32(p + 12) == tailOffset + i;
        const int rank = exact ? (consistent ? 0 : 1) : 2;
        if (best[rank] == kNone) best[rank] = i;
        if (rank == 0) break;
    }
    for (size_t found : best) {
        if (found == kNone) continue;
        recordOffset = tailOffset + found;
        record.assign(tail.data() + found, tail.data() + found + kEndRecordSize);
        return true;
    }
    return false;
}

} // namespace

int32_t readDirectory(ArchiveSource& source, std::vector<ZipEntry>& entries) {
    entries.clear();
    uint64_t endOffset = 0;
    std::vector<unsigned char> end;
    if (!findEndRecord(source, endOffset, end)) return ZANDREL_ERR_FORMAT;

    const uint16_t diskNumber = le16(&end[4]);
    const uint16_t directoryDisk = le16(&end[6]);
    const uint16_t entriesOnDisk = le16(&end[8]);
    const uint16_t entryCount = le16(&end[10]);
    const uint32_t directorySize = le32(&end[12]);
    const uint32_t directoryOffset = le32(&end[16]);
    if (diskNumber != 0 || directoryDisk != 0 || entriesOnDisk != entryCount) return ZANDREL_ERR_FORMAT;
    if (static_cast<uint64_t>(directoryOffset) + directorySize > endOffset) return ZANDREL_ERR_FORMAT;
    if (static_cast<uint64_t>(entryCount) * kCentralHeaderSize > directorySize) return ZANDREL_ERR_FORMAT;

    std::vector<unsigned char> dir(directorySize);
    if (directorySize != 0 && !source.read(directoryOffset, dir.data(), dir.size())) return ZANDREL_ERR_OPEN;

    size_t pos = 0;
    entries.reserve(entryCount);
    for (uint16_t n = 0; n < entryCount; ++n) {
        if (dir.size() - pos < kCentralHeaderSize) return ZANDREL_ERR_FORMAT;
        const unsigned char* p = dir.data() + pos;
        if (le32(p) != kCentralHeaderSignature) return ZANDREL_ERR_FORMAT;
        const size_t nameLength = le16(p + 28);
        const size_t variableLength = nameLength + le16(p + 30) + le16(p + 32);
        if (dir.size() - pos - kCentralHeaderSize < variableLength) return ZANDREL_ERR_FORMAT;
        if (le16(p + 34) != 0) return ZANDREL_ERR_FORMAT;

        ZipEntry e;
        e.flags = le16(p + 8);
        e.method = le16(p + 10);
        e.dosTime = le16(p + 12);
        e.dosDate = le16(p + 14);
        e.crc = le32(p + 16);
        e.compressedSize = le32(p + 20);
        e.size = le32(p + 24);
        e.localOffset = le32(p + 42);
        e.name.assign(reinterpret_cast<const char*>(p + kCentralHeaderSize), nameLength);
        // Where a member's data lies, and how much of it, is that member's
        // own promise: extractMember holds it to the file, so one member that
        // lies leaves the others readable.
        entries.push_back(std::move(e));
        pos += kCentralHeaderSize + variableLength;
    }
    return ZANDREL_OK;
}

} // namespace zandrel
