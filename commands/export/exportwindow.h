#pragma once
// What the export commands (Save As, Copy, Save All Formats) work on. The main
// window points an ExportWindow at its own controls and fills the callbacks
// when it loads; tests point one at a hidden form of their own. A control left
// null is passed over where the command can do without it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "iconcanvas.h"
#include "picture.h"

namespace vm {

class CommonDialog;
class ListView;
class ImageList;
class Panel;
class PictureBox;
class cIconGrid;

// The shared modes and values of the export commands. Callers set a mode
// immediately before the command and clear it after (FavoriteDropMode is
// cleared by Save As itself).
struct ExportModes {
    bool EditWithMode = false;     // write TempPath & "VMTemp.ico" without a dialog
    bool FavoriteDropMode = false; // an item dropped on a favourites node: no dialog
    std::int32_t PictureWidth = 32, PictureHeight = 32; // the picture a JPG or GIF export copies
    // The frames of the animation last collected for a file: frame k (from 0)
    // is picFilm element k + 1; AniFrameCount is their number.
    std::vector<Picture> picFilm;
    std::int16_t AniFrameCount = 0;
};

extern ExportModes Exports;

struct ExportWindow {
    CommonDialog* dlgIcon = nullptr; // required for every command with a dialog
    ListView* pnlResult = nullptr;   // the selected item: name, type text, picture
    ImageList* imlResult32 = nullptr;
    Panel* TypePanel = nullptr;
    cIconGrid* grdIcons = nullptr;   // the selected detail rows
    PictureBox* picOpen = nullptr;   // the drawing surface of BMP, JPG, GIF and Copy
    OffscreenSurface *picSave = nullptr, *pctColor = nullptr, *pctMask = nullptr;
    std::function<std::string()> favoritesNodeKey;   // the selected navigation node's key
    std::function<std::string()> favoritesFolder;    // FavoritesFolder
    std::function<bool()> useMask;                   // UseMask of the data set
    std::function<COLORREF()> maskColor;             // MaskColor of the data set
    std::function<void()> setHotSpot;                // procSetHotSpot: the user picks a cursor's hotspot
    // Collects the frames of the animation of the selected entry into
    // Exports.picFilm and sets AniFrameCount (mnuFilePlay_Click in frame mode).
    std::function<void()> collectFrames;

    IconCanvas canvas() { return {picSave, pctColor, pctMask, pnlResult, imlResult32, TypePanel}; }
};

} // namespace vm
