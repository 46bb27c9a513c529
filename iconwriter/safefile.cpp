#include "safefile.h"

#include <cstring>

namespace orvex {

namespace {
// The longest path the wide calls take, in UTF-16 units.
constexpr int kMaxPathUnits = 32767;
} // namespace

std::wstring WideName(const std::string& name) {
    const int units = MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units > 0 ? units : 0), L'\0');
    if (units > 0) MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), units);
    return wide;
}

bool validFileName(const char* fileName) {
    if (!fileName) return false;
    // Windows counts a path in UTF-16 units: a name in UTF-8 takes up to three bytes for one.
    const size_t bytes = strnlen(fileName, 4 * kMaxPathUnits);
    if (bytes == 0 || bytes >= 4 * kMaxPathUnits) return false;
    const int units = MultiByteToWideChar(CP_ACP, 0, fileName, static_cast<int>(bytes), nullptr, 0);
    return units > 0 && units < kMaxPathUnits;
}

SafeFileWriter::SafeFileWriter(const std::string& target) : target_(target) {
    const size_t slash = target.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    // The file is made only where none is, so the name is ours alone; the system's own maker of
    // such names takes no folder longer than MAX_PATH - 14 characters.
    std::string base = folder;
    if (base.back() != '\\' && base.back() != '/') base += '\\';
    unsigned number = GetTickCount() + GetCurrentProcessId();
    for (int tries = 0; tries < 0x10000; ++tries) {
        char tail[16];
        wsprintfA(tail, "orv%X.tmp", ++number & 0xFFFF);
        temp_ = base + tail;
        file_ = CreateFileW(WideName(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
        if (file_ != INVALID_HANDLE_VALUE) break;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    ok_ = file_ != INVALID_HANDLE_VALUE;
    if (!ok_) temp_.clear();
}

SafeFileWriter::~SafeFileWriter() {
    close();
    if (!temp_.empty()) DeleteFileW(WideName(temp_).c_str());
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
    const std::wstring target = WideName(target_);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    if (!MoveFileExW(WideName(temp_).c_str(), target.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) return false;
    temp_.clear();
    return true;
}

void SafeFileWriter::close() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    if (!CloseHandle(file_)) ok_ = false;
    file_ = INVALID_HANDLE_VALUE;
}

} // namespace orvex
