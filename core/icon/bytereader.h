#pragma once
// Reads little- and big-endian numbers from untrusted bytes; every read is
// checked against the end, and a read past it gives nothing.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <optional>
#include <span>

namespace vm {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : b_(bytes) {}

    std::size_t size() const { return b_.size(); }
    bool has(std::size_t at, std::size_t n) const { return at <= b_.size() && n <= b_.size() - at; }

    std::optional<std::uint16_t> le16(std::size_t at) const {
        if (!has(at, 2)) return std::nullopt;
        return static_cast<std::uint16_t>(b_[at] | (b_[at + 1] << 8));
    }
    std::optional<std::uint32_t> le32(std::size_t at) const {
        if (!has(at, 4)) return std::nullopt;
        return static_cast<std::uint32_t>(b_[at]) | (static_cast<std::uint32_t>(b_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(b_[at + 2]) << 16) | (static_cast<std::uint32_t>(b_[at + 3]) << 24);
    }
    std::optional<std::uint16_t> be16(std::size_t at) const {
        if (!has(at, 2)) return std::nullopt;
        return static_cast<std::uint16_t>((b_[at] << 8) | b_[at + 1]);
    }
    std::optional<std::uint32_t> be32(std::size_t at) const {
        if (!has(at, 4)) return std::nullopt;
        return (static_cast<std::uint32_t>(b_[at]) << 24) | (static_cast<std::uint32_t>(b_[at + 1]) << 16) |
               (static_cast<std::uint32_t>(b_[at + 2]) << 8) | static_cast<std::uint32_t>(b_[at + 3]);
    }
    std::optional<std::uint8_t> u8(std::size_t at) const {
        if (!has(at, 1)) return std::nullopt;
        return b_[at];
    }
    bool startsWith(std::span<const std::uint8_t> sig) const {
        return has(0, sig.size()) && std::equal(sig.begin(), sig.end(), b_.begin());
    }
    std::span<const std::uint8_t> sub(std::size_t at, std::size_t n) const { return b_.subspan(at, n); }

private:
    std::span<const std::uint8_t> b_;
};

} // namespace vm
