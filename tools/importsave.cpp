// Save As of the create-icon window, and the colour-depth preview that runs
// through it.
#include <functional>

#include "browserstate.h"
#include "commandstate.h"
#include "frmimport.h"
#include "picturefile.h"
#include "iconcanvas.h"
#include "importrules.h"
#include "orvexbind.h"
#include "safereplace.h"
#include "state.h"
#include "toolshost.h"
#include "widefile.h"

namespace vm {

namespace {

// procMask takes the create-icon window's picture only while this lives.
class ImportMaskScope {
public:
    explicit ImportMaskScope(std::function<Picture()> picture) {
        Masks.importPicture = std::move(picture);
        Masks.MaskFromImport = true;
    }
    ~ImportMaskScope() { Masks.MaskFromImport = false; }
    ImportMaskScope(const ImportMaskScope&) = delete;
    ImportMaskScope& operator=(const ImportMaskScope&) = delete;
};

// The hotspot of a created cursor, in pixels of the cursor itself.
importrules::HotSpot pickHotSpot(int size) {
    Commands.CursorHotSpotX = Commands.CursorHotSpotY = 16;
    if (toolsHost.setHotSpot) toolsHost.setHotSpot();
    return importrules::scaleHotSpot(Commands.CursorHotSpotX, Commands.CursorHotSpotY, Keywords.IconSize, size);
}

bool confirmReplace(const std::string& fileName) {
    if (wide::Attributes(fileName) == INVALID_FILE_ATTRIBUTES) return true;
    return MsgBox(fileName + " already exists.\rDo you want to replace it?", vbYesNo | vbExclamation, "Save As") ==
           vbYes;
}

} // namespace

void FrmImport::mnuFileSaveAs_Click() {
    dlgIcon.Filter = "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur";
    dlgIcon.DefaultExt = "ico";
    dlgIcon.Flags = 0x200C06;
    dlgIcon.FileName = picIcon.Tag;
    dlgIcon.FilterIndex = 1;
    DoEvents();
    if (!PreviewMode && !dlgIcon.ShowSave()) return;

    // From here to the end procMask and the hotspot picker show this window's icon.
    ImportMaskScope scope([this] { return picIcon.GetPicture(); });
    IconCanvas canvas = toolsHost.canvas ? toolsHost.canvas() : IconCanvas{};
    Screen::SetMousePointer(vbHourglass);
    procMask(canvas, IconWidth, IconHeight);
    procMaskForDepth(canvas, ColorDepth);
    Screen::SetMousePointer(vbDefault);
    HDC color = canvas.pctColor ? canvas.pctColor->hDC() : nullptr;
    HDC mask = canvas.pctMask ? canvas.pctMask->hDC() : nullptr;

    if (PreviewMode) {
        // The icon as the chosen depth renders it; nothing is said when that fails.
        const std::string scratch = paths.TempPath + "temp.ico";
        if (color && mask && orvexbind::SaveAsIcon(color, mask, IconWidth, IconHeight, ColorDepth, scratch.c_str())) {
            try {
                picIcon.SetPicture(LoadPicture(scratch));
            } catch (const VbError&) {
                // The full-colour icon stays.
            }
        }
        wide::Delete(scratch);
        return;
    }

    std::string fileName = dlgIcon.FileName;
    std::function<bool(const std::string&)> write;
    if (dlgIcon.FilterIndex == 1) {
        const std::string named = importrules::withExtension(fileName, ".ico");
        // The dialog asked about the name it returned, not about one with an extension added.
        if (named != fileName && !confirmReplace(named)) return;
        fileName = named;
        write = [&](const std::string& temp) {
            return orvexbind::SaveAsIcon(color, mask, IconWidth, IconHeight, ColorDepth, temp.c_str()) != 0;
        };
    } else if (dlgIcon.FilterIndex == 2) {
        const std::string named = importrules::withExtension(fileName, ".cur");
        if (named != fileName && !confirmReplace(named)) return;
        fileName = named;
        const importrules::HotSpot hot = pickHotSpot(IconWidth);
        write = [&, hot](const std::string& temp) {
            return orvexbind::SaveAsCursor(color, mask, IconWidth, IconHeight, ColorDepth, hot.x, hot.y,
                                           temp.c_str()) != 0;
        };
    } else {
        return;
    }
    const WriteResult written =
        color && mask ? writeThroughTemporary(fileName, write) : WriteResult{false, "there is no icon to write"};
    if (!written) MsgBox(writeFailureText(fileName, written), vbExclamation, "Error");
}

} // namespace vm
