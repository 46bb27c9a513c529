#pragma once
// Registry values and keys that Windows or the user own are kept before the
// program first changes them, so that a restore puts back exactly what was
// there: each value with its type and data, or that it was missing, and each
// key the program had to create.
#include <windows.h>

#include <string>
#include <vector>

namespace vm {

// One value as it stands: missing, or its type and bytes.
struct RawValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
RawValue ReadRawValue(HKEY root, const std::string& key, const std::string& name);
// Writes value (creating the key) or, for a missing one, deletes the value.
bool WriteRawValue(HKEY root, const std::string& key, const std::string& name, const RawValue& value);
bool KeyExists(HKEY root, const std::string& key);

// The changes of one concern (one file type ...) under root, recorded in
// HKEY_CURRENT_USER backupKey: one sub-key a record, "0", "1" ..., holding
// "Key", "Name" and "Kind" and, for a value that was there, "Data" with the
// value's own type.
class RegistryBackup {
public:
    RegistryBackup(HKEY root, std::string backupKey);

    // Each records what it changes first, once: a later change of the same
    // value keeps the record of the first.
    bool setText(const std::string& key, const std::string& name, const std::string& text);
    bool setNumber(const std::string& key, const std::string& name, DWORD number);

    // True when something is recorded (a change not yet restored).
    bool holdsChanges() const;
    // Puts every value back as recorded, removes the values and keys that were
    // missing, then the record itself.
    void restore();

private:
    void keep(const std::string& key, const std::string& name);
    HKEY root_;
    std::string backupKey_;
};

} // namespace vm
