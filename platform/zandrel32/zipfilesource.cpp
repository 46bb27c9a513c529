#include "zipfilesource.h"
#include "widefile.h"

#include <algorithm>

namespace zandrel {

FileSource::FileSource(const std::string& path)
    : file_(vm::wide::Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL)) {
    LARGE_INTEGER size{};
    if (file_ != INVALID_HANDLE_VALUE && GetFileSizeEx(file_, &size)) size_ = static_cast<uint64_t>(size.QuadPart);
    FILETIME time{};
    if (file_ != INVALID_HANDLE_VALUE && GetFileTime(file_, nullptr, nullptr, &time))
        written_ = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FileSource::~FileSource() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

namespace {
constexpr size_t kBlock = 256 * 1024;
} // namespace

bool FileSource::read(uint64_t offset, void* dst, size_t n) {
    if (offset > size_ || n > size_ - offset) return false;
    if (n >= kBlock) return readFile(offset, dst, n);
    if (offset < blockAt_ || offset + n > blockAt_ + block_.size()) {
        block_.resize(static_cast<size_t>(std::min<uint64_t>(kBlock, size_ - offset)));
        blockAt_ = offset;
        if (!readFile(offset, block_.data(), block_.size())) {
            block_.clear();
            return false;
        }
    }
    std::copy_n(block_.data() + (offset - blockAt_), n, static_cast<unsigned char*>(dst));
    return true;
}

bool FileSource::readFile(uint64_t offset, void* dst, size_t n) {
    auto* out = static_cast<unsigned char*>(dst);
    while (n > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD want = static_cast<DWORD>(std::min<size_t>(n, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file_, out, want, &got, &at) || got == 0) return false;
        out += got;
        offset += got;
        n -= got;
    }
    return true;
}

} // namespace zandrel
