#include "ico_fixtures.h"

#include <windows.h>
#include <zlib.h>


namespace vmtest::ico {
namespace {

void put16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}
void put32be(std::string& s, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}
std::size_t rowSize(std::size_t bits) { return (bits + 31) / 32 * 4; }

void pngChunk(std::string& out, const char* type, const std::string& data) {
    put32be(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    put32be(out, static_cast<std::uint32_t>(
                     crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

std::string entryBytes(const Image& im, std::uint32_t offset) {
    std::string e;
    e += static_cast<char>(im.width);
    e += static_cast<char>(im.height);
    e += static_cast<char>(im.colorCount);
    e += '\0';
    put16(e, im.planes);
    put16(e, im.bitCount);
    put32(e, im.bytesInRes());
    put32(e, offset);
    return e;
}

// The directory and images of an ICO file, images placed at the given offsets.
std::string layOut(const std::vector<Image>& images, std::uint16_t type,
                   const std::vector<std::uint32_t>& offsets) {
    std::string out = iconDir(0, type, static_cast<std::uint16_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) out += entryBytes(images[i], offsets[i]);
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (out.size() < offsets[i]) out.resize(offsets[i], '\x5A');
        out.replace(offsets[i], images[i].bytes.size(), images[i].bytes);
    }
    return out;
}

// A 32-bit image of those bytes (a size of 256 is stored as 0).
Image image32(std::string bytes, int width, int height) {
    Image im;
    im.bytes = std::move(bytes);
    im.width = static_cast<std::uint8_t>(width & 0xFF);
    im.height = static_cast<std::uint8_t>(height & 0xFF);
    im.bitCount = 32;
    return im;
}

} // namespace

Image dib(int width, int height, int bits, unsigned seed) {
    std::string s;
    const std::size_t colours = bits <= 8 ? (std::size_t{1} << bits) : 0;
    put32(s, 40);
    put32(s, static_cast<std::uint32_t>(width));
    put32(s, static_cast<std::uint32_t>(2 * height));
    put16(s, 1);
    put16(s, static_cast<std::uint32_t>(bits));
    s.append(24, '\0');
    for (std::size_t i = 0; i < colours; ++i) {
        s += static_cast<char>((i * 37 + seed) & 0xFF);
        s += static_cast<char>((i * 91 + seed * 3) & 0xFF);
        s += static_cast<char>((i * 13 + seed * 7) & 0xFF);
        s += '\0';
    }
    for (int y = 0; y < height; ++y) {
        std::string row(rowSize(static_cast<std::size_t>(width) * bits), '\0');
        for (int x = 0; x < width; ++x) {
            const unsigned v = static_cast<unsigned>(x * 3 + y * 5) + seed;
            if (bits <= 8) {
                const unsigned value = v % (1u << bits);
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
                row[bit / 8] = static_cast<char>(static_cast<unsigned char>(row[bit / 8]) | (value << shift));
            } else {
                const std::size_t at = static_cast<std::size_t>(x) * (bits / 8);
                row[at] = static_cast<char>(v * 7);
                row[at + 1] = static_cast<char>(v * 11);
                row[at + 2] = static_cast<char>(v * 13);
                if (bits == 32) row[at + 3] = static_cast<char>(x < 2 && y < 2 ? 0 : 255);
            }
        }
        s += row;
    }
    // Transparent 2 x 2 corner at the bottom left, everything else opaque.
    for (int y = 0; y < height; ++y) {
        std::string row(rowSize(static_cast<std::size_t>(width)), '\0');
        if (y < 2) row[0] = static_cast<char>(0xC0);
        s += row;
    }
    Image im;
    im.bytes = std::move(s);
    im.width = static_cast<std::uint8_t>(width);
    im.height = static_cast<std::uint8_t>(height);
    im.colorCount = bits == 1 ? 2 : bits == 4 ? 16 : 0;
    im.bitCount = static_cast<std::uint16_t>(bits);
    return im;
}

Image solidDib(int size, int bits, std::uint32_t rgb) {
    std::string s;
    const auto n = static_cast<std::uint32_t>(size);
    for (std::uint32_t v : {40u, n, 2 * n}) put32(s, v);
    put16(s, 1);
    put16(s, static_cast<std::uint32_t>(bits));
    s.append(24, '\0');
    const std::string colour{static_cast<char>(rgb & 0xFF), static_cast<char>((rgb >> 8) & 0xFF),
                             static_cast<char>((rgb >> 16) & 0xFF)};
    if (bits <= 8) {
        s += colour + '\0';
        s.append(((std::size_t{1} << bits) - 1) * 4, '\0');
    }
    for (std::uint32_t y = 0; y < n; ++y) {
        std::string row;
        for (std::uint32_t x = 0; bits > 8 && x < n; ++x) row += bits == 32 ? colour + '\xFF' : colour;
        row.resize(rowSize(n * static_cast<std::size_t>(bits)), '\0'); // a paletted row: all entry 0
        s += row;
    }
    s.append(rowSize(n) * n, '\0'); // opaque
    Image im;
    im.bytes = std::move(s);
    im.width = im.height = static_cast<std::uint8_t>(size);
    im.colorCount = bits == 4 ? 16 : 0;
    im.bitCount = static_cast<std::uint16_t>(bits);
    return im;
}

Image png(int width, int height, unsigned seed) {
    std::string rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            rgba += static_cast<char>(x + seed);
            rgba += static_cast<char>(y * 2 + seed);
            rgba += static_cast<char>((x ^ y) + seed);
            rgba += static_cast<char>(x < 4 && y < 4 ? 0 : 255);
        }
    return pngOf(width, height, rgba);
}

Image pngOf(int width, int height, const std::string& rgba) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0'; // filter: none
        raw.append(rgba, static_cast<std::size_t>(y) * 4 * width, static_cast<std::size_t>(4 * width));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);

