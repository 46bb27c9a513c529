// 16-bit modules as the program uses them: the resource table and icon
// groups, then the icon file the lister, the icon model and the resource
// lister take them from, and the image the loader gate picks of each group
// for each size. A sound module reads as an icon file, its groups lie in the
// places the resource lister names them, and every image picked is one the
// gate hands to the system.
#include <cstddef>
#include <cstdint>
#include <string>

#include "icolayout.h"
#include "neiconfile.h"
#include "neresources.h"

namespace ne = vm::ne;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ne::Bytes bytes(data, size);
    const bool sound = ne::moduleIsSound(bytes);
    const auto icons = vm::NeIconFileOf(std::string(reinterpret_cast<const char*>(data), size));
    if (sound && !icons) __builtin_trap();
    if (!sound || !icons) return 0;
    std::size_t listed = 0;
    for (const auto& type : icons->types)
        if (!type.id.named && type.id.number == 14) {
            listed = type.resources.size();
            break;
        }
    if (listed != icons->groups.size()) __builtin_trap();
    for (const auto& group : icons->groups) {
        if (group.images.empty()) __builtin_trap();
        for (int side : {16, 32, 48}) {
            const ne::Bytes image = icons->image(ne::bestImage(icons->file(), group, side));
            if (!vm::ico::imageIsSound(image)) __builtin_trap();
        }
    }
    return 0;
}
