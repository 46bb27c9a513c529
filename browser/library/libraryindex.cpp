#include "libraryindex.h"

#include <windows.h>

#include "errorreport.h"
#include "files.h"
#include "indexlines.h"
#include "inputlimits.h"
#include "seam.h"
#include "state.h"
#include "textfile.h"
#include "utf8text.h"

namespace vm {
namespace {

// Run-time error numbers of the error report.
constexpr long kErrFileAccess = 75;

std::string sizeText(const KeywordState& keywords) { return std::to_string(keywords.IconSize); }

// Reads a file's lines; an unreadable file goes to the error report.
bool readOrReport(const std::string& path, std::vector<std::string>& lines) {
    if (ReadTextLines(path, lines)) return true;
    procShowError(kErrFileAccess, kErrorSource, "Path/File access error");
    return false;
}

void warn(const std::string& text) { MsgBox(text, vbExclamation | vbOKOnly, "Vellumar error"); }

// A file whose lines were skipped says so once, naming the first of them.
void reportSkipped(const std::string& path, const SkippedLines& skipped) {
    if (skipped.any()) warn(SkippedLinesMessage(path, skipped));
}

void noteLoad(KeywordState::UserFileLoad& load, const SkippedLines& skipped) {
    load = {};
    load.whole = !skipped.any();
    load.tooLong = skipped.beyond > 0;
}

// A keyword no box of the program could have taken is not read into them.
bool usableKeyword(const std::string& keyword) {
    return IsUserKeywordLine(keyword) && TextLength(keyword) <= static_cast<size_t>(kMaxKeywordLength);
}

void addKeyword(const KeywordLists& lists, const std::string& name, int id) {
    lists.cmbSearch->AddItem(name);
    lists.cmbSearch->SetItemData(lists.cmbSearch->NewIndex(), id);
    if (lists.addSearch) lists.addSearch->AddItem(name);
}

// Every line is read: one the loader cannot use, or one beyond the keyword
// tables (ids above kMaxKeywordId are never stored), is skipped and counted.
void readIndex(KeywordState& keywords, const KeywordLists& lists, const std::string& path, int& id) {
    std::vector<std::string> lines;
    if (!readOrReport(path, lines)) return;
    SkippedLines skipped;
    const int firstId = id;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto line = ParseIndexLine(lines[i]);
        if (!line || id > kMaxKeywordId) {
            if (line) ++skipped.beyond;
            else skipped.add(static_cast<int>(i) + 1);
            continue;
        }
        keywords.KeywordNames[id] = line->keyword;
        addKeyword(lists, line->keyword, id);
        keywords.KeywordIcons[id] = line->record;
        ++id;
    }
    // An index of no usable line would leave the library's features silently empty.
    if (id == firstId) warn("Vellumar Index file " + path + " holds no keywords.");
    else reportSkipped(path, skipped);
}

void readUserKeywords(KeywordState& keywords, const KeywordLists& lists, const std::string& path, int& id) {
    std::vector<std::string> lines;
    if (!readOrReport(path, lines)) {
        keywords.KeywordFile.whole = false;
        return;
    }
    SkippedLines skipped;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!usableKeyword(line) || id > kMaxKeywordId) {
            if (usableKeyword(line)) ++skipped.beyond;
            else skipped.add(static_cast<int>(i) + 1);
            continue;
        }
        keywords.KeywordNames[id] = line;
        addKeyword(lists, line, id);
        keywords.KeywordIcons[id].clear();
        if (lists.lstKey) {
            lists.lstKey->AddItem(line);
            lists.lstKey->SetItemData(lists.lstKey->NewIndex(), lists.cmbSearch->NewIndex());
        }
        ++id;
    }
    reportSkipped(path, skipped);
    noteLoad(keywords.KeywordFile, skipped);
}

void readUserReferences(UserReferences& refs, KeywordState::UserFileLoad& load, const std::string& path) {
    std::vector<std::string> lines;
    if (!readOrReport(path, lines)) {
        load.whole = false;
        return;
    }
    SkippedLines skipped;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto line = ParseReferenceLine(lines[i]);
        if (!line || !usableKeyword(line->keyword)) {
            skipped.add(static_cast<int>(i) + 1);
            continue;
        }
        refs.lstUser.AddItem(line->keyword);
        refs.cmbUser.AddItem(line->entry);
        refs.lstUser.SetItemData(refs.lstUser.NewIndex(), refs.cmbUser.NewIndex());
        refs.cmbUser.SetItemData(refs.cmbUser.NewIndex(), refs.lstUser.NewIndex());
    }
    reportSkipped(path, skipped);
    noteLoad(load, skipped);
}

std::string userFile(const std::string& dataPath, const char* base, const std::string& size, const char* ending) {
    return dataPath + base + "-" + size + ending;
}

// A save cut short (the program killed) leaves only its temporary files: the
// user file and its backup are each whole, old or new.
void clearUnfinishedSave(const std::string& dataPath, const char* base, const std::string& size) {
    clearUnfinishedWrite(userFile(dataPath, base, size, ".dat"), userFile(dataPath, base, size, ".bak"));
}

