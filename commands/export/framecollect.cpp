#include "framecollect.h"

#include <windows.h>
#include <strings.h>

#include "browserstate.h"
#include "files.h"
#include "getfield.h"
#include "pageloaders.h"
#include "resultentry.h"
#include "opensearch.h"
#include "zipcleanup.h"
#include "utf8text.h"
#include "widefile.h"

namespace vm {

namespace {

bool isFileKind(const std::string& kind) {
    return kind == kKindOpen || kind == kKindUser || kind == kKindCurrentCursor || kind == kKindThemeCursor;
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
        return !e.empty() && EntryKind(e) == kind && SameText(AnimationKey(e), key);
    };
    int first = at;
    while (first > 0 && belongs(first - 1)) --first;

    // The loaders extract a member once for all its frames; what was not
    // there before the gathering goes again after it.
    const std::string member = kind == kKindZip ? procGetField(selectedEntry, ';', 1) : std::string();
    const bool memberThere = !member.empty() && procFileExists(member);
    for (int i = first; i < cmbResult.ListCount() && belongs(i) && frames.size() < kMaxAnimationFrames; ++i) {
        const std::string& e = cmbResult.List(i);
        AnimationFrames frame;
        if (kind == kKindBook) procGetVellumarAni(PageLoaders, Chunks, iconSize, frame, 0, e);
        else procGetOpenAni(PageLoaders, Chunks, iconSize, frame, 0, e);
        frames.push_back(frame.pictures.empty() ? Picture() : frame.pictures.front());
    }
    if (!member.empty() && !memberThere && procFileExists(member)) {
        // The loaders keep an animated file open between entries; the copy must be free to go.
        PageLoaders.LoadedAniFile.clear();
        if (PageLoaders.LoadedAni) DestroyIcon(PageLoaders.LoadedAni);
        PageLoaders.LoadedAni = nullptr;
        if (PageLoaders.extracted) DeleteExtractedMember(*PageLoaders.extracted, member);
        else wide::Delete(member);
    }
    return frames;
}

} // namespace vm
