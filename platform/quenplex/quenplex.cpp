// The exports of Quenplex.dll over the encoders and the quantiser. Each image
// is a DIB section; the library keeps its own record of every image it made,
// so a descriptor it did not fill (or filled and freed) is never trusted.
#include "quenplex.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "gifencoder.h"
#include "jpegencoder.h"
#include "quantizer.h"

namespace {

struct LiveImage {
    int width = 0, height = 0, bitsPerPixel = 0, rowBytes = 0;
    unsigned char* pixels = nullptr;
    std::unique_ptr<RGBQUAD[]> palette;
};

// Calls come from the program's one user-interface thread.
std::map<HBITMAP, LiveImage>& liveImages() {
    static std::map<HBITMAP, LiveImage> images;
    return images;
}

LiveImage* find(const vm::QuenplexImage* image) {
    if (!image || !image->bitmap) return nullptr;
    auto it = liveImages().find(image->bitmap);
    return it == liveImages().end() ? nullptr : &it->second;
}

// Row y counted from the top; the bitmap stores its bottom row first.
unsigned char* rowFromTop(const LiveImage& live, int y) {
    return live.pixels + static_cast<std::size_t>(live.height - 1 - y) * static_cast<std::size_t>(live.rowBytes);
}

quenplex::Rgb paletteColour(const RGBQUAD& q) {
    return (static_cast<quenplex::Rgb>(q.rgbRed) << 16) | (static_cast<quenplex::Rgb>(q.rgbGreen) << 8) | q.rgbBlue;
}

// Writes the whole file or nothing: a failed write removes what it began.
std::int32_t writeFile(const char* fileName, const std::vector<std::uint8_t>& bytes) {
    if (!fileName || !*fileName) return QP_CANNOT_CREATE;
    HANDLE file = CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return QP_CANNOT_CREATE;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    const BOOL closed = CloseHandle(file);
    if (ok && closed) return QP_OK;
    DeleteFileA(fileName);
    return QP_DISK_FULL;
}

std::int32_t saveGif(const char* fileName, const vm::QuenplexImage* image, int transparentIndex) {
    LiveImage* live = find(image);
    if (!live) return QP_BAD_IMAGE;
    if (live->bitsPerPixel != 8) return QP_BITS_NOT_SUPPORTED;
    GdiFlush();
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(live->width) * static_cast<std::size_t>(live->height));
    int highest = 0;
    for (int y = 0; y < live->height; ++y) {
        const unsigned char* row = rowFromTop(*live, y);
        for (int x = 0; x < live->width; ++x) {
            indices[static_cast<std::size_t>(y) * live->width + x] = row[x];
            if (row[x] > highest) highest = row[x];
        }
    }
    // The palette in use, widened to cover every index the picture holds.
    const int entries = std::max(std::max(image->colorCount, highest + 1), 1);
    if (entries > 256 || transparentIndex >= entries) return QP_OUT_OF_RANGE;
    quenplex::GifPicture picture;
    picture.width = live->width;
    picture.height = live->height;
    picture.indices = indices.data();
    for (int i = 0; i < entries; ++i) picture.palette.push_back(paletteColour(live->palette[i]));
    picture.transparentIndex = transparentIndex;
    const auto bytes = quenplex::encodeGif(picture);
    if (bytes.empty()) return QP_BAD_IMAGE;
    return writeFile(fileName, bytes);
}

} // namespace

extern "C" {

std::int32_t WINAPI allocimage(vm::QuenplexImage* image, std::int32_t width, std::int32_t height,
                               std::int32_t bitsPerPixel) {
    if (!image) return QP_BAD_IMAGE;
    if (width < 1 || height < 1 || width > 32767 || height > 32767) return QP_OUT_OF_RANGE;
    if (bitsPerPixel != 8 && bitsPerPixel != 24) return QP_BITS_NOT_SUPPORTED;
    LiveImage live;
    live.width = width;
    live.height = height;
    live.bitsPerPixel = bitsPerPixel;
    live.rowBytes = ((width * bitsPerPixel + 31) / 32) * 4;
    std::vector<unsigned char> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height; // bottom-up
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info->bmiHeader.biCompression = BI_RGB;
    if (bitsPerPixel == 8) {
        // A grey ramp until a conversion gives the image its colours.
        live.palette = std::make_unique<RGBQUAD[]>(256);
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<BYTE>(i);
            live.palette[i] = info->bmiColors[i] = RGBQUAD{v, v, v, 0};
        }
        info->bmiHeader.biClrUsed = 256;
    }
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return QP_NO_MEMORY;
    }
    live.pixels = static_cast<unsigned char*>(bits);
    *image = vm::QuenplexImage{};
    image->pixels = live.pixels;
    image->endX = width - 1;
    image->endY = height - 1;
    image->rowBytes = live.rowBytes;
    image->palette = live.palette.get();
    image->colorCount = bitsPerPixel == 8 ? 256 : 0;
    image->bitsPerPixel = bitsPerPixel;
    image->bitmap = bitmap;
    liveImages()[bitmap] = std::move(live);
    return QP_OK;
}

