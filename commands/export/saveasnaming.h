#pragma once
// The naming rules of Save As: which file types the dialog offers, the
// extension each choice forces, and the checks of a favourite's name. No
// windows are involved, so the rules are tested on their own.
#include <string>

namespace vm::exportnaming {

enum class FilterSet { Icon, Cursor, Animation };

struct DialogChoice {
    FilterSet set = FilterSet::Icon;
    int FilterIndex = 1;
    std::string DefaultExt = "ico";
};

// The set, index and default extension the dialog opens with: in the 32 x 32
// data set the animation set for animations (by the type panel's text), else
// the cursor set (index 2 for cursors, by the item's type text); otherwise,
// and for a detail image, the icon set.
DialogChoice dialogChoiceFor(int iconSize, bool detailPane, const std::string& typePanelText,
                             const std::string& itemTypeText);

// The dialog's Filter text of a set.
const char* filterText(FilterSet set);

// The extension a FilterIndex forces (with its dot), "" for an index outside
// the set; separateIcons for the animation set's "Seperate icons" choice.
struct ForcedExtension {
    std::string extension;
    bool separateIcons = false;
};
ForcedExtension forcedExtension(FilterSet set, int filterIndex);

// The name with the extension appended unless it already ends in it (any case).
std::string withExtension(const std::string& fileName, const std::string& extension);

// The suggested name: the item's text up to its first ".".
std::string suggestedName(const std::string& itemText);

// The name without the characters no file name can hold (\ / : * ? " < > |).
// The save dialog is never offered one of them: it would take the name for a
// filter (a file-type item's "(*.chm)") and save nothing.
std::string withoutForbiddenCharacters(const std::string& name);

// Whether a favourite's name holds one of ? ” / \ < > * | : ; (the right
// double quotation mark in the ANSI code page or in UTF-8, not the straight quote).
bool hasIllegalFavoriteCharacter(const std::string& name);

// The text that names the illegal characters, with the right double quotation mark.
std::string illegalCharactersMessage();

// The extension of a dropped favourite by the item's type text: ".ani" for
// the library's animations, ".cur" for cursors, ".ico" for everything else.
std::string favoriteExtension(const std::string& itemTypeText);

// The folder of a favourites node: the favourites folder and the node's key
// from its 7th character ("favori" names the favourites folder itself);
// without a trailing "\". A key that is not a favourites key gives the
// favourites folder.
std::string favoritesTargetFolder(const std::string& favoritesFolder, const std::string& nodeKey);

// The folder a dialog starts in for a stored "last file" setting: the
// setting itself when it names a folder, otherwise the part before its last
// "\" (the setting holds the full path of the last file written).
std::string startFolderOf(const std::string& storedPath, bool isFolder);

// The writer a final name selects, by its last three characters.
enum class Writer { None, Bmp, Ico, Cur, Ani, Jpg, Gif };
Writer writerFor(const std::string& fileName);

} // namespace vm::exportnaming
