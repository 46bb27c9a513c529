#include "safefile.h"

#include <cstring>

namespace orvex {

bool validFileName(const char* fileName) {
    if (!fileName) return false;
    const size_t length = strnlen(fileName, MAX_PATH);
    return length > 0 && length < MAX_PATH;
}

SafeFileWriter::SafeFileWriter(const std::string& target) : target_(target) {
    const size_t slash = target.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    char temp[MAX_PATH];
    // GetTempFileNameA creates the file, so the name is ours alone.
    if (!GetTempFileNameA(folder.c_str(), "orv", 0, temp)) return;
    temp_ = temp;
    file_ = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ok_ = file_ != INVALID_HANDLE_VALUE;
}

SafeFileWriter::~SafeFileWriter() {
    close();
    if (!temp_.empty()) DeleteFileA(temp_.c_str());
}

bool SafeFileWriter::write(const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (ok_ && size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        ok_ = WriteFile(file_, p, chunk, &written, nullptr) && written == chunk;
        p += chunk;
        size -= chunk;
    }
    return ok_;
}

bool SafeFileWriter::commit(bool replace) {
    close();
    if (!ok_) return false;
    // A rename may replace a read-only file where writing it would be refused;
    // keep such a file as writing it in place would have.
    const DWORD attributes = GetFileAttributesA(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    if (!MoveFileExA(temp_.c_str(), target_.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) return false;
    temp_.clear();
    return true;
}

void SafeFileWriter::close() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    if (!CloseHandle(file_)) ok_ = false;
    file_ = INVALID_HANDLE_VALUE;
}

} // namespace orvex
