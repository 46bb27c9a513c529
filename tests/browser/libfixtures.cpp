#include "libfixtures.h"

#include <sstream>
#include <vector>

#include "scratch.h"
#include "zipwriter.h"

namespace vmtest {
namespace {

// Key colours as 0x00RRGGBB.
constexpr std::uint32_t kKeyRgb[10] = {
    0xFFFFFF, 0x008080, 0x00FF00, 0x008000, 0xFF00FF, 0x800080, 0xFF0000, 0x800000, 0xFFFF00, 0x808000,
};

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

constexpr const char* kPassword = "Wrenfoldbake";

std::string member(int size, long chunk, const std::string& cells) {
    return makeChunkBitmap(size, chunk, cells);
}

void writeArchive(const std::string& path, const std::vector<ZipFixtureMember>& members) {
    writeFile(path, makeZipArchive(members));
}

ZipFixtureMember chunkMember(int size, long chunk, const std::string& cells, const std::string& password = kPassword) {
    ZipFixtureMember m;
    m.name = std::to_string(chunk) + ".lib";
    m.data = member(size, chunk, cells);
    m.password = password;
    return m;
}

} // namespace

std::uint32_t sampleIconColor(long chunk, long position) {
    // Components between 10 and 230 that are never 0, 128 or 255.
    const auto c = [](long v) { return static_cast<std::uint32_t>(10 + (v % 100) * 2 + 1); };
    return (c(position) << 16) | (c(chunk) << 8) | 0x41;
}

std::string makeChunkBitmap(int iconSize, long chunk, const std::string& cells) {
    const int side = iconSize * 10;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(side) * side, kKeyRgb[0]);
    std::istringstream list(cells);
    std::string pair;
    while (std::getline(list, pair, ',')) {
        const long position = std::stol(pair.substr(0, pair.find(':')));
        const int key = std::stoi(pair.substr(pair.find(':') + 1));
        const int left = static_cast<int>(position % 10) * iconSize, top = static_cast<int>(position / 10) * iconSize;
        for (int y = 0; y < iconSize; ++y)
            for (int x = 0; x < iconSize; ++x) {
                const bool square = x >= iconSize / 4 && x < iconSize * 3 / 4 && y >= iconSize / 4 && y < iconSize * 3 / 4;
                pixels[static_cast<size_t>(top + y) * side + static_cast<size_t>(left + x)] =
                    square ? sampleIconColor(chunk, position) : kKeyRgb[key];
            }
    }
    const int stride = (side * 3 + 3) & ~3;
    std::string bmp = "BM";
    put32(bmp, static_cast<std::uint32_t>(14 + 40 + stride * side));
    put32(bmp, 0);
    put32(bmp, 14 + 40);
    put32(bmp, 40);
    put32(bmp, static_cast<std::uint32_t>(side));
    put32(bmp, static_cast<std::uint32_t>(side)); // bottom-up
    put16(bmp, 1);
    put16(bmp, 24);
    for (int i = 0; i < 6; ++i) put32(bmp, 0);
    for (int y = side - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < side; ++x) {
            const std::uint32_t p = pixels[static_cast<size_t>(y) * side + static_cast<size_t>(x)];
            row += static_cast<char>(p & 0xFF);
            row += static_cast<char>((p >> 8) & 0xFF);
            row += static_cast<char>((p >> 16) & 0xFF);
        }
        row.resize(static_cast<size_t>(stride), '\0');
        bmp += row;
    }
    return bmp;
}

void writeSampleLibrary(const std::string& folder, const SampleLibraryOptions& options) {
    const std::string dir = folder + "\\";
    if (options.index32) {
        writeFile(dir + "Icondata-32.dat",
                  "apple;1:0:00;1:1:11;1:2:22\r\n"
                  "Bird;1:3:33;1:4:44;1:5:55\r\n"
                  "boat;1:6:66;1:7:77;1:8:88;1:9:92;1:0:00\r\n"
                  "spinner;2:10:03;2:11:03;2:12:03\r\n"
                  "addon;87:0:01;125:5:42\r\n"
                  "lost;3:0:00;150:0:00;325:1:00\r\n");
    }
    writeArchive(dir + "Iconlib-32.res",
                 {chunkMember(32, 1, "0:0,1:1,2:2,3:3,4:4,5:5,6:6,7:7,8:8,9:9"), chunkMember(32, 2, "10:0,11:0,12:0")});
    writeArchive(dir + "Iconlib1-32.res", {chunkMember(32, 87, "0:0")});
    writeArchive(dir + "Iconlib2-32.res", {chunkMember(32, 125, "5:4", "another")});
    if (options.index16) {
        writeFile(dir + "Icondata-16.dat",
                  "apple;1:0:00\r\n"
                  "addon;51:1:11\r\n"
                  "nowhere;160:0:00\r\n");
    }
    writeArchive(dir + "Iconlib-16.res", {chunkMember(16, 1, "0:0")});
    writeArchive(dir + "Iconlib1-16.res", {chunkMember(16, 51, "1:1")});
    if (options.userFiles) {
        writeFile(dir + "Keyuser-32.dat", kSampleUserKeywords);
        writeFile(dir + "Iconuser-32.dat", kSampleReferences);
    }
}

} // namespace vmtest
