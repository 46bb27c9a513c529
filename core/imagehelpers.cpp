#include "imagehelpers.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "seam.h"

namespace vm {

namespace {

// The texts carry a flag character: "1" when the file name follows the text.
constexpr std::pair<std::int32_t, const char*> kImageErrors[] = {
    {-1, "0Value(s) out of range"},
    {-2, "0Error in receiving image"},
    {-3, "1Disk full, file not written: "},
    {-4, "1Cannot open "},
    {-5, "0Invalid Data"},
    {-6, "1Unreadable TIF format: "},
    {-8, "0Unsupported TIF bits per sample"},
    {-9, "0Unsupported compression scheme"},
    {-10, "1Cannot create "},
    {-11, "1Invalid filetype: "},
    {-12, "0DIB is compressed and can not be processed"},
    {-14, "0Insufficient memory"},
    {-16, "1Unreadable PCX format: "},
    {-17, "1Unreadable GIF format: "},
    {-18, "0Printer error"},
    {-19, "0Scanner error"},
    {-25, "1Unreadable Targa format: "},
    {-26, "0Image bits per pixel not supported by function"},
    {-27, "1Unreadable BMP format: "},
    {-33, "0No data from device"},
    {-34, "0Function timed out"},
    {-41, "0Print function is busy"},
    {-42, "0Invalid image buffer address"},
    {-44, "0Image is too complex to complete operation"},
    {-45, "0Paper could not be unloaded from ADF"},
    {-46, "0ADF lid was opened"},
    {-47, "0ADF bin is empty"},
    {-48, "0ADF is not connected"},
    {-49, "0ADF is connected but not ready"},
    {-50, "0Function not available due to missing module"},
    {-51, "0TIF page not found"},
};
constexpr const char* kUnknownImageError = "0Error encountered";

constexpr int kMaskRed = 128, kMaskGreen = 64, kMaskBlue = 64;

// The palette entries the image really has; a count beyond 256 or below 0
// does not let a reader past the table.
std::int32_t paletteSize(const QuenplexImage& image) {
    return image.palette ? std::clamp(image.colorCount, 0, 256) : 0;
}

bool closeTo(int value, int target) { return std::abs(value - target) < 5; }

} // namespace

void procShowImageError(std::int32_t code, const std::string& file) {
    if (code == 0) return;
    std::string entry = kUnknownImageError;
    for (const auto& [number, text] : kImageErrors)
        if (number == code) entry = text;
    std::string message = entry.substr(1);
    if (entry[0] == '1') message += file;
    MsgBox(message, vbCritical, "File Save Error");
}

std::int32_t procFindMaskColorIndex(const QuenplexImage& image) {
    // Entries past the colour count are black, which is never the mask colour,
    // so only the image's own entries need searching.
    const std::int32_t count = paletteSize(image);
    for (std::int32_t i = 0; i < count; ++i) {
        const RGBQUAD& c = image.palette[i];
        if (c.rgbRed == kMaskRed && c.rgbGreen == kMaskGreen && c.rgbBlue == kMaskBlue) return i;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        const RGBQUAD& c = image.palette[i];
        if (closeTo(c.rgbRed, kMaskRed) && closeTo(c.rgbGreen, kMaskGreen) && closeTo(c.rgbBlue, kMaskBlue)) return i;
    }
    return -1;
}

std::int32_t procCountSingleColors(const QuenplexImage& image) {
    const std::int32_t count = paletteSize(image);
    auto same = [&](std::int32_t i, std::int32_t j) {
        const RGBQUAD &a = image.palette[i], &b = image.palette[j];
        return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
    };
    std::int32_t singles = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t matches = 0;
        for (std::int32_t j = 0; j < count; ++j) matches += same(i, j);
        singles += matches == 1;
    }
    return singles + 1;
}

} // namespace vm
