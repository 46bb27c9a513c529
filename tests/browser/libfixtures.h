#pragma once
// A small icon library written at test time: index and user files of both data
// sets and password-protected archives of chunk pictures (uncompressed BMPs of
// 10 x 10 cells, each cell on its key colour with a square of its own colour).
//
// 32 x 32 keywords (index order): apple, Bird, boat, spinner, addon, lost;
//   chunk 1 holds one cell per key digit 0-9 and per TypeCode 0-8, its cell 0
//   is filed under apple and boat; spinner is a three-frame animation in chunk 2;
//   addon's chunk 87 lies in the first add-on archive, chunk 125 in the second,
//   which has another password; lost names chunk 3 (missing from its archive),
//   chunk 150 (its archive is missing) and chunk 325 (no archive).
// 16 x 16 keywords: apple (chunk 1), addon (chunk 51), nowhere (chunk 160, no archive).
// User keywords of 32 x 32: mine, Bicycle; references under mine, Bicycle and apple.
#include <cstdint>
#include <string>

namespace vmtest {

struct SampleLibraryOptions {
    bool index16 = true;
    bool index32 = true;
    bool userFiles = true;
};

// Writes the library into folder (no trailing backslash).
void writeSampleLibrary(const std::string& folder, const SampleLibraryOptions& options = {});

// The colour (0x00RRGGBB) of the square drawn in a cell; never a key colour.
std::uint32_t sampleIconColor(long chunk, long position);
// A chunk picture: every cell on key colour 0 except those listed as
// "position:k" pairs; each listed cell gets the square of sampleIconColor.
std::string makeChunkBitmap(int iconSize, long chunk, const std::string& cells);

inline constexpr const char* kSampleUserKeywords = "mine\r\nBicycle\r\n";
inline constexpr const char* kSampleReferences =
    "mine;C:\\icons\\a.ico;0;x;1user\r\n"
    "mine;C:\\icons\\b.dll;4;#5 of 9;2user\r\n"
    "Bicycle;C:\\icons\\c.ani;2;frame 3;4user\r\n"
    "apple;C:\\icons\\d.cur;0;x;7user\r\n";

} // namespace vmtest
