#include "iconlayout.h"

#include "lebytes.h"

namespace orvex {

ImageGeometry imageGeometry(uint32_t width, uint32_t height, uint32_t bitCount) {
    ImageGeometry g;
    g.width = width;
    g.height = height;
    g.bitCount = bitCount;
    g.colorPlaneOffset = kInfoHeaderSize + 4 * colorTableCount(bitCount);
    g.maskPlaneOffset = g.colorPlaneOffset + dibRowSize(width, bitCount) * height;
    g.size = g.maskPlaneOffset + dibRowSize(width, 1) * height;
    return g;
}

void putInfoHeader(uint8_t* dst, uint32_t width, int32_t height, uint32_t bitCount) {
    for (size_t i = 0; i < kInfoHeaderSize; ++i) dst[i] = 0;
    putLE32(dst, kInfoHeaderSize);
    putLE32(dst + 4, width);
    putLE32(dst + 8, static_cast<uint32_t>(height));
    putLE16(dst + 12, 1);
    putLE16(dst + 14, static_cast<uint16_t>(bitCount));
    // biCompression and the rest stay 0: BI_RGB, sizes left to the reader.
}

void setInfoHeaderHeight(uint8_t* header, int32_t height) { putLE32(header + 8, static_cast<uint32_t>(height)); }

void setInfoHeaderImageSize(uint8_t* header, uint32_t size) { putLE32(header + 20, size); }

std::vector<uint8_t> iconDirectory(uint16_t kind, const std::vector<DirectoryImage>& images) {
    std::vector<uint8_t> out(kIconDirSize + kIconDirEntrySize * images.size());
    uint8_t* p = out.data();
    putLE16(p, 0);
    putLE16(p + 2, kind);
    putLE16(p + 4, static_cast<uint16_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(out.size());
    p += kIconDirSize;
    for (const DirectoryImage& im : images) {
        const uint32_t planeBits = im.bitCount; // one plane
        p[0] = static_cast<uint8_t>(im.width);  // 256 wraps to 0, which readers take as 256
        p[1] = static_cast<uint8_t>(im.height);
        p[2] = planeBits < 8 ? static_cast<uint8_t>(1u << planeBits) : 0;
        p[3] = 0;
        if (kind == kKindCursor) {
            putLE16(p + 4, im.hotspotX);
            putLE16(p + 6, im.hotspotY);
        } else {
            putLE16(p + 4, 1);
            putLE16(p + 6, static_cast<uint16_t>(im.bitCount));
        }
        putLE32(p + 8, im.size);
        putLE32(p + 12, offset);
        offset += im.size;
        p += kIconDirEntrySize;
    }
    return out;
}

} // namespace orvex
