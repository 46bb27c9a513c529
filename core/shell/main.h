#pragma once
// The program's entry: a first instance shows the splash and lives in its
// windows; a later start hands its command line over and ends.
#include <string>

namespace vm::shell {

// How long a later start looks for the first instance's main window, which
// may still be starting behind its splash.
inline constexpr unsigned kHandOverWaitMs = 10000;

// True when this process is the first instance and its windows are up (the
// caller then runs the message loop); false when it handed over and should end.
bool Main(const std::string& commandLine);

} // namespace vm::shell
