// Member names as paths. A name comes from the archive and is never trusted:
// only a plain relative path that Windows keeps exactly as written is ever
// listed or written.
#pragma once
#include <string>
#include <string_view>

namespace zandrel {

// Why a member is left out of a listing: the first fault of its name's steps,
// or a name an earlier member has already taken.
enum class NameFault {
    None,
    NoName,             // empty, or a step that is empty, "." or ".."
    DeviceName,         // CON, NUL, COM1.ico ...: Windows opens the device instead
    ForbiddenCharacter, // a control character or one of < > : " | ? *
    DotOrBlankAtEnd,    // Windows would drop it, and the name with it
    Repeated,           // the path of an earlier member, case ignored
};

// The fault of a name as a relative path (Repeated is the listing's to tell).
NameFault nameFault(const std::string& memberName);

// The word a listing line carries for a fault, and the fault of such a word
// (None for any other text).
const char* nameFaultWord(NameFault fault);
NameFault nameFaultOfWord(std::string_view word);

// The member name as a relative Windows path with "\" between folders, or ""
// when it has a fault: so a listed name never splits a listing line (":" and
// "|" are refused) and never names a device.
std::string safeRelativePath(const std::string& memberName);

// The path with "\\" between folders, whichever separator the archive used.
std::string backslashed(const std::string& path);
// The part after the last separator (the whole path when there is none).
std::string fileNamePart(const std::string& path);

} // namespace zandrel
