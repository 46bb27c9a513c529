#pragma once
// The dialogs that wait for a person, all through the seam: the common dialog
// (open, save, colour), the input box and the folder browser.
#include "seam.h"

#include <string>

namespace vm {

// Common dialog flags used by the program (the system's OFN_ and CC_ values).
enum CommonDialogFlags : long {
    cdlOFNReadOnly = 0x1, cdlOFNOverwritePrompt = 0x2, cdlOFNHideReadOnly = 0x4, cdlOFNNoChangeDir = 0x8,
    cdlOFNAllowMultiselect = 0x200, cdlOFNPathMustExist = 0x800, cdlOFNFileMustExist = 0x1000,
    cdlOFNExplorer = 0x80000, cdlCCRGBInit = 0x1, cdlCCFullOpen = 0x2,
};
// The error a cancelled dialog raises when CancelError is set.
constexpr int cdlCancel = 32755;

// The common dialog control: set the properties, call ShowOpen, ShowSave or
// ShowColor. Each returns false when the person cancelled (and throws
// VbError cdlCancel instead when CancelError is set); a cancelled colour
// dialog leaves Color as it was. Scripted, a request "Open", "Save" or
// "Color" is recorded (prompt: DialogTitle, title: Filter, detail: InitDir or
// the starting colour) and the queued answer gives the file name (text), the
// filter index (code, when not 0) or the colour (code).
class CommonDialog {
public:
    std::string FileName, FileTitle, Filter, DefaultExt, InitDir, DialogTitle;
    int FilterIndex = 1;
    long Flags = 0;
    COLORREF Color = 0;
    bool CancelError = false;

    bool ShowOpen();
    bool ShowSave();
    bool ShowColor();

private:
    bool showFile(bool save);
    bool cancelled();
};

// An input box; the text typed, or "" when the person cancelled.
std::string InputBox(const std::string& prompt, const std::string& title = "", const std::string& defaultText = "");

// The shell's folder browser, starting at folder when it is given; true and
// the chosen folder in folder, or false when the person cancelled.
bool seamBrowseForFolder(HWND owner, const std::string& title, UINT flags, std::string& folder);
// The file system path of a shell item the folder browser gave, in any language and of any
// length; "" when the item is no folder of the file system.
std::string PathOfShellItem(const void* item);

} // namespace vm
