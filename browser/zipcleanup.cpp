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

// A member name may climb out with "..", or be absolute; the resolved path
// has to lie below the folder.
bool insideFolder(const std::string& path, const std::string& folder) {
    std::string root = fullPath(folder);
    if (root.empty()) return false;
    if (root.back() != '\\') root += '\\';
    return path.size() > root.size() && strncasecmp(path.c_str(), root.c_str(), root.size()) == 0;
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

void DeleteExtractedMembers(ExtractedMembers& record, const HiddenList& lstZipIcons, const std::string& tempPath) {
    for (int i = 0; i < lstZipIcons.ListCount(); ++i) {
        const std::string path = fullPath(tempPath + lstZipIcons.List(i));
        if (path.empty() || !insideFolder(path, tempPath)) continue;
        auto found = std::find_if(record.paths.begin(), record.paths.end(),
                                  [&](const std::string& known) { return sameFile(known, path); });
        if (found == record.paths.end()) continue;
        if (procFileExists(path) && !DeleteFileA(path.c_str())) continue; // kept for the next fill to try
        record.paths.erase(found);
    }
}

} // namespace vm
