#pragma once
// What the ZIP side wrote to disk, and its removal. Every opened archive gets
// a private folder of its own under TempPath, made fresh, so two archives
// holding the same member name never collide and no file another program
// left in TEMP is ever taken for a member. Members extracted for a page live
// only until the page fill ends; only files the loaders themselves wrote are
// ever deleted, and a member name read from an archive is never trusted to
// stay inside the folder it was extracted to.
#include <string>
#include <vector>

namespace vm {

struct ExtractedMembers {
    std::vector<std::string> paths;   // full paths the loaders created, as they named them
    std::vector<std::string> folders; // the private folder (trailing "\") of each archive, by its index in lstZipFiles
};

// Notes a member file a loader has just extracted. The caller records it only
// when the file did not exist before its extraction.
void RecordExtractedMember(ExtractedMembers& record, const std::string& path);

// The page fill's clean-up: deletes every recorded file that lies inside
// tempPath, and the sub-folders of a private folder that extraction made and
// that are empty now. Recorded files that are gone or deleted leave the record.
void DeleteExtractedMembers(ExtractedMembers& record, const std::string& tempPath);

// Deletes one extracted member file and forgets it, with the sub-folders of
// its private folder that are empty then.
void DeleteExtractedMember(ExtractedMembers& record, const std::string& path);

extern ExtractedMembers ZipExtractions;

} // namespace vm
