#include "programicon.h"

namespace vm {

HICON LoadProgramIcon(int width, int height) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

} // namespace vm
