#include "picturelayout.h"

#include <optional>

#include "bytereader.h"

namespace vm::pic {
namespace {

bool sidesFit(std::uint64_t width, std::uint64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}
bool sidesFit(const Sides& s) { return sidesFit(s.width, s.height); }

// The sides each header states (a BMP stored top-down states its height negative).
std::optional<Sides> bmpSides(const ByteReader& r) {
    const auto headerSize = r.le32(14);
    if (!headerSize) return std::nullopt;
    if (*headerSize == 12) {
        if (!r.has(14, 12)) return std::nullopt;
        return Sides{*r.le16(18), *r.le16(20)};
    }
    if (*headerSize < 40 || *headerSize > 124 || !r.has(14, *headerSize)) return std::nullopt;
    const std::int64_t width = static_cast<std::int32_t>(*r.le32(18));
    const std::int64_t height = static_cast<std::int32_t>(*r.le32(22));
    return Sides{static_cast<std::uint64_t>(width < 0 ? 0 : width),
                 static_cast<std::uint64_t>(height < 0 ? -height : height)};
}
std::optional<Sides> gifSides(const ByteReader& r) {
    if (!r.has(6, 7)) return std::nullopt;
    return Sides{*r.le16(6), *r.le16(8)};
}
std::optional<Sides> pngSides(const ByteReader& r) {
    if (r.be32(8) != 13u || r.be32(12) != 0x49484452u || !r.has(16, 17)) return std::nullopt;
    return Sides{*r.be32(16), *r.be32(20)};
}

std::uint64_t rowBytes(std::uint64_t width, std::uint64_t bits) { return (width * bits + 31) / 32 * 4; }

// The sub-blocks of a GIF image or extension from `at`; the offset behind
// the empty block that ends them.
std::optional<std::size_t> gifSubBlocks(const ByteReader& r, std::size_t at) {
    for (;;) {
        const auto n = r.u8(at);
        if (!n) return std::nullopt;
        if (*n == 0) return at + 1;
        if (!r.has(at + 1, *n)) return std::nullopt;
        at += 1 + *n;
    }
}

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

} // namespace

bool isBmp(Bytes file) { return file.size() >= 2 && file[0] == 'B' && file[1] == 'M'; }
bool isGif(Bytes file) {
    return file.size() >= 6 && file[0] == 'G' && file[1] == 'I' && file[2] == 'F' && file[3] == '8' &&
           (file[4] == '7' || file[4] == '9') && file[5] == 'a';
}
bool isJpeg(Bytes file) { return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF; }
bool isPng(Bytes file) { return ByteReader(file).startsWith(kPngSignature); }
bool isMetafile(Bytes file) {
    const ByteReader r(file);
    return (r.le32(0) == 1u && r.le32(40) == 0x464D4520u) || r.le32(0) == 0x9AC6CDD7u ||
           ((r.le16(0) == 1 || r.le16(0) == 2) && r.le16(2) == 9);
}

bool bmpIsSound(Bytes file) {
    const ByteReader r(file);
    if (!isBmp(file)) return false;
    const auto offBits = r.le32(10);
    const auto headerSize = r.le32(14);
    const auto sides = bmpSides(r);
    if (!offBits || !sides || !sidesFit(*sides)) return false;
    const std::uint64_t width = sides->width, height = sides->height;
    std::uint32_t planes = 0, bits = 0, compression = 0, clrUsed = 0, sizeImage = 0;
    std::size_t entry = 4;
    if (*headerSize == 12) {
        planes = *r.le16(22);
        bits = *r.le16(24);
        entry = 3;
    } else {
        planes = *r.le16(26);
        bits = *r.le16(28);
        compression = *r.le32(30);
        sizeImage = *r.le32(34);
        clrUsed = *r.le32(46);
    }
    if (planes != 1) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (bits <= 8 && clrUsed > (1u << bits)) return false;
    const std::uint64_t colours = bits <= 8 ? (clrUsed ? clrUsed : (1u << bits)) : clrUsed;
    const std::uint64_t masks = compression == 3 && *headerSize == 40 ? 12 : 0;
    if (14 + std::uint64_t{*headerSize} + masks + entry * colours > *offBits || *offBits > file.size()) return false;
    const std::uint64_t left = file.size() - *offBits;
    switch (compression) {
    case 0: return rowBytes(width, bits) * height <= left;
    case 1: return bits == 8 && sizeImage > 0 && sizeImage <= left;
    case 2: return bits == 4 && sizeImage > 0 && sizeImage <= left;
    case 3:
        return (bits == 16 || bits == 32) && rowBytes(width, bits) * height <= left;
    default: return false;
    }
}

bool decodePlainBmp(Bytes file, std::uint32_t& width, std::uint32_t& height, std::vector<std::uint32_t>& rgb) {
    if (!bmpIsSound(file)) return false;
    const ByteReader r(file);
    const std::uint32_t headerSize = *r.le32(14), bits = *r.le16(28);
    if (headerSize < 40 || *r.le32(30) != 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24)) return false;
    const auto sides = bmpSides(r);
    const bool topDown = static_cast<std::int32_t>(*r.le32(22)) < 0;
    width = static_cast<std::uint32_t>(sides->width);
    height = static_cast<std::uint32_t>(sides->height);
    // Sound means the palette and every row lie inside the file.
    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        const std::uint32_t used = *r.le32(46);
        palette.resize(used ? used : 1u << bits);
        for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = *r.le32(14 + headerSize + 4 * i) & 0xFFFFFFu;
    }
    const std::size_t stride = static_cast<std::size_t>(rowBytes(width, bits));
    const std::uint8_t* pixels = file.data() + *r.le32(10);
    rgb.assign(static_cast<std::size_t>(width) * height, 0);
    std::uint32_t* out = rgb.data();
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels + stride * (topDown ? y : height - 1 - y);
        for (std::uint32_t x = 0; x < width; ++x, ++out) {
            if (bits == 24) {
                *out = row[3 * x] | (row[3 * x + 1] << 8) | (std::uint32_t{row[3 * x + 2]} << 16);
                continue;
            }
            const std::uint32_t at = x * bits;
            const std::uint32_t index = (row[at / 8] >> (8 - bits - at % 8)) & ((1u << bits) - 1);
            if (index >= palette.size()) return false;
            *out = palette[index];
        }
    }
    return true;
}

