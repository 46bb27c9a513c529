#pragma once
// The paths the Open commands hand to the opened-files listing: the pieces of
// a command line (or of a later start's hand-over), the names an Open dialog
// returns, and the folders among them, which are walked for icon files.
#include <string>
#include <vector>

#include "opensearch.h"
#include "zipsource.h"

namespace vm {

// The pieces of a passed text, cut at every separator. A run in double quotes
// is one piece, quotes removed, separators and all; empty pieces are dropped.
std::vector<std::string> SplitPassedPaths(const std::string& text, char separator);

// Whether the path names a folder; "." and ".." are none.
bool procIsFolder(const std::string& path);

// Whether a path ends in ".zip", case ignored.
bool IsZipArchive(const std::string& path);
// Whether a path ends in one of the icon files' extensions, case ignored.
bool IsListableIconFile(const std::string& path);

// What an Open dialog's file name holds: one full path, or the folder and
// then the names of several files, separated by NULs.
struct OpenDialogChoice {
    std::vector<std::string> files; // full paths, in the dialog's order
    std::string folder;             // for "ScanDirectory": one file's folder with its trailing "\",
                                    // several files' folder as the dialog gives it
};
OpenDialogChoice SplitOpenDialogName(const std::string& fileName);

// Puts each path into lstZipFiles (a ".zip" file) or lstFiles (anything else).
void AddOpenedPath(EntryLists& entries, const std::string& path);

// The hand-over of passed paths: clears the lists and the result, makes the
// window busy, walks every folder piece (sub-folders too) and takes every
// other piece as a file, keeps only icon files and archives named directly,
// then lists the archives' members and every icon. An abort stops the walk,
// skips the listing and leaves the window idle with AbortRequested reset; one
// during the listing is the listing's to tell. PassedFile is emptied in every
// case. False when the walk was aborted.
bool procOpenPassedPaths(OpenSearchContext& ctx, const ZipListWindows& windows, std::string& PassedFile,
                         char separator);

} // namespace vm
