#include "icolayout.h"

#include <algorithm>
#include <utility>

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

std::optional<PixelSize> pngSize(Bytes image) {
    if (!isPng(image) || image.size() < 24 || u32be(image, 12) != 0x49484452u) return std::nullopt;
    return PixelSize{u32be(image, 16), u32be(image, 20)};
}

namespace {

// An entry side of 0 stands for 256 pixels, or more in a large PNG image.
bool sideAgrees(std::uint8_t entrySide, std::uint32_t imageSide) {
    if (imageSide == 0 || imageSide > kMaxImageSide) return false;
    return entrySide == 0 ? imageSide >= 256 : imageSide == entrySide;
}

std::optional<DibLayout> dibLayout(Bytes image, bool maskRequired);

// The system draws an image without its mask too; only what it reads of
// the colour plane must be there.
bool dibIsSound(Bytes image) {
    const auto dib = dibLayout(image, false);
    return dib && static_cast<std::uint32_t>(dib->width) <= kMaxImageSide &&
           static_cast<std::uint32_t>(dib->height) <= kMaxImageSide;
}

} // namespace

bool imageIsSound(const DirEntry& e, Bytes image) {
    if (const auto size = pngSize(image))
        return sideAgrees(e.bWidth, size->width) && sideAgrees(e.bHeight, size->height);
    return !isPng(image) && dibIsSound(image);
}

bool imageIsSound(Bytes image) {
    if (const auto size = pngSize(image))
        return size->width >= 1 && size->width <= kMaxImageSide && size->height >= 1 && size->height <= kMaxImageSide;
    return !isPng(image) && dibIsSound(image);
}

bool icoFileIsSound(Bytes file) {
    const auto dir = readIconDir(file);
    if (!dir || dir->idReserved != 0 || (dir->idType != 1 && dir->idType != 2) || dir->idCount < 1) return false;
    const std::size_t count = static_cast<std::size_t>(dir->idCount);
    if (!blockInside(kDirSize, kEntrySize * count, file.size())) return false;
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const DirEntry e = *readDirEntry(file.subspan(kDirSize + i * kEntrySize));
        if (!blockInside(e.dwImageOffset, e.dwBytesInRes, file.size())) return false;
        total += e.dwBytesInRes;
        if (total > file.size()) return false;
        if (!imageIsSound(e, file.subspan(e.dwImageOffset, e.dwBytesInRes))) return false;
    }
    return true;
}

namespace {

constexpr std::uint32_t fourCC(const char (&s)[5]) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[0])) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[3])) << 24);
}

// What the chunks of an animation say about it.
struct AniParts {
    bool header = false;
    std::uint32_t frames = 0;
    std::uint32_t steps = 0;
    std::uint32_t flags = 0;
    bool frameList = false;
    std::uint32_t iconChunks = 0;
    std::optional<Bytes> rate;
    std::optional<Bytes> sequence;
};

// True the first time: the system reads the header, the rates, the sequence
// and the list of frames at the RIFF's top level, the first of each. A second
// is damage (the system would take the first, a check the last), and one
// below the top level is none of them.
bool once(bool& seen) { return !std::exchange(seen, true); }

// Walks the chunks of body, a list's inside; false when one leaves it.
bool walkChunks(Bytes body, bool inFrames, AniParts& parts, int depth) {
    std::size_t at = 0;
    while (at < body.size()) {
        if (body.size() - at < 8) return false;
        const std::uint32_t id = u32(body, at);
        const std::uint32_t size = u32(body, at + 4);
        if (size > body.size() - at - 8) return false;
        const Bytes data = body.subspan(at + 8, size);
        const bool top = depth == 0;
        if (id == fourCC("LIST")) {
            if (size < 4 || depth > 1) return false;
            const bool frames = top && u32(data, 0) == fourCC("fram");
            if (frames && !once(parts.frameList)) return false;
            if (!walkChunks(data.subspan(4), frames, parts, depth + 1)) return false;
        } else if (inFrames && id == fourCC("icon")) {
            if (!icoFileIsSound(data)) return false;
            ++parts.iconChunks;
        } else if (top && id == fourCC("anih")) {
            if (size < 36 || !once(parts.header)) return false;
            parts.frames = u32(data, 4);
            parts.steps = u32(data, 8);
            parts.flags = u32(data, 32);
        } else if (top && (id == fourCC("rate") || id == fourCC("seq "))) {
            std::optional<Bytes>& part = id == fourCC("rate") ? parts.rate : parts.sequence;
            if (part.has_value()) return false; // a second one
            part = data;
        }
        at += 8 + static_cast<std::size_t>(size) + (size & 1);
    }
    return true;
}

} // namespace

