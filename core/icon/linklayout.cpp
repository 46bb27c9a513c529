#include "linklayout.h"

#include <algorithm>
#include <optional>

#include "bytereader.h"

namespace vm::lnk {
namespace {

constexpr std::size_t kHeaderSize = 0x4C;
// The shell link class id as it is stored in the header.
constexpr std::uint8_t kClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                       0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum Flag : std::uint32_t {
    HasIdList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
};

// The item ID list at `at`; the offset behind it, or nothing.
std::optional<std::size_t> idList(const ByteReader& r, std::size_t at) {
    const auto size = r.le16(at);
    if (!size || !r.has(at + 2, *size)) return std::nullopt;
    const std::size_t end = at + 2 + *size;
    std::size_t item = at + 2;
    for (;;) {
        if (item + 2 > end) return std::nullopt;
        const std::uint16_t itemSize = *r.le16(item);
        if (itemSize == 0) break; // the terminal item
        if (itemSize < 2 || itemSize > end - item) return std::nullopt;
        item += itemSize;
    }
    if (item + 2 != end) return std::nullopt;
    return end;
}

// A NUL-terminated string of 1- or 2-byte characters starting at `at` and
// ending before `end`.
bool terminated(const ByteReader& r, std::size_t at, std::size_t end, std::size_t width) {
    for (std::size_t i = at; i + width <= end; i += width) {
        if (width == 1 ? *r.u8(i) == 0 : *r.le16(i) == 0) return true;
    }
    return false;
}

// The link info at `at`; the offset behind it, or nothing.
std::optional<std::size_t> linkInfo(const ByteReader& r, std::size_t at) {
    const auto size = r.le32(at);
    const auto headerSize = r.le32(at + 4);
    if (!size || !headerSize || *size < 0x1C || !r.has(at, *size)) return std::nullopt;
    if (*headerSize < 0x1C || *headerSize > *size) return std::nullopt;
    const std::size_t end = at + *size;
    const std::uint32_t flags = *r.le32(at + 8);
    const std::uint32_t volumeId = *r.le32(at + 12);
    const std::uint32_t localBasePath = *r.le32(at + 16);
    const std::uint32_t network = *r.le32(at + 20);
    const std::uint32_t suffix = *r.le32(at + 24);
    // Every offset points behind the header and inside the link info.
    auto inside = [&](std::uint32_t offset) { return offset >= *headerSize && offset < *size; };
    if ((flags & 1) != 0) {
        if (!inside(volumeId) || !inside(localBasePath)) return std::nullopt;
        const auto volumeSize = r.le32(at + volumeId);
        if (!volumeSize || *volumeSize < 0x10 || *volumeSize > *size - volumeId) return std::nullopt;
        const std::uint32_t label = *r.le32(at + volumeId + 12);
        if (label >= *volumeSize) return std::nullopt;
        if (label != 0x14 && !terminated(r, at + volumeId + label, at + volumeId + *volumeSize, 1))
            return std::nullopt;
        if (!terminated(r, at + localBasePath, end, 1)) return std::nullopt;
    }
    if ((flags & 2) != 0) {
        if (!inside(network)) return std::nullopt;
        const auto networkSize = r.le32(at + network);
        if (!networkSize || *networkSize < 0x14 || *networkSize > *size - network) return std::nullopt;
        const std::uint32_t netName = *r.le32(at + network + 8);
        if (netName >= *networkSize || !terminated(r, at + network + netName, at + network + *networkSize, 1))
            return std::nullopt;
    }
    if (!inside(suffix) || !terminated(r, at + suffix, end, 1)) return std::nullopt;
    if (*headerSize >= 0x24) {
        const std::uint32_t localUnicode = *r.le32(at + 28);
        const std::uint32_t suffixUnicode = *r.le32(at + 32);
        if ((flags & 1) != 0 && (!inside(localUnicode) || !terminated(r, at + localUnicode, end, 2)))
            return std::nullopt;
        if (!inside(suffixUnicode) || !terminated(r, at + suffixUnicode, end, 2)) return std::nullopt;
    }
    return end;
}

// The string data: a counted string for each flag that announces one.
std::optional<std::size_t> stringData(const ByteReader& r, std::size_t at, std::uint32_t flags) {
    const std::size_t width = (flags & IsUnicode) ? 2 : 1;
    for (std::uint32_t flag : {HasName, HasRelativePath, HasWorkingDir, HasArguments, HasIconLocation}) {
        if ((flags & flag) == 0) continue;
        const auto count = r.le16(at);
        if (!count || !r.has(at + 2, *count * width)) return std::nullopt;
        at += 2 + *count * width;
    }
    return at;
}

// The size a known extra data block has (a lower bound for the blocks whose
// size varies); a block of another signature need only lie inside the file.
struct BlockRule {
    std::uint32_t signature;
    std::uint32_t size;
    bool exact;
};
constexpr BlockRule kBlocks[] = {
    {0xA0000001, 0x314, true}, // environment variables
    {0xA0000002, 0xCC, true},  // console
    {0xA0000003, 0x60, true},  // tracker
    {0xA0000004, 0x0C, true},  // console code page
    {0xA0000005, 0x10, true},  // special folder
    {0xA0000006, 0x314, true}, // installer
    {0xA0000007, 0x314, true}, // icon environment
    {0xA0000008, 0x88, false}, // shim layer
    {0xA0000009, 0x0C, false}, // property store
    {0xA000000B, 0x1C, true},  // known folder
    {0xA000000C, 0x0A, false}, // item ID list
};

bool extraData(const ByteReader& r, std::size_t at) {
    for (;;) {
        const auto size = r.le32(at);
        if (!size) return false;
        if (*size < 4) return true; // the terminal block
        if (*size < 8 || !r.has(at, *size)) return false;
        const std::uint32_t signature = *r.le32(at + 4);
        const auto rule = std::find_if(std::begin(kBlocks), std::end(kBlocks),
                                       [&](const BlockRule& b) { return b.signature == signature; });
        if (rule != std::end(kBlocks) && (rule->exact ? *size != rule->size : *size < rule->size)) return false;
        at += *size;
    }
}

} // namespace

bool isShellLink(Bytes file) {
    const ByteReader r(file);
    return r.le32(0) == kHeaderSize && r.has(4, 16) && std::equal(kClassId, kClassId + 16, file.begin() + 4);
}

bool linkIsSound(Bytes file) {
    if (file.size() > kMaxLinkBytes || file.size() < kHeaderSize || !isShellLink(file)) return false;
    const ByteReader r(file);
    const std::uint32_t flags = *r.le32(20);
    std::optional<std::size_t> at = kHeaderSize;
    if (flags & HasIdList) at = idList(r, *at);
    if (at && (flags & HasLinkInfo)) at = linkInfo(r, *at);
    if (at) at = stringData(r, *at, flags);
    return at && extraData(r, *at);
}

} // namespace vm::lnk
