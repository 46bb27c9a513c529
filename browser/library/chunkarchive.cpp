#include "chunkarchive.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "memberpath.h"
#include "temporaryname.h"
#include "zandrel32.h"
#include "ziparchive.h"
#include "zipfilesource.h"
#include "zipnames.h"

namespace vm {
namespace {

const zandrel::ZipEntry* findMember(const std::vector<zandrel::ZipEntry>& entries, const std::string& name) {
    for (const auto& e : entries)
        if (!e.isFolder() && zandrel::samePath(e.name, name)) return &e;
    for (const auto& e : entries)
        if (!e.isFolder() && zandrel::samePath(zandrel::fileNamePart(e.name), name)) return &e;
    return nullptr;
}

} // namespace

std::int32_t ReadChunkMember(const std::string& archivePath, const std::string& memberName,
                             const std::string& password, std::string& bytes) {
    bytes.clear();
    zandrel::FileSource source(archivePath);
    if (!source.isOpen()) return ZANDREL_ERR_OPEN;
    std::vector<zandrel::ZipEntry> entries;
    if (const std::int32_t rc = zandrel::readDirectory(source, entries); rc != ZANDREL_OK) return rc;
    const zandrel::ZipEntry* entry = findMember(entries, memberName);
    if (!entry) return ZANDREL_ERR_NOMEMBER;
    // A chunk is a picture of some hundred kilobytes; a member that claims
    // more than the archive could ever inflate to is not read.
    constexpr uint64_t kLargestChunk = 64u << 20;
    if (entry->size > kLargestChunk) return ZANDREL_ERR_DATA;
    bytes.reserve(static_cast<size_t>(entry->size));
    zandrel::StringSink sink(bytes);
    const std::int32_t rc = zandrel::extractMember(source, *entry, password, sink);
    if (rc != ZANDREL_OK) bytes.clear();
    return rc;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    const size_t slash = path.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string temporary;
    HANDLE file = OpenNewTemporaryFileIn(folder, "vmc", temporary);
    if (file == INVALID_HANDLE_VALUE) return false;
    const char* temp = temporary.c_str();
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(file);
    ok = ok && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) DeleteFileA(temp);
    return ok;
}

} // namespace vm
