#include "librarychunks.h"

#include <set>

#include "chunkarchive.h"
#include "files.h"
#include "picturefile.h"
#include "picturelayout.h"
#include "libraryarchive.h"
#include "picture.h"
#include "resultentry.h"
#include "seam.h"
#include "state.h"
#include "utf8text.h"
#include "vberror.h"
#include "widefile.h"
#include "zandrel32.h"

namespace vm {
namespace {

// A chunk text names a file in the cache and a member of an archive, so only
// a plain decimal number is taken as one.
bool isChunkText(const std::string& chunk) {
    if (chunk.empty() || chunk.size() > 9) return false;
    for (char c : chunk)
        if (c < '0' || c > '9') return false;
    return true;
}

// An archive that is cut off or no archive at all would show nothing but
// placeholders; it says so once in a run.
void reportDamagedArchive(const std::string& archive, std::int32_t unzipResult) {
    static std::set<std::string> reported;
    if (unzipResult != ZANDREL_ERR_FORMAT && unzipResult != ZANDREL_ERR_OPEN) return;
    if (!procFileExists(archive) || !reported.insert(archive).second) return;
    MsgBox("Vellumar library archive " + archive + " is damaged.\rIts icons are shown as placeholders.",
           vbExclamation | vbOKOnly, "Vellumar error");
}

// The chunk member read from its archive into bytes, and, when asked, its
// cached copy written where the cache folder expects it.
void extractChunk(ChunkState& state, int iconSize, const std::string& chunk, const std::string& path,
                  std::string& bytes, bool writeCopy) {
    const ChunkHome home = ChunkHomeOf(iconSize, ChunkNumber(chunk));
    if (home.archive.empty()) return;
    state.LibraryArchiveName = home.archive;
    state.UnzipResult = ReadChunkMember(paths.DataPath + home.archive, chunk + ".lib", kLibraryPassword, bytes);
    reportDamagedArchive(paths.DataPath + home.archive, state.UnzipResult);
    if (state.UnzipResult != ZANDREL_OK) bytes.clear();
    else if (writeCopy && !WriteWholeFile(path, bytes)) state.UnzipResult = ZANDREL_ERR_WRITE;
}

// The loader whose cached copies wait for the idle timer, and that timer.
LibraryChunkLoader* g_waitingLoader = nullptr;
UINT_PTR g_idleTimer = 0;
constexpr UINT kIdleMs = 300;

void CALLBACK writeWhenIdle(HWND, UINT, UINT_PTR, DWORD) {
    if (g_idleTimer) KillTimer(nullptr, g_idleTimer);
    g_idleTimer = 0;
    if (g_waitingLoader) g_waitingLoader->WriteWaitingCopies();
}

// 0x00RRGGBB pixels of a picture the toolkit's loader made.
bool pixelsOf(const Picture& loaded, PixelPicture& picture) {
    const int width = loaded.pixelWidth(), height = loaded.pixelHeight();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO bmi{};
    bmi.bmiHeader = TopDown32Header(width, height);
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    bool ok = false;
    HDC screen = GetDC(nullptr);
    if (HBITMAP bitmap = loaded.bitmap()) {
        ok = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), picture.pixels.data(), &bmi, DIB_RGB_COLORS) ==
             height;
    } else {
        // Anything else the loader reads is drawn onto a surface of its size.
        void* bits = nullptr;
        HBITMAP surface = CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC dc = CreateCompatibleDC(screen);
        if (surface && dc) {
            HGDIOBJ old = SelectObject(dc, surface);
            loaded.render(dc, 0, 0, width, height);
            SelectObject(dc, old);
            GdiFlush();
            memcpy(picture.pixels.data(), bits, picture.pixels.size() * sizeof(std::uint32_t));
            ok = true;
        }
        if (dc) DeleteDC(dc);
        if (surface) DeleteObject(surface);
    }
    ReleaseDC(nullptr, screen);
    for (std::uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    if (!ok) picture = {};
    return ok;
}

// A chunk stored as a plain bitmap is read here: the system's picture
// loader takes several times as long for the same pixels.
bool plainPixels(const std::string& bytes, PixelPicture& picture) {
    std::uint32_t width = 0, height = 0;
    const pic::Bytes view(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!pic::decodePlainBmp(view, width, height, picture.pixels)) return false;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return true;
}

// The bytes of a file of at most 64 MB.
bool readSmallFile(const std::string& path, std::string& bytes) {
    HANDLE h = wide::Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    DWORD got = 0;
    bool read = GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart <= (64ll << 20);
    if (read) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        read = ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    CloseHandle(h);
    return read;
}

} // namespace

