#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "form.h"
#include "libfixtures.h"
#include "libraryarchive.h"
#include "librarychunks.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"
#include "zipwriter.h"

using namespace vm;

TEST(LibraryArchive, ChunkRangesChooseArchiveAndPart) {
    struct Case {
        int size;
        long chunk;
        const char* archive;
        const char* part;
    };
    const Case cases[] = {
        {32, 1, "Iconlib-32.res", "32*32 Core Library"},   {32, 86, "Iconlib-32.res", "32*32 Core Library"},
        {32, 87, "Iconlib1-32.res", "32*32 Pellandry 1"},  {32, 149, "Iconlib2-32.res", "32*32 Pellandry 2"},
        {32, 324, "Iconlib9-32.res", "32*32 Pellandry 9"}, {32, 325, "", ""},
        {32, 0, "", ""},                                   {32, -5, "", ""},
        {16, 50, "Iconlib-16.res", "16*16 Core Library"},  {16, 51, "Iconlib1-16.res", "16*16 Pellandry 1"},
        {16, 160, "", ""},                                 {16, 175, "Iconlib5-16.res", "16*16 Pellandry 5"},
        {16, 200, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " " + std::to_string(c.chunk));
        const ChunkHome home = ChunkHomeOf(c.size, c.chunk);
        EXPECT_EQ(home.archive, c.archive);
        EXPECT_EQ(home.part, c.part);
    }
    EXPECT_EQ(ChunkNumber("87"), 87);
    EXPECT_EQ(ChunkNumber("87.9x"), 87);
    EXPECT_EQ(ChunkNumber("x"), 0);
    std::uint32_t color = 1;
    EXPECT_TRUE(KeyColorOf(9, color));
    EXPECT_EQ(color, 0x008080u);
    EXPECT_TRUE(KeyColorOf(6, color));
    EXPECT_EQ(color, 0x0000FFu);
    EXPECT_FALSE(KeyColorOf(10, color));
    EXPECT_EQ(color, 0x0000FFu);
}

TEST(LibraryItem, TextTypeAndOriginOfABookEntry) {
    KeywordState keywords;
    keywords.KeywordNames[7] = "cat";
    LibraryItemText item;
    ASSERT_TRUE(DescribeLibraryItem(keywords, "7", 32, "12:5:03book", item));
    EXPECT_EQ(item.text, "cat");
    EXPECT_EQ(item.typeCode, "3");
    EXPECT_EQ(item.origin, "Vellumar 32*32 Core Library");
    ASSERT_TRUE(DescribeLibraryItem(keywords, "-1", 16, "160:0:00book", item));
    EXPECT_EQ(item.text, "");
    EXPECT_EQ(item.origin, "Vellumar ");
    EXPECT_FALSE(DescribeLibraryItem(keywords, "7", 32, "abc", item));
}

namespace {

// The icon's pixels read back: colour as 0x00RRGGBB and the mask.
CellImage readIcon(HICON icon) {
    CellImage cell;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return cell;
    BITMAP bm{};
    GetObjectA(info.hbmMask, sizeof(bm), &bm);
    cell.width = bm.bmWidth;
    cell.height = bm.bmHeight;
    auto grab = [&](HBITMAP bitmap) {
        std::vector<std::uint32_t> px(static_cast<size_t>(cell.width) * cell.height);
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cell.width;
        bmi.bmiHeader.biHeight = -cell.height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(cell.height), px.data(), &bmi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        return px;
    };
    const auto mask = grab(info.hbmMask);
    cell.pixels = grab(info.hbmColor);
    for (auto& p : cell.pixels) p &= 0xFFFFFF;
    for (auto m : mask) cell.transparent.push_back((m & 0xFFFFFF) != 0);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return cell;
}

struct ChunkFixture : ::testing::Test {
    vmtest::ScratchDir dir;
    ChunkState state;
    LibraryChunkLoader loader;

