// The DLL's Windows side: the prepared operation, the archive file, the
// member listing sent to a window, and writing members to disk.
#include <windows.h>

#include "memberpath.h"
#include "storedtext.h"
#include "temporaryname.h"
#include "zandrel32.h"
#include "ziparchive.h"
#include "zipfilesource.h"
#include "zipdircache.h"
#include "zipmembers.h"
#include "zipnames.h"
#include "widefile.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>
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

// One WM_SETTEXT per member, sent (not posted) so that the window's owner
// handles each line before the next arrives. A member left out says so in its
// line: field 5 (the name) empty, field 6 the reason's word. A window that
// refuses a line (answers FALSE) ends the listing: its owner has stopped. The
// directory and the window are the listing's own: the owner may call in again
// meanwhile.
// Each member is taken as its line goes, so the first line leaves at once
// however many members follow.
int32_t listMembers(const std::vector<zandrel::ZipEntry>& entries, HWND window) {
    int32_t listed = 0;
    zandrel::MemberLister lister(entries);
    for (zandrel::ListedMember m; lister.next(m);) {
        if (window) {
            const std::string line = m.fault == zandrel::NameFault::None
                                         ? listingLine(*m.entry, m.path)
                                         : listingLine(*m.entry, "") + "|" + zandrel::nameFaultWord(m.fault);
            if (!SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()))) break;
        }
        if (m.fault == zandrel::NameFault::None) ++listed;
    }
    return listed;
}

std::string joinPath(std::string folder, const std::string& relative) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder + "\\" + relative;
}

bool exists(const std::string& path) { return vm::wide::Attributes(path) != INVALID_FILE_ATTRIBUTES; }

// Creates the member's missing folders below folder; those it made are added
// to `made`, deepest last, so that a failure can take them away again.
bool createSubFolders(const std::string& folder, const std::string& relative, std::vector<std::string>& made) {
    for (size_t slash = relative.find('\\'); slash != std::string::npos; slash = relative.find('\\', slash + 1)) {
        const std::string path = joinPath(folder, relative.substr(0, slash));
        if (vm::wide::MakeFolder(path)) made.push_back(path);
        else if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

void removeFolders(const std::vector<std::string>& made) {
    for (auto it = made.rbegin(); it != made.rend(); ++it) vm::wide::RemoveFolder(it->c_str());
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
    HANDLE file = vm::wide::Open(temp, GENERIC_WRITE, 0, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) {
        vm::wide::Delete(temp);
        return ZANDREL_ERR_WRITE;
    }
    FileSink sink(file);
    int32_t rc = zandrel::extractMember(source, entry, g_op.password, sink);
    CloseHandle(file);
    std::vector<std::string> made;
    if (rc == ZANDREL_OK && !createSubFolders(g_op.folder, relative, made)) rc = ZANDREL_ERR_WRITE;
    if (rc == ZANDREL_OK && !vm::wide::Move(temp, target, g_op.overwrite ? MOVEFILE_REPLACE_EXISTING : 0))
        rc = exists(target) && !g_op.overwrite ? ZANDREL_ERR_EXISTS : ZANDREL_ERR_WRITE;
    if (rc != ZANDREL_OK) {
        vm::wide::Delete(temp);
        removeFolders(made);
    }
    return rc;
}

// Returns the number of members written, or the first failure.
int32_t extractMembers(zandrel::ArchiveSource& source, const zandrel::MemberIndex& index) {
    if (g_op.member.empty() || g_op.folder.empty()) return ZANDREL_ERR_ARGUMENT;
    const zandrel::ZipEntry* entry = nullptr;
    std::string relative;
    if (const int32_t rc = index.resolve(g_op.member, entry, relative); rc != ZANDREL_OK) return rc;
    const int32_t rc = extractOne(source, *entry, relative);
    return rc == ZANDREL_OK ? 1 : rc;
}

zandrel::DirectoryCache g_known;

int32_t run() {
    if (g_op.archive.empty()) return ZANDREL_ERR_ARGUMENT;
    zandrel::FileSource source(g_op.archive);
    if (!source.isOpen()) return ZANDREL_ERR_OPEN;
    const std::vector<zandrel::ZipEntry>* entries = nullptr;
    if (int32_t rc = g_known.directory(g_op.archive, source, entries); rc != ZANDREL_OK) return rc;
    if (g_op.view) return listMembers(std::vector<zandrel::ZipEntry>(*entries), g_op.window);
    return extractMembers(source, g_known.index());
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
