// The DLL's Windows side: the prepared operation, the archive file, the
// member listing sent to a window, and writing members to disk.
#include <windows.h>

#include "memberpath.h"
#include "storedtext.h"
#include "temporaryname.h"
#include "zandrel32.h"
#include "ziparchive.h"
#include "zipfilesource.h"
#include "zipnames.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// What the setters prepared since the last addUNZIP_Initialise.
struct Operation {
    std::string archive;
    std::string password;
    std::string member;
    std::string folder;
    bool overwrite = false;
    bool view = false;
    HWND window = nullptr;
};

Operation g_op;

class FileSink : public zandrel::MemberSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool write(const unsigned char* data, size_t n) override {
        DWORD written = 0;
        return WriteFile(file_, data, static_cast<DWORD>(n), &written, nullptr) && written == n;
    }

private:
    HANDLE file_;
};

std::string listingLine(const zandrel::ZipEntry& e, const std::string& path) {
    const char* method = e.method == zandrel::kMethodStored     ? "Stored"
                         : e.method == zandrel::kMethodDeflated ? "Deflated"
                                                                : "Unknown";
    char fields[96];
    std::snprintf(fields, sizeof fields, "%llu|%llu|%s|%04u-%02u-%02u %02u:%02u|",
                  static_cast<unsigned long long>(e.size), static_cast<unsigned long long>(e.compressedSize), method,
                  (e.dosDate >> 9) + 1980u, (e.dosDate >> 5) & 15u, e.dosDate & 31u, e.dosTime >> 11,
                  (e.dosTime >> 5) & 63u);
    return fields + path;
}

// The name a member is listed and written under: its path when that is a
// safe one, else its plain file name alone when that is safe, else "".
std::string usableName(const zandrel::ZipEntry& e) {
    const std::string path = zandrel::safeRelativePath(e.name);
    return path.empty() ? zandrel::safeRelativePath(zandrel::fileNamePart(e.name)) : path;
}

