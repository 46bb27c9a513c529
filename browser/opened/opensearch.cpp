#include "opensearch.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <strings.h>

#include "anisteps.h"
#include "entrylist.h"
#include "files.h"
#include "getfield.h"
#include "icolayout.h"
#include "loadergate.h"
#include "openedfile.h"
#include "modulegroups.h"
#include "neresources.h"
#include "resultentry.h"
#include "state.h"
#include "vberror.h"
#include "zandrel32.h"
#include "zipmemory.h"
#include "zipsource.h"
#include "widefile.h"

namespace vm {
namespace {

// Entry indexes are 16-bit numbers.
constexpr int kMaxIcons = 32767;
// Files and members up to this size are held in memory once read; larger
// files are mapped while they are used, larger members extracted first.
constexpr std::uint64_t kHoldBytes = 16u << 20;
// The "Could not read" message names this many files, then counts the rest.
constexpr std::size_t kNamedUnreadable = 20;

using Bytes = std::span<const std::uint8_t>;

std::string lowerExtension(const std::string& file) {
    std::string tail = file.size() >= 3 ? file.substr(file.size() - 3) : std::string();
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail;
}

bool isListable(const std::string& ext) {
    return ext == "ico" || ext == "cur" || ext == "ani" || ext == "icl" || ext == "dll" || ext == "exe";
}

// The directory entries of an icon file's bytes, each image inside the file;
// nothing when it is no icon file or its directory points outside it.
std::optional<std::vector<ico::DirEntry>> iconFileEntries(Bytes bytes) {
    const auto dir = ico::readIconDir(bytes);
    if (!dir || dir->idReserved != 0 || (dir->idType != 1 && dir->idType != 2) || dir->idCount < 1)
        return std::nullopt;
    const std::size_t count = static_cast<std::size_t>(dir->idCount);
    if (!ico::blockInside(ico::kDirSize, ico::kEntrySize * count, bytes.size())) return std::nullopt;
    // Images may share bytes, but together they can be no larger than the file.
    std::uint64_t total = 0;
    std::vector<ico::DirEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const ico::DirEntry e = *ico::readDirEntry(bytes.subspan(ico::kDirSize + i * ico::kEntrySize));
        if (!ico::blockInside(e.dwImageOffset, e.dwBytesInRes, bytes.size())) return std::nullopt;
        total += e.dwBytesInRes;
        entries.push_back(e);
    }
    if (total > bytes.size()) return std::nullopt;
    return entries;
}

int entryWidth(const ico::DirEntry& e) { return e.bWidth == 0 ? 256 : e.bWidth; }

// The type of an icon or cursor file: the colours of its image of the data
// set's width, as that image states its depth; the file's length tells only
// where no such image says.
char iconTypeCode(Bytes bytes, const std::vector<ico::DirEntry>& entries, bool cursor, int width) {
    // Of several images of that width, the deepest is the one shown.
    unsigned depth = 0;
    for (const ico::DirEntry& e : entries)
        if (entryWidth(e) == width)
            depth = std::max(depth, ico::imageBitDepth(bytes.subspan(e.dwImageOffset, e.dwBytesInRes)));
    if (depth == 0) return TypeCodeForIconFile(cursor ? ".cur" : ".ico", static_cast<std::int64_t>(bytes.size()));
    return static_cast<char>((cursor ? '6' : '0') + (depth <= 4 ? 0 : depth <= 8 ? 1 : 2));
}

std::string entryFile(const std::string& file, const std::string& kind, const std::string& archive) {
    return kind == kKindZip ? file + ";" + archive : file;
}

void noteUnreadable(OpenSearchContext& ctx, const std::string& name) {
    if (ctx.unreadable++ < static_cast<int>(kNamedUnreadable)) ctx.unreadableNames.push_back(name);
}

std::string counted(int i, int n) {
    std::string label = "#";
    label += std::to_string(i);
    label += " of ";
    label += std::to_string(n);
    return label;
}

// The type code of a module's icons: the file's name tells a library from a
// program or a DLL, whatever its bytes are.
char moduleCode(const std::string& ext) { return ext == "icl" ? 'i' : ext == "dll" ? 'd' : 'e'; }

// Lists the entries of one opened value; false when it could not be read as
// an icon source (damaged, or of no kind that holds icons). A module without
// icons is no fault; an icon file without one of the data set's size lists
// nothing either.
bool listValue(OpenSearchContext& ctx, const OpenedFile& opened, const std::string& field, const std::string& kind,
               const std::string& ext) {
    if (!opened.sound()) return false;
    auto add = [&](int index, const std::string& label, char code) {
        procAddResult(ctx.entries, ctx.host, field, static_cast<std::int16_t>(index), label, std::string(1, code) + kind);
    };
    const Bytes bytes = opened.bytes();
    switch (opened.kind()) {
    case FileKind::Icon: {
        const auto entries = iconFileEntries(bytes);
        if (!entries) return false;
        const bool cursor = ico::readIconDir(bytes)->idType != ico::kTypeIcon;
        // One file, one cursor, whatever its sizes.
        const bool shown = cursor || std::any_of(entries->begin(), entries->end(),
                                                 [&](const ico::DirEntry& e) { return entryWidth(e) == ctx.IconSize; });
        if (shown) add(0, "x", iconTypeCode(bytes, *entries, cursor, ctx.IconSize));
        return true;
    }
    case FileKind::Animation: {
        const int steps = AniStepCount(opened.text());
        for (int frame = 0; frame < steps && !ctx.busy.AbortRequested; ++frame)
            add(frame, "frame " + std::to_string(frame + 1), 'a');
        return true;
    }
    case FileKind::PeModule: {
        const auto groups = ModuleGroupsWithWidth(bytes, ctx.IconSize);
        if (!groups) return false;
        const int n = std::min(static_cast<int>(groups->size()), kMaxIcons);
        for (int i = 1; i <= n && !ctx.busy.AbortRequested; ++i)
            // A library lists every group; a program or DLL those with an image of the data set's size.
            if (ext == "icl" || (*groups)[static_cast<size_t>(i) - 1]) add(i - 1, counted(i, n), moduleCode(ext));
        return true;
    }
    case FileKind::NeModule: {
        const auto groups = ne::readIconGroups(bytes);
        if (!groups) return false;
        const int n = std::min(static_cast<int>(groups->size()), kMaxIcons);
        auto hasWidth = [&](const ne::IconGroup& g) {
            return std::any_of(g.images.begin(), g.images.end(),
                               [&](const ne::GroupImage& image) { return entryWidth(image.entry) == ctx.IconSize; });
        };
        for (int i = 1; i <= n && !ctx.busy.AbortRequested; ++i)
            if (ext == "icl" || hasWidth((*groups)[static_cast<size_t>(i) - 1])) add(i - 1, counted(i, n), moduleCode(ext));
        return true;
    }
    default:
        return false;
    }
}

// "Could not read N file(s): a, b, ... and K more", naming the first few.
std::string UnreadableText(const OpenSearchContext& ctx) {
    std::string text = "Could not read " + std::to_string(ctx.unreadable) + " file(s): ";
    for (size_t i = 0; i < ctx.unreadableNames.size(); ++i) text += (i ? ", " : "") + ctx.unreadableNames[i];
    if (const int more = ctx.unreadable - static_cast<int>(ctx.unreadableNames.size()); more > 0)
        text += " and " + std::to_string(more) + " more";
    return text;
}

std::string shortName(const std::string& name) { return name.substr(0, name.find('.')); }

// The part after the last "\", or the whole text when it has none.
std::string baseName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

bool containsNoCase(const std::string& text, const std::string& part) {
    if (part.empty() || part.size() > text.size()) return false;
    for (size_t at = 0; at + part.size() <= text.size(); ++at)
        if (strncasecmp(text.c_str() + at, part.c_str(), part.size()) == 0) return true;
    return false;
}

// The value of an entry's file: the one its listing kept, else read again
// (a member from its archive, extracted first when too large to hold).
OpenedValue openedValueOf(ExtractedMembers* zip, ChunkState& chunks, const std::string& file,
                          const std::string& archive) {
    const std::string key = archive.empty() ? file : file + ";" + archive;
    if (OpenedValue kept = OpenedFiles.find(key)) return kept;
    OpenedValue value;
    ZipMemberPlace place;
    if (!archive.empty() && zip && !procFileExists(file) && FindZipMember(*zip, file, place)) {
        std::string bytes;
        const std::int32_t rc = ReadZipMember(archive, place.member, kHoldBytes, bytes);
        if (rc == ZANDREL_OK) value = std::make_shared<const OpenedFile>(std::move(bytes));
        else if (rc == ZANDREL_ERR_TOOLARGE && ExtractZipEntryFile(*zip, chunks, file, archive))
            value = ReadOpenedFile(file, kHoldBytes);
    } else {
        value = ReadOpenedFile(file, kHoldBytes);
    }
    OpenedFiles.keep(key, value, archive.empty() ? file : "");
    return value;
}

} // namespace

