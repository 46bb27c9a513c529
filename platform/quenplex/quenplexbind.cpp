#include "quenplexbind.h"

#include "besideprogram.h"

namespace quenplexbind {

namespace {

constexpr std::int32_t kMissingModule = -50;

HMODULE library() {
    static HMODULE module = nullptr;
    return vm::LoadBesideProgram(module, "Quenplex.dll");
}

template <typename Proc> Proc bind(Proc& cached, const char* name) {
    return vm::BindExport(library(), cached, name);
}

} // namespace

std::int32_t allocimage(vm::QuenplexImage& image, std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) {
    static AllocImageProc proc = nullptr;
    return bind(proc, "allocimage") ? proc(&image, width, height, bitsPerPixel) : kMissingModule;
}

std::int32_t convertrgbtopal(std::int32_t colours, vm::QuenplexImage& source, vm::QuenplexImage& target) {
    static ConvertRgbToPalProc proc = nullptr;
    return bind(proc, "convertrgbtopal") ? proc(colours, &source, &target) : kMissingModule;
}

std::int32_t savejpg(const std::string& fileName, vm::QuenplexImage& image, std::int32_t quality) {
    static SaveJpgProc proc = nullptr;
    return bind(proc, "savejpg") ? proc(fileName.c_str(), &image, quality) : kMissingModule;
}

std::int32_t savegif(const std::string& fileName, vm::QuenplexImage& image) {
    static SaveGifProc proc = nullptr;
    return bind(proc, "savegif") ? proc(fileName.c_str(), &image) : kMissingModule;
}

std::int32_t savegifex(const std::string& fileName, vm::QuenplexImage& image, std::int32_t mode,
                       std::int32_t transparentIndex) {
    static SaveGifExProc proc = nullptr;
    return bind(proc, "savegifex") ? proc(fileName.c_str(), &image, mode, transparentIndex) : kMissingModule;
}

std::int32_t freeimage(vm::QuenplexImage& image) {
    static FreeImageProc proc = nullptr;
    return bind(proc, "freeimage") ? proc(&image) : kMissingModule;
}

} // namespace quenplexbind