std::int32_t WINAPI convertrgbtopal(std::int32_t colours, vm::QuenplexImage* source, vm::QuenplexImage* target) {
    LiveImage* from = find(source);
    LiveImage* to = find(target);
    if (!from || !to) return QP_BAD_IMAGE;
    if (from->bitsPerPixel != 24 || to->bitsPerPixel != 8) return QP_BITS_NOT_SUPPORTED;
    if (from->width != to->width || from->height != to->height) return QP_OUT_OF_RANGE;
    GdiFlush(); // what GDI drew into the source must be in its bits
    std::vector<quenplex::Rgb> pixels;
    pixels.reserve(static_cast<std::size_t>(from->width) * static_cast<std::size_t>(from->height));
    for (int y = 0; y < from->height; ++y) {
        const unsigned char* row = rowFromTop(*from, y);
        for (int x = 0; x < from->width; ++x, row += 3)
            pixels.push_back((static_cast<quenplex::Rgb>(row[2]) << 16) | (static_cast<quenplex::Rgb>(row[1]) << 8) |
                             row[0]);
    }
    const quenplex::Quantized q = quenplex::quantize(pixels.data(), pixels.size(), colours);
    for (int y = 0; y < to->height; ++y) {
        unsigned char* row = rowFromTop(*to, y);
        for (int x = 0; x < to->width; ++x) row[x] = q.indices[static_cast<std::size_t>(y) * to->width + x];
    }
    for (int i = 0; i < 256; ++i) {
        const quenplex::Rgb c = i < static_cast<int>(q.palette.size()) ? q.palette[static_cast<std::size_t>(i)] : 0;
        to->palette[i] = RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
    }
    target->palette = to->palette.get();
    target->colorCount = static_cast<std::int32_t>(q.palette.size());
    // The bitmap's own colour table follows, so drawing the image shows the new colours.
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc) {
        HGDIOBJ old = SelectObject(dc, target->bitmap);
        SetDIBColorTable(dc, 0, 256, to->palette.get());
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    return QP_OK;
}

std::int32_t WINAPI savejpg(const char* fileName, vm::QuenplexImage* image, std::int32_t quality) {
    LiveImage* live = find(image);
    if (!live) return QP_BAD_IMAGE;
    if (quality < 1 || quality > 100) return QP_OUT_OF_RANGE;
    GdiFlush();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(live->width) * static_cast<std::size_t>(live->height) * 3);
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < live->height; ++y) {
        const unsigned char* row = rowFromTop(*live, y);
        for (int x = 0; x < live->width; ++x, out += 3) {
            if (live->bitsPerPixel == 24) {
                out[0] = row[x * 3 + 2];
                out[1] = row[x * 3 + 1];
                out[2] = row[x * 3];
            } else {
                const RGBQUAD& q = live->palette[row[x]];
                out[0] = q.rgbRed;
                out[1] = q.rgbGreen;
                out[2] = q.rgbBlue;
            }
        }
    }
    const auto bytes = quenplex::encodeJpeg(live->width, live->height, rgb.data(), quality);
    if (bytes.empty()) return QP_BAD_IMAGE;
    return writeFile(fileName, bytes);
}

std::int32_t WINAPI savegif(const char* fileName, vm::QuenplexImage* image) { return saveGif(fileName, image, -1); }

std::int32_t WINAPI savegifex(const char* fileName, vm::QuenplexImage* image, std::int32_t mode,
                              std::int32_t transparentIndex) {
    if (mode == 0) return saveGif(fileName, image, -1);
    if (mode != 2 || transparentIndex < 0 || transparentIndex > 255) return QP_OUT_OF_RANGE;
    return saveGif(fileName, image, transparentIndex);
}

std::int32_t WINAPI freeimage(vm::QuenplexImage* image) {
    if (!image) return QP_OK;
    auto it = image->bitmap ? liveImages().find(image->bitmap) : liveImages().end();
    if (it == liveImages().end()) return QP_OK;
    DeleteObject(it->first);
    liveImages().erase(it);
    *image = vm::QuenplexImage{};
    return QP_OK;
}

} // extern "C"
