#include "classerror.h"

#include <windows.h>

#include "vberror.h"
#include "systempaths.h"

namespace vm {

std::string executableName() {
    std::string name = ProgramFile();
    name = name.substr(name.find_last_of("\\/") + 1);
    auto dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

void raiseClassError(int n, const char* className, const std::string& text) {
    throw VbError(kObjectError + n, executableName() + "." + className, text);
}

void raiseSubscriptError(const char* className) {
    throw VbError(9, executableName() + "." + className, "Subscript out of range");
}

void raiseOverflowError(const char* className) {
    throw VbError(6, executableName() + "." + className, "Overflow");
}

} // namespace vm
