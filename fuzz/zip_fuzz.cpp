// ZIP archives as the program uses them: the end record and the central
// directory, then the member list a listing shows, the index that finds a
// member again by the name it was listed under (for the extraction to disk
// and the read into memory alike), and the members' data (stored, deflated,
// encrypted). Every member listed is found again as itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "zandrel32.h"
#include "ziparchive.h"
#include "zipmembers.h"

namespace {

class MemorySource : public zandrel::ArchiveSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* dst, std::size_t n) override {
        if (offset > size_ || n > size_ - offset) return false;
        std::memcpy(dst, data_ + offset, n);
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Takes what a member gives up to the limit a real extraction has.
class BoundedSink : public zandrel::MemberSink {
public:
    bool write(const unsigned char*, std::size_t n) override {
        written_ += n;
        return written_ <= ZANDREL_MAX_MEMBER;
    }

private:
    std::uint64_t written_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySource source(data, size);
    std::vector<zandrel::ZipEntry> entries;
    if (zandrel::readDirectory(source, entries) != ZANDREL_OK) return 0;
    const zandrel::MemberIndex index(entries);
    for (const auto& member : zandrel::listedMembers(entries)) {
        if (member.fault != zandrel::NameFault::None) continue;
        const zandrel::ZipEntry* found = nullptr;
        std::string relative;
        if (index.resolve(member.path, found, relative) != ZANDREL_OK || found != member.entry ||
            relative != member.path)
            __builtin_trap();
    }
    for (const auto& e : entries) {
        if (e.size > ZANDREL_MAX_MEMBER) continue; // refused before extraction
        BoundedSink sink;
        zandrel::extractMember(source, e, "Wrenfoldbake", sink);
    }
    return 0;
}
