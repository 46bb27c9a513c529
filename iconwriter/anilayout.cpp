#include "anilayout.h"

#include "lebytes.h"

namespace orvex {

namespace {

constexpr uint32_t kAniHeaderSize = 36;
constexpr uint32_t kAttrIcon = 1; // frames are icon-format data, shown in order (no sequence)

// Fills a buffer sized beforehand, four bytes at a time.
class Filler {
public:
    explicit Filler(uint8_t* p) : p_(p) {}
    void tag(const char (&fourcc)[5]) {
        for (int i = 0; i < 4; ++i) *p_++ = static_cast<uint8_t>(fourcc[i]);
    }
    void u32(uint32_t v) {
        putLE32(p_, v);
        p_ += 4;
    }

private:
    uint8_t* p_;
};

} // namespace

std::optional<std::vector<uint8_t>> aniPrologue(const std::vector<uint32_t>& frameSizes,
                                                const std::vector<int32_t>& rates) {
    const uint64_t n = frameSizes.size();
    if (n == 0 || rates.empty()) return std::nullopt;
    const bool rateChunk = n > 1 && rates.size() == n;

    uint64_t listSize = 4; // "fram"
    for (uint32_t size : frameSizes) listSize += 8 + uint64_t{size};
    const uint64_t rateBytes = rateChunk ? 8 + 4 * n : 0;
    const uint64_t riffSize = 4 + (8 + kAniHeaderSize) + rateBytes + 8 + listSize;
    if (riffSize > UINT32_MAX) return std::nullopt;

    // Everything up to the frames: 12 bytes of RIFF header, the anih chunk, the
    // rates and 12 bytes of list header.
    std::vector<uint8_t> out(12 + 8 + kAniHeaderSize + rateBytes + 12);
    Filler a(out.data());
    a.tag("RIFF");
    a.u32(static_cast<uint32_t>(riffSize));
    a.tag("ACON");
    a.tag("anih");
    a.u32(kAniHeaderSize);
    a.u32(kAniHeaderSize);              // cbSize
    a.u32(static_cast<uint32_t>(n));    // nFrames
    a.u32(static_cast<uint32_t>(n));    // nSteps
    for (int i = 0; i < 4; ++i) a.u32(0); // width, height, bit count, planes: taken from the frames
    a.u32(static_cast<uint32_t>(rates[0]));
    a.u32(kAttrIcon);
    if (rateChunk) {
        a.tag("rate");
        a.u32(static_cast<uint32_t>(4 * n));
        for (int32_t r : rates) a.u32(static_cast<uint32_t>(r));
    }
    a.tag("LIST");
    a.u32(static_cast<uint32_t>(listSize));
    a.tag("fram");
    return out;
}

std::array<uint8_t, 8> aniFrameHeader(uint32_t frameSize) {
    std::array<uint8_t, 8> h{'i', 'c', 'o', 'n'};
    putLE32(h.data() + 4, frameSize);
    return h;
}

} // namespace orvex
