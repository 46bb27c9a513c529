#include "viewsettings.h"

#include <windows.h>

#include <string>

#include "mainsettings.h"
#include "registry.h"

namespace vm::mainwindow {

namespace {
Variant setting(const std::string& name) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    return reg.RegValue;
}
void write(const std::string& name, std::int32_t value) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, name, Variant(std::to_string(value)), REG_SZ);
}
} // namespace

ViewSettings readViewSettings(int iconSize, int columnCount) {
    const std::string n = std::to_string(iconSize);
    ViewSettings v;
    if (auto perPage = storedInteger(setting("IconsPerPage" + n)); perPage && *perPage >= 1) v.iconsPerPage = *perPage;
    // A missing view type means the large icons.
    Variant viewType = setting("ViewType" + n);
    v.viewType = viewType.isEmpty() ? std::optional<std::int32_t>(0) : storedLong(viewType);
    for (int i = 1; i <= columnCount; ++i)
        v.colWidths.push_back(storedLong(setting("Colwidth" + std::to_string(i) + "-" + n)));
    v.backColor = storedLong(setting("BackColor" + n));
    v.useMask = storedBool(setting("UseMask" + n)).value_or(false);
    v.maskColor = storedLong(setting("MaskColor" + n));
    return v;
}

void writeViewSettings(int iconSize, const ViewSave& save) {
    const std::string n = std::to_string(iconSize);
    write("ViewType" + n, save.viewType);
    write("BackColor" + n, save.backColor);
    write("IconsPerPage" + n, save.iconsPerPage);
    for (size_t i = 0; i < save.colWidths.size(); ++i)
        write("Colwidth" + std::to_string(i + 1) + "-" + n, save.colWidths[i]);
}

} // namespace vm::mainwindow
