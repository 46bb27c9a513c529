#pragma once
// What the viewers and item commands read of the main window: the controls of
// its ExportWindow (the result list, its image list, the detail grid, the
// common dialog), its navigation image list and Save As. The main window
// fills Viewers when it loads; tests fill it from a hidden form of their own.
#include <cstdint>
#include <functional>
#include <string>

#include "exportwindow.h"

namespace vm {

class Form;
class ImageList;
class Panel;

struct ViewerHost {
    Form* mainForm = nullptr;        // owner of the modal windows and property sheets
    ExportWindow* items = nullptr;   // the selected item and the detail grid
    ImageList* imlNav = nullptr;     // the player's button pictures
    std::function<void()> saveAs;    // File > Save As
    std::function<int()> keywordCount; // ListCount of the keyword box cmbSearch
    std::function<void()> getPage;     // procGetPage of the page filler
    std::function<void()> selectItem;  // procSelectItem
    Panel* CountPanel = nullptr;       // the status bar's "count" panel
    std::int16_t AniFrameIndex = 1;  // the frame the player paints next, from 1
};

extern ViewerHost Viewers;

// A window's stored place under the Pos key ("<name>Top", "<name>Left"); a
// missing or 0 value centres the window on that axis.
void procRestorePosition(Form& form, const std::string& name);
// Stores the place unless the window is minimised.
void procSavePosition(Form& form, const std::string& name);

} // namespace vm
