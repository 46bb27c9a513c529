// The call sequences the program makes on Zandrel32, through its binding, and
// what the tests look at afterwards.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ztest {

// Initialise, ArchiveName, Decrypt (when a password is given), Include,
// ExtractTo, Overwrite, addUNZIP; returns addUNZIP's result.
int32_t extract(const std::string& archive, const std::string& member, const std::string& folder,
                const std::string& password = "", int32_t overwrite = 11);

struct Listing {
    int32_t result = 0;
    std::vector<std::string> lines;   // the member lines the window received, in order
    std::vector<std::string> leftOut; // the lines of members left out: no name, the reason in field 6
};

// Lists the archive into a hidden EDIT window whose WM_SETTEXT texts are recorded.
Listing list(const std::string& archive);

// Field n (1-based) of a "|"-separated line.
std::string field(const std::string& line, int n);

// Every file and folder below folder, as paths relative to it.
std::vector<std::string> contents(const std::string& folder);

// The folder of the test executable, with a trailing backslash.
std::string exeFolder();

} // namespace ztest
