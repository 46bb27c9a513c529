#include "selectiondecision.h"

#include <cmath>

#include "typetext.h"
#include "utf8text.h"

namespace vm::selection {

bool sameText(const std::string& a, const std::string& b) { return SameText(a, b); }

namespace {

bool oneOf(const std::string& text, std::initializer_list<const char*> group) {
    for (const char* member : group)
        if (sameText(text, member)) return true;
    return false;
}

} // namespace

void referencePreset(const std::string& t, std::array<bool, 9>& enabled, int& selected) {
    enabled.fill(false);
    selected = -1;
    auto only = [&](std::initializer_list<int> options, int chosen) {
        for (int o : options) enabled[static_cast<size_t>(o)] = true;
        selected = chosen;
    };
    if (sameText(t, "16 Color Icon")) only({0}, 0);
    else if (sameText(t, "256 Color Icon")) only({1}, 1);
    else if (sameText(t, "High Color Icon")) only({2}, 2);
    else if (IsAnimationText(t)) only({3, 4, 5}, 5);
    else if (sameText(t, "16 Color Cursor")) only({6}, 6);
    else if (sameText(t, "256 Color Cursor")) only({7}, 7);
    else if (oneOf(t, {"High Color Cursor", "Current Cursor", "Theme Cursor"})) only({8}, 8);
    else if (sameText(t, "Icon Library")) only({0, 1, 2, 6, 7, 8}, 2);
    else if (sameText(t, "File Type Icon")) only({0, 1, 2}, 2);
}

CommandDecision decideCommands(const SelectionFacts& f) {
    CommandDecision d;
    // Later rules overwrite earlier ones: run, play, reference, change.
    d.currentAction = f.dcAction;

    if (f.firstSelection) {
        d.pageLedOff = true;
        d.enableCommon = true;
        d.goToPage = f.pageCount > 1;
        if (f.browserAvailable && f.iconSize == 32) d.changeFolder = true;
    }

    const bool zip = sameText(f.origin, "ZIP File");
    const bool shortcut = sameText(f.typeText, "Shortcut Icon");
    d.extract = zip;
    d.run = zip || shortcut;
    d.runCaption = zip ? "Open ZIP &Archive..." : "&Run Shortcut...";
    d.typePictureKey = TypePictureKeyOf(f.typeText);
    if (shortcut && f.dcRun) d.currentAction = "Run";

    d.play = IsAnimationText(f.typeText);
    if (d.play && f.dcPlay) d.currentAction = "Play";

    d.addReference = StartsWithText(f.origin, "File") && !f.detailPaneActive;
    if (d.addReference) {
        if (f.dcRef) d.currentAction = "Ref";
        referencePreset(f.typeText, d.optionEnabled, d.optionSelected);
    }

    d.deleteReference = sameText(f.origin, "Reference");

    d.change = IsChangeTargetText(f.typeText);
    if (d.change && f.dcChange) d.currentAction = "Change";

    d.div16 = d.addReference || d.deleteReference;
    if (!d.div16) d.div22 = true;

    if (f.iconSize == 32) {
        d.div14 = true;
        d.addFavoriteVisible = true;
        d.addFavoriteEnabled = true;
        d.deleteFavorite = sameText(f.origin, "File Favorite");
    }
    return d;
}

std::int16_t saveBitDepthForTypeText(const std::string& t, const std::string& osCode) {
    if (oneOf(t, {"16 Color Icon", "16 Color Animation", "16 Color Cursor"})) return 4;
    if (oneOf(t, {"256 Color Icon", "256 Color Animation", "256 Color Cursor"})) return 8;
    return oneOf(osCode, {"95", "NT3"}) ? 16 : 24;
}

std::int16_t saveBitDepthForColourCount(std::int32_t colours, const std::string& osCode) {
    if (colours == 16) return 4;
    if (colours == 256) return 8;
    return oneOf(osCode, {"95", "NT3"}) ? 16 : 24;
}

long roundHalfEven(double value) { return std::lrint(value); }

} // namespace vm::selection
