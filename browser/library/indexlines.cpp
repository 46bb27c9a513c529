#include "indexlines.h"

#include <algorithm>
#include <cctype>

namespace vm {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view s) { return !s.empty() && s.size() <= 9 && std::all_of(s.begin(), s.end(), isDigit); }

bool hasControl(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool endsWithUser(std::string_view entry) {
    if (entry.size() < 4) return false;
    std::string kind(entry.substr(entry.size() - 4));
    std::transform(kind.begin(), kind.end(), kind.begin(), [](unsigned char c) { return std::tolower(c); });
    return kind == "user";
}

} // namespace

bool IsLibraryIconId(std::string_view id) {
    const std::size_t a = id.find(':');
    if (a == std::string_view::npos) return false;
    const std::size_t b = id.find(':', a + 1);
    if (b == std::string_view::npos) return false;
    const std::string_view codes = id.substr(b + 1);
    return allDigits(id.substr(0, a)) && allDigits(id.substr(a + 1, b - a - 1)) && codes.size() == 2 &&
           isDigit(codes[0]) && isDigit(codes[1]);
}

std::optional<IndexLine> ParseIndexLine(std::string_view line) {
    const std::size_t p = line.find(';');
    if (p == 0 || p == std::string_view::npos || hasControl(line)) return std::nullopt;
    IndexLine out{std::string(line.substr(0, p)), {}};
    std::string_view rest = line.substr(p + 1);
    while (true) {
        const std::size_t end = rest.find(';');
        const std::string_view id = rest.substr(0, end);
        if (!IsLibraryIconId(id)) return std::nullopt;
        out.record.append(id).push_back(';');
        if (end == std::string_view::npos) break;
        rest = rest.substr(end + 1);
    }
    return out;
}

bool IsUserKeywordLine(std::string_view line) { return !line.empty() && !hasControl(line); }

std::optional<ReferenceLine> ParseReferenceLine(std::string_view line) {
    const std::size_t p = line.find(';');
    if (p == 0 || p == std::string_view::npos || hasControl(line)) return std::nullopt;
    const std::string_view entry = line.substr(p + 1);
    if (std::count(entry.begin(), entry.end(), ';') < 3 || !endsWithUser(entry)) return std::nullopt;
    return ReferenceLine{std::string(line.substr(0, p)), std::string(entry)};
}

std::string SkippedLinesMessage(const std::string& path, const SkippedLines& skipped) {
    auto lines = [](int n) { return std::to_string(n) + (n == 1 ? " line was" : " lines were"); };
    std::string text;
    if (skipped.count > 0)
        text = "The file " + path + " is damaged.\rLine " + std::to_string(skipped.first) + " could not be read; " +
               lines(skipped.count) + " skipped.";
    if (skipped.tooLong > 0)
        text += (text.empty() ? "The file " + path + " has" : std::string("\rIt also has")) +
                " keywords that are too long.\rLine " + std::to_string(skipped.firstTooLong) +
                " holds a keyword longer than " + std::to_string(skipped.keywordLimit) + " characters; " +
                lines(skipped.tooLong) + " skipped.";
    if (skipped.beyond > 0)
        text += (text.empty() ? "The file " + path + " is" : std::string("\rIt is also")) +
                " longer than the program can hold: " + lines(skipped.beyond) + " not loaded.";
    return text;
}

} // namespace vm
