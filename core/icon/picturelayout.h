#pragma once
// The byte layouts of the pictures the program hands to the system's picture
// loader (BMP, GIF, JPEG, PNG and the two metafile kinds), each walked with
// every size, count and offset checked: the system decodes whatever a header
// claims. Nothing here includes <windows.h>: the unit builds natively too and
// runs under sanitizers and fuzzers.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vm::pic {

using Bytes = std::span<const std::uint8_t>;

// Largest side, and most pixels, of a picture handed to the decoder: far
// above any picture an icon is made from, and small enough that decoding one
// never takes long or much memory.
constexpr std::uint32_t kMaxSide = 8192;
constexpr std::uint64_t kMaxPixels = 16u << 20;

struct Sides {
    std::uint64_t width = 0, height = 0;
};

bool isBmp(Bytes file);
bool isGif(Bytes file);
bool isJpeg(Bytes file);
bool isPng(Bytes file);
bool isMetafile(Bytes file); // enhanced, placeable or plain Windows metafile

// Whether the whole file reads as its kind: headers inside the file, sides
// within the bounds above, every block, chunk, segment or record inside the
// file, and the file's end marker there.
bool bmpIsSound(Bytes file);
bool gifIsSound(Bytes file);
bool jpegIsSound(Bytes file);
bool pngIsSound(Bytes file);
bool metafileIsSound(Bytes file);

// The pixels of a sound BMP file stored plainly: a header of 40 bytes or
// more, no compression, 1, 4, 8 or 24 bits a pixel. They are 0x00RRGGBB, top
// row first, the colours the system's loader gives. False for any other BMP,
// and for one whose pixels name colours beyond its palette: the system
// decodes those.
bool decodePlainBmp(Bytes file, std::uint32_t& width, std::uint32_t& height, std::vector<std::uint32_t>& rgb);

// The sides a BMP, GIF, JPEG or PNG file states when they lie beyond the
// bounds above: such a picture is refused for its size, whatever else it
// holds. Nothing for one within them, or whose sides cannot be read.
std::optional<Sides> sidesBeyondBounds(Bytes file);

} // namespace vm::pic