bool aniFileIsSound(Bytes file) {
    if (file.size() < 12 || u32(file, 0) != fourCC("RIFF") || u32(file, 8) != fourCC("ACON")) return false;
    const std::uint32_t riffSize = u32(file, 4);
    if (riffSize < 4 || riffSize > file.size() - 8) return false;
    AniParts parts;
    if (!walkChunks(file.subspan(12, riffSize - 4), false, parts, 0)) return false;
    // Frames must be icons (flag 1) and be as many as the header says; every
    // step's rate and frame number must be there.
    if (!parts.header || (parts.flags & 1) == 0 || parts.frames == 0 || parts.frames != parts.iconChunks)
        return false;
    constexpr auto kMost = static_cast<std::uint32_t>(kMaxAniSteps);
    if (parts.frames > kMost) return false;
    const std::uint64_t steps = parts.steps;
    if (steps == 0 || steps > kMost) return false;
    if (parts.rate && parts.rate->size() < 4 * steps) return false;
    if (parts.sequence) {
        if (parts.sequence->size() < 4 * steps) return false;
        for (std::size_t i = 0; i < steps; ++i)
            if (u32(*parts.sequence, 4 * i) >= parts.frames) return false;
    } else if (steps > parts.frames) {
        return false;
    }
    return true;
}

namespace {

// The layout of a DIB image block; with maskRequired false the block need
// hold only its header, colour table and colour plane (32-bit images often
// leave out the mask, which their alpha channel replaces).
std::optional<DibLayout> dibLayout(Bytes image, bool maskRequired) {
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
    if ((maskRequired ? end : maskBits) > image.size()) return std::nullopt;
    d.colourBits = static_cast<std::size_t>(colourBits);
    d.maskBits = static_cast<std::size_t>(maskBits);
    d.end = static_cast<std::size_t>(end);
    return d;
}

} // namespace

std::optional<DibLayout> checkDib(Bytes image) { return dibLayout(image, true); }

bool decodeDib(Bytes image, std::int32_t side, std::vector<std::uint32_t>& colours,
               std::vector<std::uint8_t>& transparent) {
    const auto d = checkDib(image);
    if (!d || d->width != side || d->height != side) return false;
    const unsigned bits = d->bitCount;
    if (bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    const auto w = static_cast<std::size_t>(side);
    const std::size_t colourRow = dibRowSize(std::uint64_t(w) * bits);
    const std::size_t maskRow = dibRowSize(w);
    colours.assign(w * w, 0);
    transparent.assign(w * w, 0);
    for (std::size_t y = 0; y < w; ++y) {
        // Rows are stored bottom row first.
        const std::size_t row = w - 1 - y;
        const std::uint8_t* in = image.data() + d->colourBits + row * colourRow;
        const std::uint8_t* mask = image.data() + d->maskBits + row * maskRow;
        for (std::size_t x = 0; x < w; ++x) {
            std::uint32_t c = 0;
            if (bits == 32) {
                c = static_cast<std::uint32_t>(in[4 * x]) | static_cast<std::uint32_t>(in[4 * x + 1]) << 8 |
                    static_cast<std::uint32_t>(in[4 * x + 2]) << 16 | static_cast<std::uint32_t>(in[4 * x + 3]) << 24;
            } else if (bits == 24) {
                c = static_cast<std::uint32_t>(in[3 * x]) | static_cast<std::uint32_t>(in[3 * x + 1]) << 8 |
                    static_cast<std::uint32_t>(in[3 * x + 2]) << 16;
            } else {
                const unsigned index = bits == 8 ? in[x] : (x % 2 ? in[x / 2] & 0x0F : in[x / 2] >> 4);
                // An index beyond the table is black, as the system draws it.
                if (index < d->colourTable) c = u32(image, d->headerSize + 4 * index) & 0xFFFFFFu;
            }
            colours[y * w + x] = c;
            transparent[y * w + x] = (mask[x / 8] >> (7 - x % 8)) & 1;
        }
    }
    return true;
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
