#include "safefile.h"

#include <cstring>

namespace orvex {

bool validFileName(const char* fileName) {
    if (!fileName) return false;
    // Windows counts a path in UTF-16 units: a name in UTF-8 takes up to three bytes for one.
    const size_t bytes = strnlen(fileName, 4 * MAX_PATH);
    if (bytes == 0 || bytes >= 4 * MAX_PATH) return false;
    const int units = MultiByteToWideChar(CP_ACP, 0, fileName, static_cast<int>(bytes), nullptr, 0);
    return units > 0 && units < MAX_PATH;
}

SafeFileWriter::SafeFileWriter(const std::string& target) : target_(target) {
    const size_t slash = target.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    // GetTempFileName creates the file, so the name is ours alone. Asked wide: the name in the
    // ANSI code page (UTF-8 for the program) may take more than MAX_PATH bytes.
    std::wstring wideFolder(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wideFolder.data(), static_cast<int>(wideFolder.size()));
    wchar_t temp[MAX_PATH];
    if (!GetTempFileNameW(wideFolder.c_str(), L"orv", 0, temp)) return;
    temp_.assign(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, temp, -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, 0, temp, -1, temp_.data(), static_cast<int>(temp_.size()), nullptr, nullptr);
    temp_.resize(temp_.size() - 1);
    file_ = CreateFileA(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
