#pragma once
// The page loader's side of the library archives: a chunk is read from its
// archive once per run and copied into the data set's cache folder
// (paths.DataPath & "Temp16"/"Temp32"), its picture kept while consecutive
// icons use it (and those of the last few chunks in memory), and one cell cut
// out of it as an icon.
#include <windows.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browserstate.h"
#include "chunkcell.h"
#include "picture.h"

namespace vm {

// The cache folder of a data set's extracted chunks, without a trailing "\".
std::string ChunkCacheFolder(int iconSize);

// 0x00RRGGBB pixels of a picture (BMP, GIF, JPG ...) that the toolkit's
// picture loader reads, from a file or from the file's bytes.
bool LoadPixelPicture(const std::string& path, PixelPicture& picture);
bool LoadPixelPictureData(const std::string& bytes, PixelPicture& picture);
// An icon from a cut cell; the caller destroys it. Null when it cannot be made.
HICON IconFromCell(const CellImage& cell);

// What the result list shows of a "book" entry besides its picture.
struct LibraryItemText {
    std::string text;     // the keyword the icon was listed under
    std::string typeCode; // for the type column
    std::string origin;   // "Vellumar " and the library part
};
// False for an entry of 3 characters or fewer, which adds no item.
bool DescribeLibraryItem(const KeywordState& keywords, const std::string& currentKeywordId, int iconSize,
                         const std::string& entry, LibraryItemText& item);

class LibraryChunkLoader {
public:
    // Makes the chunk's file available in the cache (reading it from its
    // archive and writing the cached copy when it is not there yet) and loads
    // its picture unless it is the one loaded last. The pictures of the last
    // few chunks stay decoded in memory, so paging back does not decode again.
    void procGetLibraryChunk(ChunkState& state, int iconSize, const std::string& chunk);
    // The key colour of digit k becomes the transparent colour; other values keep the previous one.
    void procGetColor(int keyDigit);
    // The icon of a "book" entry or of a library animation frame: its cell with
    // the key colour transparent, or the no-icon picture when the chunk is
    // missing or unreadable. Null for an entry of 3 characters or fewer.
    HICON LibraryIcon(ChunkState& state, int iconSize, const std::string& entry);
    // The same cell as pixels for a page (its icon made from the cell only
    // when one is asked for); an empty picture likewise.
    Picture LibraryPicture(ChunkState& state, int iconSize, const std::string& entry);
    // Drops the chunk pictures held in memory, and the cached copies not
    // written yet; the next request reads its chunk again.
    void ForgetPictures();

    // While one lives (a page fill), a chunk read from its archive waits in
    // memory for its cached copy, which is written once the window is idle:
    // the page shows sooner, and the copy serves only later requests.
    class PageScope {
    public:
        explicit PageScope(LibraryChunkLoader& loader) : loader_(loader) { loader_.writesWait_ = true; }
        ~PageScope() { loader_.writesWait_ = false; }
        PageScope(const PageScope&) = delete;
        PageScope& operator=(const PageScope&) = delete;

    private:
        LibraryChunkLoader& loader_;
    };
    // Writes the cached copies that wait; the idle timer calls it.
    void WriteWaitingCopies();
    ~LibraryChunkLoader();

private:
    // The entry's cell, or the no-icon picture; false for an entry of 3 characters or fewer.
    bool libraryCell(ChunkState& state, int iconSize, const std::string& entry, CellImage& cell);

    std::shared_ptr<const PixelPicture> recentPicture(const std::string& path);
    void keepPicture(const std::string& path, std::shared_ptr<const PixelPicture> picture);

    // The bytes of a chunk whose cached copy waits to be written, or null.
    const std::string* waitingCopy(const std::string& path) const;
    void waitToWrite(const std::string& path, std::string bytes);

    static constexpr size_t kRecentPictures = 24; // a page of 150 icons spans a few chunks
    static constexpr size_t kMostWaiting = 32;    // copies held in memory at most
    std::shared_ptr<const PixelPicture> picture_;
    std::list<std::pair<std::string, std::shared_ptr<const PixelPicture>>> recent_; // most recent first
    std::uint32_t maskColor_ = 0xFFFFFF;
    bool writesWait_ = false;
    std::vector<std::pair<std::string, std::string>> waiting_; // path and bytes, oldest first
};

} // namespace vm
