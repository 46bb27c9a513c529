#pragma once
#include <cstdint>
#include <string>

#include "browserhost.h"
#include "browserstate.h"

namespace vm {

// Appends the file-based entry file;index;label;codeKind (codeKind = TypeCode and
// "open" or "azip"; an "azip" caller passes "<extracted file>;<archive>" as file),
// shows the count every 25 entries and yields once.
void procAddResult(EntryLists& lists, const BrowserHost& host, const std::string& file, std::int16_t index,
                   const std::string& label, const std::string& codeKind);

// Appends an entry with its ItemData.
void AppendEntry(HiddenList& cmbResult, const std::string& entry, std::int32_t itemData);

// Appends an entry with its ItemData and shows the count when it reaches a
// multiple of 25; shared by the library searches.
void AppendCounted(HiddenList& cmbResult, const BrowserHost& host, const std::string& entry, std::int32_t itemData);

} // namespace vm
