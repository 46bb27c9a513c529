#pragma once
// Icon test data made at test time: DIB and PNG image blocks, ICO files laid
// out in order or scattered, and a DLL with icon groups. Any test that needs
// icon files links vm_icofixtures.
#include <cstdint>
#include <string>
#include <vector>

namespace vmtest::ico {

// One image with the directory-entry fields that describe it.
struct Image {
    std::string bytes;
    std::uint8_t width = 0;      // bWidth (0 for 256)
    std::uint8_t height = 0;     // bHeight
    std::uint8_t colorCount = 0; // bColorCount
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;  // wBitCount
    std::uint32_t declaredSize = 0; // dwBytesInRes when not 0, else bytes.size()

    std::uint32_t bytesInRes() const { return declaredSize ? declaredSize : static_cast<std::uint32_t>(bytes.size()); }
};

// A DIB icon image of 1, 4, 8, 24 or 32 bits with a pattern chosen by seed:
// a colour table, colour pixels and a mask with transparent corners.
Image dib(int width, int height, int bits, unsigned seed = 0);
// An opaque DIB icon image of one colour (0x00RRGGBB) at 4, 8, 24 or 32 bits:
// a paletted one names the colour in its first palette entry.
Image solidDib(int size, int bits, std::uint32_t rgb);
// A PNG-compressed 32-bit RGBA image (entry size 0 means 256).
Image png(int width, int height, unsigned seed = 0);
// Pictures given as rows of red, green, blue, alpha bytes, top row first: a
// PNG image, and a 32-bit DIB image whose mask is transparent where alpha is 0.
Image pngOf(int width, int height, const std::string& rgba);
Image dibOf(int width, int height, const std::string& rgba);

// A 6-byte directory header.
std::string iconDir(std::uint16_t reserved, std::uint16_t type, std::uint16_t count);
// An ICO file (type 2 makes it a cursor file) with the images one after
// another behind the directory.
std::string icoFile(const std::vector<Image>& images, std::uint16_t type = 1);
// The same images stored in reverse order with `gap` junk bytes before each.
std::string scatteredIcoFile(const std::vector<Image>& images, std::size_t gap);

// An icon group of a resource module: numbered when name is empty.
struct Group {
    std::int32_t id = 0;
    std::string name;
    std::vector<Image> images;
};
// The bytes of an icon group resource of these images: the directory, then
// each image's entry with its RT_ICON id, numbered from firstIconId.
std::string groupResource(const std::vector<Image>& images, std::uint16_t firstIconId);
// Copies the test module (a DLL with a version resource, a numbered RCDATA
// and a resource of the named type "SAMPLEDATA") to path and adds the groups,
// their RT_ICON images numbered from firstIconId. False on failure.
bool makeIconModule(const std::string& path, const std::vector<Group>& groups, std::uint16_t firstIconId = 100);

} // namespace vmtest::ico
