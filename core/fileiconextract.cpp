#include "fileiconextract.h"

#include <strings.h>

#include "loadergate.h"

namespace vm {
namespace {

bool isCursorFile(const std::string& file) {
    return file.size() >= 4 && strcasecmp(file.c_str() + file.size() - 4, ".cur") == 0;
}

HICON loadCursorFile(const std::string& file, int size) {
    return static_cast<HICON>(gate::LoadImageFile(file, IMAGE_CURSOR, size, size, 0));
}

} // namespace

int procFileIconCount(const std::string& file) {
    const UINT n = gate::ExtractIcons(file, -1, nullptr, nullptr, 0);
    if (n > 0) return static_cast<int>(n);
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
    // Only the size asked for: making the other one as well costs as much again.
    HICON wanted = nullptr;
    const UINT found = size == 16 ? gate::ExtractIcons(file, index, nullptr, &wanted, 1)
                                  : gate::ExtractIcons(file, index, &wanted, nullptr, 1);
    if (found > 0 && wanted) return wanted;
    if (index == 0 && isCursorFile(file)) return loadCursorFile(file, size);
    return nullptr;
}

} // namespace vm
