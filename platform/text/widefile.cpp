#include "widefile.h"

#include "utf8text.h"

namespace vm::wide {

DWORD Attributes(const std::string& path) { return GetFileAttributesW(WideText(path).c_str()); }

bool AttributeData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return GetFileAttributesExW(WideText(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

bool SetAttributes(const std::string& path, DWORD attributes) {
    return SetFileAttributesW(WideText(path).c_str(), attributes) != 0;
}

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD creation, DWORD flags) {
    return CreateFileW(WideText(path).c_str(), access, share, nullptr, creation, flags, nullptr);
}

bool Delete(const std::string& path) { return DeleteFileW(WideText(path).c_str()) != 0; }

bool Move(const std::string& from, const std::string& to, DWORD flags) {
    return MoveFileExW(WideText(from).c_str(), WideText(to).c_str(), flags) != 0;
}

bool Copy(const std::string& from, const std::string& to, bool failIfThere) {
    return CopyFileW(WideText(from).c_str(), WideText(to).c_str(), failIfThere ? TRUE : FALSE) != 0;
}

bool MakeFolder(const std::string& path) { return CreateDirectoryW(WideText(path).c_str(), nullptr) != 0; }

bool RemoveFolder(const std::string& path) { return RemoveDirectoryW(WideText(path).c_str()) != 0; }

bool TooLongForOldCalls(const std::string& path) { return TextLength(path) >= MAX_PATH; }

} // namespace vm::wide