    void SetUp() override {
        paths.DataPath = dir.path() + "\\";
        vmtest::writeSampleLibrary(dir.path());
        CreateDirectoryA(dir.file("Temp16").c_str(), nullptr);
        CreateDirectoryA(dir.file("Temp32").c_str(), nullptr);
    }
    std::string cached(int size, const std::string& chunk) const {
        return dir.file("Temp" + std::to_string(size) + "\\" + chunk + ".lib");
    }
    CellImage icon(int size, const std::string& entry) {
        HICON h = loader.LibraryIcon(state, size, entry);
        EXPECT_NE(h, nullptr) << entry;
        CellImage cell = readIcon(h);
        DestroyIcon(h);
        return cell;
    }
    static bool isPlaceholder(const CellImage& cell, int size) {
        const CellImage none = NoIconCell(size);
        return cell.transparent == none.transparent && cell.pixels == none.pixels;
    }
};

} // namespace

TEST_F(ChunkFixture, ExtractsTheChunkOnceAndKeepsItInTheCache) {
    loader.procGetLibraryChunk(state, 32, "1");
    EXPECT_TRUE(state.ChunkAvailable);
    EXPECT_EQ(state.LibraryArchiveName, "Iconlib-32.res");
    EXPECT_EQ(state.LoadedChunkPath, cached(32, "1"));
    EXPECT_EQ(vmtest::readFile(cached(32, "1")), vmtest::makeChunkBitmap(32, 1, "0:0,1:1,2:2,3:3,4:4,5:5,6:6,7:7,8:8,9:9"));

    // Add-on archives by range, in both data sets.
    loader.procGetLibraryChunk(state, 32, "87");
    EXPECT_TRUE(state.ChunkAvailable);
    EXPECT_EQ(state.LibraryArchiveName, "Iconlib1-32.res");
    loader.procGetLibraryChunk(state, 16, "51");
    EXPECT_TRUE(state.ChunkAvailable);
    EXPECT_EQ(state.LoadedChunkPath, cached(16, "51"));

    // The cached file is used as it is; the archive is not needed again.
    ASSERT_TRUE(DeleteFileA(dir.file("Iconlib-32.res").c_str()));
    loader.procGetLibraryChunk(state, 32, "1");
    EXPECT_TRUE(state.ChunkAvailable);
    EXPECT_EQ(state.LibraryArchiveName, "Iconlib1-16.res"); // the last extraction's
}

TEST_F(ChunkFixture, MissingMembersArchivesAndWrongPasswordsLeaveTheChunkMissing) {
    loader.procGetLibraryChunk(state, 32, "1");
    const std::string loaded = state.LoadedChunkPath;
    for (const char* chunk : {"3", "150", "125", "325"}) {
        SCOPED_TRACE(chunk);
        loader.procGetLibraryChunk(state, 32, chunk);
        EXPECT_FALSE(state.ChunkAvailable);
        EXPECT_FALSE(vmtest::fileExists(cached(32, chunk)));
        EXPECT_EQ(state.LoadedChunkPath, loaded); // still names the picture held
    }
    loader.procGetLibraryChunk(state, 16, "160");
    EXPECT_FALSE(state.ChunkAvailable);
    // A chunk text is a number, never a path.
    loader.procGetLibraryChunk(state, 32, "..\\Iconlib-32");
    EXPECT_FALSE(state.ChunkAvailable);
}

