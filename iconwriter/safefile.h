#pragma once
// Writing a file so that the target changes only when the new file is
// complete: everything goes to a temporary file beside the target, which is
// renamed over it at the end. A writer that is dropped before commit() removes
// its temporary file and leaves the target as it was.
#include <windows.h>

#include <cstddef>
#include <string>

namespace orvex {

// Target names the library accepts: not empty, no longer than the wide calls take.
bool validFileName(const char* fileName);
// A name in the program's code page as the wide calls take it.
std::wstring WideName(const std::string& name);

class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string& target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // False once the temporary file could not be made or a write fell short.
    bool ok() const { return ok_; }
    bool write(const void* data, size_t size);
    // Closes the temporary file and moves it to the target; with replace false
    // an existing target makes it fail.
    bool commit(bool replace);

private:
    void close();

    std::string target_;
    std::string temp_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool ok_ = false;
};

} // namespace orvex
