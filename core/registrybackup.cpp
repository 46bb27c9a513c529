#include "registrybackup.h"

#include <algorithm>

namespace vm {

namespace {

enum Kind : DWORD { kKeyMissing = 0, kValueMissing = 1, kValuePresent = 2 };

struct Record {
    std::string key, name;
    DWORD kind = kKeyMissing;
    RawValue before;
};

std::string textOf(const RawValue& value) {
    if (!value.present) return {};
    std::string text(value.data.begin(), value.data.end());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

RawValue textValue(const std::string& text) {
    RawValue v{true, REG_SZ, std::vector<BYTE>(text.begin(), text.end())};
    v.data.push_back(0);
    return v;
}

RawValue numberValue(DWORD number) {
    RawValue v{true, REG_DWORD, std::vector<BYTE>(sizeof number)};
    std::copy_n(reinterpret_cast<const BYTE*>(&number), sizeof number, v.data.begin());
    return v;
}

std::vector<Record> readRecords(const std::string& backupKey) {
    std::vector<Record> records;
    for (int i = 0;; ++i) {
        const std::string slot = backupKey + "\\" + std::to_string(i);
        if (!KeyExists(HKEY_CURRENT_USER, slot)) break;
        Record r;
        r.key = textOf(ReadRawValue(HKEY_CURRENT_USER, slot, "Key"));
        r.name = textOf(ReadRawValue(HKEY_CURRENT_USER, slot, "Name"));
        const RawValue kind = ReadRawValue(HKEY_CURRENT_USER, slot, "Kind");
        if (kind.type == REG_DWORD && kind.data.size() == sizeof(DWORD))
            std::copy_n(kind.data.begin(), sizeof(DWORD), reinterpret_cast<BYTE*>(&r.kind));
        r.before = ReadRawValue(HKEY_CURRENT_USER, slot, "Data");
        records.push_back(std::move(r));
    }
    return records;
}

void addRecord(const std::string& backupKey, int index, const Record& r) {
    const std::string slot = backupKey + "\\" + std::to_string(index);
    WriteRawValue(HKEY_CURRENT_USER, slot, "Key", textValue(r.key));
    WriteRawValue(HKEY_CURRENT_USER, slot, "Name", textValue(r.name));
    if (r.before.present) WriteRawValue(HKEY_CURRENT_USER, slot, "Data", r.before);
    // The kind goes last: a record without it is not read back as complete.
    WriteRawValue(HKEY_CURRENT_USER, slot, "Kind", numberValue(r.kind));
}

bool sameKey(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

} // namespace

RawValue ReadRawValue(HKEY root, const std::string& key, const std::string& name) {
    RawValue value;
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return value;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(h, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExA(h, name.c_str(), nullptr, &type, value.data.data(), &size) == ERROR_SUCCESS) {
            value.present = true;
            value.type = type;
            value.data.resize(size);
        } else {
            value.data.clear();
        }
    }
    RegCloseKey(h);
    return value;
}

bool WriteRawValue(HKEY root, const std::string& key, const std::string& name, const RawValue& value) {
    HKEY h = nullptr;
    if (!value.present) {
        if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return true;
        const LONG result = RegDeleteValueA(h, name.c_str());
        RegCloseKey(h);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(h, name.c_str(), 0, value.type, value.data.data(),
                                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(h);
    return result == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

RegistryBackup::RegistryBackup(HKEY root, std::string backupKey) : root_(root), backupKey_(std::move(backupKey)) {}

bool RegistryBackup::holdsChanges() const { return KeyExists(HKEY_CURRENT_USER, backupKey_ + "\\0"); }

void RegistryBackup::keep(const std::string& key, const std::string& name) {
    std::vector<Record> records = readRecords(backupKey_);
    auto recorded = [&](const std::string& k, const std::string* n) {
        return std::any_of(records.begin(), records.end(), [&](const Record& r) {
            return sameKey(r.key, k) && (n ? r.kind != kKeyMissing && sameKey(r.name, *n) : r.kind == kKeyMissing);
        });
    };
    // Every key of the path that is missing now is one the change creates.
    for (std::size_t at = 0; at != std::string::npos;) {
        at = key.find('\\', at + 1);
        const std::string part = key.substr(0, at);
        if (!KeyExists(root_, part) && !recorded(part, nullptr)) {
            records.push_back({part, {}, kKeyMissing, {}});
            addRecord(backupKey_, static_cast<int>(records.size()) - 1, records.back());
        }
    }
    if (recorded(key, &name)) return;
    const RawValue before = ReadRawValue(root_, key, name);
    records.push_back({key, name, before.present ? kValuePresent : kValueMissing, before});
    addRecord(backupKey_, static_cast<int>(records.size()) - 1, records.back());
}

bool RegistryBackup::setText(const std::string& key, const std::string& name, const std::string& text) {
    keep(key, name);
    return WriteRawValue(root_, key, name, textValue(text));
}

bool RegistryBackup::setNumber(const std::string& key, const std::string& name, DWORD number) {
    keep(key, name);
    return WriteRawValue(root_, key, name, numberValue(number));
}

void RegistryBackup::restore() {
    std::vector<Record> records = readRecords(backupKey_);
    for (const Record& r : records)
        if (r.kind != kKeyMissing) WriteRawValue(root_, r.key, r.name, r.kind == kValuePresent ? r.before : RawValue{});
    // The deepest created key first, so each goes empty of the program's keys.
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.key.size() > b.key.size(); });
    for (const Record& r : records)
        if (r.kind == kKeyMissing) RegDeleteTreeA(root_, r.key.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, backupKey_.c_str());
}

} // namespace vm
