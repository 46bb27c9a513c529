#include "textfile.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "files.h"
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

namespace {

std::string lastErrorText(const std::string& what, const std::string& path) {
    return what + " " + path + " (error " + std::to_string(GetLastError()) + ")";
}

bool writeWhole(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size() && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

} // namespace

ReplaceResult ReplaceWithBackup(const std::string& path, const std::string& backupPath, const std::string& content,
                                std::string& error) {
    const std::string temp = path + ".new";
    if (!writeWhole(temp, content)) {
        error = lastErrorText("Cannot write", temp);
        DeleteFileA(temp.c_str());
        return ReplaceResult::Failed;
    }
    if (!DeleteFileA(backupPath.c_str()) && procFileExists(backupPath)) {
        DeleteFileA(temp.c_str());
        return ReplaceResult::BackupBlocked;
    }
    const bool hadOld = procFileExists(path);
    if (hadOld && !MoveFileA(path.c_str(), backupPath.c_str())) {
        error = lastErrorText("Cannot rename", path);
        DeleteFileA(temp.c_str());
        return ReplaceResult::Failed;
    }
    if (!MoveFileA(temp.c_str(), path.c_str())) {
        error = lastErrorText("Cannot rename", temp);
        if (hadOld) MoveFileA(backupPath.c_str(), path.c_str());
        DeleteFileA(temp.c_str());
        return ReplaceResult::Failed;
    }
    return ReplaceResult::Written;
}

} // namespace vm
