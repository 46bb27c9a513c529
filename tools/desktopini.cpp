#include "desktopini.h"

#include <charconv>
#include <vector>

namespace vm {

namespace {

constexpr std::string_view kClassInfo = ".ShellClassInfo";
constexpr std::string_view kRecord = "Vellumar.Before";
constexpr std::string_view kIconFile = "IconFile";
constexpr std::string_view kIconIndex = "IconIndex";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::optional<std::string_view> sectionName(std::string_view text) {
    const std::string_view t = trimmed(text);
    const size_t close = t.find(']');
    if (t.empty() || t.front() != '[' || close == std::string_view::npos) return std::nullopt;
    return trimmed(t.substr(1, close - 1));
}

std::optional<std::string_view> keyName(std::string_view text) {
    const std::string_view t = trimmed(text);
    const size_t equals = t.find('=');
    if (t.empty() || t.front() == ';' || t.front() == '[' || equals == std::string_view::npos) return std::nullopt;
    return trimmed(t.substr(0, equals));
}

// What follows the first "=", as it stands.
std::string_view valueOf(std::string_view text) { return text.substr(text.find('=') + 1); }

struct Line {
    std::string text, end; // end: the line's own break, "" for a last line without one
};

struct Section {
    size_t header, end; // the header line and the line after the section's last
};

// The file as lines; a byte-order mark stays in front of the first.
class IniLines {
public:
    explicit IniLines(std::string_view bytes) {
        if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
            mark_ = kUtf8Mark;
            bytes.remove_prefix(kUtf8Mark.size());
        }
        size_t start = 0;
        while (start < bytes.size()) {
            const size_t end = bytes.find_first_of("\r\n", start);
            if (end == std::string_view::npos) {
                lines_.push_back({std::string(bytes.substr(start)), {}});
                break;
            }
            size_t after = end + 1;
            if (bytes[end] == '\r' && after < bytes.size() && bytes[after] == '\n') ++after;
            lines_.push_back({std::string(bytes.substr(start, end - start)), std::string(bytes.substr(end, after - end))});
            start = after;
        }
    }

    std::string bytes() const {
        std::string out = mark_;
        for (const Line& line : lines_) out += line.text + line.end;
        return out;
    }

    std::optional<Section> find(std::string_view name) const {
        for (size_t i = 0; i < lines_.size(); ++i) {
            const auto found = sectionName(lines_[i].text);
            if (!found || !sameName(*found, name)) continue;
            size_t end = i + 1;
            while (end < lines_.size() && !sectionName(lines_[end].text)) ++end;
            return Section{i, end};
        }
        return std::nullopt;
    }

    std::optional<size_t> findKey(const Section& section, std::string_view key) const {
        for (size_t i = section.header + 1; i < section.end; ++i)
            if (const auto found = keyName(lines_[i].text); found && sameName(*found, key)) return i;
        return std::nullopt;
    }

    const std::string& text(size_t at) const { return lines_[at].text; }
    void replace(size_t at, std::string text) { lines_[at].text = std::move(text); }

    // A line inserted and removed again leaves the file as it was: a line
    // added after a last line without a break takes that place.
    void insert(size_t at, std::string text) {
        std::string end = "\r\n";
        for (const Line& line : lines_)
            if (!line.end.empty()) {
                end = line.end;
                break;
            }
        if (at > 0) {
            Line& before = lines_[at - 1];
            if (before.end.empty()) std::swap(before.end, end);
            else end = before.end;
        }
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), std::move(end)});
    }
    void remove(size_t at) {
        if (at + 1 == lines_.size() && at > 0) lines_[at - 1].end = lines_[at].end;
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    void removeSection(const Section& section) {
        for (size_t at = section.end; at-- > section.header;) remove(at);
    }

    // After the section's last line that is not blank.
    void insertInSection(const Section& section, std::string text) {
        size_t at = section.header + 1;
        for (size_t i = at; i < section.end; ++i)
            if (!trimmed(lines_[i].text).empty()) at = i + 1;
        insert(at, std::move(text));
    }
    Section append(std::string_view name) {
        std::string header(1, '[');
        header.append(name).push_back(']');
        insert(lines_.size(), std::move(header));
        return {lines_.size() - 1, lines_.size()};
    }

    // Sets the key's line in [.ShellClassInfo] ("" removes it); the section
    // is made when a line must go in and it is missing.
    void setKey(std::string_view key, const std::string& line) {
        auto section = find(kClassInfo);
        if (!section && line.empty()) return;
        if (!section) section = append(kClassInfo);
        if (const auto at = findKey(*section, key)) {
            if (line.empty()) remove(*at);
            else replace(*at, line);
        } else if (!line.empty()) {
            insertInSection(*section, line);
        }
    }

private:
    std::string mark_;
    std::vector<Line> lines_;
};

