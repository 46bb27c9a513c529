#include "mainsettings.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "registry.h"

namespace vm::mainwindow {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A decimal number as the ordinary conversion takes it ("2.5", " 7 ").
std::optional<double> storedNumber(const Variant& value) {
    if (auto n = value.toLong()) return *n;
    if (!value.isText()) return std::nullopt;
    std::string text = value.toText();
    const char* begin = text.c_str();
    char* end = nullptr;
    double d = std::strtod(begin, &end);
    if (end == begin) return std::nullopt;
    while (*end == ' ') ++end;
    if (*end != '\0') return std::nullopt;
    return d;
}

Variant settingValue(const char* key, const std::string& name) {
    procRegGetValue(HKEY_CURRENT_USER, key, name);
    Variant value = reg.RegValue;
    if (value.isText() && value.toText().empty()) return {};
    return value;
}
Variant setting(const std::string& name) { return settingValue(kSettingsKey, name); }
Variant pos(const std::string& name) { return settingValue(kPosKey, name); }

void writeText(const char* key, const std::string& name, const std::string& text) {
    procRegCreateKey(key, HKEY_CURRENT_USER);
    procRegSetValue(key, name, Variant(text), REG_SZ);
}
void writeDword(const std::string& name, std::int32_t value) {
    procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
    procRegSetValue(kPosKey, name, Variant(value), REG_DWORD);
}

} // namespace

std::optional<bool> storedBool(const Variant& value) {
    if (value.isText()) {
        std::string text = lower(value.toText());
        while (!text.empty() && text.back() == ' ') text.pop_back();
        if (text == "true") return true;
        if (text == "false") return false;
    }
    if (auto n = storedNumber(value)) return *n != 0;
    return std::nullopt;
}

std::optional<bool> storedAbsBool(const Variant& value) {
    if (auto n = storedNumber(value)) return *n != 0;
    return std::nullopt;
}

std::optional<std::int32_t> storedLong(const Variant& value) {
    auto n = storedNumber(value);
    if (!n || *n < -2147483648.0 || *n > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(*n < 0 ? *n - 0.5 : *n + 0.5);
}

std::optional<std::int16_t> storedInteger(const Variant& value) {
    auto n = storedLong(value);
    if (!n || *n < -32768 || *n > 32767) return std::nullopt;
    return static_cast<std::int16_t>(*n);
}

MainSettings readMainSettings() {
    MainSettings s;
    if (auto mode = storedInteger(setting("IconDatamode")); mode && (*mode == 0 || *mode == 1)) s.iconDataMode = *mode;
    s.favDir = setting("FavDir").toText();
    s.searchFav = storedAbsBool(setting("SearchFav")).value_or(false);
    if (Variant action = setting("DCAction"); !action.isEmpty()) s.dcAction = action.toText();
    // DCZoom holds the factor itself; anything else (a list position) keeps the default.
    if (auto zoom = storedInteger(setting("DCZoom")); zoom && (*zoom == 2 || *zoom == 3 || *zoom == 4 || *zoom == 5 ||
                                                               *zoom == 10))
        s.dcZoom = *zoom;
    s.dcPlay = storedAbsBool(setting("DCPlay")).value_or(false);
    s.dcRef = storedAbsBool(setting("DCRef")).value_or(false);
    s.dcRun = storedAbsBool(setting("DCRun")).value_or(false);
    s.dcChange = storedAbsBool(setting("DCChange")).value_or(false);

    s.place.top = storedLong(pos("MainTop"));
    s.place.left = storedLong(pos("MainLeft"));
    s.place.width = storedLong(pos("MainWidth"));
    s.place.height = storedLong(pos("MainHeight"));
    if (auto state = storedLong(pos("MainState")); state && (*state == 0 || *state == 2)) s.place.state = *state;

    // Any text other than "True" hides the labels; only a missing value shows them.
    if (Variant labels = setting("TextLabel"); !labels.isEmpty()) s.textLabels = labels.toText() == "True";
    s.statusBar = storedBool(setting("Statusbar")).value_or(true);

    // A band's width is restored only when the band after it shares its row.
    Band* b = s.bands;
    b[0].visible = storedBool(setting("Toolbar")).value_or(true);
    b[1].visible = storedBool(setting("YourToolbar")).value_or(true);
    if (b[1].visible) {
        b[1].newRow = storedBool(setting("YourPos")).value_or(true);
        if (!b[1].newRow) b[0].width = storedLong(setting("StandardToolbarWidth")).value_or(0);
    }
    b[2].newRow = storedBool(setting("IconSizePos")).value_or(true);
    if (!b[2].newRow) b[1].width = storedLong(setting("YourToolbarWidth")).value_or(0);
    b[3].newRow = storedBool(setting("KeywordBarPos")).value_or(true);
    if (!b[3].newRow) b[2].width = storedLong(setting("IconSizeWidth")).value_or(0);

    s.vSplitter = storedInteger(pos("VSplitter"));
    s.viewFormat = storedBool(setting("ViewFormat")).value_or(true);
    s.hSplitter = storedInteger(pos("HSplitter"));
    s.hotTracking = storedBool(setting("HotTracking")).value_or(false);
    s.light = storedAbsBool(setting("VellumarLight")).value_or(false);
    return s;
}

void writeMainSettings(const MainSave& s) {
    const Band* b = s.bands;
    auto text = [](const std::string& name, const std::string& value) { writeText(kSettingsKey, name, value); };
    text("IconDatamode", std::to_string(s.iconDataMode));
    text("TextLabel", boolText(s.textLabels));
    text("Statusbar", boolText(s.statusBar));
    text("Toolbar", boolText(b[0].visible));
    text("YourToolbar", boolText(b[1].visible));
    if (b[1].visible) {
        text("YourPos", boolText(b[1].newRow));
        if (!b[1].newRow) text("StandardToolbarWidth", std::to_string(b[0].width));
    }
    text("IconSizePos", boolText(b[2].newRow));
    if (!b[2].newRow) text("YourToolbarWidth", std::to_string(b[1].width));
    text("KeywordBarPos", boolText(b[3].newRow));
    if (!b[3].newRow) text("IconSizeWidth", std::to_string(b[2].width));
    text("HotTracking", boolText(s.hotTracking));
    text("SingleSel", boolText(s.singleSel));
    writeText(kPosKey, "VSplitter", std::to_string(s.vSplitter));
    if (s.hSplitter) writeText(kPosKey, "HSplitter", std::to_string(*s.hSplitter));
    if (!s.minimised) {
        writeDword("MainState", s.maximised ? 2 : 0);
        if (!s.maximised) {
            writeDword("MainTop", s.top);
            writeDword("MainLeft", s.left);
            writeDword("MainWidth", s.width);
            writeDword("MainHeight", s.height);
        }
    }
    if (s.key) {
        writeDword("KeyTop", s.key->top);
        writeDword("KeyLeft", s.key->left);
    }
    if (s.add) {
        writeDword("AddTop", s.add->top);
        writeDword("AddLeft", s.add->left);
    }
}

} // namespace vm::mainwindow
