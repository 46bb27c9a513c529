#include "frmzoom.h"

#include <string>

namespace vm {

FrmZoom& frmZoom() { return defaultInstance<FrmZoom>(); }

FrmZoom::FrmZoom() : Form("frmZoom") {
    design.caption = "Zoom";
    design.borderStyle = vbFixedToolWindow;
    design.width = 3000;
    design.height = 3000;
}

void FrmZoom::Form_Load() {
    Commands.ZoomWindowOpen = true;
    SetCaption("Zoom " + std::to_string(Commands.ZoomFactor) + ":1");
}

void FrmZoom::Form_Unload(int&) { Commands.ZoomWindowOpen = false; }

void procZoomAt(std::int16_t factor) {
    Commands.ZoomFactor = factor;
    if (Commands.ZoomWindowOpen) frmZoom().Unload();
    frmZoom().Show(vbModeless);
}

} // namespace vm
