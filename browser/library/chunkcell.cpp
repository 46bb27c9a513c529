#include "chunkcell.h"

#include "libraryarchive.h"

namespace vm {

bool CutChunkCell(const PixelPicture& chunk, long position, std::uint32_t keyColorRef, CellImage& cell) {
    const int w = chunk.width / kChunkGridCells;
    const int h = chunk.height / kChunkGridCells;
    if (w < 1 || h < 1 || position < 0 || position >= kChunkGridCells * kChunkGridCells) return false;
    if (chunk.pixels.size() != static_cast<size_t>(chunk.width) * static_cast<size_t>(chunk.height)) return false;
    // Pixels are 0x00RRGGBB, colour values 0x00BBGGRR.
    const std::uint32_t key = ((keyColorRef & 0xFF) << 16) | (keyColorRef & 0xFF00) | ((keyColorRef >> 16) & 0xFF);
    const int left = static_cast<int>(position % kChunkGridCells) * w;
    const int top = static_cast<int>(position / kChunkGridCells) * h;
    cell.width = w;
    cell.height = h;
    cell.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    cell.transparent.assign(cell.pixels.size(), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p =
                chunk.pixels[static_cast<size_t>(top + y) * static_cast<size_t>(chunk.width) + static_cast<size_t>(left + x)] &
                0xFFFFFF;
            const size_t at = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            if (p == key) cell.transparent[at] = 1;
            else cell.pixels[at] = p;
        }
    }
    return true;
}

CellImage NoIconCell(int size) {
    CellImage cell;
    cell.width = cell.height = size;
    const size_t n = static_cast<size_t>(size) * static_cast<size_t>(size);
    cell.pixels.assign(n, 0);
    cell.transparent.assign(n, 1);
    constexpr std::uint32_t kGrey = 0x808080;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool frame = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            if (frame || x == y || x == size - 1 - y) {
                const size_t at = static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x);
                cell.pixels[at] = kGrey;
                cell.transparent[at] = 0;
            }
        }
    }
    return cell;
}

} // namespace vm
