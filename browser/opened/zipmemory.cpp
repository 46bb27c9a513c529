#include "zipmemory.h"

#include <memory>
#include <vector>

#include "memberpath.h"
#include "zandrel32.h"
#include "zipdircache.h"
#include "zipfilesource.h"

namespace vm {
namespace {

// One archive read from: its file while held, its directory, and the members
// its listing gives, in the listing's order, as far as they were asked for.
struct KeptArchive {
    std::string path;
    std::unique_ptr<zandrel::FileSource> source;
    zandrel::DirectoryCache directory;
    std::unique_ptr<zandrel::MemberLister> lister;
    std::vector<zandrel::ListedMember> listed;
    std::uint64_t listedFrom = 0; // the directory read the listed members come from
};

std::vector<std::unique_ptr<KeptArchive>> g_archives;
int g_holds = 0;

KeptArchive& keptArchive(const std::string& archive) {
    for (auto& kept : g_archives)
        if (zandrel::samePath(kept->path, archive)) return *kept;
    g_archives.push_back(std::make_unique<KeptArchive>());
    g_archives.back()->path = archive;
    return *g_archives.back();
}

void closeUnheld() {
    if (g_holds > 0) return;
    for (auto& kept : g_archives) kept->source.reset();
}

// The archive's file, open, and its directory; read again when the file
// changed since.
std::int32_t openArchive(KeptArchive& kept, const std::vector<zandrel::ZipEntry>*& entries) {
    if (!kept.source) {
        kept.source = std::make_unique<zandrel::FileSource>(kept.path);
        if (!kept.source->isOpen()) {
            kept.source.reset();
            return ZANDREL_ERR_OPEN;
        }
    }
    return kept.directory.directory(kept.path, *kept.source, entries);
}

// Listed member number index. The listing is taken only as far as that: a
// listing of icons asks for members in order, and never waits for the whole
// of a long one at its first member.
const zandrel::ListedMember* listedMember(KeptArchive& kept, const std::vector<zandrel::ZipEntry>& entries,
                                          std::size_t index) {
    if (kept.listedFrom != kept.directory.reads() || !kept.lister) {
        kept.listed.clear();
        kept.lister = std::make_unique<zandrel::MemberLister>(entries);
        kept.listedFrom = kept.directory.reads();
    }
    for (zandrel::ListedMember m; kept.listed.size() <= index && kept.lister->next(m);)
        if (m.fault == zandrel::NameFault::None) kept.listed.push_back(std::move(m));
    return index < kept.listed.size() ? &kept.listed[index] : nullptr;
}

std::int32_t readEntry(KeptArchive& kept, const zandrel::ZipEntry& entry, std::uint64_t limit, std::string& bytes) {
    if (entry.size > limit) return ZANDREL_ERR_TOOLARGE;
    bytes.reserve(static_cast<size_t>(entry.size));
    zandrel::StringSink sink(bytes);
    const std::int32_t rc = zandrel::extractMember(*kept.source, entry, "", sink);
    if (rc != ZANDREL_OK) bytes.clear();
    return rc;
}

} // namespace

ZipArchivesHeld::ZipArchivesHeld() { ++g_holds; }

ZipArchivesHeld::~ZipArchivesHeld() {
    --g_holds;
    closeUnheld();
}

std::int32_t ReadZipMemberAt(const std::string& archive, std::size_t index, const std::string& member,
                             std::uint64_t limit, std::string& bytes) {
    bytes.clear();
    if (archive.empty()) return ZANDREL_ERR_ARGUMENT;
    KeptArchive& kept = keptArchive(archive);
    const std::vector<zandrel::ZipEntry>* entries = nullptr;
    std::int32_t rc = openArchive(kept, entries);
    if (rc == ZANDREL_OK) {
        const zandrel::ListedMember* listed = listedMember(kept, *entries, index);
        rc = listed && listed->path == member ? readEntry(kept, *listed->entry, limit, bytes) : ZANDREL_ERR_NOMEMBER;
    }
    closeUnheld();
    return rc;
}

std::int32_t ReadZipMember(const std::string& archive, const std::string& member, std::uint64_t limit,
                           std::string& bytes) {
    bytes.clear();
    if (archive.empty() || member.empty()) return ZANDREL_ERR_ARGUMENT;
    KeptArchive& kept = keptArchive(archive);
    const std::vector<zandrel::ZipEntry>* entries = nullptr;
    std::int32_t rc = openArchive(kept, entries);
    const zandrel::ZipEntry* entry = nullptr;
    std::string relative;
    if (rc == ZANDREL_OK) rc = kept.directory.index().resolve(member, entry, relative);
    if (rc == ZANDREL_OK) rc = readEntry(kept, *entry, limit, bytes);
    closeUnheld();
    return rc;
}

void ForgetZipDirectory() {
    // A hold still running keeps its files; only what no one holds goes.
    for (auto it = g_archives.begin(); it != g_archives.end();)
        it = (*it)->source ? std::next(it) : g_archives.erase(it);
}

} // namespace vm
