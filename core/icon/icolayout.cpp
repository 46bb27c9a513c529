#include "icolayout.h"

#include <algorithm>

namespace vm::ico {
namespace {

std::uint16_t u16(Bytes b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t u32(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint32_t u32be(Bytes b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | static_cast<std::uint32_t>(b[at + 3]);
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

// The twelve bytes a file entry and a group entry share.
DirEntry readEntryHead(Bytes b) {
    DirEntry e;
    e.bWidth = b[0];
    e.bHeight = b[1];
    e.bColorCount = b[2];
    e.bReserved = b[3];
    e.wPlanes = u16(b, 4);
    e.wBitCount = u16(b, 6);
    e.dwBytesInRes = u32(b, 8);
    return e;
}

// Largest side we accept for a DIB; far above any icon, low enough that no
// size computed from it can overflow 64 bits.
constexpr std::int32_t kMaxSide = 0x10000;

} // namespace

std::optional<IconDir> readIconDir(Bytes b) {
    if (b.size() < kDirSize) return std::nullopt;
    return IconDir{static_cast<std::int16_t>(u16(b, 0)), static_cast<std::int16_t>(u16(b, 2)),
                   static_cast<std::int16_t>(u16(b, 4))};
}

std::optional<DirEntry> readDirEntry(Bytes b) {
    if (b.size() < kEntrySize) return std::nullopt;
    DirEntry e = readEntryHead(b);
    e.dwImageOffset = u32(b, 12);
    return e;
}

std::optional<GroupEntry> readGroupEntry(Bytes b) {
    if (b.size() < kGroupEntrySize) return std::nullopt;
    return GroupEntry{readEntryHead(b), u16(b, 12)};
}

bool isIconDir(const IconDir& d) { return d.idReserved == 0 && d.idType == kTypeIcon && d.idCount >= 1; }

void appendIconDir(std::vector<std::uint8_t>& out, const IconDir& d) {
    put16(out, static_cast<std::uint16_t>(d.idReserved));
    put16(out, static_cast<std::uint16_t>(d.idType));
    put16(out, static_cast<std::uint16_t>(d.idCount));
}

void appendDirEntry(std::vector<std::uint8_t>& out, const DirEntry& e) {
    out.push_back(e.bWidth);
    out.push_back(e.bHeight);
    out.push_back(e.bColorCount);
    out.push_back(e.bReserved);
    put16(out, e.wPlanes);
    put16(out, e.wBitCount);
    put32(out, e.dwBytesInRes);
    put32(out, e.dwImageOffset);
}

bool blockInside(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

std::uint64_t dibRowSize(std::uint64_t bits) { return (bits + 31) / 32 * 4; }

std::vector<std::uint32_t> packedOffsets(std::span<const std::uint32_t> sizes) {
    std::vector<std::uint32_t> offsets;
    offsets.reserve(sizes.size());
    std::uint32_t at = static_cast<std::uint32_t>(kDirSize + kEntrySize * sizes.size());
    for (std::uint32_t size : sizes) {
        offsets.push_back(at);
        at += size;
    }
    return offsets;
}

bool isPng(Bytes image) {
    static constexpr std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return image.size() >= 8 && std::equal(sig, sig + 8, image.begin());
}

unsigned imageBitDepth(Bytes image) {
    if (isPng(image)) {
        // IHDR is the first chunk: depth at 24, colour type at 25.
        if (image.size() < 26 || u32be(image, 12) != 0x49484452u) return 0;
        unsigned depth = image[24];
        switch (image[25]) {
        case 0: return depth;     // grey
        case 2: return depth * 3; // RGB
        case 3: return depth;     // palette
        case 4: return depth * 2; // grey + alpha
        case 6: return depth * 4; // RGBA
        default: return 0;
        }
    }
    if (image.size() < 16) return 0;
    return static_cast<unsigned>(u16(image, 14)) * u16(image, 12);
}

std::int32_t colourCount(const DirEntry& e, Bytes image) {
    if (e.bColorCount != 0) return e.bColorCount;
    unsigned bits = e.wBitCount != 0 ? e.wBitCount : imageBitDepth(image);
    if (bits == 0) return 0;
    if (bits >= 24) return 16777216;
    return static_cast<std::int32_t>(1u << bits);
}

std::optional<DibLayout> checkDib(Bytes image) {
    if (image.size() < kInfoHeaderSize) return std::nullopt;
    DibLayout d;
    d.headerSize = u32(image, 0);
    const auto width = static_cast<std::int32_t>(u32(image, 4));
    const auto height2 = static_cast<std::int32_t>(u32(image, 8));
    const std::uint16_t planes = u16(image, 12);
    const std::uint16_t bits = u16(image, 14);
    const std::uint32_t compression = u32(image, 16);
    const std::uint32_t clrUsed = u32(image, 32);
    if (d.headerSize < kInfoHeaderSize || d.headerSize > image.size()) return std::nullopt;
    if (width < 1 || width > kMaxSide || height2 < 2 || height2 > 2 * kMaxSide) return std::nullopt;
    if (planes != 1 || compression != 0) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    if (bits <= 8 && clrUsed > (1u << bits)) return std::nullopt;
    d.width = width;
    d.height = height2 / 2;
    d.bitCount = bits;
    d.colourTable = clrUsed != 0 ? clrUsed : (bits <= 8 ? (1u << bits) : 0);

    const std::uint64_t colourBits = d.headerSize + 4ull * d.colourTable;
    const std::uint64_t maskBits = colourBits + dibRowSize(std::uint64_t(width) * bits) * d.height;
    const std::uint64_t end = maskBits + dibRowSize(std::uint64_t(width)) * d.height;
    if (end > image.size()) return std::nullopt;
    d.colourBits = static_cast<std::size_t>(colourBits);
    d.maskBits = static_cast<std::size_t>(maskBits);
    d.end = static_cast<std::size_t>(end);
    return d;
}

std::vector<std::uint8_t> blankDib(int width, int height, std::uint16_t bitCount) {
    const std::size_t colours = bitCount <= 8 ? (std::size_t{1} << bitCount) : 0;
    const std::size_t size = kInfoHeaderSize + 4 * colours +
                             dibRowSize(std::uint64_t(width) * bitCount) * height +
                             dibRowSize(std::uint64_t(width)) * height;
    std::vector<std::uint8_t> out;
    out.reserve(size);
    put32(out, kInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(2 * height));
    put16(out, 1);
    put16(out, bitCount);
    out.resize(size, 0);
    // A two-colour table of black and white, so that the cleared bits are black.
    if (bitCount == 1) std::fill_n(out.begin() + kInfoHeaderSize + 4, 3, std::uint8_t{255});
    return out;
}

} // namespace vm::ico
