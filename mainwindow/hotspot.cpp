#include "hotspot.h"

#include "commandstate.h"
#include "frmmessage.h"
#include "frmzoom.h"
#include "registry.h"

namespace vm {

void procSetHotSpot() {
    Commands.HotSpotMode = true;
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "NoCursorChange");
    const std::string silenced = reg.RegValue.isEmpty() ? std::string() : reg.RegValue.toText();
    if (silenced.empty() || silenced == "0") {
        shell::procShowMessage("Due to the compressed Icon storage format of Vellumar, a cursor's Hotspot is lost. "
                               "Please set the Cursor's Hotpot again. I.e the Hotspot of a mouse pointer would be "
                               "the arrow top.",
                               "NoCursorChange", "Change Cursors", "Define Hotspot Now");
    }
    // A zoom window open as a viewer cannot be shown modally; it comes back as the picker.
    if (Commands.ZoomWindowOpen) frmZoom().Unload();
    frmZoom().Show(vbModal);
    Commands.HotSpotMode = false;
}

} // namespace vm
