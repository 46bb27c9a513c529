#include "dialogtest.h"

#include "registry.h"
#include "seam.h"
#include "state.h"

using namespace vm;

namespace vmtest {

void DialogTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    Seam::get().reset();
    Seam::get().setScripted(true);
    paths.DataPath = dir.path() + "\\";
}

void DialogTest::TearDown() {
    Form::scriptedModal = nullptr;
    Seam::get().reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
}

int DialogTest::messageCount() const {
    int n = 0;
    for (const SeamRequest& r : Seam::get().requests()) n += r.kind == "MsgBox";
    return n;
}

std::string DialogTest::lastMessage() const {
    for (auto it = Seam::get().requests().rbegin(); it != Seam::get().requests().rend(); ++it)
        if (it->kind == "MsgBox") return it->prompt;
    return "";
}

std::string regText(HKEY root, const std::string& key, const std::string& name) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "<missing>";
    char data[1024] = {};
    DWORD size = sizeof data, type = 0;
    LONG r = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(h);
    if (r != ERROR_SUCCESS) return "<missing>";
    if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(data));
    return data;
}

std::string setting(const std::string& name) { return regText(HKEY_CURRENT_USER, kSettingsKey, name); }

void putSetting(const std::string& name, const std::string& value) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, name, Variant(value), REG_SZ);
}

void putDword(const std::string& key, const std::string& name, DWORD value) {
    procRegCreateKey(key, HKEY_CURRENT_USER);
    procRegSetValue(key, name, Variant(static_cast<std::int32_t>(value)), REG_DWORD);
}

std::string allSettings() {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &h) != ERROR_SUCCESS) return "";
    std::string all;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD size = sizeof name;
        if (RegEnumValueA(h, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        all += std::string(all.empty() ? "" : "|") + name + "=" + setting(name);
    }
    RegCloseKey(h);
    return all;
}

} // namespace vmtest
