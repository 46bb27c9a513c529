#include "errorreport.h"

#include <new>

#include "eventerror.h"
#include "seam.h"

namespace vm {

namespace {
// Lines are separated by carriage returns alone, as the message box shows them.
std::string errorReportText(std::int32_t number, const std::string& source, const std::string& description) {
    return "Error Nr. " + std::to_string(number) + " in " + source + "\r" + description + "\r\r" +
           "Please notify Tarnwick of this error.\r" + "Try to include relevant information and\r" +
           "the actions you were performing.";
}

// What a handler throws ends at the event boundary in this report: an
// error of the classes as raised, running out of memory as the run-time error
// "Out of memory", anything else as an internal error with its own text.
void reportEventError(const std::exception& error) {
    if (const auto* vb = dynamic_cast<const VbError*>(&error)) procShowError(*vb);
    else if (dynamic_cast<const std::bad_alloc*>(&error)) procShowError(7, kErrorSource, "Out of memory");
    else procShowError(51, kErrorSource, error.what());
}

const bool g_eventReportSet = (SetEventErrorReport(reportEventError), true);

} // namespace

void procShowError(std::int32_t number, const std::string& source, const std::string& description,
                   const std::string& title) {
    MsgBox(errorReportText(number, source, description), vbExclamation, title);
}

void procShowError(const VbError& error) {
    procShowError(error.number(), error.source(), error.description());
}

} // namespace vm
