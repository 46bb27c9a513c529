#pragma once
// ZIP members extracted for a page live only until the page fill ends. Only
// files the loaders themselves wrote into TempPath are ever deleted: a file of
// the same name that was there before belongs to someone else, and a member
// name read from an archive is never trusted to stay inside TempPath.
#include <string>
#include <vector>

#include "hiddenlist.h"

namespace vm {

struct ExtractedMembers {
    std::vector<std::string> paths; // full paths the loaders created, as they named them
};

// Notes a member file a loader has just extracted. The caller records it only
// when the file did not exist before its extraction.
void RecordExtractedMember(ExtractedMembers& record, const std::string& path);

// The page fill's clean-up: deletes tempPath & line for every line of
// lstZipIcons whose file the loaders created and that lies inside tempPath.
// Recorded files that are gone or deleted leave the record.
void DeleteExtractedMembers(ExtractedMembers& record, const HiddenList& lstZipIcons, const std::string& tempPath);

extern ExtractedMembers ZipExtractions;

} // namespace vm
