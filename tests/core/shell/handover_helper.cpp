// A second start in miniature: "<wait ms> <command line>" runs the same
// single-instance code as the program. Exit code: 3 when it found itself the
// first instance, otherwise the HandOver value.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "instance.h"

int main() {
    using namespace vm::shell;
    std::string args = commandArguments(GetCommandLineA());
    size_t blank = args.find(' ');
    DWORD waitMs = static_cast<DWORD>(std::atoi(args.substr(0, blank).c_str()));
    std::string rest = blank == std::string::npos ? std::string() : args.substr(blank + 1);
    if (procIsFirstInstance(kMutexName)) return 3;
    return static_cast<int>(procHandOver(rest, waitMs));
}
