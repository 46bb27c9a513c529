#pragma once
// The program's way to Quenplex.dll: each call binds its export by name from
// the DLL beside the program on first use. When the DLL or the export is
// missing the call does nothing and returns the library's code for a missing
// module (-50); freeimage then has nothing to free.
#include <string>

#include "quenplex.h"

namespace quenplexbind {

std::int32_t allocimage(vm::QuenplexImage& image, std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel);
std::int32_t convertrgbtopal(std::int32_t colours, vm::QuenplexImage& source, vm::QuenplexImage& target);
std::int32_t savejpg(const std::string& fileName, vm::QuenplexImage& image, std::int32_t quality);
std::int32_t savegif(const std::string& fileName, vm::QuenplexImage& image);
std::int32_t savegifex(const std::string& fileName, vm::QuenplexImage& image, std::int32_t mode,
                       std::int32_t transparentIndex);
std::int32_t freeimage(vm::QuenplexImage& image);

} // namespace quenplexbind
