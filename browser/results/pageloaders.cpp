#include "pageloaders.h"

#include <cstdlib>
#include <strings.h>

#include "chunkcell.h"
#include "cursorsource.h"
#include "fileiconextract.h"
#include "filetypesource.h"
#include "opensearch.h"
#include "openedfile.h"
#include "loadergate.h"
#include "resultentry.h"
#include "shortcutsource.h"
#include "systemiconsource.h"
#include "typetext.h"
#include "userreference.h"
#include "vberror.h"
#include "utf8text.h"

namespace vm {
namespace {

// Kinds and their loaders; the loaders of the other sources join this table.
struct KindLoader {
    const char* kind;
    PageLoader load;
};
const KindLoader kPageLoaders[] = {
    {kKindBook, procGetLibraryItem},
    {kKindUser, procGetUserItem},
    {kKindOpen, procGetOpenItem},
    {kKindZip, procGetOpenItem},
    {kKindShortcut, procGetShortcutItem},
    {kKindFileType, procGetFileTypeItem},
    {kKindSystemIcon, procGetSystemIconItem},
    {kKindCurrentCursor, procGetCursorItem},
    {kKindThemeCursor, procGetThemeCursorItem},
};

HICON noIcon(int iconSize) { return IconFromCell(NoIconCell(iconSize)); }

// One step of an animation as an icon of its own, drawn at the data set's size.
HICON aniFrameIcon(HICON animation, int step, int iconSize) {
    std::uint32_t* bits = nullptr;
    HBITMAP color = CreateTopDown32Bitmap(iconSize, iconSize, bits);
    HBITMAP mask = CreateBitmap(iconSize, iconSize, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HICON icon = nullptr;
    if (color && mask && dc) {
        HGDIOBJ old = SelectObject(dc, mask);
        PatBlt(dc, 0, 0, iconSize, iconSize, WHITENESS); // transparent beyond the frame
        bool drawn = DrawIconEx(dc, 0, 0, animation, iconSize, iconSize, static_cast<UINT>(step), nullptr, DI_MASK);
        SelectObject(dc, color);
        drawn = drawn && DrawIconEx(dc, 0, 0, animation, iconSize, iconSize, static_cast<UINT>(step), nullptr, DI_IMAGE);
        SelectObject(dc, old);
        GdiFlush();
        if (drawn) {
            ICONINFO ii{};
            ii.fIcon = TRUE;
            ii.hbmColor = color;
            ii.hbmMask = mask;
            icon = CreateIconIndirect(&ii);
        }
    }
    if (dc) DeleteDC(dc);
    if (mask) DeleteObject(mask);
    if (color) DeleteObject(color);
    return icon;
}

bool isAnimatedFile(const std::string& file) {
    return file.size() >= 3 && strcasecmp(file.c_str() + file.size() - 3, "ani") == 0;
}

} // namespace

PageLoaderState PageLoaders;

PageLoaderState::~PageLoaderState() {
    if (LoadedAni) DestroyIcon(LoadedAni);
}

void PageLoaderState::DropAnimation() {
    if (LoadedAni) DestroyIcon(LoadedAni);
    LoadedAni = nullptr;
    LoadedAniFile.clear();
}

PageLoader PageLoaderFor(const std::string& kind) {
    for (const KindLoader& k : kPageLoaders)
        if (strcasecmp(k.kind, kind.c_str()) == 0) return k.load;
    return nullptr;
}

HICON FileItemIcon(PageLoaderState& loader, int iconSize, const std::string& file) {
    HICON icon = nullptr;
    if (isAnimatedFile(file)) {
        if (!SameText(file, loader.LoadedAniFile)) {
            loader.LoadedAniFile = file;
            if (loader.LoadedAni) DestroyIcon(loader.LoadedAni);
            loader.LoadedAni = nullptr;
            loader.LoadedAni = static_cast<HICON>(gate::LoadImageFile(file, IMAGE_ICON, 0, 0, 0));
        }
        if (loader.LoadedAni) icon = aniFrameIcon(loader.LoadedAni, loader.EntryIconIndex, iconSize);
    } else {
        loader.DropAnimation();
        icon = procExtractFileIcon(file, loader.EntryIconIndex, iconSize);
    }
    return icon ? icon : noIcon(iconSize);
}

HICON OpenedItemIcon(PageLoaderState& loader, int iconSize, const std::string& key, const OpenedFile* opened) {
    HICON icon = nullptr;
    if (opened && opened->kind() == FileKind::Animation) {
        if (key != loader.LoadedAniFile) {
            loader.DropAnimation();
            loader.LoadedAniFile = key;
            loader.LoadedAni = opened->icons().animation();
        }
        if (loader.LoadedAni) icon = aniFrameIcon(loader.LoadedAni, loader.EntryIconIndex, iconSize);
    } else {
        loader.DropAnimation();
        if (opened) icon = opened->icons().icon(loader.EntryIconIndex, iconSize);
    }
    return icon ? icon : noIcon(iconSize);
}

Picture OpenedItemPicture(PageLoaderState& loader, int iconSize, const std::string& key,
                          const std::shared_ptr<const OpenedFile>& opened) {
    if (opened && !opened->mapped() && opened->kind() != FileKind::Animation) {
        const int index = loader.EntryIconIndex;
        Picture::Pixels pixels;
        if (const int side = opened->icons().pixels(index, iconSize, pixels.colours, pixels.transparent)) {
            loader.DropAnimation();
            pixels.width = pixels.height = side;
            return Picture::fromPixels(std::move(pixels), [opened, index, iconSize] {
                HICON icon = opened->icons().icon(index, iconSize);
                return icon ? icon : noIcon(iconSize);
            });
        }
    }
    return Picture::fromIcon(OpenedItemIcon(loader, iconSize, key, opened.get()));
}

ListItem& AddPageItem(PageLoadContext& ctx, const Picture& picture, const std::string& key, const std::string& text,
                      const std::string& typeCode, const std::string& origin) {
    const int number = ctx.loader.PageItemNumber;
    if (picture.empty()) throw VbError(481, "ListImages", "Invalid picture");
    ListItem& item = ctx.pnlResult.ListItems.Add(number, key, text, number, number);
    ctx.loader.PagePictures.push_back(picture);
    item.SetSubItems(1, TypeTextOf(typeCode));
    item.SetSubItems(2, origin);
    return item;
}

void procGetLibraryItem(PageLoadContext& ctx, const std::string& entry) {
    LibraryItemText text;
    if (!DescribeLibraryItem(ctx.keywords, ctx.keywords.CurrentKeywordId, ctx.keywords.IconSize, entry, text)) return;
    // The cell's pixels go into the image list as they are.
    AddPageItem(ctx, ctx.loader.library.LibraryPicture(ctx.chunks, ctx.keywords.IconSize, entry), "", text.text,
                text.typeCode, text.origin);
}

void procGetUserItem(PageLoadContext& ctx, const std::string& entry) {
    UserItemText text;
    const std::int32_t itemData = std::atoi(ctx.keywords.CurrentKeywordId.c_str());
    if (!DescribeUserItem(ctx.refs, entry, itemData, text)) return;
    ctx.loader.EntryIconIndex = text.iconIndex;
    AddPageItem(ctx, Picture::fromIcon(FileItemIcon(ctx.loader, ctx.keywords.IconSize, text.file)), text.key,
                text.text, text.typeCode, text.origin);
}

void procGetVellumarAni(PageLoaderState& loader, ChunkState& chunks, int iconSize, AnimationFrames& frames,
                        int frameNumber, const std::string& entry) {
    if (frameNumber < 0) return;
    HICON icon = loader.library.LibraryIcon(chunks, iconSize, entry);
    if (!icon) return;
    if (frames.pictures.size() <= static_cast<size_t>(frameNumber))
        frames.pictures.resize(static_cast<size_t>(frameNumber) + 1);
    frames.pictures[static_cast<size_t>(frameNumber)] = Picture::fromIcon(icon);
}

} // namespace vm
