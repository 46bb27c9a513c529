#include "zipmemory.h"

#include "zandrel32.h"
#include "zipdircache.h"
#include "zipfilesource.h"

namespace vm {
namespace {

zandrel::DirectoryCache g_directory;

} // namespace

std::int32_t ReadZipMember(const std::string& archive, const std::string& member, std::uint64_t limit,
                           std::string& bytes) {
    bytes.clear();
    if (archive.empty() || member.empty()) return ZANDREL_ERR_ARGUMENT;
    zandrel::FileSource source(archive);
    if (!source.isOpen()) return ZANDREL_ERR_OPEN;
    const std::vector<zandrel::ZipEntry>* entries = nullptr;
    const zandrel::MemberIndex* index = nullptr;
    if (const std::int32_t rc = g_directory.directory(archive, source, entries, index); rc != ZANDREL_OK) return rc;
    const zandrel::ZipEntry* entry = nullptr;
    std::string relative;
    if (const std::int32_t rc = index->resolve(member, entry, relative); rc != ZANDREL_OK) return rc;
    if (entry->size > limit) return ZANDREL_ERR_TOOLARGE;
    bytes.reserve(static_cast<size_t>(entry->size));
    zandrel::StringSink sink(bytes);
    const std::int32_t rc = zandrel::extractMember(source, *entry, "", sink);
    if (rc != ZANDREL_OK) bytes.clear();
    return rc;
}

void ForgetZipDirectory() { g_directory.forget(); }

} // namespace vm
