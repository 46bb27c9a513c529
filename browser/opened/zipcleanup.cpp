#include "zipcleanup.h"

#include <windows.h>

#include <algorithm>

#include "files.h"
#include "utf8text.h"
#include "widefile.h"

namespace vm {
namespace {

bool sameFile(const std::string& a, const std::string& b) { return SameText(a, b); }

bool startsWith(const std::string& path, const std::string& root) {
    return path.size() > root.size() && StartsWithText(path, root);
}

// Removes the folders between deleted members and the private folder they
// were extracted to, as far as they are empty: extraction made them for the
// members. Every such folder is tried once, a folder's sub-folders before it.
void removeEmptyParents(const ExtractedMembers& record, const std::vector<std::string>& memberFolders) {
    std::vector<std::string> tops;
    for (const std::string& folder : record.folders)
        if (!folder.empty()) tops.push_back(procGetFullPath(folder));
    std::vector<std::string> folders;
    for (std::string folder : memberFolders) {
        const auto top = std::find_if(tops.begin(), tops.end(), [&](const std::string& t) { return startsWith(folder, t); });
        for (; top != tops.end() && folder.size() > top->size();
             folder = folder.substr(0, folder.rfind('\\', folder.size() - 2) + 1))
            folders.push_back(folder);
    }
    auto depth = [](const std::string& f) { return std::count(f.begin(), f.end(), '\\'); };
    std::sort(folders.begin(), folders.end(), [&](const std::string& a, const std::string& b) {
        return depth(a) != depth(b) ? depth(a) > depth(b) : CompareText(a, b) < 0;
    });
    folders.erase(std::unique(folders.begin(), folders.end(), sameFile), folders.end());
    for (const std::string& folder : folders) wide::RemoveFolder(folder.substr(0, folder.size() - 1));
}

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

// Deletes a member file; true when it is gone.
bool deleteMember(const std::string& path) {
    if (wide::Delete(path)) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace

ExtractedMembers ZipExtractions;

void RecordExtractedMember(ExtractedMembers& record, const std::string& path) {
    const std::string full = procGetFullPath(path);
    if (full.empty()) return;
    for (const std::string& known : record.paths)
        if (sameFile(known, full)) return;
    record.paths.push_back(full);
}

void DeleteExtractedMembers(ExtractedMembers& record, const std::string& tempPath) {
    std::string root = procGetFullPath(tempPath);
    if (!root.empty() && root.back() != '\\') root += '\\';
    std::vector<std::string> kept, emptied;
    for (std::string& path : record.paths) {
        // A path outside TEMP is never ours to delete; one that cannot be deleted now is tried at the next fill.
        if (root.size() <= 1 || !startsWith(path, root) || !deleteMember(path)) {
            kept.push_back(std::move(path));
            continue;
        }
        emptied.push_back(folderOf(path));
    }
    record.paths = std::move(kept);
    removeEmptyParents(record, std::move(emptied));
}

void DeleteExtractedMember(ExtractedMembers& record, const std::string& path) {
    const std::string full = procGetFullPath(path);
    if (full.empty() || !deleteMember(full)) return;
    removeEmptyParents(record, {folderOf(full)});
    std::erase_if(record.paths, [&](const std::string& known) { return sameFile(known, full); });
}

} // namespace vm
