#pragma once
// The rules of the create-icon window that need no window: its size and
// colour-depth lists, which entry a stored setting selects, the default file
// name of an opened picture, the extension of a saved file and the hotspot of
// a created cursor. No <windows.h>, so they run anywhere.
#include <optional>
#include <string>
#include <vector>

namespace vm::importrules {

struct ListEntry {
    std::string text;
    int itemData = 0;
};

// "16 x 16 pixels" ... "72 x 72 pixels"; the default is index 1 (24 x 24).
std::vector<ListEntry> sizeEntries();
inline constexpr int kDefaultSizeIndex = 1;
// The colour depths offered on a system; Windows 2000 ("2000") has no 16 and
// 32 bit entries. The default is index 3 of the list as built.
std::vector<ListEntry> colorDepthEntries(const std::string& osCode);
inline constexpr int kDefaultColorDepthIndex = 3;

// The entry a stored value selects: the first whose ItemData equals it, or the
// default when the value is missing or matches no entry.
int indexForStored(const std::vector<ListEntry>& entries, std::optional<int> stored, int defaultIndex);

// The base name of a picture file: the text after the last "\" up to its
// first "." (flower.big.bmp gives flower).
std::string defaultIconName(const std::string& path);

// The folder part of a path up to and including its last "\" ("" without one).
std::string folderOf(const std::string& path);

// name with ext (".ico", ".cur") appended unless its last four characters
// already are ext, compared without regard to case.
std::string withExtension(const std::string& name, const std::string& ext);

// The hotspot picker shows the icon at the data set's icon size (basis
// pixels); its point is scaled to a cursor of size pixels and kept inside it.
struct HotSpot {
    int x = 0, y = 0;
};
HotSpot scaleHotSpot(int x, int y, int basis, int size);

} // namespace vm::importrules
