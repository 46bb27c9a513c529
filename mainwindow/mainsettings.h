#pragma once
// The main window's stored settings as plain records: read with every default
// applied, written in the order and under the conditions the program end uses.
// A stored value that does not convert counts as missing.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "variant.h"

namespace vm::mainwindow {

// Conversions of a stored value; nothing when it is missing or does not convert.
std::optional<bool> storedBool(const Variant& value);          // "True"/"False" or a number
std::optional<bool> storedAbsBool(const Variant& value);       // a number; 0 is False
std::optional<std::int32_t> storedLong(const Variant& value);
std::optional<std::int16_t> storedInteger(const Variant& value); // must fit 16 bits

// One band of the cool bar: 1 standard toolbar, 2 "Your Icons", 3 data set, 4 keyword.
struct Band {
    bool visible = true;
    bool newRow = true;
    std::int32_t width = 0; // twips; 0 leaves the band its natural width
};

struct WindowPlace {
    std::optional<std::int32_t> top, left, width, height; // twips; missing keeps the designed value
    std::int32_t state = 0;                                // 0 normal, 2 maximised
};

// Everything the start-up reads of the program's settings (the per-data-set
// view is separate, see viewsettings.h).
struct MainSettings {
    int iconDataMode = 1; // list index of the data-set box: 0 = 16 x 16, 1 = 32 x 32
    std::string favDir;   // "" when missing
    bool searchFav = false;
    std::string dcAction = "None";
    std::int16_t dcZoom = 4;
    bool dcPlay = false, dcRef = false, dcRun = false, dcChange = false;
    WindowPlace place;
    bool textLabels = true;
    bool statusBar = true;
    Band bands[4];
    std::optional<std::int32_t> vSplitter;
    bool viewFormat = true;
    std::optional<std::int32_t> hSplitter;
    bool hotTracking = false;
    bool light = false; // the "no library" notice is silenced
};

MainSettings readMainSettings();

// What the program end writes of the main window; fields that are missing
// (window minimised, pane hidden) are not written and keep their stored values.
struct MainSave {
    int iconDataMode = 1;
    bool textLabels = true;
    bool statusBar = true;
    Band bands[4];
    bool hotTracking = false;
    bool singleSel = false;
    std::int32_t vSplitter = 0;
    std::optional<std::int32_t> hSplitter;  // only while the detail pane is shown
    bool minimised = false;
    bool maximised = false;
    std::int32_t top = 0, left = 0, width = 0, height = 0;
    // The keyword editor's and the add-reference dialog's places; missing
    // while the window is minimised (or not loaded).
    struct Corner {
        std::int32_t top = 0, left = 0;
    };
    std::optional<Corner> key, add;
};

void writeMainSettings(const MainSave& save);

// The text of a Boolean as the program stores it.
inline const char* boolText(bool value) { return value ? "True" : "False"; }

} // namespace vm::mainwindow
