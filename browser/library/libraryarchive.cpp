#include "libraryarchive.h"

#include <cctype>

namespace vm {
namespace {

struct ChunkRange {
    long first, end; // end excluded
    int archiveNumber; // 0: Iconlib-<n>.res, k: Iconlib<k>-<n>.res, -1: none
};

constexpr ChunkRange kRanges16[] = {
    {1, 51, 0}, {51, 75, 1}, {75, 100, 2}, {100, 125, 3}, {125, 150, 4}, {150, 175, -1}, {175, 200, 5},
};
constexpr ChunkRange kRanges32[] = {
    {1, 87, 0},     {87, 125, 1},   {125, 150, 2},  {150, 175, 3},  {175, 200, 4},
    {200, 225, 5},  {225, 250, 6},  {250, 275, 7},  {275, 300, 8},  {300, 325, 9},
};

constexpr std::uint32_t kKeyColors[10] = {
    0xFFFFFF, 0x808000, 0x00FF00, 0x008000, 0xFF00FF, 0x800080, 0x0000FF, 0x000080, 0x00FFFF, 0x008080,
};

template <size_t N>
ChunkHome find(const ChunkRange (&ranges)[N], int iconSize, long chunk) {
    const std::string n = std::to_string(iconSize);
    for (const ChunkRange& r : ranges) {
        if (chunk < r.first || chunk >= r.end) continue;
        if (r.archiveNumber < 0) return {};
        if (r.archiveNumber == 0) return {"Iconlib-" + n + ".res", n + "*" + n + " Core Library"};
        const std::string k = std::to_string(r.archiveNumber);
        return {"Iconlib" + k + "-" + n + ".res", n + "*" + n + " Pellandry " + k};
    }
    return {};
}

} // namespace

long ChunkNumber(const std::string& chunkText) {
    size_t i = 0;
    while (i < chunkText.size() && chunkText[i] == ' ') ++i;
    bool negative = false;
    if (i < chunkText.size() && (chunkText[i] == '-' || chunkText[i] == '+')) negative = chunkText[i++] == '-';
    long value = 0;
    for (; i < chunkText.size() && std::isdigit(static_cast<unsigned char>(chunkText[i])); ++i) {
        // Far beyond every range: a larger number stays beyond them, never
        // wraps round to a small one.
        if (value > 100000000L) return negative ? -1000000000L : 1000000000L;
        value = value * 10 + (chunkText[i] - '0');
    }
    return negative ? -value : value;
}

ChunkHome ChunkHomeOf(int iconSize, long chunk) {
    if (iconSize == 16) return find(kRanges16, iconSize, chunk);
    if (iconSize == 32) return find(kRanges32, iconSize, chunk);
    return {};
}

bool KeyColorOf(int keyDigit, std::uint32_t& colorRef) {
    if (keyDigit < 0 || keyDigit > 9) return false;
    colorRef = kKeyColors[keyDigit];
    return true;
}

} // namespace vm
