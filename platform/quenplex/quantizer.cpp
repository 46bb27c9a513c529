#include "quantizer.h"

#include <algorithm>

namespace quenplex {

namespace {

struct Shade {
    Rgb colour;
    std::uint32_t count;
};

int channel(Rgb c, int which) { return static_cast<int>((c >> (16 - 8 * which)) & 0xFF); }

// A run of shades (a box of the colour space) that becomes one palette entry.
struct Box {
    std::size_t begin, end;
    std::uint64_t population = 0;
    int widest = 0; // the channel with the largest range
    int range = 0;
};

Box measure(const std::vector<Shade>& shades, std::size_t begin, std::size_t end) {
    Box box{begin, end};
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    for (std::size_t i = begin; i < end; ++i) {
        box.population += shades[i].count;
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], channel(shades[i].colour, c));
            high[c] = std::max(high[c], channel(shades[i].colour, c));
        }
    }
    for (int c = 0; c < 3; ++c)
        if (high[c] - low[c] > box.range) {
            box.range = high[c] - low[c];
            box.widest = c;
        }
    return box;
}

Rgb average(const std::vector<Shade>& shades, const Box& box) {
    std::uint64_t sum[3] = {0, 0, 0};
    for (std::size_t i = box.begin; i < box.end; ++i)
        for (int c = 0; c < 3; ++c) sum[c] += static_cast<std::uint64_t>(channel(shades[i].colour, c)) * shades[i].count;
    Rgb out = 0;
    for (int c = 0; c < 3; ++c) out = (out << 8) | static_cast<Rgb>((sum[c] + box.population / 2) / box.population);
    return out;
}

} // namespace

Quantized quantize(const Rgb* pixels, std::size_t count, int maxColours) {
    const int wanted = std::clamp(maxColours, 2, 256);
    Quantized out;
    out.indices.resize(count);

    // The distinct colours, sorted, with their pixel counts; a pixel finds its
    // colour by binary search.
    std::vector<Rgb> colours(count);
    for (std::size_t i = 0; i < count; ++i) colours[i] = pixels[i] & 0xFFFFFF;
    std::sort(colours.begin(), colours.end());
    std::vector<Shade> shades;
    for (Rgb c : colours) {
        if (shades.empty() || shades.back().colour != c) shades.push_back({c, 0});
        ++shades.back().count;
    }
    std::vector<Rgb> distinct(shades.size());
    for (std::size_t i = 0; i < shades.size(); ++i) distinct[i] = shades[i].colour;
    auto slotOf = [&](Rgb c) {
        return static_cast<std::size_t>(std::lower_bound(distinct.begin(), distinct.end(), c & 0xFFFFFF) -
                                        distinct.begin());
    };
    std::vector<int> entryOf(distinct.size(), -1); // palette entry of each distinct colour

    if (shades.size() <= static_cast<std::size_t>(wanted)) {
        // Exact: the colours in the order they first occur.
        for (std::size_t i = 0; i < count; ++i) {
            int& entry = entryOf[slotOf(pixels[i])];
            if (entry < 0) {
                entry = static_cast<int>(out.palette.size());
                out.palette.push_back(pixels[i] & 0xFFFFFF);
            }
        }
    } else {
        // Colours that cover at least 1/wanted of the picture keep their own entry.
        std::sort(shades.begin(), shades.end(), [](const Shade& a, const Shade& b) { return a.count > b.count; });
        std::size_t reserved = 0;
        while (reserved < shades.size() && reserved < static_cast<std::size_t>(wanted / 2) &&
               static_cast<std::uint64_t>(shades[reserved].count) * wanted >= count)
            ++reserved;
        for (std::size_t i = 0; i < reserved; ++i) {
            entryOf[slotOf(shades[i].colour)] = static_cast<int>(out.palette.size());
            out.palette.push_back(shades[i].colour);
        }

        std::vector<Box> boxes{measure(shades, reserved, shades.size())};
        while (boxes.size() + reserved < static_cast<std::size_t>(wanted)) {
            // Split the box where most pixels meet the widest spread of colour.
            auto pick = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
                return a.population * static_cast<std::uint64_t>(a.range) <
                       b.population * static_cast<std::uint64_t>(b.range);
            });
            if (pick->range == 0) break;
            Box box = *pick;
            const int c = box.widest;
            std::sort(shades.begin() + static_cast<std::ptrdiff_t>(box.begin),
                      shades.begin() + static_cast<std::ptrdiff_t>(box.end),
                      [c](const Shade& a, const Shade& b) { return channel(a.colour, c) < channel(b.colour, c); });
            std::uint64_t half = 0;
            std::size_t cut = box.begin + 1;
            for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
                half += shades[i].count;
                cut = i + 1;
                if (half * 2 >= box.population) break;
            }
            *pick = measure(shades, box.begin, cut);
            boxes.push_back(measure(shades, cut, box.end));
        }
        for (const Box& box : boxes) {
            const Rgb mean = average(shades, box);
            // Two boxes (or a box and a reserved colour) may meet on one mean; they share its entry.
            auto same = std::find(out.palette.begin(), out.palette.end(), mean);
            const int entry = static_cast<int>(same - out.palette.begin());
            if (same == out.palette.end()) out.palette.push_back(mean);
            for (std::size_t i = box.begin; i < box.end; ++i) entryOf[slotOf(shades[i].colour)] = entry;
        }
    }
    for (std::size_t i = 0; i < count; ++i) out.indices[i] = static_cast<std::uint8_t>(entryOf[slotOf(pixels[i])]);
    return out;
}

} // namespace quenplex
