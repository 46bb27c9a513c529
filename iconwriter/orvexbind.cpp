#include "orvexbind.h"

#include "besideprogram.h"

#include <string>

namespace orvexbind {

namespace {

HMODULE library() {
    static HMODULE module = nullptr;
    return vm::LoadBesideProgram(module, "Orvex32.dll");
}

template <typename Proc> Proc bind(Proc& cached, const char* name) {
    return vm::BindExport(library(), cached, name);
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
