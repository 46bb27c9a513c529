#include "framecollect.h"

#include <windows.h>
#include <strings.h>

#include "browserstate.h"
#include "files.h"
#include "getfield.h"
#include "pageloaders.h"
#include "resultentry.h"
#include "zandrelbind.h"

namespace vm {

namespace {

bool isFileKind(const std::string& kind) {
    return kind == kKindOpen || kind == kKindUser || kind == kKindCurrentCursor || kind == kKindThemeCursor;
}

// The member of an archive, extracted beside where the entry names it when it
// is not there yet; true when this call wrote it (the caller removes it).
bool extractMember(const std::string& entry) {
    std::string path = procGetField(entry, ';', 1);
    if (procFileExists(path)) return false;
    std::string folderOf = path;
    const std::string folder = procGetFolder(folderOf);
    const std::string name = procGetFileName(path);
    if (name.empty() || folder.empty()) return false;
    zandrel::addUNZIP_Initialise();
    Chunks.UnzipResult = zandrel::addUNZIP_ArchiveName(procGetField(entry, ';', 2).c_str());
    Chunks.UnzipResult = zandrel::addUNZIP_Include(name.c_str());
    Chunks.UnzipResult = zandrel::addUNZIP_ExtractTo(folder.c_str());
    Chunks.UnzipResult = zandrel::addUNZIP_Overwrite(ZANDREL_OVERWRITE_ALWAYS);
    Chunks.UnzipResult = zandrel::addUNZIP();
    return procFileExists(path);
}

Picture fileFrame(const std::string& file, int index, int iconSize) {
    PageLoaders.EntryIconIndex = index;
    HICON icon = FileItemIcon(PageLoaders, iconSize, file);
    return icon ? Picture::fromIcon(icon) : Picture();
}

} // namespace

std::string AnimationKey(const std::string& entry) {
    const std::string kind = EntryKind(entry);
    if (kind == kKindBook) return procGetField(entry, ':', 1) + procGetField(entry, ':', 3);
    if (isFileKind(kind)) return procGetField(entry, ';', 1) + procGetField(entry, ';', 4);
    // Two archives may hold members of the same name: the archive is part of the key.
    if (kind == kKindZip)
        return procGetField(entry, ';', 1) + ";" + procGetField(entry, ';', 2) + ";" + procGetField(entry, ';', 5);
    return "";
}

std::vector<Picture> procCollectAnimationFrames(const HiddenList& cmbResult, const std::string& selectedEntry,
                                                int iconSize) {
    std::vector<Picture> frames;
    const std::string key = AnimationKey(selectedEntry);
    if (key.empty()) return frames;
    const std::string kind = EntryKind(selectedEntry);
    int at = -1;
    for (int i = 0; i < cmbResult.ListCount() && at < 0; ++i)
        if (cmbResult.List(i) == selectedEntry) at = i;
    if (at < 0) return frames;
    auto belongs = [&](int i) {
        const std::string& e = cmbResult.List(i);
        return !e.empty() && EntryKind(e) == kind && strcasecmp(AnimationKey(e).c_str(), key.c_str()) == 0;
    };
    int first = at;
    while (first > 0 && belongs(first - 1)) --first;

    bool extracted = false;
    if (kind == kKindZip) extracted = extractMember(selectedEntry);
    for (int i = first; i < cmbResult.ListCount() && belongs(i) && frames.size() < kMaxAnimationFrames; ++i) {
        const std::string& e = cmbResult.List(i);
        if (kind == kKindBook) {
            AnimationFrames library;
            procGetVellumarAni(PageLoaders, Chunks, iconSize, library, 0, e);
            frames.push_back(library.pictures.empty() ? Picture() : library.pictures.front());
        } else if (kind == kKindZip) {
            frames.push_back(fileFrame(procGetField(e, ';', 1), std::atoi(procGetField(e, ';', 3).c_str()), iconSize));
        } else {
            frames.push_back(fileFrame(procGetField(e, ';', 1), std::atoi(procGetField(e, ';', 2).c_str()), iconSize));
        }
    }
    // The loaders keep an animated file open between entries; the extracted copy must be free to go.
    if (extracted) {
        PageLoaders.LoadedAniFile.clear();
        if (PageLoaders.LoadedAni) DestroyIcon(PageLoaders.LoadedAni);
        PageLoaders.LoadedAni = nullptr;
        DeleteFileA(procGetField(selectedEntry, ';', 1).c_str());
    }
    return frames;
}

} // namespace vm