    std::string ihdr;
    put32be(ihdr, static_cast<std::uint32_t>(width));
    put32be(ihdr, static_cast<std::uint32_t>(height));
    ihdr += '\x08'; // 8 bits per sample
    ihdr += '\x06'; // RGBA
    ihdr.append(3, '\0');
    std::string s = "\x89PNG\r\n\x1a\n";
    pngChunk(s, "IHDR", ihdr);
    pngChunk(s, "IDAT", packed);
    pngChunk(s, "IEND", "");

    return image32(std::move(s), width, height);
}

Image dibOf(int width, int height, const std::string& rgba) {
    std::string s;
    put32(s, 40);
    put32(s, static_cast<std::uint32_t>(width));
    put32(s, static_cast<std::uint32_t>(2 * height));
    put16(s, 1);
    put16(s, 32);
    s.append(24, '\0');
    std::string mask;
    for (int row = height - 1; row >= 0; --row) {
        std::string bits(rowSize(static_cast<std::size_t>(width)), '\0');
        for (int x = 0; x < width; ++x) {
            const char* p = rgba.data() + 4 * (static_cast<std::size_t>(row) * width + x);
            s += p[2];
            s += p[1];
            s += p[0];
            s += p[3];
            if (p[3] == 0) bits[x / 8] = static_cast<char>(bits[x / 8] | (0x80 >> (x % 8)));
        }
        mask += bits;
    }
    s += mask;
    return image32(std::move(s), width, height);
}

std::string iconDir(std::uint16_t reserved, std::uint16_t type, std::uint16_t count) {
    std::string s;
    put16(s, reserved);
    put16(s, type);
    put16(s, count);
    return s;
}

std::string icoFile(const std::vector<Image>& images, std::uint16_t type) {
    std::vector<std::uint32_t> offsets;
    std::uint32_t at = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const auto& im : images) {
        offsets.push_back(at);
        at += static_cast<std::uint32_t>(im.bytes.size());
    }
    return layOut(images, type, offsets);
}

std::string scatteredIcoFile(const std::vector<Image>& images, std::size_t gap) {
    std::vector<std::uint32_t> offsets(images.size());
    std::size_t at = 6 + 16 * images.size();
    for (std::size_t i = images.size(); i-- > 0;) {
        at += gap;
        offsets[i] = static_cast<std::uint32_t>(at);
        at += images[i].bytes.size();
    }
    return layOut(images, 1, offsets);
}

std::string groupResource(const std::vector<Image>& images, std::uint16_t firstIconId) {
    std::string group = iconDir(0, 1, static_cast<std::uint16_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        group += entryBytes(images[i], 0).substr(0, 12);
        put16(group, static_cast<std::uint32_t>(firstIconId + i));
    }
    return group;
}

bool makeIconModule(const std::string& path, const std::vector<Group>& groups, std::uint16_t firstIconId) {
    std::string base = VM_ICONTEST_DLL;
    for (char& c : base)
        if (c == '/') c = '\\';
    if (!CopyFileA(("Z:" + base).c_str(), path.c_str(), FALSE)) return false;
    HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
    if (!update) return false;
    const WORD lang = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    bool ok = true;
    std::uint16_t iconId = firstIconId;
    for (const auto& g : groups) {
        std::string group = groupResource(g.images, iconId);
        for (const auto& im : g.images) {
            ok = ok && UpdateResourceA(update, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(iconId), lang,
                                       const_cast<char*>(im.bytes.data()), static_cast<DWORD>(im.bytes.size()));
            ++iconId;
        }
        LPCSTR name = g.name.empty() ? MAKEINTRESOURCEA(g.id) : g.name.c_str();
        ok = ok && UpdateResourceA(update, MAKEINTRESOURCEA(14), name, lang, group.data(),
                                   static_cast<DWORD>(group.size()));
    }
    return EndUpdateResourceA(update, !ok) && ok;
}

} // namespace vmtest::ico
