#include "eventerror.h"

namespace vm {
namespace {
EventErrorReport g_report = nullptr;
bool g_reporting = false;
} // namespace

void SetEventErrorReport(EventErrorReport report) { g_report = report; }

void ReportEventError(const std::exception& error) noexcept {
    // The report is a modal message box whose own messages may raise again;
    // a second error while one is shown is dropped rather than stacked.
    if (!g_report || g_reporting) return;
    g_reporting = true;
    try {
        g_report(error);
    } catch (...) {
    }
    g_reporting = false;
}

} // namespace vm
