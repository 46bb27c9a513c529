#pragma once
// Icons of the user's own files: the files of lstFiles (opened, handed over,
// or those of a folder) and the members of opened ZIP archives in
// lstZipIcons. procSearchOpen turns every file into one entry per icon
// ("open" and "azip" entries) and shows page 1; procGetOpenItem is the page
// loader of both kinds; procGetOpenAni draws single frames of an animation.
#include <cstdint>
#include <string>
#include <vector>

#include "browserhost.h"
#include "browserstate.h"
#include "cfileicon.h"
#include "pageloaders.h"
#include "zipcleanup.h"

namespace vm {

struct OpenSearchContext {
    EntryLists& entries;
    PagingState& paging;
    BusyState& busy;
    const BrowserHost& host;
    ChunkState& chunks; // UnzipResult of the member extractions
    ExtractedMembers& zip;
    int IconSize = 32;
    bool SearchingFavorites = false; // the files are those of a favourites folder: no ZIP members
    // Files that gave no icons because they could not be read (not what their
    // names say, damaged, or a member that could not be extracted).
    int unreadable = 0;
    std::string firstUnreadable;
};

// Lists every file of lstFiles and, unless SearchingFavorites, every member of
// lstZipIcons; then page 1 of the list. The caller has made the window busy;
// it is idle again afterwards. An abort keeps what was listed so far.
void procSearchOpen(OpenSearchContext& ctx);

// The entries of one file: kind "open" (a full path) or "azip" (a member name
// of archive archiveIndex of lstZipFiles, extracted into its private folder;
// memberIndex its place in that archive's listing, when known).
void procSearchOpenFile(OpenSearchContext& ctx, const std::string& file, const std::string& kind,
                        int archiveIndex = -1, int memberIndex = -1);

// Appends the entries of a file that holds n icons; of an ".ani" file, the
// entry of frame `frame`. archive is the "azip" entry's archive.
void procAddFileIcons(OpenSearchContext& ctx, const std::string& file, const std::string& kind,
                      const std::string& archive, int n, int frame);

// The entry of an ".ico" file when it has an image of the data set's size;
// false when the file is no icon file that can be read.
bool procAddIconFile(OpenSearchContext& ctx, const std::string& file, const std::string& kind,
                     const std::string& archive);

// Whether element index (1-based) of FileIcons has an image width pixels
// wide; false for anything else, an index out of range included.
bool procHasImageSize(const std::vector<cFileIcon>& FileIcons, std::int16_t index, std::int16_t width);

// The page loader of "open" and "azip" entries.
void procGetOpenItem(PageLoadContext& ctx, const std::string& entry);

// The picture of the frame an "open" or "azip" entry names, as frame
// frameNumber of frames (for the animation player).
void procGetOpenAni(PageLoaderState& loader, ChunkState& chunks, int iconSize, AnimationFrames& frames,
                    int frameNumber, const std::string& entry);

} // namespace vm
