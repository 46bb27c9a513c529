#include "openpaths.h"

#include <windows.h>

#include <cctype>
#include <cstdint>

#include "folderwalker.h"
#include "state.h"
#include "widefile.h"

namespace vm {
namespace {

std::string lowerTail(const std::string& path, size_t n) {
    std::string tail = path.size() >= n ? path.substr(path.size() - n) : std::string();
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail;
}

} // namespace

std::vector<std::string> SplitPassedPaths(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::string piece;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            if (!piece.empty()) pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) pieces.push_back(piece);
    return pieces;
}

bool procIsFolder(const std::string& path) {
    if (path.empty() || path == "." || path == "..") return false;
    const DWORD attributes = wide::Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsZipArchive(const std::string& path) { return lowerTail(path, 4) == ".zip"; }

bool IsListableIconFile(const std::string& path) {
    const std::string ext = lowerTail(path, 4);
    for (const char* listable : {".ani", ".cur", ".dll", ".exe", ".icl", ".ico"})
        if (ext == listable) return true;
    return false;
}

OpenDialogChoice SplitOpenDialogName(const std::string& fileName) {
    std::vector<std::string> parts;
    const std::string name = fileName + '\0';
    size_t start = 0;
    for (size_t nul = name.find('\0'); nul != std::string::npos; nul = name.find('\0', start)) {
        if (nul > start) parts.push_back(name.substr(start, nul - start));
        start = nul + 1;
    }
    OpenDialogChoice choice;
    if (parts.size() == 1) {
        choice.files = parts;
        const size_t slash = parts[0].rfind('\\');
        choice.folder = slash == std::string::npos ? std::string() : parts[0].substr(0, slash + 1);
    } else if (parts.size() > 1) {
        choice.folder = parts[0];
        std::string base = parts[0];
        if (!base.empty() && base.back() == '\\') base.pop_back(); // a drive's root ends in "\" already
        for (size_t i = 1; i < parts.size(); ++i) choice.files.push_back(base + "\\" + parts[i]);
    }
    return choice;
}

void AddOpenedPath(EntryLists& entries, const std::string& path) {
    (IsZipArchive(path) ? entries.lstZipFiles : entries.lstFiles).AddItem(path);
}

bool procOpenPassedPaths(OpenSearchContext& ctx, const ZipListWindows& windows, std::string& PassedFile,
                         char separator) {
    const BrowserHost& host = ctx.host;
    host.messagePanel("Searching for icon libraries, please wait...");
    host.events();
    host.clear();
    ctx.entries.cmbResult.Clear();
    ctx.entries.lstFiles.Clear();
    procClearZipLists(ctx.entries, ctx.zip);
    host.abort(false);

    FolderWalk walk{ctx.entries.lstFiles, ctx.busy, host};
    walk.WalkSubfolders = true;
    // The walk yields at the window's pace: a yield costs as much as listing many entries.
    walk.yieldIntervalMs = static_cast<unsigned>(host.YieldEvery.count());
    const std::vector<std::string> pieces = SplitPassedPaths(PassedFile, separator);
    for (size_t i = 0; i < pieces.size() && !ctx.busy.AbortRequested; ++i) {
        if (procIsFolder(pieces[i])) {
            std::string folder = pieces[i];
            std::int32_t files = 0, folders = 0;
            procWalkFolders(walk, folder, "*.*", files, folders);
        } else {
            AddOpenedPath(ctx.entries, pieces[i]);
        }
        if (i + 1 < pieces.size() && !ctx.busy.AbortRequested) host.events();
    }
    // Only icon files are listed; archives inside a walked folder are not opened.
    HiddenList& files = ctx.entries.lstFiles;
    for (int i = files.ListCount() - 1; i >= 0 && !ctx.busy.AbortRequested; --i)
        if (!IsListableIconFile(files.List(i))) files.RemoveItem(i);

    const bool aborted = ctx.busy.AbortRequested;
    if (aborted) {
        ctx.busy.AbortRequested = false;
        host.abort(true);
        host.messagePanel("Aborted!");
    } else {
        procExtractZIPFilenames(ctx.entries, ctx.zip, ctx.chunks, windows, paths.TempPath, ctx.busy);
        procSearchOpen(ctx);
    }
    PassedFile.clear();
    host.hourglass(false);
    return !aborted;
}

} // namespace vm
