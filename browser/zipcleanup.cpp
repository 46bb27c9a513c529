#include "zipcleanup.h"

#include <windows.h>

#include <algorithm>
#include <strings.h>

#include "files.h"

namespace vm {
namespace {

// The absolute form of a path, "" when Windows cannot make one.
std::string fullPath(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof(buffer), buffer, nullptr);
    return n > 0 && n < sizeof(buffer) ? std::string(buffer, n) : std::string();
}

bool sameFile(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

bool startsWith(const std::string& path, const std::string& root) {
    return path.size() > root.size() && strncasecmp(path.c_str(), root.c_str(), root.size()) == 0;
}

// A member name may climb out with "..", or be absolute; the resolved path
// has to lie below the folder.
bool insideFolder(const std::string& path, const std::string& folder) {
    std::string root = fullPath(folder);
    if (root.empty()) return false;
    if (root.back() != '\\') root += '\\';
    return startsWith(path, root);
}

// Removes the folders between a deleted member and the private folder it was
// extracted to, as far as they are empty: extraction made them for the member.
void removeEmptyParents(const ExtractedMembers& record, const std::string& path) {
    const auto root = std::find_if(record.folders.begin(), record.folders.end(), [&](const std::string& folder) {
        return !folder.empty() && startsWith(path, fullPath(folder));
    });
    if (root == record.folders.end()) return;
    const std::string top = fullPath(*root);
    std::string folder = path.substr(0, path.rfind('\\') + 1);
    while (folder.size() > top.size() && startsWith(folder, top)) {
        if (!RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str())) return;
        folder = folder.substr(0, folder.rfind('\\', folder.size() - 2) + 1);
    }
}

} // namespace

ExtractedMembers ZipExtractions;

void RecordExtractedMember(ExtractedMembers& record, const std::string& path) {
    const std::string full = fullPath(path);
    if (full.empty()) return;
    for (const std::string& known : record.paths)
        if (sameFile(known, full)) return;
    record.paths.push_back(full);
}

void DeleteExtractedMembers(ExtractedMembers& record, const std::string& tempPath) {
    for (auto it = record.paths.begin(); it != record.paths.end();) {
        const std::string& path = *it;
        if (!insideFolder(path, tempPath)) {
            ++it; // never ours to delete
            continue;
        }
        if (procFileExists(path) && !DeleteFileA(path.c_str())) {
            ++it; // kept for the next fill to try
            continue;
        }
        removeEmptyParents(record, path);
        it = record.paths.erase(it);
    }
}

void DeleteExtractedMember(ExtractedMembers& record, const std::string& path) {
    const std::string full = fullPath(path);
    if (full.empty() || (procFileExists(full) && !DeleteFileA(full.c_str()))) return;
    removeEmptyParents(record, full);
    std::erase_if(record.paths, [&](const std::string& known) { return sameFile(known, full); });
}

} // namespace vm
