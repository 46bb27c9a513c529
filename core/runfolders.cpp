#include "runfolders.h"

#include <windows.h>

#include <optional>

#include "files.h"

namespace vm {
namespace {

constexpr char kStem[] = "vmzip";

// The process id in a name "vmzip<id>-<n>", both numbers decimal; nothing
// for any other name.
std::optional<DWORD> runOf(const std::string& name) {
    const std::string stem = kStem;
    const size_t dash = name.find('-');
    if (name.compare(0, stem.size(), stem) != 0 || dash == std::string::npos) return std::nullopt;
    const std::string id = name.substr(stem.size(), dash - stem.size()), serial = name.substr(dash + 1);
    for (const std::string& number : {id, serial})
        if (number.empty() || number.size() > 10 || number.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
    const unsigned long long value = std::stoull(id);
    if (value > MAXDWORD) return std::nullopt;
    return static_cast<DWORD>(value);
}

// Whether the run of process id `id` that made a folder at `made` has ended:
// no process has the id, or the one that has it has ended or started after
// the folder was made (the id has passed to another). A process that cannot
// be asked, or a folder whose time is not known, is taken to be a live run's.
bool runHasEnded(DWORD id, const FILETIME& made) {
    if (made.dwHighDateTime == 0 && made.dwLowDateTime == 0) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    FILETIME created{}, exited{}, kernel{}, user{};
    bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    if (!ended && GetProcessTimes(process, &created, &exited, &kernel, &user))
        ended = CompareFileTime(&created, &made) > 0;
    CloseHandle(process);
    return ended;
}

} // namespace

std::string NewRunFolder(const std::string& tempPath) {
    if (tempPath.empty()) return {};
    // A new name each time: a folder of that name that exists is someone else's.
    static unsigned serial = 0;
    const std::string stem = tempPath + kStem + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string folder = stem + std::to_string(++serial);
        if (CreateDirectoryA(folder.c_str(), nullptr)) return folder + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return {};
}

void RemoveFoldersOfEndedRuns(const std::string& tempPath) {
    if (tempPath.empty()) return;
    for (const FolderEntry& entry : procListFolder(tempPath + kStem + "*")) {
        if (!entry.isFolder() || entry.isLink()) continue;
        const std::optional<DWORD> id = runOf(entry.name);
        if (id && runHasEnded(*id, entry.created)) RemoveFolderTree(tempPath + entry.name);
    }
}

} // namespace vm
