#pragma once
// The program-wide folders the splash sets before anything else runs.
#include <string>

namespace vm::shell {

// A folder with exactly one trailing backslash ("c:\" stays "c:\").
std::string withOneBackslash(std::string folder);
// "version <major>.<minor><revision>", as the splash shows it (2, 1, 0 -> "version 2.10").
std::string versionText(int major, int minor, int revision);
// The program's version numbers from its version resource (0, 0, 0 without one).
void programVersion(int& major, int& minor, int& revision);

// Sets DataPath (the program folder), WindowsDir, SystemDir and TempPath. A
// temporary folder Windows cannot name falls back to DataPath.
void procSetStartPaths(const std::string& programFolder);

// Creates the cache folders Temp16 and Temp32 under DataPath and records
// DataPath as the setting "Path" when it differs.
void procPrepareDataFolder();

} // namespace vm::shell
