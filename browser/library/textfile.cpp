#include "textfile.h"

#include <fstream>
#include <iterator>

#include "safereplace.h"
#include "storedtext.h"

namespace vm {

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    const std::string text = StoredText(bytes);
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return true;
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

WriteResult ReplaceWithBackup(const std::string& path, const std::string& backupPath, const std::string& content) {
    return writeThroughTemporary(
        path, [&](const std::string& temporary) { return writeFileBytes(temporary, content); }, backupPath, true);
}

} // namespace vm
