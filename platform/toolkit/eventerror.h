#pragma once
// The event boundary: an error a handler throws ends where the toolkit
// dispatched the event or timer, is shown by the report set here (the core
// sets the standard error report), and the program goes on with its next
// message instead of ending.
#include <exception>

namespace vm {

using EventErrorReport = void (*)(const std::exception& error);

// Sets the report; nullptr leaves errors unreported (they still stop there).
void SetEventErrorReport(EventErrorReport report);

// Shows the error through the report.
void ReportEventError(const std::exception& error) noexcept;

} // namespace vm