bool readNumber(std::string_view text, std::uint32_t& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool readFlag(std::string_view text, bool& flag) {
    if (text != "0" && text != "1") return false;
    flag = text == "1";
    return true;
}

// A kept line is empty or the line of that very key.
bool readKeyLine(std::string_view text, std::string_view key, std::string& line) {
    if (!text.empty()) {
        const auto found = keyName(text);
        if (!found || !sameName(*found, key)) return false;
    }
    line = std::string(text);
    return true;
}

} // namespace

std::optional<FolderIconRecord> ReadFolderIconRecord(std::string_view ini) {
    const IniLines file(ini);
    const auto section = file.find(kRecord);
    if (!section) return std::nullopt;
    auto value = [&](std::string_view key) -> std::optional<std::string_view> {
        const auto at = file.findKey(*section, key);
        if (!at) return std::nullopt;
        return valueOf(file.text(*at));
    };
    FolderIconRecord record;
    const auto iconFile = value(kIconFile), iconIndex = value(kIconIndex), classInfo = value("ShellClassInfo"),
               iniFile = value("DesktopIni"), folder = value("Folder"), icon = value("FolderIco");
    if (!iconFile || !iconIndex || !classInfo || !iniFile || !folder || !icon) return std::nullopt;
    record.iniExisted = *iniFile != "none";
    const bool whole = readKeyLine(*iconFile, kIconFile, record.iconFileLine) &&
                       readKeyLine(*iconIndex, kIconIndex, record.iconIndexLine) &&
                       readFlag(*classInfo, record.classInfo) && readNumber(*folder, record.folderAttributes) &&
                       readFlag(*icon, record.iconExisted) &&
                       (!record.iniExisted || readNumber(*iniFile, record.iniAttributes));
    if (!whole) return std::nullopt;
    return record;
}

FolderIconRecord RecordOfKeys(std::string_view ini) {
    const IniLines file(ini);
    FolderIconRecord record;
    const auto section = file.find(kClassInfo);
    record.classInfo = section.has_value();
    if (!section) return record;
    if (const auto at = file.findKey(*section, kIconFile)) record.iconFileLine = file.text(*at);
    if (const auto at = file.findKey(*section, kIconIndex)) record.iconIndexLine = file.text(*at);
    return record;
}

std::string WithFolderIcon(std::string_view ini, const FolderIconRecord& before) {
    IniLines file(ini);
    const bool recorded = file.find(kRecord).has_value();
    file.setKey(kIconFile, "IconFile=folder.ico");
    file.setKey(kIconIndex, "IconIndex=0");
    if (!recorded) {
        const Section record = file.append(kRecord);
        const std::string lines[] = {
            "IconFile=" + before.iconFileLine,
            "IconIndex=" + before.iconIndexLine,
            std::string("ShellClassInfo=") + (before.classInfo ? "1" : "0"),
            "DesktopIni=" + (before.iniExisted ? std::to_string(before.iniAttributes) : std::string("none")),
            "Folder=" + std::to_string(before.folderAttributes),
            std::string("FolderIco=") + (before.iconExisted ? "1" : "0"),
        };
        size_t at = record.header;
        for (const std::string& line : lines) file.insert(++at, line);
    }
    return file.bytes();
}

std::string WithoutFolderIcon(std::string_view ini, const FolderIconRecord& before) {
    IniLines file(ini);
    if (const auto record = file.find(kRecord)) file.removeSection(*record);
    file.setKey(kIconFile, before.iconFileLine);
    file.setKey(kIconIndex, before.iconIndexLine);
    if (const auto section = file.find(kClassInfo); section && !before.classInfo && section->end == section->header + 1)
        file.remove(section->header);
    return file.bytes();
}

std::optional<std::string> WithIconKeysBlanked(std::string_view ini) {
    IniLines file(ini);
    const auto section = file.find(kClassInfo);
    bool blanked = false;
    for (const std::string_view key : {kIconFile, kIconIndex}) {
        const auto at = section ? file.findKey(*section, key) : std::nullopt;
        if (!at || trimmed(valueOf(file.text(*at))).empty()) continue;
        const std::string& line = file.text(*at);
        file.replace(*at, line.substr(0, line.find('=') + 1));
        blanked = true;
    }
    if (!blanked) return std::nullopt;
    return file.bytes();
}

} // namespace vm
