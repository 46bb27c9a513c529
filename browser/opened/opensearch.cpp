#include "opensearch.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <strings.h>

#include "anisteps.h"
#include "cresources.h"
#include "entrylist.h"
#include "fileiconextract.h"
#include "files.h"
#include "getfield.h"
#include "icolayout.h"
#include "iconsource.h"
#include "loadergate.h"
#include "memoryicon.h"
#include "modulegroups.h"
#include "neiconfile.h"
#include "resultentry.h"
#include "state.h"
#include "vberror.h"
#include "zandrel32.h"
#include "zipmemory.h"
#include "zipsource.h"
#include "widefile.h"

namespace vm {
namespace {

// Larger animation files are not read for their step count; they count one step.
constexpr DWORD kMaxAniBytes = 16u << 20;
// Entry indexes are 16-bit numbers.
constexpr int kMaxIcons = 32767;
// Icon files up to this size are read whole at once; larger ones image by image.
constexpr std::uint32_t kMaxIconBytes = 4u << 20;
// Modules up to this size are listed from one read; larger ones through the system.
constexpr std::uint32_t kMaxModuleBytes = 64u << 20;

std::string lowerExtension(const std::string& file) {
    std::string tail = file.size() >= 3 ? file.substr(file.size() - 3) : std::string();
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail;
}

bool isListable(const std::string& ext) {
    return ext == "ico" || ext == "cur" || ext == "ani" || ext == "icl" || ext == "dll" || ext == "exe";
}

std::int64_t fileLength(const std::string& file) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!wide::AttributeData(file, data)) return 0;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Whether an icon file read whole holds an image as wide as width; nothing
// when it is no icon file or its directory points outside it.
std::optional<bool> iconFileHasWidth(const std::string& file, int width) {
    const ico::Bytes bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    const auto dir = ico::readIconDir(bytes);
    if (!dir || !ico::isIconDir(*dir) || dir->idCount < 1) return std::nullopt;
    const std::size_t count = static_cast<std::size_t>(dir->idCount);
    if (!ico::blockInside(ico::kDirSize, ico::kEntrySize * count, bytes.size())) return std::nullopt;
    // Images may share bytes, but together they can be no larger than the file.
    std::uint64_t total = 0;
    bool found = false;
    for (std::size_t i = 0; i < count; ++i) {
        const ico::DirEntry e = *ico::readDirEntry(bytes.subspan(ico::kDirSize + i * ico::kEntrySize));
        if (!ico::blockInside(e.dwImageOffset, e.dwBytesInRes, bytes.size())) return std::nullopt;
        total += e.dwBytesInRes;
        if ((e.bWidth == 0 ? 256 : e.bWidth) == width) found = true;
    }
    if (total > bytes.size()) return std::nullopt;
    return found;
}

std::string entryFile(const std::string& file, const std::string& kind, const std::string& archive) {
    return kind == kKindZip ? file + ";" + archive : file;
}

void noteUnreadable(OpenSearchContext& ctx, const std::string& name) {
    if (ctx.unreadable++ == 0) ctx.firstUnreadable = name;
}

// Whether a module file can be opened at all: one that holds no icons is fine.
bool loadsAsModule(const std::string& file) {
    // The system loads no 16-bit module; the program's own reader opens it.
    if (ReadNeIconFile(file)) return true;
    HMODULE module = gate::LoadDataFile(file);
    if (!module) return false;
    FreeLibrary(module);
    return true;
}

// Lists each step of an animation that Windows can load: as many as its
// header announces and the file holds, never found by drawing until a draw
// fails. An animation is read once: the check that finds it whole and its
// step count take the same bytes. Anything else called ".ani" is listed as
// the system loads it.
bool listAnimation(OpenSearchContext& ctx, const std::string& file, const std::string& kind,
                   const std::string& archive) {
    std::string bytes;
    bool sound = true;
    const bool read = ReadIconSource(file, kMaxAniBytes, bytes, sound);
    if (read && KindOfBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}) == FileKind::Animation) {
        if (!sound) return false;
    } else {
        // The gate hands the system only an animation its own reader found whole.
        HICON animation = static_cast<HICON>(gate::LoadImageFile(file, IMAGE_ICON, 0, 0, 0));
        if (!animation) return false;
        DestroyIcon(animation);
    }
    const int steps = AniStepCount(bytes);
    for (int frame = 0; frame < steps && !ctx.busy.AbortRequested; ++frame)
        procAddFileIcons(ctx, file, kind, archive, 1, frame);
    return true;
}

