#include "importrules.h"

#include <algorithm>
#include <cctype>

namespace vm::importrules {

std::vector<ListEntry> sizeEntries() {
    std::vector<ListEntry> entries;
    for (int size : {16, 24, 32, 48, 72})
        entries.push_back({std::to_string(size) + " x " + std::to_string(size) + " pixels", size});
    return entries;
}

std::vector<ListEntry> colorDepthEntries(const std::string& osCode) {
    const bool w2000 = osCode == "2000";
    std::vector<ListEntry> entries{{"2 Colors (1 bit)", 1}, {"16 Colors (4 bit)", 4}, {"256 Colors (8 bit)", 8}};
    if (!w2000) entries.push_back({"High Color (16 bit)", 16});
    entries.push_back({"True Color (24 bit)", 24});
    if (!w2000) entries.push_back({"True Color (32 bit)", 32});
    return entries;
}

int indexForStored(const std::vector<ListEntry>& entries, std::optional<int> stored, int defaultIndex) {
    if (stored) {
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].itemData == *stored) return static_cast<int>(i);
    }
    return defaultIndex;
}

std::string defaultIconName(const std::string& path) {
    const size_t slash = path.rfind('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string withExtension(const std::string& name, const std::string& ext) {
    if (name.size() >= ext.size()) {
        std::string tail = name.substr(name.size() - ext.size());
        std::transform(tail.begin(), tail.end(), tail.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (tail == ext) return name;
    }
    return name + ext;
}

HotSpot scaleHotSpot(int x, int y, int basis, int size) {
    auto scale = [basis, size](int v) {
        const int scaled = basis > 0 ? (v * size + basis / 2) / basis : v;
        return std::clamp(scaled, 0, size > 0 ? size - 1 : 0);
    };
    return {scale(x), scale(y)};
}

} // namespace vm::importrules
