#include "zandrelbind.h"

#include <windows.h>

#include "besideprogram.h"

#include <string>

namespace vm::zandrel {

namespace {

struct Exports {
    int32_t (*initialise)() = nullptr;
    int32_t (*archiveName)(const char*) = nullptr;
    int32_t (*decrypt)(const char*) = nullptr;
    int32_t (*include)(const char*) = nullptr;
    int32_t (*extractTo)(const char*) = nullptr;
    int32_t (*overwrite)(int32_t) = nullptr;
    int32_t (*view)(int32_t) = nullptr;
    int32_t (*setWindowHandle)(HWND) = nullptr;
    int32_t (*run)() = nullptr;
    bool complete = false;
};

template <class Fn>
bool bind(HMODULE dll, Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(GetProcAddress(dll, name));
    return fn != nullptr;
}

// The DLL stays loaded for the rest of the run.
Exports load() {
    Exports e;
    HMODULE dll = LoadLibraryA(BesideProgram("Zandrel32.dll").c_str());
    if (!dll) return e;
    e.complete = bind(dll, e.initialise, "addUNZIP_Initialise") & bind(dll, e.archiveName, "addUNZIP_ArchiveName") &
                 bind(dll, e.decrypt, "addUNZIP_Decrypt") & bind(dll, e.include, "addUNZIP_Include") &
                 bind(dll, e.extractTo, "addUNZIP_ExtractTo") & bind(dll, e.overwrite, "addUNZIP_Overwrite") &
                 bind(dll, e.view, "addUNZIP_View") & bind(dll, e.setWindowHandle, "addUNZIP_SetWindowHandle") &
                 bind(dll, e.run, "addUNZIP");
    return e;
}

template <class Fn, class... Args>
int32_t call(Fn Exports::*fn, Args... args) {
    static const Exports exports = load();
    return exports.complete ? (exports.*fn)(args...) : ZANDREL_ERR_NOLIBRARY;
}

} // namespace

int32_t addUNZIP_Initialise() { return call(&Exports::initialise); }
int32_t addUNZIP_ArchiveName(const char* archivePath) { return call(&Exports::archiveName, archivePath); }
int32_t addUNZIP_Decrypt(const char* password) { return call(&Exports::decrypt, password); }
int32_t addUNZIP_Include(const char* memberName) { return call(&Exports::include, memberName); }
int32_t addUNZIP_ExtractTo(const char* folder) { return call(&Exports::extractTo, folder); }
int32_t addUNZIP_Overwrite(int32_t mode) { return call(&Exports::overwrite, mode); }
int32_t addUNZIP_View(int32_t view) { return call(&Exports::view, view); }
int32_t addUNZIP_SetWindowHandle(HWND window) { return call(&Exports::setWindowHandle, window); }
int32_t addUNZIP() { return call(&Exports::run); }

} // namespace vm::zandrel