// Writes one user file; true when it was written. A file not loaded whole is
// never written over: the user is told once why the changes stay unsaved.
bool saveOne(const std::string& dataPath, const char* base, const std::string& size,
             const std::vector<std::string>& lines, KeywordState::UserFileLoad& load, const char* what) {
    const std::string path = userFile(dataPath, base, size, ".dat");
    if (!load.whole) {
        if (!load.told)
            warn("Your changes to the " + std::string(what) + " cannot be saved: the file " + path +
                 (load.tooLong ? " holds more than " + std::to_string(kMaxKeywordId + 1) +
                                     " keywords with those of the icon library, more than the program can hold."
                               : " has lines that could not be read, and saving would lose them.") +
                 "\rThe file is kept as it is.");
        load.told = true;
        return false;
    }
    const WriteResult result = ReplaceWithBackup(path, userFile(dataPath, base, size, ".bak"), JoinTextLines(lines));
    if (!result) warn(writeFailureText(path, result) + "\rYour changes to the " + what + " were not saved.");
    return result.ok;
}

} // namespace

void MigrateOldLibraryNames() {
    const std::string& dataPath = paths.DataPath;
    static const char* const kPairs[][2] = {
        {"Icondata.dat", "Icondata-32.dat"}, {"Iconuser.dat", "Iconuser-32.dat"}, {"Keyuser.dat", "Keyuser-32.dat"},
        {"Iconlib.res", "Iconlib-32.res"},   {"Iconlib1.res", "Iconlib1-32.res"}, {"Iconlib2.res", "Iconlib2-32.res"},
        {"Iconlib3.res", "Iconlib3-32.res"}, {"Iconlib4.res", "Iconlib4-32.res"},
    };
    for (const auto& pair : kPairs) {
        procRenameFile(dataPath + pair[0], dataPath + pair[1], true);
    }
}

void procFillSearch(KeywordState& keywords, UserReferences& refs, const KeywordLists& lists, const BrowserHost& host) {
    const std::string& dataPath = paths.DataPath;
    host.hourglass(true);
    host.events();
    MigrateOldLibraryNames();

    lists.cmbSearch->Clear();
    if (lists.addSearch) lists.addSearch->Clear();
    if (lists.lstKey) lists.lstKey->Clear();
    refs.cmbUser.Clear();
    refs.lstUser.Clear();
    // Ids of the previous data set must not survive into this one.
    for (std::string& s : keywords.KeywordNames) s.clear();
    for (std::string& s : keywords.KeywordIcons) s.clear();
    keywords.KeywordFile = keywords.ReferenceFile = {};
    int id = 0;

    const std::string n = sizeText(keywords);
    host.statusText("Getting " + n + "*" + n + " icon index...");
    const std::string indexPath = dataPath + "Icondata-" + n + ".dat";
    if (!procFileExists(indexPath)) {
        identity.ProductName.clear();
        host.hourglass(false);
        MsgBox("Vellumar Index file " + indexPath + " was not found.\rThe Vellumar icon features will be disabled.",
               vbExclamation | vbOKOnly, "Vellumar error");
    } else {
        readIndex(keywords, lists, indexPath, id);
    }

    host.statusText("Getting user keywords...");
    clearUnfinishedSave(dataPath, "Keyuser", n);
    clearUnfinishedSave(dataPath, "Iconuser", n);
    const std::string keyPath = userFile(dataPath, "Keyuser", n, ".dat");
    if (procFileExists(keyPath)) readUserKeywords(keywords, lists, keyPath, id);

    host.statusText("Getting user icon index...");
    const std::string refPath = userFile(dataPath, "Iconuser", n, ".dat");
    if (procFileExists(refPath)) readUserReferences(refs, keywords.ReferenceFile, refPath);

    host.countPanel(std::to_string(id) + " Keywords");
    host.hourglass(false);
}

void procSaveUserData(const std::string& size, KeywordState& keywords, const UserReferences& refs,
                      const ListAccess* lstKey) {
    const std::string& dataPath = paths.DataPath;
    // Without the keyword editor's list there is nothing to write, and writing
    // nothing would empty the user's file.
    if (keywords.KeywordsChanged && lstKey) {
        std::vector<std::string> lines;
        for (int i = 0; i < lstKey->ListCount(); ++i) lines.push_back(lstKey->List(i));
        if (saveOne(dataPath, "Keyuser", size, lines, keywords.KeywordFile, "keywords"))
            keywords.KeywordsChanged = false;
    }
    if (keywords.UserIconsChanged) {
        std::vector<std::string> lines;
        for (int i = 0; i < refs.lstUser.ListCount() && i < refs.cmbUser.ListCount(); ++i)
            lines.push_back(refs.lstUser.List(i) + ";" + refs.cmbUser.List(i));
        if (saveOne(dataPath, "Iconuser", size, lines, keywords.ReferenceFile, "references"))
            keywords.UserIconsChanged = false;
    }
}

void procSaveUserChanges(const ListAccess* lstKey) {
    procSaveUserData(std::to_string(Keywords.IconSize), Keywords, UserRefs, lstKey);
}

} // namespace vm
