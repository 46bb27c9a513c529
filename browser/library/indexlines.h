#pragma once
// The lines of the library index and the user files, read from files a user
// may have edited or a download may have cut. A line the loader cannot use is
// skipped and counted, never taken apart blindly. No <windows.h> here, so the
// unit builds natively too and runs under sanitizers and fuzzers.
#include <optional>
#include <string>
#include <string_view>

namespace vm {

// "<chunk>:<position>:<k><t>": decimal numbers, then the key colour and type digits.
bool IsLibraryIconId(std::string_view id);

// An index line: "<keyword>;<LibraryIconId>;...;<LibraryIconId>". The
// record is the ids with a ";" after each (a KeywordRecord). Nothing for a
// line without ";", with an empty keyword or with any id that is no
// LibraryIconId.
struct IndexLine {
    std::string keyword;
    std::string record;
};
std::optional<IndexLine> ParseIndexLine(std::string_view line);

// A user keyword: any line that is not empty and holds no control character.
bool IsUserKeywordLine(std::string_view line);

// A reference line: "<keyword>;<entry>", split at the first ";". Nothing for a
// line without ";", with an empty keyword, or whose entry is no "user" entry
// ("<file>;<index>;<label>;<code>user").
struct ReferenceLine {
    std::string keyword;
    std::string entry;
};
std::optional<ReferenceLine> ParseReferenceLine(std::string_view line);

// The lines of one file that were skipped: the first damaged one's number
// (from 1) and how many; the first and the number of sound lines whose
// keyword is longer than a keyword can be; and how many good lines found the
// tables full.
struct SkippedLines {
    int first = 0;
    int count = 0;        // damaged lines
    int firstTooLong = 0;
    int tooLong = 0;      // lines whose keyword is longer than keywordLimit characters
    int keywordLimit = 0;
    int beyond = 0;       // lines beyond what the program can hold
    void add(int lineNumber) {
        if (count++ == 0) first = lineNumber;
    }
    void addTooLong(int lineNumber, int limit) {
        if (tooLong++ == 0) firstTooLong = lineNumber;
        keywordLimit = limit;
    }
    bool any() const { return count > 0 || tooLong > 0 || beyond > 0; }
};

// The one message that tells of a file's skipped lines: "damaged" for lines
// that cannot be read, "too long" for keywords longer than the limit,
// "longer than the program can hold" for the others.
std::string SkippedLinesMessage(const std::string& path, const SkippedLines& skipped);

} // namespace vm