std::string ChunkCacheFolder(int iconSize) { return paths.DataPath + "Temp" + std::to_string(iconSize); }

bool LoadPixelPicture(const std::string& path, PixelPicture& picture) {
    picture = {};
    std::string bytes;
    if (readSmallFile(path, bytes) && plainPixels(bytes, picture)) return true;
    try {
        return pixelsOf(LoadPicture(path), picture);
    } catch (const VbError&) {
        return false;
    }
}

bool LoadPixelPictureData(const std::string& bytes, PixelPicture& picture) {
    picture = {};
    if (plainPixels(bytes, picture)) return true;
    try {
        return pixelsOf(LoadPictureData(bytes.data(), bytes.size()), picture);
    } catch (const VbError&) {
        return false;
    }
}

namespace {
// A top-down 32-bit bitmap of the cell's size, with its pixels to fill in.
HBITMAP CellSizedBitmap(const CellImage& cell, std::uint32_t*& out) {
    return CreateTopDown32Bitmap(cell.width, cell.height, out);
}
} // namespace

HICON IconFromCell(const CellImage& cell) {
    std::uint32_t* out = nullptr;
    HBITMAP color = CellSizedBitmap(cell, out);
    if (!color) return nullptr;
    // The alpha channel agrees with the mask, so the icon draws the same with
    // and without alpha blending.
    for (size_t i = 0; i < cell.pixels.size(); ++i)
        out[i] = cell.transparent[i] ? 0 : (cell.pixels[i] | 0xFF000000u);
    GdiFlush();

    const int stride = ((cell.width + 15) / 16) * 2; // monochrome rows are word-aligned
    std::vector<std::uint8_t> maskBits(static_cast<size_t>(stride) * static_cast<size_t>(cell.height), 0);
    for (int y = 0; y < cell.height; ++y)
        for (int x = 0; x < cell.width; ++x)
            if (cell.transparent[static_cast<size_t>(y) * static_cast<size_t>(cell.width) + static_cast<size_t>(x)])
                maskBits[static_cast<size_t>(y) * static_cast<size_t>(stride) + static_cast<size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
    HBITMAP mask = CreateBitmap(cell.width, cell.height, 1, 1, maskBits.data());

    HICON icon = nullptr;
    if (mask) {
        ICONINFO ii{};
        ii.fIcon = TRUE;
        ii.hbmColor = color;
        ii.hbmMask = mask;
        icon = CreateIconIndirect(&ii);
        DeleteObject(mask);
    }
    DeleteObject(color);
    return icon;
}

bool DescribeLibraryItem(const KeywordState& keywords, const std::string& currentKeywordId, int iconSize,
                         const std::string& entry, LibraryItemText& item) {
    if (entry.size() <= 3) return false;
    item = {};
    // Only ids the tables hold are read; a keyword without an id has no text here.
    const long id = ChunkNumber(currentKeywordId);
    if (!currentKeywordId.empty() && id >= 0 && id <= kMaxKeywordId)
        item.text = keywords.KeywordNames[static_cast<size_t>(id)];
    const std::string codes = EntryField(entry, 3);
    item.typeCode = codes.size() >= 2 ? codes.substr(1, 1) : std::string();
    item.origin = "Vellumar " + ChunkHomeOf(iconSize, ChunkNumber(EntryField(entry, 1))).part;
    return true;
}

void LibraryChunkLoader::procGetLibraryChunk(ChunkState& state, int iconSize, const std::string& chunk) {
    if (!isChunkText(chunk)) {
        state.ChunkAvailable = false;
        return;
    }
    const std::string path = ChunkCacheFolder(iconSize) + "\\" + chunk + ".lib";
    // The picture held is the chunk's whole content; consecutive icons of it
    // need not look for its file again.
    if (!state.LoadedChunkPath.empty() && SameText(path, state.LoadedChunkPath)) {
        state.ChunkAvailable = true;
        return;
    }
    std::string bytes;
    // A file there a moment ago need not be looked for again; one just
    // extracted is, in case its copy could not be written.
    const std::string* waiting = waitingCopy(path);
    const bool cached = waiting || procFileExists(path);
    if (!cached) extractChunk(state, iconSize, chunk, path, bytes, !writesWait_);
    const bool extracted = !bytes.empty();
    state.ChunkAvailable = cached || (extracted && writesWait_) || procFileExists(path);
    if (!state.ChunkAvailable) return;
    // The loaded path names the picture actually held, so a chunk that cannot
    // be read never passes for the one before it.
    picture_ = extracted ? nullptr : recentPicture(path);
    if (!picture_) {
        auto decoded = std::make_shared<PixelPicture>();
        const std::string* data = extracted ? &bytes : waiting;
        const bool ok = data ? LoadPixelPictureData(*data, *decoded) : LoadPixelPicture(path, *decoded);
        if (ok) picture_ = decoded;
        keepPicture(path, picture_);
    }
    if (picture_) state.LoadedChunkPath = path;
    else state.LoadedChunkPath.clear();
    if (extracted && writesWait_) waitToWrite(path, std::move(bytes));
}

const std::string* LibraryChunkLoader::waitingCopy(const std::string& path) const {
    for (const auto& [name, bytes] : waiting_)
        if (name == path) return &bytes;
    return nullptr;
}

void LibraryChunkLoader::waitToWrite(const std::string& path, std::string bytes) {
    waiting_.emplace_back(path, std::move(bytes));
    if (waiting_.size() > kMostWaiting) {
        WriteWholeFile(waiting_.front().first, waiting_.front().second);
        waiting_.erase(waiting_.begin());
    }
    // Each new copy puts the writing off again: a user paging on is not idle.
    g_waitingLoader = this;
    g_idleTimer = SetTimer(nullptr, g_idleTimer, kIdleMs, writeWhenIdle);
}

void LibraryChunkLoader::WriteWaitingCopies() {
    // A copy that cannot be written leaves its chunk to be read from its archive again.
    for (const auto& [path, bytes] : waiting_) WriteWholeFile(path, bytes);
    waiting_.clear();
}

LibraryChunkLoader::~LibraryChunkLoader() {
    if (g_waitingLoader != this) return;
    g_waitingLoader = nullptr;
    if (g_idleTimer) KillTimer(nullptr, g_idleTimer);
    g_idleTimer = 0;
}

std::shared_ptr<const PixelPicture> LibraryChunkLoader::recentPicture(const std::string& path) {
    for (auto it = recent_.begin(); it != recent_.end(); ++it) {
        if (!SameText(it->first, path)) continue;
        recent_.splice(recent_.begin(), recent_, it);
        return recent_.front().second;
    }
    return nullptr;
}

void LibraryChunkLoader::keepPicture(const std::string& path, std::shared_ptr<const PixelPicture> picture) {
    recent_.remove_if([&path](const auto& kept) { return SameText(kept.first, path); });
    if (!picture) return;
    recent_.emplace_front(path, std::move(picture));
    if (recent_.size() > kRecentPictures) recent_.pop_back();
}

void LibraryChunkLoader::ForgetPictures() {
    picture_.reset();
    recent_.clear();
    waiting_.clear();
}

void LibraryChunkLoader::procGetColor(int keyDigit) {
    KeyColorOf(keyDigit, maskColor_);
}

bool LibraryChunkLoader::libraryCell(ChunkState& state, int iconSize, const std::string& entry, CellImage& cell) {
    if (entry.size() <= 3) return false;
    const std::string chunk = EntryField(entry, 1);
    procGetLibraryChunk(state, iconSize, chunk);
    const std::string codes = EntryField(entry, 3);
    procGetColor(!codes.empty() && codes[0] >= '0' && codes[0] <= '9' ? codes[0] - '0' : 0);
    // A chunk outside the ranges has no icons, whatever file its cache name may hold.
    const bool loaded = !ChunkHomeOf(iconSize, ChunkNumber(chunk)).archive.empty() && state.ChunkAvailable &&
                        !state.LoadedChunkPath.empty() &&
                        SameText(state.LoadedChunkPath, ChunkCacheFolder(iconSize) + "\\" + chunk + ".lib");
    if (!loaded || !picture_ || !CutChunkCell(*picture_, ChunkNumber(EntryField(entry, 2)), maskColor_, cell))
        cell = NoIconCell(iconSize);
    return true;
}

HICON LibraryChunkLoader::LibraryIcon(ChunkState& state, int iconSize, const std::string& entry) {
    CellImage cell;
    return libraryCell(state, iconSize, entry, cell) ? IconFromCell(cell) : nullptr;
}

Picture LibraryChunkLoader::LibraryPicture(ChunkState& state, int iconSize, const std::string& entry) {
    auto cell = std::make_shared<CellImage>();
    if (!libraryCell(state, iconSize, entry, *cell)) return {};
    Picture::Pixels pixels{cell->width, cell->height, cell->pixels, cell->transparent};
    // Transparent pixels are black under the mask, as in an icon.
    for (size_t i = 0; i < pixels.colours.size() && i < pixels.transparent.size(); ++i)
        if (pixels.transparent[i]) pixels.colours[i] = 0;
    return Picture::fromPixels(std::move(pixels), [cell] { return IconFromCell(*cell); });
}

} // namespace vm
