#pragma once
// Export files are written to a fresh temporary file in the target's folder
// and moved over the target only once complete, so a failed write leaves an
// existing file as it was and nothing half-written behind.
#include <functional>
#include <string>

namespace vm {

// write(temporary) writes the file and tells whether it succeeded; a write
// that reports success but leaves an empty file counts as failed. False when
// the folder cannot take a file, the write fails or the target cannot be
// replaced (read-only, or in use).
bool writeThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write);

} // namespace vm
