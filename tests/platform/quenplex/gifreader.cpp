#include "gifreader.h"

namespace gifreader {

namespace {

class Cursor {
public:
    explicit Cursor(const std::vector<std::uint8_t>& b) : b_(b) {}
    bool has(std::size_t n) const { return at_ + n <= b_.size(); }
    std::uint8_t u8() { return has(1) ? b_[at_++] : 0; }
    int u16() {
        int lo = u8();
        return lo | (u8() << 8);
    }
    std::size_t at_ = 0;

private:
    const std::vector<std::uint8_t>& b_;
};

} // namespace

Image read(const std::vector<std::uint8_t>& bytes) {
    Image img;
    Cursor c(bytes);
    if (bytes.size() < 13 || std::string(bytes.begin(), bytes.begin() + 3) != "GIF") {
        img.error = "no signature";
        return img;
    }
    img.version.assign(bytes.begin() + 3, bytes.begin() + 6);
    c.at_ = 6;
    c.u16();
    c.u16();
    const int flags = c.u8();
    c.u8();
    c.u8();
    if (flags & 0x80) {
        const int n = 1 << ((flags & 7) + 1);
        for (int i = 0; i < n; ++i) {
            std::uint32_t r = c.u8(), g = c.u8(), b = c.u8();
            img.palette.push_back((r << 16) | (g << 8) | b);
        }
    }
    for (;;) {
        if (!c.has(1)) {
            img.error = "no image";
            return img;
        }
        const int block = c.u8();
        if (block == 0x21) {
            const int label = c.u8();
            int size = c.u8();
            if (label == 0xF9 && size == 4) {
                const int packed = c.u8();
                c.u16();
                const int index = c.u8();
                if (packed & 1) img.transparentIndex = index;
                size = c.u8();
            }
            while (size) {
                for (int i = 0; i < size; ++i) c.u8();
                size = c.u8();
            }
        } else if (block == 0x2C) {
            c.u16();
            c.u16();
            img.width = c.u16();
            img.height = c.u16();
            if (c.u8() & 0x80) {
                img.error = "local table";
                return img;
            }
            break;
        } else {
            img.error = "unexpected block";
            return img;
        }
    }
    const int minSize = c.u8();
    std::vector<std::uint8_t> data;
    for (int size = c.u8(); size; size = c.u8()) {
        if (!c.has(static_cast<std::size_t>(size))) {
            img.error = "truncated data";
            return img;
        }
        for (int i = 0; i < size; ++i) data.push_back(c.u8());
    }
    if (c.u8() != 0x3B) img.error = "no trailer";

    // LZW: the table holds (prefix, last byte) and each string's first byte.
    const int clear = 1 << minSize, end = clear + 1;
    std::vector<int> prefix(4096, -1), suffix(4096, 0), first(4096, 0);
    for (int i = 0; i < clear; ++i) suffix[i] = first[i] = i;
    int size = minSize + 1, next = end + 1, previous = -1;
    std::size_t bit = 0;
    auto emit = [&](int code) {
        std::vector<std::uint8_t> s;
        for (int k = code; k >= 0; k = prefix[k]) s.push_back(static_cast<std::uint8_t>(suffix[k]));
        img.indices.insert(img.indices.end(), s.rbegin(), s.rend());
    };
    bool ended = false;
    while (bit + static_cast<std::size_t>(size) <= data.size() * 8) {
        int code = 0;
        for (int i = 0; i < size; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        if (code == clear) {
            size = minSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) {
            ended = true;
            break;
        }
        if (previous < 0) {
            if (code >= clear) {
                img.error = "bad first code";
                return img;
            }
            emit(code);
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= 4096)) {
            img.error = "code out of table";
            return img;
        }
        const int firstByte = code == next ? first[previous] : first[code];
        if (next < 4096) {
            prefix[next] = previous;
            suffix[next] = firstByte;
            first[next] = first[previous];
            ++next;
        }
        emit(code);
        previous = code;
        if (next == (1 << size) && size < 12) ++size;
    }
    if (!ended && img.error.empty()) img.error = "no end code";
    if (img.error.empty() && img.indices.size() != static_cast<std::size_t>(img.width) * img.height)
        img.error = "pixel count";
    return img;
}

} // namespace gifreader
