#pragma once
// A chunk member read straight from its library archive into memory, with the
// project's own ZIP units: no file is written on the way, so nothing is left
// behind whatever folder the archive keeps the member in.
#include <cstdint>
#include <string>

namespace vm {

// Reads the member named memberName ("12.lib") of the archive at archivePath
// with the password. A member stored under a folder of the archive
// ("chunks/12.lib") is found by its file name when no member has the name
// itself. Returns the unzip library's result code: ZANDREL_OK with the bytes,
// or the failure (archive unreadable, no such member, wrong password, damaged data).
std::int32_t ReadChunkMember(const std::string& archivePath, const std::string& memberName,
                             const std::string& password, std::string& bytes);

// Writes bytes to path through a temporary file in the same folder, renamed
// into place only when complete; false leaves no file behind.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace vm