bool gifIsSound(Bytes file) {
    const ByteReader r(file);
    const auto screen = gifSides(r);
    if (!isGif(file) || !screen || !sidesFit(*screen)) return false;
    const std::uint64_t screenWidth = screen->width, screenHeight = screen->height;
    const std::uint8_t packed = *r.u8(10);
    std::size_t at = 13;
    if (packed & 0x80) at += 3u << ((packed & 7) + 1);
    bool image = false;
    for (;;) {
        const auto block = r.u8(at);
        if (!block) return false;
        if (*block == 0x3B) return image; // the trailer
        if (*block == 0x21) {
            if (!r.has(at, 2)) return false;
            const auto next = gifSubBlocks(r, at + 2);
            if (!next) return false;
            at = *next;
        } else if (*block == 0x2C) {
            if (!r.has(at, 10)) return false;
            const std::uint64_t left = *r.le16(at + 1), top = *r.le16(at + 3);
            const std::uint64_t width = *r.le16(at + 5), height = *r.le16(at + 7);
            if (width == 0 || height == 0 || left + width > screenWidth || top + height > screenHeight) return false;
            const std::uint8_t flags = *r.u8(at + 9);
            at += 10;
            if (flags & 0x80) at += 3u << ((flags & 7) + 1);
            const auto codeSize = r.u8(at);
            if (!codeSize || *codeSize < 2 || *codeSize > 8) return false;
            const auto next = gifSubBlocks(r, at + 1);
            if (!next) return false;
            at = *next;
            image = true;
        } else {
            return false;
        }
    }
}

