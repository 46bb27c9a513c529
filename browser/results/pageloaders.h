#pragma once
// The page loaders: each turns one entry of the current page into a result
// item at PageItemNumber, with its picture at the same number of the page's
// pictures, the type text in the first sub-item and the origin in the second.
// The page filler picks the loader by the entry's kind and hands the pictures
// to the result image list once the page is filled.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "browserstate.h"
#include "imagelist.h"
#include "librarychunks.h"
#include "listview.h"
#include "picture.h"
#include "zipcleanup.h"

namespace vm {

// State the loaders share while a page is filled.
struct PageLoaderState {
    std::int32_t PageItemNumber = 0; // 1-based number of the item being added
    int EntryIconIndex = 0;          // icon index or animation step of the entry being drawn
    std::string LoadedAniFile;       // the animated file held in LoadedAni
    HICON LoadedAni = nullptr;       // kept while consecutive entries name the same file
    LibraryChunkLoader library;      // the chunk picture and mask colour of the library loader
    std::vector<Picture> PagePictures; // picture n-1 is that of item n, until the image list takes them
    ExtractedMembers* extracted = &ZipExtractions; // where ZIP members are extracted, and what was
    std::string FavoritesFolder;     // an opened file below it is shown as a favourite

    PageLoaderState() = default;
    PageLoaderState(const PageLoaderState&) = delete;
    PageLoaderState& operator=(const PageLoaderState&) = delete;
    ~PageLoaderState();
    // Lets the animation held for earlier entries go: another file is drawn.
    void DropAnimation();
};

// What a loader works on.
struct PageLoadContext {
    ListView& pnlResult;
    ImageList& imlResult32;
    KeywordState& keywords; // IconSize, KeywordNames, CurrentKeywordId (the entry's ItemData)
    UserReferences& refs;
    ChunkState& chunks;
    PageLoaderState& loader;
    EntryLists& entries; // lstFiles: the shortcut files an entry's ItemData points into
};

using PageLoader = void (*)(PageLoadContext& ctx, const std::string& entry);

// The loader of an entry kind (any case); null for kinds without one, which add nothing.
PageLoader PageLoaderFor(const std::string& kind);

// "book": a library icon cut from its chunk.
void procGetLibraryItem(PageLoadContext& ctx, const std::string& entry);
// "user": the icon a user reference points at.
void procGetUserItem(PageLoadContext& ctx, const std::string& entry);

// The picture of an icon held in a file, at the data set's size: frame
// EntryIconIndex of an ".ani" file (kept loaded in LoadedAni, drawn at the
// data set's size), otherwise icon EntryIconIndex as procExtractFileIcon
// finds it, after which no animation is held; the no-icon picture when there
// is none. Null only when Windows cannot make an icon at all. The caller owns it.
HICON FileItemIcon(PageLoaderState& loader, int iconSize, const std::string& file);

class OpenedFile;
// The picture of icon EntryIconIndex of an opened file's value (key names
// the file; frame EntryIconIndex of an animation, kept in LoadedAni while
// consecutive entries name the same key), drawn from its bytes; the no-icon
// picture when there is none or no value. The caller owns it.
HICON OpenedItemIcon(PageLoaderState& loader, int iconSize, const std::string& key, const OpenedFile* opened);
// The same as a picture for the page: an icon whose image the project's own
// decoder reads comes as its pixels, and its icon is made only when one is
// asked for (the value it is made from is held meanwhile; a mapped file's is
// not, so that the user's file does not stay locked).
Picture OpenedItemPicture(PageLoaderState& loader, int iconSize, const std::string& key,
                          const std::shared_ptr<const OpenedFile>& opened);

// Adds item PageItemNumber with its text, key, type text (from the TypeCode)
// and origin, and its picture (an icon, or a bitmap on the list's mask
// colour) to PagePictures at the same number; the item names that picture,
// which shows once the page filler has put the page's pictures in the image
// list and handed it to the list. An empty picture adds nothing (VbError 481).
ListItem& AddPageItem(PageLoadContext& ctx, const Picture& picture, const std::string& key, const std::string& text,
                      const std::string& typeCode, const std::string& origin);

// The frames of a library animation, read by the animation player: frame n of
// the animation is pictures[n], n as the player counts them.
struct AnimationFrames {
    std::vector<Picture> pictures;
};

// Puts the icon of one library animation frame (a "book" entry) into frame
// frameNumber, growing the list as needed. A frame whose chunk is missing gets
// the no-icon picture.
void procGetVellumarAni(PageLoaderState& loader, ChunkState& chunks, int iconSize, AnimationFrames& frames,
                        int frameNumber, const std::string& entry);

extern PageLoaderState PageLoaders;

} // namespace vm
