#pragma once
// An archive read from bytes held in memory.
#include <cstdint>
#include <cstring>
#include <string>

#include "ziparchive.h"

namespace vmtest {

class MemorySource : public zandrel::ArchiveSource {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    uint64_t size() const override { return bytes_.size(); }
    bool read(uint64_t offset, void* dst, size_t n) override {
        if (offset > bytes_.size() || n > bytes_.size() - offset) return false;
        std::memcpy(dst, bytes_.data() + offset, n);
        return true;
    }

private:
    std::string bytes_;
};

} // namespace vmtest
