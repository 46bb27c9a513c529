// Draws the program's own icon and writes it as an ICO file: a sheet of
// vellum with a folded corner, a coloured V on it and a row of small icon
// squares. Built and run on the build machine (no <windows.h>); the resource
// script takes the file it writes.
//
//   drawicon <output.ico>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "iconlayout.h"

namespace {

struct Colour {
    double r, g, b, a; // 0..1, not premultiplied
};

// A shape in the unit square: how much of a sample point it covers.
using Shape = bool (*)(double x, double y);

constexpr double kFold = 0.24;

bool sheet(double x, double y) {
    if (x < 0.14 || x > 0.86 || y < 0.04 || y > 0.96) return false;
    return x - 0.86 + kFold <= y - 0.04; // the folded corner is cut away
}
bool sheetInside(double x, double y) {
    const double e = 0.045;
    if (x < 0.14 + e || x > 0.86 - e || y < 0.04 + e || y > 0.96 - e) return false;
    return x - 0.86 + kFold + e * 1.4 <= y - 0.04;
}
bool fold(double x, double y) {
    return x >= 0.86 - kFold && y <= 0.04 + kFold && x - 0.86 + kFold >= y - 0.04 && x <= 0.86 && y >= 0.04;
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}
bool letterV(double x, double y) {
    const double w = 0.075;
    return segmentDistance(x, y, 0.30, 0.28, 0.50, 0.70) < w || segmentDistance(x, y, 0.70, 0.28, 0.50, 0.70) < w;
}
bool squares(double x, double y) {
    if (y < 0.77 || y > 0.87) return false;
    for (double left : {0.25, 0.44, 0.63})
        if (x >= left && x <= left + 0.12) return true;
    return false;
}

struct Layer {
    Shape shape;
    Colour colour;
};

const Layer kLayers[] = {
    {sheet, {0.32, 0.26, 0.18, 1.0}},       // outline
    {sheetInside, {0.98, 0.95, 0.86, 1.0}}, // vellum
    {fold, {0.80, 0.72, 0.55, 1.0}},
    {letterV, {0.10, 0.36, 0.68, 1.0}},
    {squares, {0.80, 0.24, 0.16, 1.0}},
};

// Straight (non-premultiplied) BGRA pixels, top row first.
std::vector<unsigned char> draw(int size) {
    std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 4, 0);
    const int grid = 4; // samples per pixel and axis
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0; // premultiplied
            for (int sy = 0; sy < grid; ++sy)
                for (int sx = 0; sx < grid; ++sx) {
                    const double x = (px + (sx + 0.5) / grid) / size, y = (py + (sy + 0.5) / grid) / size;
                    double cr = 0, cg = 0, cb = 0, ca = 0;
                    for (const Layer& layer : kLayers) {
                        if (!layer.shape(x, y)) continue;
                        const Colour& c = layer.colour;
                        cr = c.r * c.a + cr * (1 - c.a);
                        cg = c.g * c.a + cg * (1 - c.a);
                        cb = c.b * c.a + cb * (1 - c.a);
                        ca = c.a + ca * (1 - c.a);
                    }
                    r += cr, g += cg, b += cb, a += ca;
                }
            const double n = grid * grid;
            r /= n, g /= n, b /= n, a /= n;
            unsigned char* p = &pixels[(static_cast<size_t>(py) * size + px) * 4];
            const auto channel = [a](double premultiplied) {
                return static_cast<unsigned char>(std::lround(a > 0 ? std::clamp(premultiplied / a, 0.0, 1.0) * 255 : 0));
            };
            p[0] = channel(b);
            p[1] = channel(g);
            p[2] = channel(r);
            p[3] = static_cast<unsigned char>(std::lround(a * 255));
        }
    return pixels;
}

// One 32-bit image block: header, bottom-up colour rows, then the mask
// (set where the pixel is fully transparent).
std::vector<uint8_t> imageBlock(int size) {
    const auto s = static_cast<uint32_t>(size);
    const orvex::ImageGeometry g = orvex::imageGeometry(s, s, 32);
    std::vector<uint8_t> block(g.size, 0);
    orvex::putInfoHeader(block.data(), s, static_cast<int32_t>(2 * s), 32);
    const std::vector<unsigned char> pixels = draw(size);
    const size_t maskRow = orvex::dibRowSize(s, 1);
    for (int y = 0; y < size; ++y) {
        const size_t row = static_cast<size_t>(size - 1 - y); // bottom-up
        std::memcpy(&block[g.colorPlaneOffset + row * s * 4], &pixels[static_cast<size_t>(y) * s * 4], s * 4);
        for (int x = 0; x < size; ++x)
            if (pixels[(static_cast<size_t>(y) * s + x) * 4 + 3] == 0)
                block[g.maskPlaneOffset + row * maskRow + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    return block;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawicon <output.ico>\n");
        return 2;
    }
    const int sizes[] = {16, 24, 32, 48, 64};
    std::vector<std::vector<uint8_t>> blocks;
    std::vector<orvex::DirectoryImage> entries;
    for (int size : sizes) {
        blocks.push_back(imageBlock(size));
        orvex::DirectoryImage e;
        e.width = e.height = static_cast<uint32_t>(size);
        e.bitCount = 32;
        e.size = static_cast<uint32_t>(blocks.back().size());
        entries.push_back(e);
    }
    std::vector<uint8_t> file = orvex::iconDirectory(orvex::kKindIcon, entries);
    for (const auto& block : blocks) file.insert(file.end(), block.begin(), block.end());

    // Written whole to a temporary name and renamed, so that a failed run leaves no half icon.
    const std::string target = argv[1], temporary = target + ".part";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) {
        std::perror(temporary.c_str());
        return 1;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::perror(target.c_str());
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
