#include "registrybackup.h"

#include <algorithm>
#include <cstdlib>

#include "seam.h"
#include "writekill.h"

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

// A key named exactly: not empty, no blank part, no part of it a separator alone.
bool exactName(const std::string& key) {
    if (key.empty() || key.front() == '\\' || key.back() == '\\') return false;
    return key.find("\\\\") == std::string::npos;
}

struct Slots {
    std::vector<Record> trusted;
    std::vector<std::string> untrusted; // the key each names, or the slot when it names none
    int count = 0;                      // every slot, read or not: a new record goes after them
};

std::vector<int> slotNumbers(const std::string& backupKey) {
    std::vector<int> numbers;
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, backupKey.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return numbers;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(h, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        char* end = nullptr;
        const long n = std::strtol(name, &end, 10);
        if (*name && !*end && n >= 0 && n < 100000) numbers.push_back(static_cast<int>(n));
    }
    RegCloseKey(h);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

Slots readRecords(const std::string& backupKey) {
    Slots slots;
    for (int i : slotNumbers(backupKey)) {
        slots.count = i + 1;
        const std::string slot = backupKey + "\\" + std::to_string(i);
        Record r;
        const RawValue key = ReadRawValue(HKEY_CURRENT_USER, slot, "Key");
        const RawValue name = ReadRawValue(HKEY_CURRENT_USER, slot, "Name");
        const RawValue kind = ReadRawValue(HKEY_CURRENT_USER, slot, "Kind");
        r.key = textOf(key);
        r.name = textOf(name);
        r.before = ReadRawValue(HKEY_CURRENT_USER, slot, "Data");
        bool whole = key.type == REG_SZ && exactName(r.key) && kind.type == REG_DWORD &&
                     kind.data.size() == sizeof(DWORD);
        if (whole) {
            std::copy_n(kind.data.begin(), sizeof(DWORD), reinterpret_cast<BYTE*>(&r.kind));
            whole = r.kind == kKeyMissing || (name.type == REG_SZ && (r.kind == kValueMissing ||
                                                                      (r.kind == kValuePresent && r.before.present)));
        }
        if (whole)
            slots.trusted.push_back(std::move(r));
        else
            slots.untrusted.push_back(r.key.empty() ? "HKEY_CURRENT_USER\\" + slot : r.key);
    }
    return slots;
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

// True when the key holds neither values nor sub-keys.
bool emptyKey(HKEY root, const std::string& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD subKeys = 1, values = 1;
    const bool read = RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                                       nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(h);
    return read && subKeys == 0 && values == 0;
}

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
        if (result == ERROR_SUCCESS) AfterOwnedWrite();
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(h, name.c_str(), 0, value.type, value.data.data(),
                                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(h);
    AfterOwnedWrite();
    return result == ERROR_SUCCESS;
}

std::string ExpandedText(const RawValue& value) {
    const std::string text = textOf(value);
    if (value.type != REG_EXPAND_SZ) return text;
    std::string expanded(ExpandEnvironmentStringsA(text.c_str(), nullptr, 0), '\0');
    expanded.resize(ExpandEnvironmentStringsA(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size())));
    while (!expanded.empty() && expanded.back() == '\0') expanded.pop_back();
    return expanded;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

std::string RootName(HKEY root) {
    if (root == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (root == HKEY_USERS) return "HKEY_USERS";
    return {};
}

RegistryBackup::RegistryBackup(HKEY root, std::string backupKey, std::vector<std::string> ownKeys)
    : root_(root), backupKey_(std::move(backupKey)), ownKeys_(std::move(ownKeys)) {}

bool RegistryBackup::holdsChanges() const { return !slotNumbers(backupKey_).empty(); }

// A key the restore may remove: named exactly, and below the first level
// unless it is one of the program's own.
bool RegistryBackup::deletable(const std::string& key) const {
    if (!exactName(key)) return false;
    if (key.find('\\') != std::string::npos) return true;
    return std::any_of(ownKeys_.begin(), ownKeys_.end(), [&](const std::string& own) { return sameKey(own, key); });
}

void RegistryBackup::keep(const std::string& key, const std::string& name) {
    Slots slots = readRecords(backupKey_);
    std::vector<Record>& records = slots.trusted;
    auto recorded = [&](const std::string& k, const std::string* n) {
        return std::any_of(records.begin(), records.end(), [&](const Record& r) {
            return sameKey(r.key, k) && (n ? r.kind != kKeyMissing && sameKey(r.name, *n) : r.kind == kKeyMissing);
        });
    };
    auto add = [&](Record r) {
        addRecord(backupKey_, slots.count++, r);
        records.push_back(std::move(r));
    };
    // Every key of the path that is missing now is one the change creates.
    for (std::size_t at = 0; at != std::string::npos;) {
        at = key.find('\\', at + 1);
        const std::string part = key.substr(0, at);
        if (!KeyExists(root_, part) && !recorded(part, nullptr)) add({part, {}, kKeyMissing, {}});
    }
    if (recorded(key, &name)) return;
    const RawValue before = ReadRawValue(root_, key, name);
    add({key, name, before.present ? kValuePresent : kValueMissing, before});
}

bool RegistryBackup::set(const std::string& key, const std::string& name, const RawValue& value) {
    if (!exactName(key)) return false;
    keep(key, name);
    return WriteRawValue(root_, key, name, value);
}

bool RegistryBackup::setText(const std::string& key, const std::string& name, const std::string& text) {
    return set(key, name, textValue(text));
}

bool RegistryBackup::setNumber(const std::string& key, const std::string& name, DWORD number) {
    return set(key, name, numberValue(number));
}

std::optional<RawValue> RegistryBackup::kept(const std::string& key, const std::string& name) const {
    for (const Record& r : readRecords(backupKey_).trusted)
        if (r.kind != kKeyMissing && sameKey(r.key, key) && sameKey(r.name, name))
            return r.kind == kValuePresent ? r.before : RawValue{};
    return std::nullopt;
}

bool RegistryBackup::restore() {
    Slots slots = readRecords(backupKey_);
    std::vector<Record>& records = slots.trusted;
    bool restored = true;
    for (const Record& r : records)
        if (r.kind != kKeyMissing)
            restored = WriteRawValue(root_, r.key, r.name, r.kind == kValuePresent ? r.before : RawValue{}) && restored;
    // A record kept until every value is back, for the next try.
    if (!restored) return false;
    // The deepest created key first, so each goes empty of the program's keys;
    // one that holds something else now is the user's and stays.
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.key.size() > b.key.size(); });
    for (const Record& r : records) {
        if (r.kind != kKeyMissing) continue;
        if (!deletable(r.key)) {
            slots.untrusted.push_back(r.key);
        } else if (emptyKey(root_, r.key) && RegDeleteKeyA(root_, r.key.c_str()) == ERROR_SUCCESS) {
            AfterOwnedWrite();
        }
    }
    if (!slots.untrusted.empty()) {
        std::string names;
        for (const std::string& key : slots.untrusted)
            names += "\n" + (key.rfind("HKEY_", 0) == 0 ? key : RootName(root_) + "\\" + key);
        MsgBox("The backup of these registry keys is incomplete or names them inexactly, so they were left as they "
               "are:" + names,
               vbExclamation);
    }
    // Each record goes once it was acted on or reported, so none is reported twice.
    if (RegDeleteTreeA(HKEY_CURRENT_USER, backupKey_.c_str()) == ERROR_SUCCESS) AfterOwnedWrite();
    return true;
}

} // namespace vm
