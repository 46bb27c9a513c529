#pragma once
// An archive file on disk as the ZIP reader's byte source: every read is
// checked against the file's size.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ziparchive.h"

namespace zandrel {

class FileSource : public ArchiveSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    uint64_t size() const override { return size_; }
    // When the archive was last written; zero when it cannot be told.
    uint64_t written() const { return written_; }
    bool read(uint64_t offset, void* dst, size_t n) override;

private:
    bool readFile(uint64_t offset, void* dst, size_t n);

    HANDLE file_;
    // The block read last: the members of an archive lie one after another,
    // and each read of the file costs far more than copying what it brought.
    std::vector<unsigned char> block_;
    uint64_t blockAt_ = 0;
    uint64_t size_ = 0;
    uint64_t written_ = 0;
};

} // namespace zandrel
