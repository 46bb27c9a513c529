#include "errorreport.h"

#include "seam.h"

namespace vm {

namespace {
// Lines are separated by carriage returns alone, as the message box shows them.
std::string errorReportText(std::int32_t number, const std::string& source, const std::string& description) {
    return "Error Nr. " + std::to_string(number) + " in " + source + "\r" + description + "\r\r" +
           "Please notify Tarnwick of this error.\r" + "Try to include relevant information and\r" +
           "the actions you were performing.";
}
} // namespace

void procShowError(std::int32_t number, const std::string& source, const std::string& description,
                   const std::string& title) {
    MsgBox(errorReportText(number, source, description), vbExclamation, title);
}

void procShowError(const VbError& error) {
    procShowError(error.number(), error.source(), error.description());
}

} // namespace vm
