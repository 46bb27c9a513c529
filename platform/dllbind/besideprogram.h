#pragma once
// The program's own DLLs are bound by name on first call, from the program's
// folder, so a missing DLL only fails the calls that need it.
#include <windows.h>

#include <string>

namespace vm {

// The full path of a file in the folder of the running program; "" when the
// program's own path cannot be read.
inline std::string BesideProgram(const char* fileName) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.rfind('\\') + 1) + fileName;
}

// The DLL of that name from the program's folder, loaded into module on the
// first call that finds it.
inline HMODULE LoadBesideProgram(HMODULE& module, const char* dllName) {
    if (!module) {
        const std::string dll = BesideProgram(dllName);
        if (!dll.empty()) module = LoadLibraryA(dll.c_str());
    }
    return module;
}

// The export's address once it has been found; until then every call looks again.
template <typename Proc> Proc BindExport(HMODULE module, Proc& cached, const char* name) {
    if (!cached && module) cached = reinterpret_cast<Proc>(GetProcAddress(module, name));
    return cached;
}

} // namespace vm
