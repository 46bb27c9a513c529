#pragma once
// Icon files inside ZIP archives. Zandrel32 lists an archive's members into a
// hidden text box, one change of its text per member (txtZIP_Change), and
// extracts single members (procUnzipFile). Each opened archive has a private
// folder under TempPath that its members are extracted into under their
// listed names; the extracted copies are removed after every page fill and
// the folders when the archives are put away.
#include <windows.h>

#include <string>

#include "browserhost.h"
#include "browserstate.h"
#include "controls_basic.h"
#include "zipcleanup.h"

namespace vm {

// The hidden text boxes of the listing: txtZIP receives the member lines,
// txtDummyZIP is handed to the library after each listing, so that later runs
// write nowhere visible.
struct ZipListWindows {
    HWND txtZIP = nullptr;
    HWND txtDummyZIP = nullptr;
};

// The box txtZIP. It keeps the line it was given last as its text and raises
// Change for it at once, without the edit control underneath: an archive of
// 65,535 members sends as many lines, and the control's own handling of each
// (storing, notifying its parent, being asked for the text back) costs many
// times what listing the member does. Once a stop is asked for (Esc, the Stop
// button) it refuses the next line, answering WM_SETTEXT with FALSE: that
// ends the library's listing, which would otherwise run on to the archive's
// last member.
class ZipListBox : public TextBox {
public:
    using TextBox::TextBox;
    const BusyState* busy = nullptr; // whose stop ends a listing
    const std::string& Line() const { return line_; }

protected:
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    std::string line_;
    std::wstring wide_;
};

// Lists the members of every archive of lstZipFiles into lstZipIcons (through
// txtZIP_Change, which the window wires to txtZIP's Change) and makes each
// archive's private folder. A member the library refuses as a path arrives
// under its plain file name. What an archive's listing could not take goes to
// ZipListingNotes. A stop ends the listing; the caller's listing of icons
// that follows tells it.
void procExtractZIPFilenames(EntryLists& entries, ExtractedMembers& zip, ChunkState& chunks,
                             const ZipListWindows& windows, const std::string& tempPath, const BusyState& busy);

// One line of the listing. A member line (field 5 its name) is appended to
// lstZipIcons with the index of lstZipFiles' selected line as its ItemData; a
// member left out (no name, its reason in field 6) is counted in that
// archive's note. Then the window hears its input, as after every entry of a
// listing.
void txtZIP_Change(EntryLists& entries, const BrowserHost& host, const std::string& text);

// "left out 15 member(s) of icons.zip: device names, ..." for every
// archive that left members out, joined by "; "; "" when none did.
std::string ZipLeftOutText(const EntryLists& entries);

// Extracts member of archive into targetFolder unless existingFile exists;
// the library's result stays in UnzipResult (1 is success).
void procUnzipFile(ChunkState& chunks, const std::string& archive, const std::string& member,
                   const std::string& existingFile, const std::string& targetFolder);

// The private folder of archive index archiveIndex (with a trailing "\"),
// made under tempPath when it is first asked for; "" when none can be made.
std::string ZipArchiveFolder(ExtractedMembers& zip, int archiveIndex, const std::string& tempPath);

// Where an "azip" entry's extracted file lies: the private folder holding it
// and the member name below it. False for a file in no folder of ours, or a
// name that would climb out of it.
struct ZipMemberPlace {
    std::string folder;
    std::string member;
};
bool FindZipMember(const ExtractedMembers& zip, const std::string& file, ZipMemberPlace& place);

// Extracts the member an "azip" entry's file names, from archive, unless the
// file is there already. True when this call wrote it; the file is then
// recorded for the page fill's clean-up.
bool ExtractZipEntryFile(ExtractedMembers& zip, ChunkState& chunks, const std::string& file,
                         const std::string& archive);

// Empties lstZipFiles and lstZipIcons and removes the private folders with
// everything extracted into them.
void procClearZipLists(EntryLists& entries, ExtractedMembers& zip);

} // namespace vm
