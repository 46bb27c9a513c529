#pragma once
// The view of the result list per data set (icon size 16 or 32): view style,
// column widths, back colour, page size and mask colour. Every stored value
// converts on its own; one that does not convert counts as missing.
#include <cstdint>
#include <optional>
#include <vector>

namespace vm::mainwindow {

struct ViewSettings {
    std::optional<std::int32_t> viewType;               // 0, 2 or 3 applied; anything else leaves the view
    std::vector<std::optional<std::int32_t>> colWidths; // per column; missing leaves the width
    std::optional<std::int32_t> backColor;              // OLE_COLOR
    std::int16_t iconsPerPage = 150;
    bool useMask = false;
    std::optional<std::int32_t> maskColor;              // missing: the result list's back colour
};

ViewSettings readViewSettings(int iconSize, int columnCount);

struct ViewSave {
    std::int32_t viewType = 0;
    std::int32_t backColor = 0;
    std::int32_t iconsPerPage = 150;
    std::vector<std::int32_t> colWidths;
};
void writeViewSettings(int iconSize, const ViewSave& save);

} // namespace vm::mainwindow
