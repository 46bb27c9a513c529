#include "temporaryname.h"

#include <windows.h>

#include "utf8text.h"

namespace vm {

std::string NewTemporaryFileIn(const std::string& folder, const char* prefix) {
    wchar_t name[MAX_PATH];
    if (!GetTempFileNameW(WideText(folder).c_str(), WideText(prefix).c_str(), 0, name)) return {};
    return Utf8Text(name);
}

} // namespace vm
