#pragma once
// The zoom window as far as the main window needs it today: loading and
// unloading keep ZoomWindowOpen; the enlarged drawing comes with the viewer.
#include "commandstate.h"
#include "form.h"

namespace vm {

class FrmZoom : public Form {
public:
    FrmZoom();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
};

FrmZoom& frmZoom();

// Tools > Zoom n:1 and the toolbar's zoom items: the factor, then a fresh window.
void procZoomAt(std::int16_t factor);

} // namespace vm
