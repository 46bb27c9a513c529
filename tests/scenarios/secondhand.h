#pragma once
// The fixture's guard against windows no hand answers: such a window is
// closed after a while, so that the scenario fails instead of hanging.
#include <windows.h>

#include <string>
#include <vector>

namespace vmscenario {

void watchForUnansweredWindows();
// Stops the guard; the captions of the windows it had to close.
std::vector<std::string> stopWatchingWindows();

} // namespace vmscenario