// One WM_SETTEXT per member, sent (not posted) so that the window's owner
// handles each line before the next arrives. Folders are left out, and so is
// a member whose name gives not even a safe plain file name, or a second
// member of an earlier one's path; one whose path is unsafe ("..", a drive, a
// leading separator) is listed by its plain name.
int32_t listMembers(const std::vector<zandrel::ZipEntry>& entries) {
    int32_t listed = 0;
    // Windows' file names ignore case: a member of an earlier one's path
    // would overwrite that one's file.
    std::unordered_set<std::string> seen;
    for (const auto& e : entries) {
        if (e.isFolder()) continue;
        const std::string path = usableName(e);
        if (path.empty() || !seen.insert(zandrel::pathKey(path)).second) continue;
        if (g_op.window) {
            const std::string line = listingLine(e, path);
            SendMessageA(g_op.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        ++listed;
    }
    return listed;
}

std::string joinPath(std::string folder, const std::string& relative) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder + "\\" + relative;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Creates the member's missing folders below folder; those it made are added
// to `made`, deepest last, so that a failure can take them away again.
bool createSubFolders(const std::string& folder, const std::string& relative, std::vector<std::string>& made) {
    for (size_t slash = relative.find('\\'); slash != std::string::npos; slash = relative.find('\\', slash + 1)) {
        const std::string path = joinPath(folder, relative.substr(0, slash));
        if (CreateDirectoryA(path.c_str(), nullptr)) made.push_back(path);
        else if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

void removeFolders(const std::vector<std::string>& made) {
    for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryA(it->c_str());
}

// A member larger than any file the program uses, or than the target disk
// can take, is refused before anything is written.
bool fits(const zandrel::ZipEntry& entry) {
    if (entry.size > ZANDREL_MAX_MEMBER) return false;
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExA(g_op.folder.c_str(), &free, nullptr, nullptr)) return true;
    return entry.size <= free.QuadPart;
}

// The member goes to a temporary file in the target folder and is moved into
// place only when it is complete and its CRC matched, so a wrong password or
// damaged data never leaves a file, nor harms one already there; the member's
// own folders are made only then, and taken away again when the move fails.
int32_t extractOne(zandrel::ArchiveSource& source, const zandrel::ZipEntry& entry, const std::string& relative) {
    const std::string target = joinPath(g_op.folder, relative);
    if (!g_op.overwrite && exists(target)) return ZANDREL_ERR_EXISTS;
    if (!fits(entry)) return ZANDREL_ERR_TOOLARGE;

    std::string baseFolder = g_op.folder;
    while (!baseFolder.empty() && (baseFolder.back() == '\\' || baseFolder.back() == '/')) baseFolder.pop_back();
    const std::string temporary = vm::NewTemporaryFileIn(baseFolder, "znd");
    if (temporary.empty()) return ZANDREL_ERR_WRITE;
    const char* temp = temporary.c_str();
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp);
        return ZANDREL_ERR_WRITE;
    }
    FileSink sink(file);
    int32_t rc = zandrel::extractMember(source, entry, g_op.password, sink);
    CloseHandle(file);
    std::vector<std::string> made;
    if (rc == ZANDREL_OK && !createSubFolders(g_op.folder, relative, made)) rc = ZANDREL_ERR_WRITE;
    if (rc == ZANDREL_OK && !MoveFileExA(temp, target.c_str(), g_op.overwrite ? MOVEFILE_REPLACE_EXISTING : 0))
        rc = exists(target) && !g_op.overwrite ? ZANDREL_ERR_EXISTS : ZANDREL_ERR_WRITE;
    if (rc != ZANDREL_OK) {
        DeleteFileA(temp);
        removeFolders(made);
    }
    return rc;
}

// The directory of the archive read last, kept while that archive keeps its
// size and time: the program extracts an archive's members one call each,
// and reading a directory of 65,535 members again, or searching it name by
// name, for every one of them would take minutes.
struct ReadDirectory {
    std::string archive;
    uint64_t size = 0;
    uint64_t written = 0;
    std::vector<zandrel::ZipEntry> entries;
    // The first member of each path and of each file name (keys as pathKey
    // makes them), made at the first extraction.
    std::unordered_map<std::string, size_t> byPath, byFileName;
};
ReadDirectory g_directory;

// The member asked for by its whole path; failing that, when the request is
// a bare file name, the first member of that file name, into its own
// sub-folder. Only the first member of a name is ever taken: a later one of
// the same path (case ignored) would overwrite it, and an archive may list
// one big member under many names to multiply what it writes.
std::vector<const zandrel::ZipEntry*> requestedMembers(ReadDirectory& d) {
    if (d.byPath.empty() && !d.entries.empty()) {
        for (size_t i = 0; i < d.entries.size(); ++i) {
            const zandrel::ZipEntry& e = d.entries[i];
            if (e.isFolder()) continue;
            d.byPath.emplace(zandrel::pathKey(e.name), i);
            d.byFileName.emplace(zandrel::pathKey(zandrel::fileNamePart(e.name)), i);
        }
    }
    const std::string key = zandrel::pathKey(g_op.member);
    if (const auto it = d.byPath.find(key); it != d.byPath.end()) return {&d.entries[it->second]};
    if (zandrel::fileNamePart(g_op.member).size() != g_op.member.size()) return {};
    if (const auto it = d.byFileName.find(key); it != d.byFileName.end()) return {&d.entries[it->second]};
    return {};
}

// Returns the number of members written, or the first failure. A member
// whose path is unsafe goes under its plain file name, as it was listed.
int32_t extractMembers(zandrel::ArchiveSource& source, ReadDirectory& directory) {
    if (g_op.member.empty() || g_op.folder.empty()) return ZANDREL_ERR_ARGUMENT;
    const auto found = requestedMembers(directory);
    if (found.empty()) return ZANDREL_ERR_NOMEMBER;
    int32_t extracted = 0;
    int32_t failure = 0;
    for (const auto* e : found) {
        const std::string relative = usableName(*e);
        const bool asked = zandrel::samePath(relative, g_op.member) ||
                           zandrel::samePath(zandrel::fileNamePart(relative), g_op.member);
        const int32_t rc = relative.empty() || !asked ? ZANDREL_ERR_UNSAFE : extractOne(source, *e, relative);
        if (rc == ZANDREL_OK)
            ++extracted;
        else if (failure == 0)
            failure = rc;
    }
    return failure != 0 ? failure : extracted;
}

int32_t directoryOf(zandrel::FileSource& source, ReadDirectory*& directory) {
    ReadDirectory& d = g_directory;
    const bool same = source.written() != 0 && d.written == source.written() && d.size == source.size() &&
                      zandrel::samePath(d.archive, g_op.archive);
    if (!same) {
        d = ReadDirectory{};
        if (int32_t rc = zandrel::readDirectory(source, d.entries); rc != ZANDREL_OK) {
            d.entries.clear();
            return rc;
        }
        // Names are listed, compared and written in the program's own UTF-8.
        for (auto& e : d.entries) e.name = vm::ZipMemberNameText(e.name, (e.flags & zandrel::kFlagUtf8Name) != 0);
        d.archive = g_op.archive;
        d.size = source.size();
        d.written = source.written();
    }
    directory = &d;
    return ZANDREL_OK;
}

int32_t run() {
    if (g_op.archive.empty()) return ZANDREL_ERR_ARGUMENT;
    zandrel::FileSource source(g_op.archive);
    if (!source.isOpen()) return ZANDREL_ERR_OPEN;
    ReadDirectory* directory = nullptr;
    if (int32_t rc = directoryOf(source, directory); rc != ZANDREL_OK) return rc;
    return g_op.view ? listMembers(directory->entries) : extractMembers(source, *directory);
}

int32_t setText(std::string& field, const char* text) {
    if (!text) return ZANDREL_ERR_ARGUMENT;
    try {
        field = text;
    } catch (const std::bad_alloc&) {
        return ZANDREL_ERR_ARGUMENT;
    }
    return ZANDREL_OK;
}

} // namespace

extern "C" {

int32_t addUNZIP_Initialise(void) {
    g_op = Operation{};
    return ZANDREL_OK;
}

int32_t addUNZIP_ArchiveName(const char* archivePath) { return setText(g_op.archive, archivePath); }
int32_t addUNZIP_Decrypt(const char* password) { return setText(g_op.password, password); }
int32_t addUNZIP_Include(const char* memberName) { return setText(g_op.member, memberName); }
int32_t addUNZIP_ExtractTo(const char* folder) { return setText(g_op.folder, folder); }

int32_t addUNZIP_Overwrite(int32_t mode) {
    g_op.overwrite = mode == ZANDREL_OVERWRITE_ALWAYS;
    return ZANDREL_OK;
}

int32_t addUNZIP_View(int32_t view) {
    g_op.view = view != 0;
    return ZANDREL_OK;
}

int32_t addUNZIP_SetWindowHandle(HWND window) {
    g_op.window = window;
    return ZANDREL_OK;
}

// No exception may cross into the caller; the only one possible is running
// out of memory on a huge directory.
int32_t addUNZIP(void) {
    try {
        return run();
    } catch (const std::bad_alloc&) {
        return ZANDREL_ERR_FORMAT;
    }
}

} // extern "C"
