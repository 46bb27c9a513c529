// Reads every icon group of every DLL and EXE of the system folder three ways
// and prints the time of each and their ratio:
//  - cFileIcon, groups listed by cResources, which keeps the file loaded while
//    the groups are read (one module load per file);
//  - the same with the lister's module let go first (one load per group);
//  - Windows' own resource calls in one pass per file: the file loaded once as
//    a data file, every group and each of its images found, loaded, locked
//    and copied.
// Run under Wine: wine bench_iconload.exe > log 2>&1
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cfileicon.h"
#include "cresources.h"
#include "loadergate.h"
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

// Loads every icon group of one file through the classes; returns the number
// of groups loaded and counts those that failed.
int loadGroups(const std::string& path, bool keepLister, int& failed) {
    vm::cResources res;
    std::vector<vm::ResourceKey> names;
    try {
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
    if (!keepLister) res.UnloadModule();
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

const void* lockedResource(HMODULE module, const char* name, const char* type, DWORD& size) {
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    size = found ? SizeofResource(module, found) : 0;
    return loaded ? LockResource(loaded) : nullptr;
}

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR out) {
    auto& names = *reinterpret_cast<std::vector<std::string>*>(out);
    std::string text = IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
    if (IS_INTRESOURCE(name)) text.insert(text.begin(), '#');
    names.push_back(text);
    return TRUE;
}

// The same groups with Windows' own calls, the file loaded once (through the
// loader gate, as the program loads it).
int loadGroupsDirectly(const std::string& path) {
    HMODULE module = vm::gate::LoadDataFile(path);
    if (!module) return 0;
    std::vector<std::string> names;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), collectName, reinterpret_cast<LONG_PTR>(&names));
    int loaded = 0;
    for (const std::string& name : names) {
        DWORD size = 0;
        const auto* group = static_cast<const unsigned char*>(lockedResource(module, name.c_str(),
                                                                             MAKEINTRESOURCEA(14), size));
        if (!group || size < 6) continue;
        const unsigned count = group[4] | (group[5] << 8);
        if (size < 6 + 14 * count) continue;
        std::vector<std::vector<unsigned char>> images;
        for (unsigned i = 0; i < count; ++i) {
            const unsigned char* e = group + 6 + 14 * i;
            const unsigned id = e[12] | (e[13] << 8);
            DWORD imageSize = 0;
            const void* bits = lockedResource(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3), imageSize);
            if (!bits) break;
            images.emplace_back(static_cast<const unsigned char*>(bits),
                                static_cast<const unsigned char*>(bits) + imageSize);
        }
        if (images.size() == count) ++loaded;
    }
    FreeLibrary(module);
    return loaded;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main() {
    char dir[MAX_PATH + 1];
    const std::string system(dir, GetSystemDirectoryA(dir, MAX_PATH));
    const auto files = systemModules(system);
    std::printf("files: %zu\n", files.size());

    // The files' pages are read once before anything is timed.
    for (const auto& f : files) loadGroupsDirectly(f);

    // The three ways take turns file by file, so that what else the machine
    // does meanwhile weighs on each alike.
    double seconds[3] = {};
    int groups[3] = {}, failed = 0;
    for (const auto& f : files) {
        for (int way = 0; way < 3; ++way) {
            const auto start = Clock::now();
            groups[way] += way == 2 ? loadGroupsDirectly(f) : loadGroups(f, way == 0, failed);
            seconds[way] += secondsSince(start);
        }
    }
    std::printf("classes, one module load per file:  %d groups in %.3f s\n", groups[0], seconds[0]);
    std::printf("classes, one module load per group: %d groups in %.3f s\n", groups[1], seconds[1]);
    std::printf("Windows' own calls, one pass:       %d groups in %.3f s\n", groups[2], seconds[2]);
    std::printf("failed in the classes: %d\n", failed);
    std::printf("ratio one load per file / Windows' own: %.2f\n", seconds[2] > 0 ? seconds[0] / seconds[2] : 0.0);
    std::printf("ratio one load per group / Windows' own: %.2f\n", seconds[2] > 0 ? seconds[1] / seconds[2] : 0.0);
    return 0;
}
