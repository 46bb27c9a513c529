#pragma once
// The fixture's guard against windows no hand answers: such a window is
// closed after a while, so that the scenario fails instead of hanging.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vmscenario {

void watchForUnansweredWindows();
// Stops the guard; the captions of the windows it had to close.
std::vector<std::string> stopWatchingWindows();

// The program's thread answers a second hand's question the next time it
// handles its messages, so what the question reads is one moment of the
// program, as a person sees it between two of its yields. Make the runner on
// the program's thread first; the program's thread must go on handling its
// messages until the answer is given.
void readyProgramRunner();
bool askProgram(const std::function<bool()>& question);

} // namespace vmscenario