// A cursor file is read once: when its bytes hold an icon directory, the
// check that finds it whole decides, and its entry is listed with no further
// read. Nothing when the bytes are no icon directory, which the system is
// asked about as before.
std::optional<bool> listCursor(OpenSearchContext& ctx, const std::string& file, const std::string& kind,
                               const std::string& archive) {
    std::string bytes;
    bool sound = true;
    if (!ReadIconSource(file, kMaxIconBytes, bytes, sound)) return std::nullopt;
    const auto dir = ico::readIconDir({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    if (!dir || dir->idReserved != 0 || (dir->idType != 1 && dir->idType != 2) || dir->idCount < 1)
        return std::nullopt;
    if (!sound) return false;
    procAddResult(ctx.entries, ctx.host, entryFile(file, kind, archive), 0, "x",
                  std::string(1, TypeCodeForIconFile(".cur", static_cast<std::int64_t>(bytes.size()))) + kind);
    return true;
}

// The group icons of a module, in the order the shell counts them.
struct ModuleGroups {
    cResources resources;
    int groupType = 0;
};

void listGroups(ModuleGroups& groups, const std::string& file) {
    try {
        groups.resources.file(file);
        groups.resources.GetResourceTypes();
        groups.groupType = groups.resources.IndexOfResourceType(14);
        if (groups.groupType > 0) groups.resources.GetResourceNames(groups.groupType);
    } catch (const VbError&) {
        groups.groupType = 0; // no groups to name below
    }
    groups.resources.UnloadModule();
}

// Loads group number i (1-based) into the scratch icon; false when it cannot.
bool loadGroup(cFileIcon& icon, const ModuleGroups& groups, const std::string& file, int i) {
    if (groups.groupType <= 0) return false;
    try {
        const ResourceKey id = groups.resources.ResourceName(groups.groupType, i);
        if (const auto* number = std::get_if<std::int32_t>(&id)) return icon.LoadIconFromEXE(file, *number, "");
        if (const auto* name = std::get_if<std::string>(&id)) return icon.LoadIconFromEXE(file, 0, *name);
    } catch (const VbError&) {
    }
    return false;
}

std::string counted(int i, int n) {
    std::string label = "#";
    label += std::to_string(i);
    label += " of ";
    label += std::to_string(n);
    return label;
}

// A PE module is read once: its icon groups are counted, checked and sized
// from the same bytes that found it sound. False when the bytes are no sound
// PE module with icon groups, or too large to read whole: the system is
// asked about it as before.
bool listModule(OpenSearchContext& ctx, const std::string& file, const std::string& ext, const std::string& kind,
                const std::string& archive) {
    std::string bytes;
    bool sound = true;
    if (!ReadIconSource(file, kMaxModuleBytes, bytes, sound) || !sound) return false;
    const auto groups =
        ModuleGroupsWithWidth({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, ctx.IconSize);
    if (!groups || groups->empty()) return false;
    const int n = std::min(static_cast<int>(groups->size()), kMaxIcons);
    const std::string field = entryFile(file, kind, archive);
    const std::string code = std::string(1, ext == "dll" ? 'd' : 'e') + kind;
    for (int i = 1; i <= n && !ctx.busy.AbortRequested; ++i)
        if ((*groups)[static_cast<size_t>(i) - 1])
            procAddResult(ctx.entries, ctx.host, field, static_cast<std::int16_t>(i - 1), counted(i, n), code);
    return true;
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

// Lists an icon file read whole: its entry when it holds an image of the
// data set's size. False when the bytes are no icon file.
bool addIconBytes(OpenSearchContext& ctx, const std::string& bytes, const std::string& file, const std::string& kind,
                  const std::string& archive) {
    const std::optional<bool> hasSize = iconFileHasWidth(bytes, ctx.IconSize);
    if (!hasSize) return false;
    if (*hasSize)
        procAddResult(ctx.entries, ctx.host, entryFile(file, kind, archive), 0, "x",
                      std::string(1, TypeCodeForIconFile(".ico", static_cast<std::int64_t>(bytes.size()))) + kind);
    return true;
}

// The icon of an "azip" entry's icon member drawn from the member's bytes,
// the very icon its extracted file gives; null when it is no icon member or
// is not read so, and the member is then extracted and drawn as a file.
HICON iconOfMember(const ExtractedMembers& zip, const std::string& file, const std::string& archive, int index,
                   int iconSize) {
    ZipMemberPlace place;
    if (index != 0 || lowerExtension(file) != "ico" || !FindZipMember(zip, file, place)) return nullptr;
    std::string bytes;
    if (ReadZipMember(archive, place.member, kMaxIconBytes, bytes) != ZANDREL_OK) return nullptr;
    return IconOfIcoBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, iconSize);
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

void procAddFileIcons(OpenSearchContext& ctx, const std::string& file, const std::string& kind,
                      const std::string& archive, int n, int frame) {
    const std::string ext = lowerExtension(file);
    const std::string field = entryFile(file, kind, archive);
    auto add = [&](int index, const std::string& label, char code) {
        procAddResult(ctx.entries, ctx.host, field, static_cast<std::int16_t>(index), label, std::string(1, code) + kind);
    };
    n = std::min(n, kMaxIcons);
    // Element 1 of the icon array is scratch while files are listed.
    std::vector<cFileIcon> FileIcons(1);
    const auto size = static_cast<std::int16_t>(ctx.IconSize);
    if (ext == "cur") {
        // One file, one cursor: a count above 1 would repeat the same entry.
        if (n >= 1) add(0, "x", TypeCodeForIconFile(".cur", fileLength(file)));
    } else if (ext == "ani") {
        add(frame, "frame " + std::to_string(frame + 1), 'a');
    } else if (ext == "icl") {
        for (int i = 1; i <= n && !ctx.busy.AbortRequested; ++i) add(i - 1, counted(i, n), 'i');
    } else if (ext == "dll" || ext == "exe") {
        ModuleGroups groups;
        listGroups(groups, file);
        for (int i = 1; i <= n && !ctx.busy.AbortRequested; ++i) {
            FileIcons[0] = cFileIcon{};
            if (loadGroup(FileIcons[0], groups, file, i) && procHasImageSize(FileIcons, 1, size))
                add(i - 1, counted(i, n), ext == "dll" ? 'd' : 'e');
        }
    } else if (ext == "ico" && n >= 1) {
        procAddIconFile(ctx, file, kind, archive);
    }
}

bool procAddIconFile(OpenSearchContext& ctx, const std::string& file, const std::string& kind,
                     const std::string& archive) {
    // One read of the file serves both its sizes here and the check before
    // its icon is drawn on a page.
    std::string bytes;
    bool sound = true;
    if (ReadIconSource(file, kMaxIconBytes, bytes, sound)) return addIconBytes(ctx, bytes, file, kind, archive);
    std::vector<cFileIcon> FileIcons(1);
    try {
        if (!FileIcons[0].LoadIcon(file) || FileIcons[0].ImageCount() == 0) return false;
    } catch (const VbError&) {
        return false; // images the file does not hold
    }
    if (procHasImageSize(FileIcons, 1, static_cast<std::int16_t>(ctx.IconSize)))
        procAddResult(ctx.entries, ctx.host, entryFile(file, kind, archive), 0, "x",
                      std::string(1, TypeCodeForIconFile(".ico", fileLength(file))) + kind);
    return true;
}

namespace {

// The entries of one file that lies on disk at path (a ZIP member extracted).
void listFile(OpenSearchContext& ctx, const std::string& path, const std::string& ext, const std::string& kind,
              const std::string& archive, const std::string& shownName) {
    if (ext == "ani") {
        if (!listAnimation(ctx, path, kind, archive)) noteUnreadable(ctx, shownName);
        return;
    }
    // An icon file holds one icon; reading it for its sizes tells whether it
    // is one, which costs far less than asking the shell to count it.
    if (ext == "ico") {
        if (!procAddIconFile(ctx, path, kind, archive)) noteUnreadable(ctx, shownName);
        return;
    }
    if (ext == "cur") {
        if (const std::optional<bool> listed = listCursor(ctx, path, kind, archive)) {
            if (!*listed) noteUnreadable(ctx, shownName);
            return;
        }
    }
    if ((ext == "dll" || ext == "exe") && listModule(ctx, path, ext, kind, archive)) return;
    const int n = procFileIconCount(path);
    if (n >= 1) {
        procAddFileIcons(ctx, path, kind, archive, n, 0);
    } else if ((ext != "dll" && ext != "exe") || !loadsAsModule(path)) {
        // A module without icons is no fault; an icon file without one is.
        noteUnreadable(ctx, shownName);
    }
}

} // namespace

void procSearchOpenFile(OpenSearchContext& ctx, const std::string& file, const std::string& kind, int archiveIndex,
                        int memberIndex) {
    const std::string ext = lowerExtension(file);
    if (!isListable(ext)) return;
    if (kind != kKindZip) {
        listFile(ctx, file, ext, kind, "", baseName(file));
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
    // An icon member is listed from its bytes in memory: nothing is written
    // for it, and its file is not looked for, as the bytes are the file's.
    // Others, and members too large to hold, go to disk.
    if (ext == "ico") {
        std::string bytes;
        const std::int32_t rc =
            memberIndex >= 0 ? ReadZipMemberAt(archive, static_cast<size_t>(memberIndex), file, kMaxIconBytes, bytes)
                             : ReadZipMember(archive, file, kMaxIconBytes, bytes);
        if (rc != ZANDREL_ERR_TOOLARGE) {
            if (rc != ZANDREL_OK || !addIconBytes(ctx, bytes, path, kind, archive)) noteUnreadable(ctx, shownName);
            return;
        }
    }
    const bool extracted = !procFileExists(path);
    if (extracted) {
        procUnzipFile(ctx.chunks, archive, file, path, folder);
        if (!procFileExists(path)) {
            noteUnreadable(ctx, shownName);
            return;
        }
        RecordExtractedMember(ctx.zip, path);
    }
    const int before = ctx.entries.cmbResult.ListCount();
    listFile(ctx, path, ext, kind, archive, shownName);
    // A member that gave nothing is needed by no loader: it goes at once, so
    // that an archive of many large members never fills the disk.
    if (extracted && ctx.entries.cmbResult.ListCount() == before) DeleteExtractedMember(ctx.zip, path);
}

void procSearchOpen(OpenSearchContext& ctx) {
    ctx.unreadable = 0;
    ctx.firstUnreadable.clear();
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
    if (ctx.unreadable > 0)
        told = "Could not read " + std::to_string(ctx.unreadable) + " file(s): " + ctx.firstUnreadable;
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
    std::string archive;
    ctx.loader.EntryIconIndex = std::atoi(procGetField(entry, ';', 2 + z).c_str());
    HICON icon = nullptr;
    if (zip) {
        archive = procGetField(entry, ';', 2);
        if (ctx.loader.extracted) {
            icon = iconOfMember(*ctx.loader.extracted, file, archive, ctx.loader.EntryIconIndex, ctx.keywords.IconSize);
            if (icon)
                ctx.loader.DropAnimation();
            else
                ExtractZipEntryFile(*ctx.loader.extracted, ctx.chunks, file, archive);
        }
    }
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
    if (!icon) icon = FileItemIcon(ctx.loader, ctx.keywords.IconSize, file);
    AddPageItem(ctx, Picture::fromIcon(icon), "", text, code, origin);
}

void procGetOpenAni(PageLoaderState& loader, ChunkState& chunks, int iconSize, AnimationFrames& frames,
                    int frameNumber, const std::string& entry) {
    if (entry.size() <= 3 || frameNumber < 0) return;
    const bool zip = EntryIsKind(entry, kKindZip);
    const std::string file = procGetField(entry, ';', 1);
    if (zip && loader.extracted) ExtractZipEntryFile(*loader.extracted, chunks, file, procGetField(entry, ';', 2));
    loader.EntryIconIndex = std::atoi(procGetField(entry, ';', zip ? 3 : 2).c_str());
    HICON icon = FileItemIcon(loader, iconSize, file);
    if (!icon) return;
    if (frames.pictures.size() <= static_cast<size_t>(frameNumber))
        frames.pictures.resize(static_cast<size_t>(frameNumber) + 1);
    frames.pictures[static_cast<size_t>(frameNumber)] = Picture::fromIcon(icon);
}

} // namespace vm