TEST_F(ChunkFixture, EveryKeyColourBecomesTransparentExactly) {
    const int square = 16 * 16;
    for (int k = 0; k <= 9; ++k) {
        SCOPED_TRACE(k);
        const CellImage cell = icon(32, "1:" + std::to_string(k) + ":" + std::to_string(k) + "0book");
        ASSERT_EQ(cell.width, 32);
        ASSERT_EQ(cell.height, 32);
        int opaque = 0;
        for (size_t i = 0; i < cell.pixels.size(); ++i) {
            const int x = static_cast<int>(i % 32), y = static_cast<int>(i / 32);
            const bool inSquare = x >= 8 && x < 24 && y >= 8 && y < 24;
            EXPECT_EQ(cell.transparent[i] != 0, !inSquare) << x << "," << y;
            if (inSquare) {
                EXPECT_EQ(cell.pixels[i], vmtest::sampleIconColor(1, k));
                ++opaque;
            } else {
                EXPECT_EQ(cell.pixels[i], 0u); // black under the mask
            }
        }
        EXPECT_EQ(opaque, square);
    }
    // Another key digit than the cell's own makes nothing transparent.
    const CellImage wrongKey = icon(32, "1:1:20book");
    for (auto t : wrongKey.transparent) EXPECT_EQ(t, 0);
}

TEST_F(ChunkFixture, AMissingChunkShowsThePlaceholderNeverAnotherChunksCell) {
    EXPECT_FALSE(isPlaceholder(icon(32, "2:10:03book"), 32));
    // Frames of chunks that cannot be had, straight after a loaded chunk.
    EXPECT_TRUE(isPlaceholder(icon(32, "3:0:00book"), 32));
    EXPECT_TRUE(isPlaceholder(icon(32, "125:5:42book"), 32));
    EXPECT_TRUE(isPlaceholder(icon(16, "160:0:00book"), 16));
    // A cell outside the grid.
    EXPECT_TRUE(isPlaceholder(icon(32, "1:100:00book"), 32));
    EXPECT_EQ(loader.LibraryIcon(state, 32, "abc"), nullptr);
    // A chunk file that is no picture counts as available but shows the placeholder.
    vmtest::writeFile(cached(32, "4"), "not a picture");
    EXPECT_TRUE(isPlaceholder(icon(32, "4:0:00book"), 32));
    EXPECT_TRUE(state.ChunkAvailable);
    EXPECT_EQ(state.LoadedChunkPath, "");
    EXPECT_FALSE(isPlaceholder(icon(16, "51:1:11book"), 16));
}

