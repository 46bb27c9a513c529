#include "inputlimits.h"

#include <windows.h>

#include "seam.h"

namespace vm {

namespace {

std::string captionOf(HWND box) {
    HWND top = box ? GetAncestor(box, GA_ROOT) : nullptr;
    const int length = top ? GetWindowTextLengthA(top) : 0;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    if (top) GetWindowTextA(top, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

template <class Box>
void limit(Box& box, int length, const std::string& what) {
    box.SetMaxLength(length);
    box.MaxText = [&box, length, what] {
        MsgBox(InputLimitText(what, length), vbOKOnly | vbExclamation, captionOf(box.hWnd()));
    };
}

} // namespace

std::string InputLimitText(const std::string& what, int length) {
    return what + " can be at most " + std::to_string(length) +
           " characters long.\rThe characters beyond that were not taken.";
}

void LimitInput(TextBox& box, int length, const std::string& what) { limit(box, length, what); }
void LimitInput(ComboBox& box, int length, const std::string& what) { limit(box, length, what); }

} // namespace vm
