#include "helpfile.h"

#include <string>

#include "files.h"
#include "seam.h"
#include "state.h"

namespace vm {

namespace {
constexpr UINT kShowDefaultTopic = 0x0000; // HH_DISPLAY_TOPIC: the help's start page
constexpr UINT kShowContext = 0x000F;      // HH_HELP_CONTEXT: the page mapped to a context number
} // namespace

HelpContext InfoTabHelpContext(int tab) { return static_cast<HelpContext>(tab - 1); }

void procShowHelp(HWND owner, HelpContext context) {
    const std::string file = paths.DataPath + "Vellumar.chm";
    // The help compiler maps no page to context 0, so the start page is asked
    // for as the help's default topic.
    const bool shown = context == HelpContext::Start
                           ? seamHtmlHelp(owner, file, kShowDefaultTopic, 0)
                           : seamHtmlHelp(owner, file, kShowContext, static_cast<DWORD_PTR>(context));
    if (shown) return;
    MsgBox(std::string("The help cannot be shown: ") +
               (procFileExists(file) ? "this system lacks HTML Help, or the HTML engine that draws its pages."
                                     : "the help file is missing.") +
               "\r\r" + file,
           vbExclamation, "Help");
}

} // namespace vm
