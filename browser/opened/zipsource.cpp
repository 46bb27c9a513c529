#include "zipsource.h"

#include <strings.h>

#include <algorithm>
#include <utility>

#include "files.h"
#include "getfield.h"
#include "runfolders.h"
#include "utf8text.h"
#include "zandrelbind.h"
#include "zipmemory.h"
#include "zipnames.h"

namespace vm {
namespace {

bool startsWithFolder(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && strncasecmp(path.c_str(), folder.c_str(), folder.size()) == 0;
}

// A member name as the listing gives it: steps below the folder, none of them
// empty, "." or "..", no drive.
bool isPlainMemberPath(const std::string& member) {
    if (member.empty() || member.find_first_of(":/") != std::string::npos) return false;
    size_t start = 0;
    while (true) {
        const size_t end = member.find('\\', start);
        const std::string step = member.substr(start, end == std::string::npos ? end : end - start);
        if (step.empty() || step == "." || step == "..") return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

} // namespace

bool ZipListBox::onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SETTEXT:
        if (busy && busy->AbortRequested) {
            result = FALSE;
            return true;
        }
        wide_ = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
        line_ = Utf8Text(wide_);
        result = TRUE;
        if (Change) Change();
        return true;
    case WM_GETTEXTLENGTH:
        result = static_cast<LRESULT>(wide_.size());
        return true;
    case WM_GETTEXT: {
        const size_t room = static_cast<size_t>(wp);
        if (room == 0 || !lp) {
            result = 0;
            return true;
        }
        const size_t n = std::min(room - 1, wide_.size());
        wide_.copy(reinterpret_cast<wchar_t*>(lp), n);
        reinterpret_cast<wchar_t*>(lp)[n] = L'\0';
        result = static_cast<LRESULT>(n);
        return true;
    }
    default:
        return false;
    }
}

void procExtractZIPFilenames(EntryLists& entries, ExtractedMembers& zip, ChunkState& chunks,
                             const ZipListWindows& windows, const std::string& tempPath, const BusyState& busy) {
    const int count = entries.lstZipFiles.ListCount();
    entries.ZipListingNotes.assign(static_cast<size_t>(count), {});
    for (int i = 0; i < count && !busy.AbortRequested; ++i) {
        ZipArchiveFolder(zip, i, tempPath);
        entries.lstZipFiles.SetListIndex(i);
        zandrel::addUNZIP_Initialise();
        chunks.UnzipResult = zandrel::addUNZIP_SetWindowHandle(windows.txtZIP);
        chunks.UnzipResult = zandrel::addUNZIP_ArchiveName(entries.lstZipFiles.List(i).c_str());
        chunks.UnzipResult = zandrel::addUNZIP_View(-1);
        chunks.UnzipResult = zandrel::addUNZIP();
        // A listing counts what it listed; below 0 the archive could not be read.
        entries.ZipListingNotes[static_cast<size_t>(i)].unreadable = chunks.UnzipResult < 0;
        chunks.UnzipResult = zandrel::addUNZIP_SetWindowHandle(windows.txtDummyZIP);
    }
}

void txtZIP_Change(EntryLists& entries, const BrowserHost& host, const std::string& text) {
    const std::string member = procGetField(text, '|', 5);
    const int archive = entries.lstZipFiles.ListIndex();
    if (!member.empty()) {
        entries.lstZipIcons.AddItem(member);
        entries.lstZipIcons.SetItemData(entries.lstZipIcons.NewIndex(), archive);
    } else if (const ::zandrel::NameFault fault = ::zandrel::nameFaultOfWord(procGetField(text, '|', 6));
               fault != ::zandrel::NameFault::None && archive >= 0 &&
               static_cast<size_t>(archive) < entries.ZipListingNotes.size()) {
        ZipListingNote& note = entries.ZipListingNotes[static_cast<size_t>(archive)];
        ++note.leftOut;
        note.reasons |= 1u << static_cast<unsigned>(fault);
    }
    host.yield();
}

std::string ZipLeftOutText(const EntryLists& entries) {
    static const std::pair<::zandrel::NameFault, const char*> kReasons[] = {
        {::zandrel::NameFault::NoName, "no file name"},
        {::zandrel::NameFault::DeviceName, "device names"},
        {::zandrel::NameFault::ForbiddenCharacter, "forbidden characters"},
        {::zandrel::NameFault::DotOrBlankAtEnd, "a dot or blank at the end"},
        {::zandrel::NameFault::Repeated, "names given twice"},
    };
    std::string text;
    const size_t count = std::min(entries.ZipListingNotes.size(), static_cast<size_t>(entries.lstZipFiles.ListCount()));
    for (size_t i = 0; i < count; ++i) {
        const ZipListingNote& note = entries.ZipListingNotes[i];
        if (note.leftOut == 0) continue;
        if (!text.empty()) text += "; ";
        text += "left out " + std::to_string(note.leftOut) + " member(s) of " +
                procGetFileName(entries.lstZipFiles.List(static_cast<int>(i))) + ":";
        const char* separator = " ";
        for (const auto& [fault, reason] : kReasons) {
            if (!(note.reasons & (1u << static_cast<unsigned>(fault)))) continue;
            text += separator;
            text += reason;
            separator = ", ";
        }
    }
    return text;
}

void procUnzipFile(ChunkState& chunks, const std::string& archive, const std::string& member,
                   const std::string& existingFile, const std::string& targetFolder) {
    if (procFileExists(existingFile)) return;
    zandrel::addUNZIP_Initialise();
    chunks.UnzipResult = zandrel::addUNZIP_ArchiveName(archive.c_str());
    chunks.UnzipResult = zandrel::addUNZIP_Include(member.c_str());
    chunks.UnzipResult = zandrel::addUNZIP_ExtractTo(targetFolder.c_str());
    chunks.UnzipResult = zandrel::addUNZIP_Overwrite(ZANDREL_OVERWRITE_ALWAYS);
    chunks.UnzipResult = zandrel::addUNZIP();
}

std::string ZipArchiveFolder(ExtractedMembers& zip, int archiveIndex, const std::string& tempPath) {
    if (archiveIndex < 0 || tempPath.empty()) return {};
    const auto index = static_cast<size_t>(archiveIndex);
    if (zip.folders.size() <= index) zip.folders.resize(index + 1);
    if (zip.folders[index].empty()) zip.folders[index] = NewRunFolder(tempPath);
    return zip.folders[index];
}

bool FindZipMember(const ExtractedMembers& zip, const std::string& file, ZipMemberPlace& place) {
    for (const std::string& folder : zip.folders) {
        if (folder.empty() || !startsWithFolder(file, folder)) continue;
        const std::string member = file.substr(folder.size());
        if (!isPlainMemberPath(member)) return false;
        place = {folder, member};
        return true;
    }
    return false;
}

bool ExtractZipEntryFile(ExtractedMembers& zip, ChunkState& chunks, const std::string& file,
                         const std::string& archive) {
    ZipMemberPlace place;
    if (!FindZipMember(zip, file, place) || procFileExists(file)) return false;
    procUnzipFile(chunks, archive, place.member, file, place.folder);
    if (!procFileExists(file)) return false;
    RecordExtractedMember(zip, file);
    return true;
}

void procClearZipLists(EntryLists& entries, ExtractedMembers& zip) {
    entries.lstZipFiles.Clear();
    entries.lstZipIcons.Clear();
    entries.ZipListingNotes.clear();
    for (const std::string& folder : zip.folders)
        if (!folder.empty()) RemoveFolderTree(folder);
    zip.folders.clear();
    zip.paths.clear();
    ForgetZipDirectory();
}

} // namespace vm
