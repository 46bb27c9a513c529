#include "fileiconextract.h"

#include <shellapi.h>

#include <climits>
#include <strings.h>

#include "iconsource.h"
#include "neiconfile.h"

namespace vm {
namespace {

bool isCursorFile(const std::string& file) {
    return file.size() >= 4 && strcasecmp(file.c_str() + file.size() - 4, ".cur") == 0;
}

HICON loadCursorFile(const std::string& file, int size) {
    return static_cast<HICON>(LoadImageA(nullptr, file.c_str(), IMAGE_CURSOR, size, size, LR_LOADFROMFILE));
}

// Icon number index of a 16-bit module, made from the image of its group that
// suits size best; the system scales it to that size.
HICON neModuleIcon(const NeIconFile& icons, int index, int size) {
    if (index < 0 || static_cast<std::size_t>(index) >= icons.groups.size()) return nullptr;
    const ne::GroupImage& best = ne::bestImage(icons.file(), icons.groups[static_cast<std::size_t>(index)], size);
    const ne::Bytes image = icons.image(best);
    return CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()), TRUE,
                                    0x00030000, size, size, LR_DEFAULTCOLOR);
}

} // namespace

int procFileIconCount(const std::string& file) {
    if (!IconSourceIsSound(file)) return 0;
    const UINT n = ExtractIconExA(file.c_str(), -1, nullptr, nullptr, 0);
    if (n > 0 && n != UINT_MAX) return static_cast<int>(n);
    // NT-family Windows reads no 16-bit module; the program's own reader counts its groups.
    if (const auto icons = ReadNeIconFile(file)) return static_cast<int>(icons->groups.size());
    if (isCursorFile(file)) {
        HICON cursor = loadCursorFile(file, 0);
        if (cursor) {
            DestroyCursor(cursor);
            return 1;
        }
    }
    return 0;
}

HICON procExtractFileIcon(const std::string& file, int index, int size) {
    if (!IconSourceIsSound(file)) return nullptr;
    if (const auto icons = ReadNeIconFile(file)) return neModuleIcon(*icons, index, size);
    // Only the size asked for: making the other one as well costs as much again.
    HICON wanted = nullptr;
    const UINT found = size == 16 ? ExtractIconExA(file.c_str(), index, nullptr, &wanted, 1)
                                  : ExtractIconExA(file.c_str(), index, &wanted, nullptr, 1);
    if (found > 0 && found != UINT_MAX && wanted) return wanted;
    if (index == 0 && isCursorFile(file)) return loadCursorFile(file, size);
    return nullptr;
}

} // namespace vm
