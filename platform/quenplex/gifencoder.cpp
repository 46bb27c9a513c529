#include "gifencoder.h"

#include <array>
#include <memory>

namespace quenplex {

namespace {

void put16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Codes packed from the lowest bit up, cut into sub-blocks of at most 255 bytes.
class CodeStream {
public:
    explicit CodeStream(std::vector<std::uint8_t>& out) : out_(out) {}
    void write(int code, int bits) {
        buffer_ |= static_cast<std::uint32_t>(code) << filled_;
        filled_ += bits;
        while (filled_ >= 8) {
            byte(static_cast<std::uint8_t>(buffer_ & 0xFF));
            buffer_ >>= 8;
            filled_ -= 8;
        }
    }
    void finish() {
        if (filled_ > 0) byte(static_cast<std::uint8_t>(buffer_ & 0xFF));
        flushBlock();
        out_.push_back(0); // block terminator
    }

private:
    void byte(std::uint8_t b) {
        block_[blockSize_++] = b;
        if (blockSize_ == 255) flushBlock();
    }
    void flushBlock() {
        if (blockSize_ == 0) return;
        out_.push_back(static_cast<std::uint8_t>(blockSize_));
        out_.insert(out_.end(), block_.begin(), block_.begin() + blockSize_);
        blockSize_ = 0;
    }
    std::vector<std::uint8_t>& out_;
    std::uint32_t buffer_ = 0;
    int filled_ = 0;
    std::array<std::uint8_t, 255> block_{};
    int blockSize_ = 0;
};

// The string table: (prefix code, next index) -> code, by open addressing.
class StringTable {
public:
    StringTable() { clear(); }
    void clear() { keys_.fill(-1); }
    int find(int prefix, int index) const {
        const int key = (prefix << 8) | index;
        for (std::size_t at = slot(key);; at = (at + 1) % kSlots) {
            if (keys_[at] == key) return codes_[at];
            if (keys_[at] < 0) return -1;
        }
    }
    void add(int prefix, int index, int code) {
        const int key = (prefix << 8) | index;
        std::size_t at = slot(key);
        while (keys_[at] >= 0) at = (at + 1) % kSlots;
        keys_[at] = key;
        codes_[at] = static_cast<std::int16_t>(code);
    }

private:
    static constexpr std::size_t kSlots = 8209; // a prime about twice the 4096 codes
    static std::size_t slot(int key) { return static_cast<std::uint32_t>(key) * 2654435761u % kSlots; }
    std::array<int, kSlots> keys_{};
    std::array<std::int16_t, kSlots> codes_{};
};

void compress(std::vector<std::uint8_t>& out, const std::uint8_t* pixels, std::size_t count, int minCodeSize) {
    out.push_back(static_cast<std::uint8_t>(minCodeSize));
    CodeStream stream(out);
    const int clearCode = 1 << minCodeSize, endCode = clearCode + 1;
    int next = endCode + 1, codeSize = minCodeSize + 1;
    auto table = std::make_unique<StringTable>();
    // The width grows once the reader's table (one entry behind ours) fills the current width.
    auto emit = [&](int code) {
        stream.write(code, codeSize);
        if (next >= (1 << codeSize) && codeSize < 12) ++codeSize;
    };
    emit(clearCode);
    int prefix = pixels[0];
    for (std::size_t i = 1; i < count; ++i) {
        const int index = pixels[i];
        const int known = table->find(prefix, index);
        if (known >= 0) {
            prefix = known;
            continue;
        }
        emit(prefix);
        if (next < 4096) {
            table->add(prefix, index, next++);
        } else {
            emit(clearCode);
            table->clear();
            next = endCode + 1;
            codeSize = minCodeSize + 1;
        }
        prefix = index;
    }
    emit(prefix);
    emit(endCode);
    stream.finish();
}

} // namespace

std::vector<std::uint8_t> encodeGif(const GifPicture& p) {
    const int colours = static_cast<int>(p.palette.size());
    if (p.width < 1 || p.height < 1 || p.width > 0xFFFF || p.height > 0xFFFF || !p.indices || colours < 1 ||
        colours > 256 || p.transparentIndex >= colours || p.transparentIndex < -1)
        return {};
    const std::size_t count = static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height);
    for (std::size_t i = 0; i < count; ++i)
        if (p.indices[i] >= colours) return {};

    int tableBits = 1; // the colour table holds 2^tableBits entries
    while ((1 << tableBits) < colours) ++tableBits;

    std::vector<std::uint8_t> out;
    const bool transparent = p.transparentIndex >= 0;
    const char* signature = transparent ? "GIF89a" : "GIF87a";
    for (int i = 0; i < 6; ++i) out.push_back(static_cast<std::uint8_t>(signature[i]));
    put16(out, p.width);
    put16(out, p.height);
    // Global table present, 8 bits of colour resolution, table size.
    out.push_back(static_cast<std::uint8_t>(0x80 | (7 << 4) | (tableBits - 1)));
    out.push_back(0); // background colour index
    out.push_back(0); // no aspect ratio
    for (int i = 0; i < (1 << tableBits); ++i) {
        const Rgb c = i < colours ? p.palette[static_cast<std::size_t>(i)] : 0;
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c));
    }
    if (transparent) {
        const std::uint8_t control[] = {0x21, 0xF9, 4, 0x01, 0, 0, static_cast<std::uint8_t>(p.transparentIndex), 0};
        out.insert(out.end(), control, control + sizeof control);
    }
    out.push_back(0x2C);
    put16(out, 0);
    put16(out, 0);
    put16(out, p.width);
    put16(out, p.height);
    out.push_back(0); // no local table, not interlaced
    compress(out, p.indices, count, tableBits < 2 ? 2 : tableBits);
    out.push_back(0x3B);
    return out;
}

} // namespace quenplex
