#pragma once
// Cursors: the current cursor of each of the 14 cursor roles and the cursors
// of a saved cursor scheme, as entries and as result items.
#include <array>
#include <cstdint>
#include <string>

#include "hiddenlist.h"
#include "pageloaders.h"

namespace vm {

// One cursor role: its value under HKEY_CURRENT_USER "Control Panel\Cursors",
// the system cursor shown when it has no file, its item text among the current
// cursors, its place in a scheme value (from 1) and its item text in a scheme.
struct CursorTableRow {
    const char* valueName;
    std::int32_t ocrId;
    const char* currentName;
    int position;
    const char* schemeName;
};

// The roles in the order the current cursors are listed.
const std::array<CursorTableRow, 14>& CursorTable();

// The role at a scheme position, or null outside 1 to 14.
const CursorTableRow* CursorRoleAt(int position);

// Appends the entries of one current cursor: "default" for a role without a
// file, one entry for a static cursor, one per step for an animated one (as
// many as its header gives and its frames back; one when it cannot be read).
void procGetCurrentCursor(HiddenList& cmbResult, std::int32_t ocrId, const std::string& roleName);

// The same for the file at one position of a scheme; the file text is kept as given.
void procGetCurrentThemeCursor(HiddenList& cmbResult, const std::string& file, const std::string& schemeName,
                               std::int16_t position);

// Page loaders of "sycu" and "sytu": the role's name (" #<step>" after it for
// an animation), "Windows Default" or "File" as origin, and the cursor.
void procGetCursorItem(PageLoadContext& ctx, const std::string& entry);
void procGetThemeCursorItem(PageLoadContext& ctx, const std::string& entry);

} // namespace vm
