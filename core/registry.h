#pragma once
// The registry procedures every part of the program goes through. They share
// one key handle and one result variable, which fixes how they are called:
//   read:   procRegGetValue(root, key, name), then test reg.RegValue at once
//           (Empty or "" means missing: the caller applies its default);
//   write:  procRegCreateKey(key, root) immediately followed by
//           procRegSetValue(key, name, value, type) - one pair per value, as
//           the set writes into reg.RegKey and closes it;
//   delete: procRegDeleteKey(root, key).
// None of them shows or raises anything; reg.RegResult tells what went wrong.
//
// Program settings live under HKEY_CURRENT_USER: kSettingsKey holds texts
// (Booleans as "True"/"False" or "0"/"1", numbers as decimal text, a few
// REG_DWORD numbers; per-data-set names end in the icon size), kPosKey holds
// window positions and sizes as REG_DWORD twips plus the splitter positions
// "VSplitter" and "HSplitter" as decimal text.
#include <windows.h>

#include <string>

#include "variant.h"

namespace vm {

inline constexpr const char* kSettingsKey = "Software\\Vellumar\\Settings";
inline constexpr const char* kPosKey = "Software\\Vellumar\\Pos";

struct RegistryState {
    HKEY RegKey = nullptr;  // open only between a create and its set; null otherwise
    LONG RegResult = 0;     // result of the last registry call; 0 after every read
    Variant RegValue;       // last value read: text (REG_SZ, REG_EXPAND_SZ expanded),
                            // number (REG_DWORD), Empty when missing or unreadable
};
extern RegistryState reg;

void procRegGetValue(HKEY root, const std::string& key, const std::string& name);
void procRegCreateKey(const std::string& key, HKEY root);
// key is not used: the value goes into the key the preceding create opened.
// type: REG_SZ (1) or REG_DWORD (4); any other type writes nothing.
void procRegSetValue(const std::string& key, const std::string& name, const Variant& value, DWORD type);
void procRegDeleteKey(HKEY root, const std::string& key);

// One value by its stored type into result; always returns 0.
LONG procRegQueryValueEx(HKEY key, const std::string& name, Variant& result);
// One value by type; 0 and nothing written for a type other than 1 or 4.
LONG procRegSetValueEx(HKEY key, const std::string& name, DWORD type, const Variant& value);

} // namespace vm