bool procHasImageSize(const std::vector<cFileIcon>& FileIcons, std::int16_t index, std::int16_t width) {
    if (index < 1 || static_cast<size_t>(index) > FileIcons.size()) return false;
    const cFileIcon& icon = FileIcons[static_cast<size_t>(index) - 1];
    try {
        for (int i = 1; i <= icon.ImageCount(); ++i)
            if (icon.ImageWidth(i) == width) return true;
    } catch (const VbError&) {
    }
    return false;
}

void procSearchOpenFile(OpenSearchContext& ctx, const std::string& file, const std::string& kind, int archiveIndex,
                        int memberIndex) {
    const std::string ext = lowerExtension(file);
    if (!isListable(ext)) return;
    if (kind != kKindZip) {
        // A file unchanged since a listing read it is not read again.
        OpenedValue opened = OpenedFiles.find(file);
        const bool kept = opened != nullptr;
        if (!kept) opened = ReadOpenedFile(file, kHoldBytes);
        if (!opened || !listValue(ctx, *opened, file, kind, ext)) noteUnreadable(ctx, baseName(file));
        else if (!kept) OpenedFiles.keep(file, opened, file);
        return;
    }
    if (archiveIndex < 0 || archiveIndex >= ctx.entries.lstZipFiles.ListCount()) return;
    const std::string archive = ctx.entries.lstZipFiles.List(archiveIndex);
    const std::string shownName = baseName(file) + " in " + baseName(archive);
    const std::string folder = ZipArchiveFolder(ctx.zip, archiveIndex, paths.TempPath);
    if (folder.empty()) {
        noteUnreadable(ctx, shownName);
        return;
    }
    const std::string path = folder + file;
    const std::string field = entryFile(path, kind, archive);
    // A member is listed from its bytes in memory: nothing is written for it,
    // unless it is too large to hold.
    OpenedValue opened;
    bool extracted = false;
    if (!procFileExists(path)) {
        std::string bytes;
        const std::int32_t rc =
            memberIndex >= 0 ? ReadZipMemberAt(archive, static_cast<size_t>(memberIndex), file, kHoldBytes, bytes)
                             : ReadZipMember(archive, file, kHoldBytes, bytes);
        if (rc == ZANDREL_OK) {
            opened = std::make_shared<const OpenedFile>(std::move(bytes));
        } else if (rc == ZANDREL_ERR_TOOLARGE) {
            procUnzipFile(ctx.chunks, archive, file, path, folder);
            extracted = procFileExists(path);
            if (extracted) RecordExtractedMember(ctx.zip, path);
        }
    }
    if (!opened && (extracted || procFileExists(path))) opened = ReadOpenedFile(path, kHoldBytes);
    const int before = ctx.entries.cmbResult.ListCount();
    if (!opened || !listValue(ctx, *opened, field, kind, ext)) noteUnreadable(ctx, shownName);
    else OpenedFiles.keep(field, opened);
    opened.reset(); // a mapped member's file is free to go
    // A member that gave nothing is needed by no loader: it goes at once, so
    // that an archive of many large members never fills the disk.
    if (extracted && ctx.entries.cmbResult.ListCount() == before) DeleteExtractedMember(ctx.zip, path);
}

