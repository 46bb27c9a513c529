#include "areaaverage.h"

#include <algorithm>
#include <cmath>

namespace vm::areaaverage {

namespace {

struct Share {
    int from;
    double weight;
};

// For each of `to` new cells along one axis, the source cells it covers and how much of each.
std::vector<std::vector<Share>> shares(int from, int to) {
    std::vector<std::vector<Share>> result(static_cast<size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double start = i * step, end = (i + 1) * step;
        for (int s = static_cast<int>(std::floor(start)); s < from && s < end; ++s) {
            const double part = std::min<double>(end, s + 1) - std::max<double>(start, s);
            if (part > 1e-12) result[static_cast<size_t>(i)].push_back({s, part});
        }
    }
    return result;
}

// Alpha-weighted channels: blue, green and red multiplied by alpha, then alpha.
struct Sum {
    double b = 0, g = 0, r = 0, a = 0;
    void add(const Sum& s, double w) {
        b += s.b * w;
        g += s.g * w;
        r += s.r * w;
        a += s.a * w;
    }
};

Sum weighted(std::uint32_t p) {
    const double a = (p >> 24) / 255.0;
    return {(p & 0xFF) * a, ((p >> 8) & 0xFF) * a, ((p >> 16) & 0xFF) * a, a};
}

std::uint32_t channel(double v) { return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L)); }

} // namespace

Pixels scale(const Pixels& source, int width, int height) {
    Pixels out;
    if (source.width < 1 || source.height < 1 || width < 1 || height < 1 ||
        source.argb.size() != static_cast<size_t>(source.width) * static_cast<size_t>(source.height))
        return out;
    const auto across = shares(source.width, width), down = shares(source.height, height);
    // Across first: one row of sums per source row.
    std::vector<Sum> rows(static_cast<size_t>(width) * static_cast<size_t>(source.height));
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < width; ++x) {
            Sum& sum = rows[static_cast<size_t>(y) * width + x];
            double total = 0;
            for (const Share& s : across[static_cast<size_t>(x)]) {
                sum.add(weighted(source.argb[static_cast<size_t>(y) * source.width + s.from]), s.weight);
                total += s.weight;
            }
            sum = Sum{sum.b / total, sum.g / total, sum.r / total, sum.a / total};
        }
    out.width = width;
    out.height = height;
    out.argb.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Sum sum;
            double total = 0;
            for (const Share& s : down[static_cast<size_t>(y)]) {
                sum.add(rows[static_cast<size_t>(s.from) * width + x], s.weight);
                total += s.weight;
            }
            const double a = sum.a / total;
            std::uint32_t pixel = 0;
            if (sum.a > 0)
                pixel = channel(a * 255) << 24 | channel(sum.r / sum.a) << 16 | channel(sum.g / sum.a) << 8 |
                        channel(sum.b / sum.a);
            out.argb[static_cast<size_t>(y) * width + x] = pixel;
        }
    return out;
}

void clearKeyColour(Pixels& pixels, std::uint32_t rgb) {
    for (std::uint32_t& p : pixels.argb)
        if ((p & 0xFFFFFF) == (rgb & 0xFFFFFF)) p = 0;
}

Pixels over(const Pixels& pixels, std::uint32_t rgb) {
    Pixels out = pixels;
    for (std::uint32_t& p : out.argb) {
        const std::uint32_t a = p >> 24;
        std::uint32_t mixed = 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8) {
            const std::uint32_t fore = (p >> shift) & 0xFF, back = (rgb >> shift) & 0xFF;
            mixed |= ((fore * a + back * (255 - a) + 127) / 255) << shift;
        }
        p = mixed;
    }
    return out;
}

} // namespace vm::areaaverage
