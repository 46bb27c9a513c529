#pragma once
// The check every file passes before the system is asked for its icons or
// resources: the system's own readers trust offsets and sizes a damaged or
// hostile file gives and may fault, hang or exhaust memory on it.
#include <cstdint>
#include <string>

#include "filekinds.h"

namespace vm {

// A file's kind by its bytes and whether its kind's check found it sound.
// A file that cannot be read, or is empty, is of no kind.
using SourceVerdict = CheckedBytes;

// The verdict on the file as it stands; remembered until its size or time
// changes, so that drawing its icons later reads it no more.
SourceVerdict CheckIconSource(const std::string& file);

// False for a PE module whose headers or resource tree lie outside the file
// or whose icon images no decoder should take, a 16-bit module whose resource
// table or icon groups do not add up likewise, any other module, an ICO or
// CUR file that is damaged likewise, and an animation whose chunks or frames
// are. Files of other kinds, and files that cannot be read, are left to the
// system, which gives them no icon.
bool IconSourceIsSound(const std::string& file);

// Reads the whole file into bytes when it holds no more than limit bytes,
// and tells (sound) what IconSourceIsSound would; the answer is remembered
// for the file as it stands, so that drawing its icons later reads it no
// more. False, with bytes empty, when it cannot be opened or read or is
// larger than limit.
bool ReadIconSource(const std::string& file, std::uint32_t limit, std::string& bytes, bool& sound);

} // namespace vm
