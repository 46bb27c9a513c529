#pragma once
// desktop.ini of a folder whose icon the program sets. The file is edited line
// by line, each line kept with its own line break, so every line the program
// does not own stays byte for byte as it was (the profile calls of Windows
// rewrite the whole file and drop the trailing blanks of every line).
//
// The first change of a folder keeps what stood there before in a section of
// the program's own in the same file, so the record is written together with
// the change, in one rename, or not at all; it travels with the folder, and
// setting the folder back to default puts exactly that back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vm {

// What the folder held before the program first set its icon.
struct FolderIconRecord {
    // The lines of the IconFile and IconIndex keys of [.ShellClassInfo] as
    // they stood, "" where the key was not there.
    std::string iconFileLine, iconIndexLine;
    bool classInfo = false;        // [.ShellClassInfo] was there
    bool iniExisted = false;       // desktop.ini was there, with iniAttributes
    std::uint32_t iniAttributes = 0;
    std::uint32_t folderAttributes = 0;
    bool iconExisted = false;      // a folder.ico was there; the change keeps it beside
};

// The record the file holds, when it holds a whole one.
std::optional<FolderIconRecord> ReadFolderIconRecord(std::string_view ini);
// The record of the keys as the file holds them now (the caller adds what the
// file system tells: whether the files were there, their attributes).
FolderIconRecord RecordOfKeys(std::string_view ini);

// The file with IconFile=folder.ico and IconIndex=0, and the record added
// when it holds none yet (a second change keeps the first record).
std::string WithFolderIcon(std::string_view ini, const FolderIconRecord& before);
// The file as the record says it was: the two keys as they stood, the record
// and a section the change added gone; every other line as it stands now.
std::string WithoutFolderIcon(std::string_view ini, const FolderIconRecord& before);
// For a folder whose icon was set without a record (by an earlier version):
// the values of the two keys blanked, the keys kept, nothing else changed;
// nullopt when neither key has a value to blank.
std::optional<std::string> WithIconKeysBlanked(std::string_view ini);

} // namespace vm