TEST_F(ChunkFixture, PositionsAndChunksOutsideTheRangesShowThePlaceholder) {
    for (const char* entry : {"1:10000000000:00book", "1:99999999999999:11book", "1:-1:00book"})
        EXPECT_TRUE(isPlaceholder(icon(32, entry), 32)) << entry;
    // A picture cached under the name of a chunk no range holds is never shown.
    loader.procGetLibraryChunk(state, 32, "1");
    ASSERT_TRUE(CopyFileA(cached(32, "1").c_str(), cached(32, "325").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(cached(32, "1").c_str(), cached(32, "0").c_str(), FALSE));
    EXPECT_TRUE(isPlaceholder(icon(32, "325:1:11book"), 32));
    EXPECT_TRUE(isPlaceholder(icon(32, "0:1:11book"), 32));
    EXPECT_FALSE(isPlaceholder(icon(32, "1:1:11book"), 32));
}

TEST_F(ChunkFixture, ACutArchiveSaysSoOnceAndShowsPlaceholders) {
    Seam::get().reset();
    Seam::get().setScripted(true);
    const std::string archive = dir.file("Iconlib-32.res");
    const std::string whole = vmtest::readFile(archive);
    ASSERT_TRUE(vmtest::writeFile(archive, whole.substr(0, whole.size() / 2)));
    EXPECT_TRUE(isPlaceholder(icon(32, "1:1:11book"), 32));
    EXPECT_TRUE(isPlaceholder(icon(32, "2:1:11book"), 32));
    EXPECT_TRUE(isPlaceholder(icon(32, "1:2:22book"), 32));
    ASSERT_EQ(Seam::get().requests().size(), 1u);
    EXPECT_EQ(Seam::get().requests()[0].prompt,
              "Vellumar library archive " + archive + " is damaged.\rIts icons are shown as placeholders.");
    EXPECT_EQ(Seam::get().requests()[0].title, "Vellumar error");
    // A missing archive stays silent, as the library's own add-ons may be absent.
    loader.procGetLibraryChunk(state, 32, "150");
    EXPECT_EQ(Seam::get().requests().size(), 1u);
    Seam::get().setScripted(false);
}

namespace {

// The pixels (0x00RRGGBB, top row first) of a 24-bit bottom-up BMP as the fixtures write it.
std::vector<std::uint32_t> bmpPixels(const std::string& bmp, int side) {
    const int stride = (side * 3 + 3) & ~3;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(side) * static_cast<size_t>(side));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(bmp.data()) + 54 + (side - 1 - y) * stride + x * 3;
            pixels[static_cast<size_t>(y) * static_cast<size_t>(side) + static_cast<size_t>(x)] =
                (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
        }
    return pixels;
}

// A GIF of those pixels (at most 256 colours), written without compression:
// 9-bit codes, the table cleared before it would need a tenth bit.
std::string gifOf(const std::vector<std::uint32_t>& pixels, int side) {
    std::vector<std::uint32_t> palette;
    std::vector<unsigned char> indexes;
    for (std::uint32_t p : pixels) {
        auto at = std::find(palette.begin(), palette.end(), p);
        if (at == palette.end()) at = palette.insert(palette.end(), p);
        indexes.push_back(static_cast<unsigned char>(at - palette.begin()));
    }
    EXPECT_LE(palette.size(), 256u);
    palette.resize(256);
    std::string gif = "GIF89a";
    auto put16 = [&gif](int v) {
        gif += static_cast<char>(v & 0xFF);
        gif += static_cast<char>(v >> 8);
    };
    put16(side);
    put16(side);
    gif += static_cast<char>(0xF7); // a global table of 256 colours
    gif += '\0';
    gif += '\0';
    for (std::uint32_t c : palette) {
        gif += static_cast<char>(c >> 16);
        gif += static_cast<char>(c >> 8);
        gif += static_cast<char>(c);
    }
    gif += ',';
    put16(0);
    put16(0);
    put16(side);
    put16(side);
    gif += '\0';
    gif += static_cast<char>(8); // minimum code size
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    auto code = [&](unsigned value) {
        bits |= value << count;
        count += 9;
        while (count >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (i % 250 == 0) code(256);
        code(indexes[i]);
    }
    code(257);
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    for (size_t i = 0; i < data.size(); i += 255) {
        const std::string block = data.substr(i, 255);
        gif += static_cast<char>(block.size());
        gif += block;
    }
    gif += '\0';
    gif += ';';
    return gif;
}

} // namespace

TEST_F(ChunkFixture, ChunkPicturesAreReadAsGifToo) {
    // Chunk 300 as a GIF, in the last archive of the 32 x 32 data set.
    const std::string bmp = vmtest::makeChunkBitmap(32, 300, "0:0,5:5,9:9");
    vmtest::ZipFixtureMember m;
    m.name = "300.lib";
    m.data = gifOf(bmpPixels(bmp, 320), 320);
    m.password = kLibraryPassword;
    vmtest::writeFile(dir.file("Iconlib9-32.res"), vmtest::makeZipArchive({m}));
    for (int k : {0, 5, 9}) {
        SCOPED_TRACE(k);
        const std::string n = std::to_string(k);
        const CellImage cell = icon(32, "300:" + n + ":" + n + "0book");
        ASSERT_FALSE(isPlaceholder(cell, 32));
        EXPECT_TRUE(cell.transparent[0]);
        EXPECT_FALSE(cell.transparent[16 * 32 + 16]);
        EXPECT_EQ(cell.pixels[16 * 32 + 16], vmtest::sampleIconColor(300, k));
    }
    EXPECT_EQ(vmtest::readFile(cached(32, "300")), m.data); // the cached copy is the member as stored
}

TEST_F(ChunkFixture, AChunkStoredInAFolderOfItsArchiveIsFoundAndLeavesNoStrayFile) {
    vmtest::ZipFixtureMember m;
    m.name = "chunks/300.lib";
    m.data = vmtest::makeChunkBitmap(32, 300, "7:7");
    m.password = kLibraryPassword;
    vmtest::writeFile(dir.file("Iconlib9-32.res"), vmtest::makeZipArchive({m}));
    const CellImage cell = icon(32, "300:7:70book");
    EXPECT_FALSE(isPlaceholder(cell, 32));
    EXPECT_EQ(cell.pixels[16 * 32 + 16], vmtest::sampleIconColor(300, 7));
    EXPECT_EQ(state.LoadedChunkPath, cached(32, "300"));
    // The cache folder holds the chunk and nothing else: no folder, no temporary file.
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(dir.file("Temp32\\*").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do
        if (fd.cFileName[0] != '.') names.push_back(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    EXPECT_EQ(names, std::vector<std::string>{"300.lib"});
}

TEST_F(ChunkFixture, PicturesOfRecentChunksAreKeptButAChunkReadAgainReplacesItsPicture) {
    EXPECT_FALSE(isPlaceholder(icon(32, "1:3:30book"), 32));
    EXPECT_FALSE(isPlaceholder(icon(32, "2:10:03book"), 32));
    // Back to chunk 1: its picture comes from memory, the file is not read.
    vmtest::writeFile(cached(32, "1"), "not a picture");
    const CellImage kept = icon(32, "1:3:30book");
    EXPECT_FALSE(isPlaceholder(kept, 32));
    EXPECT_EQ(kept.pixels[16 * 32 + 16], vmtest::sampleIconColor(1, 3));
    // A cached file that went away is read from the archive again, and that picture is the one shown.
    ASSERT_TRUE(DeleteFileA(cached(32, "2").c_str()));
    vmtest::ZipFixtureMember m;
    m.name = "2.lib";
    m.data = vmtest::makeChunkBitmap(32, 2, "10:3");
    m.password = kLibraryPassword;
    vmtest::writeFile(dir.file("Iconlib-32.res"), vmtest::makeZipArchive({m}));
    const CellImage fresh = icon(32, "2:10:30book");
    EXPECT_TRUE(fresh.transparent[0]); // key digit 3 now
    EXPECT_TRUE(vmtest::fileExists(cached(32, "2")));
    // Forgotten pictures are read from their files again.
    loader.ForgetPictures();
    state.LoadedChunkPath.clear();
    EXPECT_TRUE(isPlaceholder(icon(32, "1:3:30book"), 32));
}

TEST_F(ChunkFixture, DuringAPageTheCachedCopyIsWrittenOnceTheWindowIsIdle) {
    const auto pumpFor = [](DWORD ms) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10)) DoEvents();
    };
    {
        const LibraryChunkLoader::PageScope page(loader);
        EXPECT_FALSE(isPlaceholder(icon(32, "1:3:30book"), 32));
        EXPECT_FALSE(vmtest::fileExists(cached(32, "1")));
    }
    // The copy waiting serves as the cache: the archive is not needed again.
    ASSERT_TRUE(DeleteFileA(dir.file("Iconlib-32.res").c_str()));
    EXPECT_FALSE(isPlaceholder(icon(32, "1:4:40book"), 32));
    pumpFor(600);
    EXPECT_EQ(vmtest::readFile(cached(32, "1")), vmtest::makeChunkBitmap(32, 1, "0:0,1:1,2:2,3:3,4:4,5:5,6:6,7:7,8:8,9:9"));
    // Forgotten before the window was idle, a copy is never written.
    {
        const LibraryChunkLoader::PageScope page(loader);
        EXPECT_FALSE(isPlaceholder(icon(16, "51:1:11book"), 16));
    }
    loader.ForgetPictures();
    pumpFor(600);
    EXPECT_FALSE(vmtest::fileExists(cached(16, "51")));
}
