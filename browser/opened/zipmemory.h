#pragma once
// Members of opened archives read into memory. The listing tells what each
// icon member is, and a page draws its icon, from the member's bytes, so
// nothing is written to TEMP for them and nothing has to be deleted after.
#include <cstdint>
#include <string>

namespace vm {

// Reads member (its name as the archive's listing gave it) of archive whole
// into bytes, picking the member exactly as an extraction to disk would.
// ZANDREL_OK; ZANDREL_ERR_TOOLARGE when it holds more than limit bytes (the
// caller extracts it to disk instead); else the failure an extraction would
// meet (no such member, unsafe name, password, damaged data). The archive's
// directory is read once for member after member while the file stays as it is.
std::int32_t ReadZipMember(const std::string& archive, const std::string& member, std::uint64_t limit,
                           std::string& bytes);

// Drops the directory kept, when the archives are put away.
void ForgetZipDirectory();

} // namespace vm