namespace {

// Walks a JPEG's segments to its end marker; the sides its frame states go
// to `stated` as soon as they are read.
bool jpegWalk(Bytes file, std::optional<Sides>& stated) {
    const ByteReader r(file);
    if (!isJpeg(file)) return false;
    std::size_t at = 2;
    bool frame = false, scan = false;
    for (;;) {
        if (r.u8(at) != 0xFF) return false;
        while (r.u8(at + 1) == 0xFF) ++at; // fill bytes
        const auto marker = r.u8(at + 1);
        if (!marker) return false;
        at += 2;
        if (*marker == 0xD9) return frame && scan;
        if (*marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD7)) continue;
        const auto length = r.be16(at);
        if (!length || *length < 2 || !r.has(at, *length)) return false;
        const bool sof = *marker >= 0xC0 && *marker <= 0xCF && *marker != 0xC4 && *marker != 0xC8 && *marker != 0xCC;
        if (sof) {
            if (frame || *length < 8) return false;
            const std::uint8_t precision = *r.u8(at + 2);
            stated = Sides{*r.be16(at + 5), *r.be16(at + 3)};
            const std::uint8_t components = *r.u8(at + 7);
            if ((precision != 8 && precision != 12) || !sidesFit(*stated)) return false;
            if (components < 1 || components > 4 || *length != 8 + 3 * components) return false;
            frame = true;
        }
        at += *length;
        if (*marker == 0xDA) {
            if (!frame) return false;
            scan = true;
            // Entropy-coded data runs to the next marker that is no stuffed
            // zero and no restart marker.
            while (r.has(at, 2) && !(*r.u8(at) == 0xFF && *r.u8(at + 1) != 0 &&
                                     (*r.u8(at + 1) < 0xD0 || *r.u8(at + 1) > 0xD7) && *r.u8(at + 1) != 0xFF))
                ++at;
            if (!r.has(at, 2)) return false;
        }
    }
}

} // namespace

bool jpegIsSound(Bytes file) {
    std::optional<Sides> stated;
    return jpegWalk(file, stated);
}

bool pngIsSound(Bytes file) {
    const ByteReader r(file);
    const auto sides = pngSides(r);
    if (!isPng(file) || !sides || !sidesFit(*sides)) return false;
    const std::uint8_t depth = *r.u8(24), colour = *r.u8(25);
    const bool depthFits = colour == 0   ? (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)
                           : colour == 3 ? (depth == 1 || depth == 2 || depth == 4 || depth == 8)
                           : (colour == 2 || colour == 4 || colour == 6) && (depth == 8 || depth == 16);
    if (!depthFits || *r.u8(26) != 0 || *r.u8(27) != 0 || *r.u8(28) > 1) return false;
    std::size_t at = 8;
    bool data = false;
    for (;;) {
        const auto length = r.be32(at);
        const auto type = r.be32(at + 4);
        if (!length || !type || *length > 0x7FFFFFFF || !r.has(at + 8, std::size_t{*length} + 4)) return false;
        if (*type == 0x49444154u) data = true;          // IDAT
        if (*type == 0x49454E44u) return data && *length == 0; // IEND
        at += 12 + std::size_t{*length};
    }
}

bool metafileIsSound(Bytes file) {
    const ByteReader r(file);
    if (r.le32(0) == 1u && r.le32(40) == 0x464D4520u) {
        // Enhanced: records of a type and a size, the last one EMR_EOF.
        const auto total = r.le32(48);
        if (!total || *total > file.size()) return false;
        std::size_t at = 0;
        for (;;) {
            const auto type = r.le32(at);
            const auto size = r.le32(at + 4);
            if (!type || !size || *size < 8 || *size % 4 != 0 || !r.has(at, *size) || at + *size > *total) return false;
            if (*type == 14) return true;
            at += *size;
        }
    }
    std::size_t at = r.le32(0) == 0x9AC6CDD7u ? 22 : 0;
    const auto type = r.le16(at);
    if (!type || (*type != 1 && *type != 2) || r.le16(at + 2) != 9 || !r.has(at, 18)) return false;
    at += 18;
    // Windows metafile records: a size in 16-bit words and a function; the
    // last record has function 0.
    for (;;) {
        const auto words = r.le32(at);
        const auto function = r.le16(at + 4);
        if (!words || !function || *words < 3 || !r.has(at, std::size_t{*words} * 2)) return false;
        if (*function == 0) return true;
        at += std::size_t{*words} * 2;
    }
}

std::optional<Sides> sidesBeyondBounds(Bytes file) {
    const ByteReader r(file);
    std::optional<Sides> stated;
    if (isBmp(file)) stated = bmpSides(r);
    else if (isGif(file)) stated = gifSides(r);
    else if (isPng(file)) stated = pngSides(r);
    else if (isJpeg(file)) jpegWalk(file, stated);
    const bool beyond = stated && (stated->width > kMaxSide || stated->height > kMaxSide ||
                                   stated->width * stated->height > kMaxPixels);
    return beyond ? stated : std::nullopt;
}

} // namespace vm::pic