void procSearchOpen(OpenSearchContext& ctx) {
    ctx.unreadable = 0;
    ctx.unreadableNames.clear();
    OpenedFiles.forgetUnchecked();
    ctx.host.hourglass(true);
    ctx.host.messagePanel(ctx.SearchingFavorites ? "Searching for favorites, please wait..."
                                                 : "Searching for icons, please wait...");
    ctx.host.events();
    // Every file yields through the window's clock, entries or none, so that
    // an archive of 65,535 members of other kinds is not listed at the
    // message loop's pace. Each archive is opened once for all its members.
    const ZipArchivesHeld held;
    for (int i = 0; i < ctx.entries.lstFiles.ListCount() && !ctx.busy.AbortRequested; ++i) {
        procSearchOpenFile(ctx, ctx.entries.lstFiles.List(i), kKindOpen);
        ctx.host.yield();
    }
    const std::vector<ZipListingNote>& notes = ctx.entries.ZipListingNotes;
    for (size_t i = 0; !ctx.SearchingFavorites && i < notes.size(); ++i)
        if (notes[i].unreadable && static_cast<int>(i) < ctx.entries.lstZipFiles.ListCount())
            noteUnreadable(ctx, baseName(ctx.entries.lstZipFiles.List(static_cast<int>(i))));
    // The lines of one archive follow each other, in the order its listing gave them.
    HiddenList& members = ctx.entries.lstZipIcons;
    int archive = -1, firstLine = 0;
    for (int i = 0; !ctx.SearchingFavorites && i < members.ListCount() && !ctx.busy.AbortRequested; ++i) {
        if (members.ItemData(i) != archive) {
            archive = members.ItemData(i);
            firstLine = i;
        }
        procSearchOpenFile(ctx, members.List(i), kKindZip, archive, i - firstLine);
        ctx.host.yield();
    }
    const int count = ctx.entries.cmbResult.ListCount();
    ctx.host.countPanel(std::to_string(count) + " Icon(s)");
    // What was found before the abort is shown; the stop itself is told below.
    const bool aborted = ctx.busy.AbortRequested;
    ctx.busy.AbortRequested = false;
    StartNewList(ctx.paging, count);
    ctx.host.page();
    ctx.host.abort(true);
    // What could not be read, and what archives left out, is told together.
    std::string told;
    if (ctx.unreadable > 0) told = UnreadableText(ctx);
    if (const std::string leftOut = ctx.SearchingFavorites ? "" : ZipLeftOutText(ctx.entries); !leftOut.empty())
        told += (told.empty() ? "" : "; ") + leftOut;
    if (!told.empty()) told[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(told[0])));
    if (aborted)
        ctx.host.messagePanel("Aborted!");
    else if (!told.empty() || count == 0)
        ctx.host.messagePanel(told);
    ctx.host.hourglass(false);
}

