#include "fileiconextract.h"

#include <shellapi.h>

#include <climits>
#include <strings.h>

#include "iconsource.h"

namespace vm {
namespace {

bool isCursorFile(const std::string& file) {
    return file.size() >= 4 && strcasecmp(file.c_str() + file.size() - 4, ".cur") == 0;
}

HICON loadCursorFile(const std::string& file, int size) {
    return static_cast<HICON>(LoadImageA(nullptr, file.c_str(), IMAGE_CURSOR, size, size, LR_LOADFROMFILE));
}

} // namespace

int procFileIconCount(const std::string& file) {
    if (!IconSourceIsSound(file)) return 0;
    const UINT n = ExtractIconExA(file.c_str(), -1, nullptr, nullptr, 0);
    if (n > 0 && n != UINT_MAX) return static_cast<int>(n);
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
    // Only the size asked for: making the other one as well costs as much again.
    HICON wanted = nullptr;
    const UINT found = size == 16 ? ExtractIconExA(file.c_str(), index, nullptr, &wanted, 1)
                                  : ExtractIconExA(file.c_str(), index, &wanted, nullptr, 1);
    if (found > 0 && found != UINT_MAX && wanted) return wanted;
    if (index == 0 && isCursorFile(file)) return loadCursorFile(file, size);
    return nullptr;
}

} // namespace vm
