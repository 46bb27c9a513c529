#pragma once
// The one seam in front of everything that waits for a person (message boxes,
// input boxes, common dialogs, modal forms) and of calls that end the session
// or leave the machine (ExitWindowsEx, ShellExecute of a web address or mail,
// HTML Help). The program calls the functions below; tests switch the seam to
// scripted mode, queue the answers and read back what was asked.
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

namespace vm {

// Message box styles and results, with the values of the original toolkit.
enum MsgBoxStyle : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// What the program asked of a person or of the outside world.
struct SeamRequest {
    std::string kind;    // "MsgBox", "InputBox", "Open", "Save", "Color", "Folder", "Form", "PopupMenu",
                         // "ExitWindows", "Broadcast", "Shell", "Start", "HtmlHelp"
    std::string prompt;  // the text shown, the form's name, the file or address opened
    std::string title;   // the caption, or the verb of a Shell request
    long long style = 0; // message box style, flags of the call
    std::string detail;  // more of what was shown: a dialog's start folder or colour, a file filter,
                         // the HTML Help command
};

// A scripted answer: the button code of a message box, the text typed or the
// file or folder chosen (cancelled = the person cancelled), a colour.
struct SeamAnswer {
    int code = 0;
    std::string text;
    bool cancelled = false;
};

class Seam {
public:
    static Seam& get();

    // Scripted mode: nothing is shown or started; each request is recorded and
    // takes the next queued answer (an empty queue gives a default answer: the
    // first button, or a cancel).
    void setScripted(bool on) { scripted_ = on; }
    bool scripted() const { return scripted_; }
    // Scenarios: while scripted, the windows that wait for a person (message
    // boxes, input boxes, open and save dialogs, modal forms, pop-up menus)
    // still show for real, and the test's second hand answers them; they are
    // recorded all the same. What ends the session or leaves the machine stays
    // scripted.
    void setWindowsShown(bool on) { windowsShown_ = on; }
    bool windowsShown() const { return windowsShown_; }
    // For the toolkit's windows that wait for a person: records the request;
    // true (with the answer) when it is to be scripted rather than shown.
    bool scriptsPerson(const SeamRequest& request, SeamAnswer& answer, const SeamAnswer& fallback);
    void queue(SeamAnswer answer) { answers_.push_back(std::move(answer)); }
    void queueCode(int code) { queue(SeamAnswer{code, {}, false}); }
    void queueText(std::string text) { queue(SeamAnswer{1, std::move(text), false}); }
    void queueCancel() { queue(SeamAnswer{vbCancel, {}, true}); }
    const std::vector<SeamRequest>& requests() const { return requests_; }
    void reset();

    // For the toolkit's own dialogs: records a request; in scripted mode it
    // returns true and fills the answer (queued or default).
    bool record(const SeamRequest& request, SeamAnswer& answer, const SeamAnswer& fallback);
    // Records a request that takes no answer (a modal form).
    void note(const SeamRequest& request) { requests_.push_back(request); }

private:
    bool scripted_ = false;
    bool windowsShown_ = false;
    std::deque<SeamAnswer> answers_;
    std::vector<SeamRequest> requests_;
};

// The owner window of dialogs the program shows (the active form), or null.
HWND seamOwner();
void setSeamOwner(HWND owner);

// A message box; returns one of MsgBoxResult. An empty title gives the program's name.
int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = "");

// ExitWindowsEx through the seam; true when Windows accepted the request.
bool seamExitWindows(UINT flags, DWORD reason);

// WM_SETTINGCHANGE sent to every top-level window through the seam ("Broadcast",
// the action as style); true when every window took it within the time-out.
// Scripted, an answer of 0 stands for a broadcast that failed.
bool seamBroadcastSettingChange(WPARAM action, UINT timeoutMs);

// ShellExecuteA through the seam; returns ShellExecuteA's result (> 32 = success).
INT_PTR seamShellExecute(HWND owner, const std::string& verb, const std::string& file,
                         const std::string& parameters = "", const std::string& folder = "",
                         int show = SW_SHOWNORMAL);

// The program launcher through the seam ("Start", the command line as
// prompt, show as style): starts the command line with the window shown as
// show. Returns 0 on success, else the system's error code (scripted: the
// queued answer's code, 0 by default).
DWORD seamStartProgram(const std::string& commandLine, int show = SW_SHOWNORMAL);

// HTML Help through the seam (the help viewer is loaded on first use); true
// when the viewer opened its window. Scripted, an answer of 0 stands for a
// viewer that could not show the help.
bool seamHtmlHelp(HWND owner, const std::string& file, UINT command, DWORD_PTR data);

} // namespace vm