void procGetOpenItem(PageLoadContext& ctx, const std::string& entry) {
    if (entry.size() <= 3) return;
    const bool zip = EntryIsKind(entry, kKindZip);
    const int z = zip ? 1 : 0;
    const std::string file = procGetField(entry, ';', 1);
    const bool favourite = containsNoCase(file, ctx.loader.FavoritesFolder);
    const std::string archive = zip ? procGetField(entry, ';', 2) : std::string();
    ctx.loader.EntryIconIndex = std::atoi(procGetField(entry, ';', 2 + z).c_str());
    const OpenedValue opened = openedValueOf(ctx.loader.extracted, ctx.chunks, file, archive);
    const std::string label = procGetField(entry, ';', 3 + z);
    const std::string name = procGetFileName(file);
    std::string text;
    if (favourite)
        text = shortName(name);
    else
        text = name;
    if (label != "x") text += " " + label;
    if (zip && !favourite) text += " in " + archive;
    const std::string origin = favourite ? "File Favorite" : zip ? "ZIP File" : "File";
    const std::string code = procGetField(entry, ';', 4 + z).substr(0, 1);
    AddPageItem(ctx,
                OpenedItemPicture(ctx.loader, ctx.keywords.IconSize, entryFile(file, zip ? kKindZip : kKindOpen, archive),
                                  opened),
                "", text, code, origin);
}

void procGetOpenAni(PageLoaderState& loader, ChunkState& chunks, int iconSize, AnimationFrames& frames,
                    int frameNumber, const std::string& entry) {
    if (entry.size() <= 3 || frameNumber < 0) return;
    const bool zip = EntryIsKind(entry, kKindZip);
    const std::string file = procGetField(entry, ';', 1);
    const std::string archive = zip ? procGetField(entry, ';', 2) : std::string();
    loader.EntryIconIndex = std::atoi(procGetField(entry, ';', zip ? 3 : 2).c_str());
    const OpenedValue opened = openedValueOf(loader.extracted, chunks, file, archive);
    HICON icon = OpenedItemIcon(loader, iconSize, entryFile(file, zip ? kKindZip : kKindOpen, archive), opened.get());
    if (!icon) return;
    if (frames.pictures.size() <= static_cast<size_t>(frameNumber))
        frames.pictures.resize(static_cast<size_t>(frameNumber) + 1);
    frames.pictures[static_cast<size_t>(frameNumber)] = Picture::fromIcon(icon);
}

} // namespace vm
