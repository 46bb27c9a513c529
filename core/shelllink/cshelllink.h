#pragma once
// cShellLink reads and writes Windows shortcut files (".lnk") through the
// shell's link object. One object serves one call; it never throws: a link
// that cannot be read leaves every text empty and says why in its result.
#include <windows.h>

#include <cstdint>
#include <string>

namespace vm {

// What a shortcut holds, as far as the program uses it.
struct ShellLinkInfo {
    std::string target;        // the file the shortcut starts
    std::string workingFolder;
    std::string arguments;
    std::string iconFile;      // "" when the shortcut takes the target's icon
    std::int32_t iconIndex = 0; // a negative index names an icon by its resource id
    std::int32_t showCommand = SW_SHOWNORMAL;
    std::string description;
};

class cShellLink {
public:
    cShellLink() = default;
    cShellLink(const cShellLink&) = delete;
    cShellLink& operator=(const cShellLink&) = delete;

    // Reads linkFile into the outputs. result: S_OK, or the failure of the
    // step that stopped it (the texts are then empty, iconIndex 0).
    void GetLinkInfo(const std::string& linkFile, std::string& target, std::string& workingFolder,
                     std::string& arguments, std::string& iconFile, std::int32_t& iconIndex,
                     std::int32_t& showCommand, std::string& description, HRESULT& result);

    // The same as one struct; S_OK or the failure.
    HRESULT Read(const std::string& linkFile, ShellLinkInfo& info);

    // Writes (or replaces) linkFile; the shortcut is written to a temporary
    // file beside it first, so a failed write leaves an old shortcut as it was.
    HRESULT Write(const std::string& linkFile, const ShellLinkInfo& info);
};

} // namespace vm
