#include "viewerhost.h"

#include "form.h"
#include "registry.h"
#include "selectiondecision.h"
#include "state.h"

namespace vm {

ViewerHost Viewers;

namespace {

int storedTwips(const std::string& name) {
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, name);
    return static_cast<int>(reg.RegValue.toLong().value_or(0));
}

void writeTwips(const std::string& name, int value) {
    procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
    procRegSetValue(kPosKey, name, Variant(static_cast<std::int32_t>(value)), REG_DWORD);
}

} // namespace

void procRestorePosition(Form& form, const std::string& name) {
    int top = storedTwips(name + "Top");
    int left = storedTwips(name + "Left");
    if (top == 0) top = static_cast<int>(selection::roundHalfEven((Screen::Height() - form.Height()) / 2.0));
    if (left == 0) left = static_cast<int>(selection::roundHalfEven((Screen::Width() - form.Width()) / 2.0));
    form.Move(left, top);
}

void procSavePosition(Form& form, const std::string& name) {
    if (form.WindowState() == vbMinimized) return;
    writeTwips(name + "Top", form.Top());
    writeTwips(name + "Left", form.Left());
}

} // namespace vm
