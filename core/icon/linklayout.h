#pragma once
// The byte layout of a shell link (.lnk) file: the header, the item ID list,
// the link info, the string data and the extra data blocks, each read with
// its sizes and offsets checked. The system's own shortcut reader trusts the
// sizes a file gives and may take gigabytes or fault on a damaged one, so a
// shortcut is read here first. Nothing here includes <windows.h>: the unit
// builds natively too and runs under sanitizers and fuzzers.
#include <cstddef>
#include <cstdint>
#include <span>

namespace vm::lnk {

using Bytes = std::span<const std::uint8_t>;

// No shortcut the shell writes comes near this; a larger file is refused.
constexpr std::size_t kMaxLinkBytes = 1u << 20;

// Whether the bytes start with a shell link header (its size and class id).
bool isShellLink(Bytes file);

// Whether the whole file reads: every part the header's flags announce lies
// inside the file and inside the part that holds it, strings end where their
// counts say, and the extra data ends with its terminal block.
bool linkIsSound(Bytes file);

} // namespace vm::lnk
