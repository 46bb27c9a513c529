#pragma once
// The icon of an ICO file held in memory, made exactly as the system's icon
// extraction makes it from the file on disk: the image its size lookup picks
// from the file's directory, made into an icon of that size. A ZIP member's
// icon is drawn this way without writing the member to disk.
#include <windows.h>

#include <cstdint>
#include <span>

namespace vm {

// The icon of a sound ICO file's bytes at 16 or 32 pixels (size), as
// procExtractFileIcon gives it for the file; null for bytes that are no
// sound icon file (cursors included: the extraction gives them none either).
HICON IconOfIcoBytes(std::span<const std::uint8_t> bytes, int size);

} // namespace vm
