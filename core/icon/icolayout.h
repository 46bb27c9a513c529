#pragma once
// The byte layout of ICO files and icon group resources, and the checks that
// make an image block safe to hand to GDI. Nothing here includes <windows.h>,
// so the unit builds natively too and can run under sanitizers and fuzzers.
//
// Every function takes bytes as they were read from an untrusted file and
// checks each length before it reads.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vm::ico {

constexpr std::size_t kDirSize = 6;         // ICONDIR
constexpr std::size_t kEntrySize = 16;      // ICONDIRENTRY in a file
constexpr std::size_t kGroupEntrySize = 14; // GRPICONDIRENTRY in a resource
constexpr std::size_t kInfoHeaderSize = 40; // BITMAPINFOHEADER
constexpr std::uint16_t kTypeIcon = 1;

using Bytes = std::span<const std::uint8_t>;

struct IconDir {
    std::int16_t idReserved = 0;
    std::int16_t idType = 0;
    std::int16_t idCount = 0;
};

struct DirEntry {
    std::uint8_t bWidth = 0;
    std::uint8_t bHeight = 0;
    std::uint8_t bColorCount = 0;
    std::uint8_t bReserved = 0;
    std::uint16_t wPlanes = 0;
    std::uint16_t wBitCount = 0;
    std::uint32_t dwBytesInRes = 0;
    std::uint32_t dwImageOffset = 0;
};

// Fewer bytes than the structure needs give nothing.
std::optional<IconDir> readIconDir(Bytes b);
std::optional<DirEntry> readDirEntry(Bytes b);
// A group entry: the first 12 bytes of a file entry, then the RT_ICON id.
struct GroupEntry {
    DirEntry entry; // dwImageOffset 0
    std::uint16_t nID = 0;
};
std::optional<GroupEntry> readGroupEntry(Bytes b);

// An icon directory holds an icon (not a cursor) with at least one image.
bool isIconDir(const IconDir& d);

void appendIconDir(std::vector<std::uint8_t>& out, const IconDir& d);
void appendDirEntry(std::vector<std::uint8_t>& out, const DirEntry& e);

// True when [offset, offset + size) lies inside a file of fileSize bytes.
bool blockInside(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize);

// DIB row size in bytes for a row of `bits` bits, rounded up to 32 bits.
std::uint64_t dibRowSize(std::uint64_t bits);

// Offsets of images stored one after another behind a directory of `sizes.size()`
// entries: 6 + 16 x count, then each next one behind the one before.
std::vector<std::uint32_t> packedOffsets(std::span<const std::uint32_t> sizes);

// Images of modern icons may be a PNG stream instead of a DIB.
bool isPng(Bytes image);

// Bits per pixel as the image itself states them: biBitCount x biPlanes for a
// DIB, sample depth x channels for a PNG; 0 when the image does not say.
unsigned imageBitDepth(Bytes image);

// Colour count shown for an entry: bColorCount when set, else 2 to the power
// of its depth (wBitCount, or the image's own depth when wBitCount is 0);
// depths above 24 bits count as 16777216 colours; 0 when the depth is unknown.
std::int32_t colourCount(const DirEntry& e, Bytes image);

// Largest side of an image we hand to a decoder: far above any icon, and
// small enough that decoding one never takes long or much memory.
constexpr std::uint32_t kMaxImageSide = 1024;

// Width and height a PNG image states in its header; nothing when the image
// is no PNG or its header is cut short.
struct PixelSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};
std::optional<PixelSize> pngSize(Bytes image);

// Whether an image may be decoded: a PNG whose header agrees with the
// directory entry (an entry side of 0 stands for 256 or more) and is at most
// kMaxImageSide square, or a DIB that checkDib accepts within the same bound.
bool imageIsSound(const DirEntry& e, Bytes image);
// The same for an image found without a directory entry (an icon resource).
bool imageIsSound(Bytes image);

// Whether a whole ICO or CUR file may be handed to the system: a directory of
// at least one entry, every image inside the file and sound, and the images
// together no larger than the file.
bool icoFileIsSound(Bytes file);

// The most steps, and the most frames, an animation may have. The system's
// loader makes an object of every step in a table the whole session shares,
// and a third of a millisecond goes into each: beyond about 32,700 steps it
// fails or keeps the first step alone, and long before that a page waits
// seconds for it. The program lists and plays no more steps than this, so an
// animation it takes is shown whole.
inline constexpr int kMaxAniSteps = 1000;

// Whether an animation (RIFF "ACON") may be handed to the system: every chunk
// inside its parent, every frame a sound ICO or CUR file, and no more steps
// or frames than kMaxAniSteps.
bool aniFileIsSound(Bytes file);

// Where the parts of a DIB image block lie, once it has been checked to hold
// its header, colour table, colour plane and mask plane.
struct DibLayout {
    std::int32_t width = 0;       // biWidth
    std::int32_t height = 0;      // one plane: biHeight / 2
    std::uint16_t bitCount = 0;   // biBitCount x biPlanes
    std::size_t headerSize = 0;   // biSize
    std::size_t colourTable = 0;  // entries in the colour table
    std::size_t colourBits = 0;   // offset of the colour (XOR) plane
    std::size_t maskBits = 0;     // offset of the mask (AND) plane
    std::size_t end = 0;          // first byte after the mask plane
};
std::optional<DibLayout> checkDib(Bytes image);

// The pixels of a DIB image block of side x side at 4, 8, 24 or 32 bits, as
// the system's icon of it holds them: colours 0xAARRGGBB, top row first (the
// alpha as stored at 32 bits, 0 below), and the pixels the mask leaves
// transparent. False for any other block (a PNG, another size or depth, a
// block cut short): the system decodes those.
bool decodeDib(Bytes image, std::int32_t side, std::vector<std::uint32_t>& colours,
               std::vector<std::uint8_t>& transparent);

// The image block of a new, all-black and fully opaque image of the given
// depth (1, 4, 8 or 24 bits per pixel).
std::vector<std::uint8_t> blankDib(int width, int height, std::uint16_t bitCount);

} // namespace vm::ico
