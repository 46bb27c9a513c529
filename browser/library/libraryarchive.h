#pragma once
// Where a library chunk lives: its archive and the library part shown as the
// icon's origin, by data set and chunk number; and the key colours that mark
// the transparent pixels of a chunk's cells.
#include <cstdint>
#include <string>

namespace vm {

inline constexpr const char* kLibraryPassword = "Wrenfoldbake";
inline constexpr int kChunkGridCells = 10; // a chunk picture is 10 x 10 cells

struct ChunkHome {
    std::string archive; // "Iconlib-32.res" ...; "" when no archive holds the chunk
    std::string part;    // "32*32 Core Library" ...; "" likewise
};

// The chunk number is the integer part of its text (a leading number; no
// number gives 0; a number above 100,000,000 gives 1,000,000,000, beyond
// every chunk and position).
long ChunkNumber(const std::string& chunkText);
ChunkHome ChunkHomeOf(int iconSize, long chunk);

// The key colour of digit k as a Windows colour value 0x00BBGGRR; false for k outside 0-9.
bool KeyColorOf(int keyDigit, std::uint32_t& colorRef);

} // namespace vm
