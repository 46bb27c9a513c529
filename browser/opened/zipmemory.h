#pragma once
// Members of opened archives read into memory. The listing tells what each
// icon member is, and a page draws its icon, from the member's bytes, so
// nothing is written to TEMP for them and nothing has to be deleted after.
//
// While a ZipArchivesHeld lives (a listing, a page fill), an archive is
// opened once and its directory read once for all the members taken from it;
// the file is closed when the last hold ends, so that the user's archive is
// not kept from being moved or replaced while it is only being browsed. The
// directory is kept after that while the file stays as it is.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vm {

class ZipArchivesHeld {
public:
    ZipArchivesHeld();
    ~ZipArchivesHeld();
    ZipArchivesHeld(const ZipArchivesHeld&) = delete;
    ZipArchivesHeld& operator=(const ZipArchivesHeld&) = delete;
};

// Reads member number index of archive whole into bytes: the index-th member
// the archive's listing gave (0 the first), which the listing named member.
// ZANDREL_OK; ZANDREL_ERR_TOOLARGE when it holds more than limit bytes (the
// caller extracts it to disk instead); ZANDREL_ERR_NOMEMBER when the listing
// gives no such member under that name (the archive changed since); else the
// failure an extraction would meet (password, damaged data, an archive that
// cannot be read).
std::int32_t ReadZipMemberAt(const std::string& archive, std::size_t index, const std::string& member,
                             std::uint64_t limit, std::string& bytes);

// The same for a member named as the archive's listing named it, picked
// exactly as an extraction to disk would pick it (unsafe names refused).
std::int32_t ReadZipMember(const std::string& archive, const std::string& member, std::uint64_t limit,
                           std::string& bytes);

// Drops the directories kept, when the archives are put away.
void ForgetZipDirectory();

} // namespace vm
