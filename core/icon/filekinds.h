#pragma once
// What a file's bytes are, told by their content alone (never by the file's
// name), and the one check each kind meets before any of the system's
// loaders is handed it. Nothing here includes <windows.h>: the unit builds
// natively too and runs under sanitizers and fuzzers.
#include <cstdint>
#include <span>

namespace vm {

enum class FileKind {
    Unknown,
    PeModule,
    NeModule,  // a 16-bit module: an icon library, an old EXE or DLL
    OldModule, // any other non-PE module
    Animation,
    Icon,      // an ICO or CUR file
    ShellLink,
    Bitmap,
    Gif,
    Jpeg,
    Png,
    Metafile,
};

// The kind the bytes start like; Unknown when none.
FileKind KindOfBytes(std::span<const std::uint8_t> bytes);

// Whether the bytes are whole and sound as their kind: the check of that
// kind's own reader. Unknown bytes are not sound.
bool BytesAreSound(std::span<const std::uint8_t> bytes);

// A file's kind by its bytes and whether its kind's own reader found them
// whole: the one place that decides what a file is. Bytes of no kind known
// here are not sound.
struct CheckedBytes {
    FileKind kind = FileKind::Unknown;
    bool sound = false;
};
CheckedBytes CheckBytes(std::span<const std::uint8_t> bytes);

} // namespace vm
