// Loads every icon group of every DLL and EXE of the system folder with
// cFileIcon (groups listed by cResources) and prints groups per second and
// the slowest file. Run under Wine: wine bench_iconload.exe > log 2>&1
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cfileicon.h"
#include "cresources.h"
#include "vberror.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> systemModules(const std::string& dir) {
    std::vector<std::string> files;
    for (const char* pattern : {"\\*.dll", "\\*.exe"}) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + pattern).c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(dir + "\\" + fd.cFileName);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    return files;
}

// Loads every icon group of one file; returns the number of groups loaded
// and counts those that failed.
int loadGroups(const std::string& path, int& failed) {
    std::vector<vm::ResourceKey> names;
    try {
        vm::cResources res;
        res.file(path);
        if (!res.hModule()) return 0;
        res.GetResourceTypes();
        const int t = res.IndexOfResourceType(14);
        if (t == 0) return 0;
        res.GetResourceNames(t);
        for (int i = 1; i <= res.ResourceNameCount(t); ++i) names.push_back(res.ResourceName(t, i));
    } catch (const vm::VbError&) {
        return 0;
    }
    int loaded = 0;
    for (const auto& key : names) {
        vm::cFileIcon icon;
        try {
            const auto* id = std::get_if<std::int32_t>(&key);
            const bool ok = id ? icon.LoadIconFromEXE(path, *id, "")
                               : icon.LoadIconFromEXE(path, 0, std::get<std::string>(key));
            ok ? ++loaded : ++failed;
        } catch (const vm::VbError&) {
            ++failed;
        }
    }
    return loaded;
}

} // namespace

int main() {
    char dir[MAX_PATH + 1];
    const std::string system(dir, GetSystemDirectoryA(dir, MAX_PATH));
    const auto files = systemModules(system);

    int groups = 0, failed = 0, withIcons = 0;
    double slowest = 0;
    std::string slowestFile;
    const auto start = Clock::now();
    for (const auto& f : files) {
        const auto t0 = Clock::now();
        const int n = loadGroups(f, failed);
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        groups += n;
        withIcons += n > 0;
        if (s > slowest) {
            slowest = s;
            slowestFile = f;
        }
    }
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("files: %zu (with icon groups: %d)\n", files.size(), withIcons);
    std::printf("groups loaded: %d, failed: %d, in %.3f s\n", groups, failed, total);
    std::printf("groups per second: %.0f\n", total > 0 ? groups / total : 0.0);
    std::printf("slowest file: %s (%.3f s)\n", slowestFile.c_str(), slowest);
    return 0;
}
