#include "formplace.h"

#include "registry.h"
#include "twips.h"

namespace vm {

namespace {
int storedEdge(const std::string& name) {
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, name);
    return reg.RegValue.toLong().value_or(0);
}
} // namespace

void procPlaceForm(Form& form, const std::string& name) {
    int top = storedEdge(name + "Top");
    int left = storedEdge(name + "Left");
    if (top == 0) top = (pixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)) - form.Height()) / 2;
    if (left == 0) left = (pixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)) - form.Width()) / 2;
    form.Move(left, top);
}

void procSaveFormPlace(Form& form, const std::string& name) {
    if (!form.IsLoaded() || form.WindowState() == vbMinimized) return;
    procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
    procRegSetValue(kPosKey, name + "Top", Variant(static_cast<std::int32_t>(form.Top())), REG_DWORD);
    procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
    procRegSetValue(kPosKey, name + "Left", Variant(static_cast<std::int32_t>(form.Left())), REG_DWORD);
}

} // namespace vm
