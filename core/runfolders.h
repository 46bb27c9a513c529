#pragma once
// The folders a run of the program makes for itself in TEMP: the members of
// each opened ZIP archive are extracted into one. A folder's name holds the
// process id of the run that made it ("vmzip1234-1"), so that a later start
// can tell the folders of runs that ended without removing them (a crash, a
// kill) from those of a run still going, another instance's among them.
#include <string>

namespace vm {

// A new folder of this run under tempPath (which ends in "\"), with a
// trailing "\"; "" when none can be made.
std::string NewRunFolder(const std::string& tempPath);

// Removes, with all they hold, the folders under tempPath that runs which have
// ended made. A folder of a run still going, or of one that cannot be asked, a
// link, and anything not named as the program names its folders stay.
void RemoveFoldersOfEndedRuns(const std::string& tempPath);

} // namespace vm
