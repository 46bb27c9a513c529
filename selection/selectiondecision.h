#pragma once
// What a change of the selected result item decides, as plain values: which
// item commands are on, the double-click action, the reference dialog's type
// preset, the bit depth of an icon to be written and the path text that fits
// the message panel. Nothing here touches a window, so every rule is checked
// on its own; selection.h applies the decision to the real controls.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vm::selection {

// What the decision depends on.
struct SelectionFacts {
    std::string typeText;  // sub-item 1 of the selected item
    std::string origin;    // sub-item 2
    std::string dcAction = "None";
    bool dcPlay = false, dcRef = false, dcRun = false, dcChange = false;
    int iconSize = 32;
    std::int32_t pageCount = 1;
    bool browserAvailable = true;
    bool detailPaneActive = false;
    // File > Properties is disabled: the first selection since the result view was cleared.
    bool firstSelection = false;
};

// A value that is either set or left as it was (nullopt).
using Keep = std::optional<bool>;

struct CommandDecision {
    std::string currentAction;
    // Only at the first selection after a clear.
    bool pageLedOff = false;     // PagePanel shows "redledoff"
    bool enableCommon = false;   // properties, copy, save as, edit with, zoom
    Keep goToPage;               // mnuGoToPage, mnuGoBar
    Keep changeFolder;           // mnuToolsChangeFolder, "changefolder"
    // ZIP member or shortcut.
    bool extract = false;        // mnuFileExtract enabled, mnuResultClickExtract shown
    bool run = false;            // mnuFileRun enabled, mnuResultClickRun shown
    std::string runCaption;      // of mnuFileRun and mnuResultClickRun
    std::string typePictureKey;  // "" keeps the type panel's picture
    bool play = false;
    bool addReference = false;
    std::array<bool, 9> optionEnabled{};  // frmAdd.optType(0..8)
    int optionSelected = -1;              // -1: no option's value is changed
    bool deleteReference = false;
    bool change = false;
    bool div16 = false;
    Keep div22;                  // shown when no reference item is; never hidden
    bool div14 = false;
    bool addFavoriteVisible = false; // mnuResultClickAddFav
    Keep addFavoriteEnabled;         // mnuFavoriteAdd, "favadd"
    bool deleteFavorite = false;     // mnuFavoriteDel, "favdel" enabled; mnuResultClickDelFav shown
};

CommandDecision decideCommands(const SelectionFacts& facts);

// The reference dialog's preset for a type text: the options enabled and the
// one selected (-1 for none).
void referencePreset(const std::string& typeText, std::array<bool, 9>& enabled, int& selected);

// Bits per pixel of an icon written for a type text / for an image's colour
// count; the high-colour depth is 16 on the systems that show no more.
std::int16_t saveBitDepthForTypeText(const std::string& typeText, const std::string& osCode);
std::int16_t saveBitDepthForColourCount(std::int32_t colours, const std::string& osCode);

// The path text for the message panel: the whole path when it fits beside
// the margin text, else the start of the folder, "...\" and the file name;
// nullopt when not even that can be made (the panel then keeps its text).
// textWidth measures in the window's font.
template <class Measure>
std::optional<std::string> fitPath(int panelWidth, const std::string& path, const std::string& folder,
                                   const std::string& name, const std::string& margin, Measure textWidth);

// Whole-text comparison without regard to case.
bool sameText(const std::string& a, const std::string& b);

// --- implementation of the template ---

// Rounds halves to the even number, as the display code always has.
long roundHalfEven(double value);

template <class Measure>
std::optional<std::string> fitPath(int panelWidth, const std::string& path, const std::string& folder,
                                   const std::string& name, const std::string& margin, Measure textWidth) {
    if (panelWidth - textWidth(margin) > textWidth(path)) return path;
    const int folderWidth = textWidth(folder);
    if (folder.empty() || folderWidth <= 0) return std::nullopt;
    const double average = static_cast<double>(folderWidth) / static_cast<double>(folder.size());
    const long keep = roundHalfEven(panelWidth / average - static_cast<double>(name.size() + 4 + 1));
    if (keep < 0) return std::nullopt;
    return folder.substr(0, static_cast<size_t>(keep)) + "...\\" + name;
}

} // namespace vm::selection
