#include "zipnames.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace zandrel {

namespace {

// Whether the text is one digit as Windows takes it in a port's name: 0 to 9,
// or a superscript one, two or three (names are UTF-8 by the time they are checked).
bool isPortDigit(std::string_view d) {
    if (d.size() == 1) return d[0] >= '0' && d[0] <= '9';
    return d == "\xC2\xB9" || d == "\xC2\xB2" || d == "\xC2\xB3";
}

bool isDeviceName(std::string_view step) {
    static constexpr std::array<std::string_view, 6> plain{"con", "prn", "aux", "nul", "conin$", "conout$"};
    std::string base(step.substr(0, step.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    std::transform(base.begin(), base.end(), base.begin(), [](unsigned char c) { return std::tolower(c); });
    if (std::find(plain.begin(), plain.end(), base) != plain.end()) return true;
    return base.size() >= 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
           isPortDigit(std::string_view(base).substr(3));
}

NameFault stepFault(std::string_view step) {
    if (step.empty() || step == "." || step == "..") return NameFault::NoName;
    for (unsigned char c : step)
        if (c < 0x20 || std::string_view("<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return NameFault::ForbiddenCharacter;
    if (step.back() == '.' || step.back() == ' ') return NameFault::DotOrBlankAtEnd;
    return isDeviceName(step) ? NameFault::DeviceName : NameFault::None;
}

std::string normalised(const std::string& path) {
    std::string s = path;
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

constexpr std::array<std::string_view, 6> kWords{"", "noname", "device", "character", "ending", "repeated"};

} // namespace

NameFault nameFault(const std::string& memberName) {
    const std::string path = normalised(memberName);
    for (size_t start = 0;;) {
        const size_t end = path.find('\\', start);
        const NameFault fault =
            stepFault(std::string_view(path).substr(start, end == std::string::npos ? end : end - start));
        if (fault != NameFault::None || end == std::string::npos) return fault;
        start = end + 1;
    }
}

const char* nameFaultWord(NameFault fault) { return kWords[static_cast<size_t>(fault)].data(); }

NameFault nameFaultOfWord(std::string_view word) {
    const auto found = std::find(kWords.begin() + 1, kWords.end(), word);
    return found == kWords.end() ? NameFault::None : static_cast<NameFault>(found - kWords.begin());
}

std::string safeRelativePath(const std::string& memberName) {
    return nameFault(memberName) == NameFault::None ? normalised(memberName) : std::string();
}

std::string fileNamePart(const std::string& path) {
    const std::string s = normalised(path);
    const size_t slash = s.rfind('\\');
    return slash == std::string::npos ? s : s.substr(slash + 1);
}

std::string backslashed(const std::string& path) { return normalised(path); }

} // namespace zandrel
