#include "temporaryname.h"

#include <windows.h>

#include "utf8text.h"
#include "widefile.h"

namespace vm {

HANDLE OpenNewTemporaryFileIn(const std::string& folder, const char* prefix, std::string& name) {
    // The system's own maker takes no folder longer than MAX_PATH - 14 characters; a name is
    // tried as it would try one, and the file made only where none is, so it is ours alone.
    std::string base = folder;
    if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
    base += std::string(prefix).substr(0, 3);
    static unsigned counter = GetTickCount();
    for (int tries = 0; tries < 0x10000; ++tries) {
        char number[8];
        wsprintfA(number, "%X", (++counter + GetCurrentProcessId()) & 0xFFFF);
        name = base + number + ".tmp";
        HANDLE file = wide::Open(name, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    name.clear();
    return INVALID_HANDLE_VALUE;
}

std::string NewTemporaryFileIn(const std::string& folder, const char* prefix) {
    std::string name;
    HANDLE file = OpenNewTemporaryFileIn(folder, prefix, name);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return name;
}

} // namespace vm
