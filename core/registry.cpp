#include "registry.h"
#include "utf8text.h"

#include <vector>

namespace vm {

RegistryState reg;

namespace {

// A stored text may carry its terminating NUL or not, or even several; the value is the text
// before the first one. It is read wide: the size the ANSI call reports can be too small for
// the text in UTF-8, which takes up to three bytes where the registry keeps two.
bool readText(HKEY key, const std::string& name, DWORD& type, std::string& text) {
    const std::wstring wideName = WideText(name);
    DWORD bytes = 0;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
    std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = bytes;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
        ERROR_SUCCESS)
        return false;
    buffer.resize(got / sizeof(wchar_t));
    text = Utf8Text(std::wstring_view(buffer).substr(0, buffer.find(L'\0')));
    return true;
}

std::string expand(const std::string& text) {
    DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::vector<char> buffer(needed + 1);
    DWORD n = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n > buffer.size()) return {};
    return std::string(buffer.data());
}

void closeRegKey() {
    if (reg.RegKey) RegCloseKey(reg.RegKey);
    reg.RegKey = nullptr;
}

} // namespace

LONG procRegQueryValueEx(HKEY key, const std::string& name, Variant& result) {
    result = Variant();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return 0;
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        if (size == 0) return 0;
        std::string text;
        if (!readText(key, name, type, text) || (type != REG_SZ && type != REG_EXPAND_SZ)) return 0;
        result = type == REG_EXPAND_SZ ? expand(text) : text;
        return 0;
    }
    case REG_DWORD: {
        DWORD number = 0, got = sizeof(number);
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number), &got) ==
                ERROR_SUCCESS &&
            type == REG_DWORD && got == sizeof(number))
            result = static_cast<std::int32_t>(number);
        return 0;
    }
    default:
        return 0;
    }
}

LONG procRegSetValueEx(HKEY key, const std::string& name, DWORD type, const Variant& value) {
    // Without an open key there is nothing to write into; a null handle must
    // not reach the system, where it could stand for another key.
    if (!key) return ERROR_INVALID_HANDLE;
    if (type == REG_SZ) {
        std::string text = value.toText();
        // Stored with its terminating NUL, as other programs reading the value expect.
        return RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
    }
    if (type == REG_DWORD) {
        auto number = value.toLong();
        if (!number) return ERROR_INVALID_PARAMETER;
        DWORD data = static_cast<DWORD>(*number);
        return RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    }
    return 0;
}

void procRegGetValue(HKEY root, const std::string& key, const std::string& name) {
    closeRegKey();
    // Read access only: a value the user may read but not change is still there.
    HKEY opened = nullptr;
    reg.RegResult = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened);
    if (reg.RegResult != ERROR_SUCCESS) {
        reg.RegValue = Variant();
        reg.RegResult = 0;
        return;
    }
    reg.RegKey = opened;
    reg.RegResult = procRegQueryValueEx(reg.RegKey, name, reg.RegValue);
    closeRegKey();
}

void procRegCreateKey(const std::string& key, HKEY root) {
    closeRegKey();
    HKEY created = nullptr;
    reg.RegResult = RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                    &created, nullptr);
    if (reg.RegResult == ERROR_SUCCESS) reg.RegKey = created;
}

void procRegSetValue(const std::string& /*key*/, const std::string& name, const Variant& value, DWORD type) {
    reg.RegResult = procRegSetValueEx(reg.RegKey, name, type, value);
    closeRegKey();
}

void procRegDeleteKey(HKEY root, const std::string& key) {
    reg.RegResult = RegDeleteKeyA(root, key.c_str());
}

} // namespace vm
