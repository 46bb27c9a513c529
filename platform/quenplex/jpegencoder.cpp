#include "jpegencoder.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quenplex {

namespace {

constexpr std::uint8_t kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                      12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                      35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                      58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

constexpr std::uint8_t kBaseLuma[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                        14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                        18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                        49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::uint8_t kBaseChroma[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                          24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                          99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                          99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The standard Huffman tables: code counts per length 1..16, then the values.
struct HuffmanTable {
    std::uint8_t counts[16];
    std::vector<std::uint8_t> values;
};

const HuffmanTable kDcLuma{{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
const HuffmanTable kDcChroma{{0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
const HuffmanTable kAcLuma{
    {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d},
    {0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
     0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72,
     0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37,
     0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
     0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
     0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3,
     0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3,
     0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2,
     0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};
const HuffmanTable kAcChroma{
    {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77},
    {0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13, 0x22,
     0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1,
     0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36,
     0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
     0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
     0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a,
     0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba,
     0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda,
     0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};

// Code and length of every value of one table.
struct HuffmanCodes {
    std::uint16_t code[256] = {};
    std::uint8_t length[256] = {};
};

HuffmanCodes buildCodes(const HuffmanTable& table) {
    HuffmanCodes out;
    unsigned code = 0;
    std::size_t k = 0;
    for (int len = 1; len <= 16; ++len) {
        for (int i = 0; i < table.counts[len - 1]; ++i, ++k) {
            out.code[table.values[k]] = static_cast<std::uint16_t>(code++);
            out.length[table.values[k]] = static_cast<std::uint8_t>(len);
        }
        code <<= 1;
    }
    return out;
}

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void write(unsigned bits, int count) {
        for (int i = count - 1; i >= 0; --i) {
            byte_ = static_cast<std::uint8_t>((byte_ << 1) | ((bits >> i) & 1));
            if (++filled_ == 8) flush();
        }
    }
    // Pads the last byte with one bits.
    void finish() {
        while (filled_ != 0) write(1, 1);
    }

private:
    void flush() {
        out_.push_back(byte_);
        if (byte_ == 0xFF) out_.push_back(0); // a data byte 0xFF is followed by a zero
        byte_ = 0;
        filled_ = 0;
    }
    std::vector<std::uint8_t>& out_;
    std::uint8_t byte_ = 0;
    int filled_ = 0;
};

void marker(std::vector<std::uint8_t>& out, std::uint8_t code, int length) {
    out.push_back(0xFF);
    out.push_back(code);
    if (length >= 0) {
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(length & 0xFF));
    }
}

void writeHuffman(std::vector<std::uint8_t>& out, std::uint8_t classAndId, const HuffmanTable& table) {
    out.push_back(classAndId);
    out.insert(out.end(), table.counts, table.counts + 16);
    out.insert(out.end(), table.values.begin(), table.values.end());
}

// The number of bits of a coefficient's magnitude, and its bits as stored.
int magnitudeBits(int value) {
    int v = value < 0 ? -value : value, bits = 0;
    while (v) {
        ++bits;
        v >>= 1;
    }
    return bits;
}

unsigned storedBits(int value, int bits) {
    return static_cast<unsigned>(value < 0 ? value + (1 << bits) - 1 : value);
}

struct Component {
    const HuffmanCodes* dc;
    const HuffmanCodes* ac;
    const std::vector<std::uint16_t>* quantiser;
    int previousDc = 0;
};

class BlockCoder {
public:
    BlockCoder() {
        for (int u = 0; u < 8; ++u)
            for (int x = 0; x < 8; ++x)
                cosine_[u][x] = (u == 0 ? std::sqrt(0.125) : 0.5) * std::cos((2 * x + 1) * u * 3.14159265358979 / 16);
    }

    void encode(const float block[64], Component& c, BitWriter& bits) const {
        // The two-dimensional cosine transform, rows then columns.
        float rows[64];
        for (int y = 0; y < 8; ++y)
            for (int u = 0; u < 8; ++u) {
                double sum = 0;
                for (int x = 0; x < 8; ++x) sum += cosine_[u][x] * block[y * 8 + x];
                rows[y * 8 + u] = static_cast<float>(sum);
            }
        int coefficients[64];
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) {
                double sum = 0;
                for (int y = 0; y < 8; ++y) sum += cosine_[v][y] * rows[y * 8 + u];
                const double q = (*c.quantiser)[static_cast<std::size_t>(v * 8 + u)];
                coefficients[v * 8 + u] = static_cast<int>(std::lround(sum / q));
            }

        const int dc = coefficients[0];
        const int diff = dc - c.previousDc;
        c.previousDc = dc;
        const int dcBits = magnitudeBits(diff);
        bits.write(c.dc->code[dcBits], c.dc->length[dcBits]);
        if (dcBits) bits.write(storedBits(diff, dcBits), dcBits);

        int run = 0;
        for (int k = 1; k < 64; ++k) {
            // Baseline tables code magnitudes of up to ten bits.
            const int value = std::clamp(coefficients[kZigzag[k]], -1023, 1023);
            if (value == 0) {
                ++run;
                continue;
            }
            while (run > 15) {
                bits.write(c.ac->code[0xF0], c.ac->length[0xF0]);
                run -= 16;
            }
            const int acBits = magnitudeBits(value);
            const int symbol = (run << 4) | acBits;
            bits.write(c.ac->code[symbol], c.ac->length[symbol]);
            bits.write(storedBits(value, acBits), acBits);
            run = 0;
        }
        if (run > 0) bits.write(c.ac->code[0], c.ac->length[0]);
    }

private:
    double cosine_[8][8];
};

} // namespace

std::vector<std::uint16_t> quantiserTable(int table, int quality) {
    const int q = std::clamp(quality, 1, 100);
    const int scale = q < 50 ? 5000 / q : 200 - 2 * q;
    const std::uint8_t* base = table == 0 ? kBaseLuma : kBaseChroma;
    std::vector<std::uint16_t> out(64);
    for (int i = 0; i < 64; ++i) out[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(std::clamp((base[i] * scale + 50) / 100, 1, 255));
    return out;
}

std::vector<std::uint8_t> encodeJpeg(int width, int height, const std::uint8_t* rgb, int quality) {
    if (width < 1 || height < 1 || width > 0xFFFF || height > 0xFFFF || !rgb || quality < 1 || quality > 100) return {};
    const auto lumaQ = quantiserTable(0, quality), chromaQ = quantiserTable(1, quality);
    std::vector<std::uint8_t> out;
    marker(out, 0xD8, -1);
    marker(out, 0xE0, 16);
    const std::uint8_t jfif[] = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    out.insert(out.end(), jfif, jfif + sizeof jfif);
    marker(out, 0xDB, 2 + 2 * 65);
    for (int t = 0; t < 2; ++t) {
        out.push_back(static_cast<std::uint8_t>(t));
        for (int k = 0; k < 64; ++k) out.push_back(static_cast<std::uint8_t>((t == 0 ? lumaQ : chromaQ)[kZigzag[k]]));
    }
    marker(out, 0xC0, 17);
    out.push_back(8);
    out.push_back(static_cast<std::uint8_t>(height >> 8));
    out.push_back(static_cast<std::uint8_t>(height & 0xFF));
    out.push_back(static_cast<std::uint8_t>(width >> 8));
    out.push_back(static_cast<std::uint8_t>(width & 0xFF));
    out.push_back(3);
    const std::uint8_t components[] = {1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1};
    out.insert(out.end(), components, components + sizeof components);
    const std::size_t huffmanLength = 2 + 4 * 17 + kDcLuma.values.size() + kAcLuma.values.size() +
                                      kDcChroma.values.size() + kAcChroma.values.size();
    marker(out, 0xC4, static_cast<int>(huffmanLength));
    writeHuffman(out, 0x00, kDcLuma);
    writeHuffman(out, 0x10, kAcLuma);
    writeHuffman(out, 0x01, kDcChroma);
    writeHuffman(out, 0x11, kAcChroma);
    marker(out, 0xDA, 12);
    const std::uint8_t scan[] = {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0};
    out.insert(out.end(), scan, scan + sizeof scan);

    static const HuffmanCodes dcLuma = buildCodes(kDcLuma), acLuma = buildCodes(kAcLuma),
                              dcChroma = buildCodes(kDcChroma), acChroma = buildCodes(kAcChroma);
    Component planes[3] = {{&dcLuma, &acLuma, &lumaQ}, {&dcChroma, &acChroma, &chromaQ},
                           {&dcChroma, &acChroma, &chromaQ}};
    static const BlockCoder coder;
    BitWriter bits(out);
    float blocks[3][64];
    for (int by = 0; by < height; by += 8)
        for (int bx = 0; bx < width; bx += 8) {
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    // Blocks past the edge repeat the last row and column.
                    const int sx = std::min(bx + x, width - 1), sy = std::min(by + y, height - 1);
                    const std::uint8_t* p = rgb + (static_cast<std::size_t>(sy) * width + sx) * 3;
                    const float r = p[0], g = p[1], b = p[2];
                    blocks[0][y * 8 + x] = 0.299f * r + 0.587f * g + 0.114f * b - 128;
                    blocks[1][y * 8 + x] = -0.168736f * r - 0.331264f * g + 0.5f * b;
                    blocks[2][y * 8 + x] = 0.5f * r - 0.418688f * g - 0.081312f * b;
                }
            for (int c = 0; c < 3; ++c) coder.encode(blocks[c], planes[c], bits);
        }
    bits.finish();
    marker(out, 0xD9, -1);
    return out;
}

} // namespace quenplex
