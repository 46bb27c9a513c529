#include "files.h"

#include <shellapi.h>

#include <vector>

#include "errorreport.h"
#include "seam.h"
#include "state.h"
#include "utf8text.h"
#include "widefile.h"

namespace vm {

bool procFileExists(const std::string& path) {
    if (path.empty()) return false;
    HANDLE file = wide::Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string procGetFullPath(const std::string& path) {
    if (path.empty()) return {};
    const std::wstring wide = WideText(path);
    std::wstring full(MAX_PATH, L'\0');
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return {};
        if (n < full.size()) return Utf8Text(std::wstring_view(full.data(), n));
        full.assign(n, L'\0');
    }
    return {};
}

std::string procGetFileName(const std::string& path) {
    auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

std::string procGetFolder(std::string& path) {
    auto slash = path.rfind('\\');
    path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return path;
}

std::vector<FolderEntry> procListFolder(const std::string& pattern) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(WideText(pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({Utf8Text(name), data.dwFileAttributes, data.ftLastWriteTime, data.ftCreationTime});
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return entries;
}

namespace {

std::string lastError() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = text ? text : "Error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

} // namespace

std::string RemoveFolderTree(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    const DWORD self = wide::Attributes(folder);
    if (self == INVALID_FILE_ATTRIBUTES) return lastError();
    // A link is removed as a link.
    if (!(self & FILE_ATTRIBUTE_REPARSE_POINT)) {
        for (const FolderEntry& entry : procListFolder(folder + "\\*")) {
            std::string failure;
            const std::string below = folder + "\\" + entry.name;
            if (entry.isFolder() && !entry.isLink()) {
                failure = RemoveFolderTree(below);
            } else if (entry.isFolder()) {
                if (!wide::RemoveFolder(below)) failure = lastError();
            } else {
                if (entry.attributes & FILE_ATTRIBUTE_READONLY)
                    wide::SetAttributes(below, entry.attributes & ~FILE_ATTRIBUTE_READONLY);
                if (!wide::Delete(below)) failure = lastError();
            }
            if (!failure.empty()) return failure;
        }
    }
    if (!wide::RemoveFolder(folder)) return lastError();
    return "";
}

namespace {

// The stored name of the one entry the directory search finds for path, or "".
std::string storedName(const std::string& path) {
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(WideText(path).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return {};
    FindClose(search);
    return Utf8Text(data.cFileName);
}

} // namespace

std::string procGetLongPath(const std::string& path) {
    if (path.rfind("\\\\", 0) == 0) return path;
    // A wildcard would make the search answer with some other entry's name.
    if (path.find_first_of("*?") != std::string::npos) return {};

    // Trailing backslashes are not components: look up the path without them
    // and give exactly one back at the end.
    std::string work = path;
    bool trailing = false;
    while (work.size() > 3 && work.back() == '\\') {
        work.pop_back();
        trailing = true;
    }
    if (work.size() <= 3) return path.size() <= 3 ? path : work; // a drive root stays the root

    std::string result = work.substr(0, 2);
    work += '\\';
    for (auto slash = work.find('\\', 3); slash != std::string::npos; slash = work.find('\\', slash + 1)) {
        std::string name = storedName(work.substr(0, slash));
        if (name.empty()) return {};
        result += '\\' + name;
    }
    if (result.back() == '.') result.pop_back();
    else if (trailing) result += '\\';
    return result;
}

std::string procGetShortPath(const std::string& path) {
    std::vector<char> buffer(MAX_PATH);
    DWORD n = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n >= buffer.size()) { // too small: n is the size it needs
        buffer.resize(n + 1);
        n = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n >= buffer.size()) return {};
    }
    return std::string(buffer.data(), n);
}

void procRenameFile(const std::string& source, const std::string& target, bool deleteSource) {
    if (!procFileExists(source) || procFileExists(target)) return;
    if (wide::Move(source, target, MOVEFILE_COPY_ALLOWED)) {
        // The move has taken the source away; a leftover under the old name
        // could only be a copy the move made across volumes.
        if (deleteSource && procFileExists(source)) wide::Delete(source);
        return;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return; // someone else moved one of them meanwhile; nothing to report
    case ERROR_PATH_NOT_FOUND:
        procShowError(76, kErrorSource, "Path not found");
        return;
    case ERROR_NOT_SAME_DEVICE:
        procShowError(74, kErrorSource, "Can't rename with different drive");
        return;
    default:
        procShowError(75, kErrorSource, "Path/File access error");
        return;
    }
}

void procDeleteChangedIconFile(const std::string& path) {
    std::string folder = path;
    procGetFolder(folder);
    if (folder == paths.WindowsDir + "\\Icons\\" && procFileExists(path)) wide::Delete(path);
}

void procShowFileProperties(const std::string& file, HWND owner) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = "properties";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info)) {
        // A file that is there is not called missing when the shell has no sheet for it.
        MsgBox(procFileExists(file) ? "The properties of " + file + " could not be shown: Windows offers no " +
                                          "properties sheet for this file."
                                    : "File " + file + " not found.",
               vbExclamation, "Error");
        return;
    }
    if (info.hProcess) CloseHandle(info.hProcess);
}

std::string procGetFileMajorVersion(const std::string& file) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return std::to_string(static_cast<std::int16_t>(HIWORD(fixed->dwProductVersionMS)));
}

std::string procTrimNull(std::string& text) {
    auto nul = text.find('\0');
    if (nul != std::string::npos) text.erase(nul);
    return text;
}

} // namespace vm
