#pragma once
// Registry values and keys that Windows or the user own are kept before the
// program first changes them, so that a restore puts back exactly what was
// there: each value with its type and data, or that it was missing, and each
// key the program had to create.
#include <windows.h>

#include <optional>
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
// A text value as the program reads it, its variables expanded for REG_EXPAND_SZ.
std::string ExpandedText(const RawValue& value);

// The changes of one concern (one file type ...) under root, recorded in
// HKEY_CURRENT_USER backupKey: one sub-key a record, "0", "1" ..., holding
// "Key", "Name" and "Kind" and, for a value that was there, "Data" with the
// value's own type. "Kind" is written last and the change only after it, so a
// record without it (the program was stopped while writing it) guards no
// change at all; such a record, or one that names no key exactly, is never
// acted on: the restore says which key it left alone.
class RegistryBackup {
public:
    // ownKeys: the first-level keys of root that are the program's own (its
    // file classes); the restore removes no other first-level key, nor a root.
    RegistryBackup(HKEY root, std::string backupKey, std::vector<std::string> ownKeys = {});

    // Each records what it changes first, once: a later change of the same
    // value keeps the record of the first.
    bool setText(const std::string& key, const std::string& name, const std::string& text);
    bool setNumber(const std::string& key, const std::string& name, DWORD number);

    // Writes value (or, missing, removes it), keeping what was there first.
    bool set(const std::string& key, const std::string& name, const RawValue& value);

    // True when something is recorded (a change not yet restored).
    bool holdsChanges() const;
    // Puts every value back as recorded, removes the values that were missing
    // and the keys the program created once they hold nothing else, then the
    // record itself.
    // False when a value could not be put back.
    bool restore();
    // What the first change of a value replaced, when a change is recorded.
    std::optional<RawValue> kept(const std::string& key, const std::string& name) const;

private:
    void keep(const std::string& key, const std::string& name);
    bool deletable(const std::string& key) const;
    HKEY root_;
    std::string backupKey_;
    std::vector<std::string> ownKeys_;
};

// Full name of a root ("HKEY_CLASSES_ROOT"); "" for another handle.
std::string RootName(HKEY root);

} // namespace vm
