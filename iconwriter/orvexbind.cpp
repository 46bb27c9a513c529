#include "orvexbind.h"

#include <string>

namespace orvexbind {

namespace {

HMODULE library() {
    static HMODULE module = nullptr;
    if (!module) {
        char path[MAX_PATH];
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        std::string dll(path, length);
        dll = dll.substr(0, dll.find_last_of('\\') + 1) + "Orvex32.dll";
        module = LoadLibraryA(dll.c_str());
    }
    return module;
}

// The export's address once it has been found; until then every call looks again.
template <typename Proc> Proc bind(Proc& cached, const char* name) {
    if (!cached) {
        if (HMODULE module = library()) cached = reinterpret_cast<Proc>(GetProcAddress(module, name));
    }
    return cached;
}

} // namespace

int32_t SaveAsIcon(HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount, const char* fileName) {
    static SaveAsIconProc proc = nullptr;
    return bind(proc, "SaveAsIcon") ? proc(hdcImage, hdcMask, width, height, bitCount, fileName) : 0;
}

int32_t SaveAsCursor(HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount, int32_t hotspotX,
                     int32_t hotspotY, const char* fileName) {
    static SaveAsCursorProc proc = nullptr;
    return bind(proc, "SaveAsCursor") ? proc(hdcImage, hdcMask, width, height, bitCount, hotspotX, hotspotY, fileName)
                                      : 0;
}

int32_t SaveAsANI(SAFEARRAY** frameFiles, SAFEARRAY** rates, const char* fileName, const int32_t* flag) {
    static SaveAsANIProc proc = nullptr;
    return bind(proc, "SaveAsANI") ? proc(frameFiles, rates, fileName, flag) : 0;
}

} // namespace orvexbind
