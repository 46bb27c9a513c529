#pragma once
// An opened file (or an archive's member) read once: its bytes, its kind and
// the verdict of the project's readers, and its icons as the gate makes them
// travel together from the listing to the page, so that neither the lister,
// the counter nor the page loader asks again by path.
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>

#include "filekinds.h"
#include "loadergate.h"

namespace vm {

class OpenedFile {
public:
    // Bytes held in memory.
    explicit OpenedFile(std::string bytes);
    // Bytes of a file mapped for reading (view of size bytes, unmapped at the end).
    OpenedFile(const void* view, std::size_t size);
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;
    ~OpenedFile();

    std::span<const std::uint8_t> bytes() const { return bytes_; }
    std::string_view text() const { return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()}; }
    FileKind kind() const { return checked_.kind; }
    bool sound() const { return checked_.sound; }
    const gate::IconBytes& icons() const { return icons_; }
    // Whether the bytes are a mapped file's, which stays locked while they are.
    bool mapped() const { return view_ != nullptr; }
    // When the file read was last written, as its handle told at the read; 0 when not read from a file.
    std::uint64_t written() const { return written_; }
    void setWritten(std::uint64_t written) { written_ = written; }

private:
    std::string held_;
    const void* view_ = nullptr;
    std::span<const std::uint8_t> bytes_;
    CheckedBytes checked_;
    gate::IconBytes icons_;
    std::uint64_t written_ = 0;
};

using OpenedValue = std::shared_ptr<const OpenedFile>;

// The file at path read whole when it holds no more than holdLimit bytes,
// mapped when larger; null when it cannot be opened or read or is empty.
// Paths of any length are read.
OpenedValue ReadOpenedFile(const std::string& path, std::uint64_t holdLimit);

// The opened values of the listings by their entry's file field, within a
// memory budget: beyond it the oldest are dropped, and read again by whoever
// needs them. A file's value is dropped too once the file on disk changes, so
// a folder listed again reads only what changed since.
class OpenedStore {
public:
    explicit OpenedStore(std::uint64_t budget) : budget_(budget) {}
    // The value kept for key; null when none is (or it was dropped).
    OpenedValue find(const std::string& key) const;
    // Keeps value for key; path is the file on disk it was read from, if any.
    // A mapped value is not kept: the user's file must not stay locked.
    void keep(const std::string& key, const OpenedValue& value, const std::string& path = "");
    void clear();
    // Drops the values kept without a file on disk to check them against
    // (an archive's members): only these could be out of date unseen.
    void forgetUnchecked();
    std::uint64_t held() const { return held_; }

private:
    struct Kept {
        OpenedValue value;
        std::string path;
        std::uint64_t size = 0;
        std::uint64_t written = 0;
    };
    std::uint64_t budget_;
    std::uint64_t held_ = 0;
    std::unordered_map<std::string, Kept> kept_;
    std::deque<std::string> order_; // oldest first
};

// The store of the program's opened files.
extern OpenedStore OpenedFiles;

} // namespace vm
