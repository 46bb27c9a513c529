#pragma once
// Scenario tests: the real main window on the screen, driven the way a person
// drives it. Input goes through the message queue as real keys and mouse
// buttons (SendInput), to whatever window has the focus or lies under the
// pointer; what the test checks is read back from the windows themselves.
// A scenario never calls a form's <control>_<Event> handler or proc* itself.
//
// Writing a scenario:
//
//   TEST_F(LibraryScenario, EnterSearchesTheTypedKeyword) {
//       typeInto(w().cmbSearch, "bo");
//       press(VK_RETURN);
//       EXPECT_EQ(panelText("count"), "5 Icon(s)");
//       EXPECT_EQ(itemTexts(w().pnlResult), (std::vector<std::string>{"boat", "boat", "boat"}));
//   }
//
// Hands (each waits until the window has handled what it sent):
//   press(VK_NEXT), press('C', vbCtrlMask)   a key, with Shift/Ctrl/Alt held
//   typeText("stat")                          characters as typed on the keyboard
//   typeInto(w().cmbSearch, "stat")           clicks into the box (a combo box's edit box),
//                                             selects what stands there and types over it
//   click(control), click(control, x, y)      a left click (x, y: pixels in the control)
//   rightClick(...), doubleClick(...)
//   clickItem(w().pnlResult, 3)               a click on the third item (items count from 1);
//                                             also rightClickItem, doubleClickItem
//   clickButton(w().pnlToolbar, "nextpage")   a click on a toolbar button
//   dropDown(w().cmbSearch)                   opens a combo box's list with its arrow button
//   clickListEntry(w().cmbSearch, "boat")     a click on an entry of the open list
//   dragSplitter(w().picSplitV, 40, 0)        drags a bar by dx, dy pixels from the middle
//                                             of the part of it that shows
//   clickNode("SysDrives")                    a click on a node of the navigation tree
//   dragItemOnto(2, control), dragItemToNode(1, "favoriApps", shift)
//                                             drags an item of the result list and drops it
//   chooseMenu({"&Go", "&Next Page"})         opens the menu with Alt and its letter, walks
//                                             to the item with the arrow keys, presses Enter
//   openMenu("&Go")                           opens it the same way and reads the lines it
//                                             shows, then closes it with Esc
//   systemMenu('X')                           Alt+Space and a letter of the system menu
//   clickFrame(HTMAXBUTTON)                   a click on a part of the frame (the maximise box)
//   KeyDuringWork esc(VK_ESCAPE, started)     a key pressed by a second hand once the work runs
//   settle()                                  pumps until the window has nothing left to do
//
// Eyes:
//   itemTexts(list, column), selectedItem(list), lastItemWith(list, column, "Cursor"),
//   panelText("area"), editText(box), listEntries(box),
//   focusedWindow(), rectOf(control) (pixels in the main window's client area),
//   clientRect(), visibleRect(control) (the part of a control that no sibling covers),
//   clipboardText(), w().Caption() ...
//
// The windows that wait for a person show for real: message boxes, input
// boxes, open and save dialogs, the folder picker, modal forms and pop-up
// menus. A second hand answers
// each real window: make an Answer before the action that opens the window; on its own
// thread it finds the window with that caption, reads what it shows and
// answers it with real input. seen() waits for it and tells what it read.
//   Answer sure("Remove Favorite Folder", {clickOn("Yes")});
//   chooseMenu({"F&avorites", "&Remove Folder"});
//   EXPECT_TRUE(sure.seen().shows("Are you sure ..."));  // a text shown, "&" ignored
//   EXPECT_TRUE(sure.seen().inFront);                     // the foreground window
//
//   Answer name("Create Favorite Folder", {typeKeys("Made here"), pressKey(VK_RETURN)});
//   Answer menu(kPopupMenu, {chooseLine("Zoom")});       // a right-click menu
//   rightClickItem(w().pnlResult, 1);
//   menu.seen().lines                                     // its lines (MenuLine), bold = default
//   Answer closed(kPopupMenu, {pressKey(VK_ESCAPE)});     // read the menu, choose nothing
//   Answer options("Options", {onProgram([] {             // a modal form: the test's own hands,
//       click(frmOptions().optCopy);                       // run inside the form's modal loop
//       click(frmOptions().cmdOK);
//   })});
//   Answer save("Save As", fileNamed(dir.file("boat"), "Cursor")); // Wine's file dialog
//   Answer open("Open by File", filesNamed(folder, {"a.ico", "b.ani"})); // several at once
//   Answer pick("Browse for Folder", folderChosen(dir.file("icons"))); // the shell's folder picker
// Steps: clickOn(text), typeKeys(text), pressKey(key, shift), chooseEntry(label,
// entry), fillIn(label, text), chooseLine(caption), onProgram(hands). Hands made together take the
// windows in the order they were made. A window no hand answers is closed after
// a few seconds and fails the scenario. inFront(hwnd) and readWindow(hwnd) read
// any window of the program. A window that shows while the main window loads
// is answered by a hand made in prepare() with answerAtStart(); a cursor's
// hotspot notice and picker by HotspotAnswered.
//
// The seam still stands in front of what ends the session or leaves the
// machine (ExitWindowsEx, ShellExecute of an address or mail, HTML Help) and
// of colour dialogs: Seam::get().requests() says what was asked (and lists
// the windows shown above too), Seam::get().queue...() answers.
//
// The fixture MainWindowScenario shows frmMain; LibraryScenario adds the sample
// icon library with three icons a page.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "frmmain.h"
#include "scratch.h"

namespace vmscenario {

// Hands.
void settle(int atLeastMs = 0);
void press(int key, int shift = 0);
void typeText(const std::string& text);
void typeInto(vm::ComboBox& box, const std::string& text);
void click(vm::Control& control);
void click(vm::Control& control, int x, int y);
void rightClick(vm::Control& control, int x, int y);
void doubleClick(vm::Control& control, int x, int y);
void clickItem(vm::ListView& list, int index);
void rightClickItem(vm::ListView& list, int index);
void doubleClickItem(vm::ListView& list, int index);
void clickButton(vm::Toolbar& bar, const std::string& key);
void dropDown(vm::ComboBox& box);
void clickListEntry(vm::ComboBox& box, const std::string& text);
void dragSplitter(vm::Control& bar, int dx, int dy);
void chooseMenu(std::initializer_list<std::string> path);
// Alt+Space and a letter of the window's system menu ('X' maximises, 'R' restores).
void systemMenu(char letter);
// A click on a part of the main window's frame: HTMAXBUTTON (maximise or
// restore), HTMINBUTTON, HTCLOSE ...
void clickFrame(int part);
// The middle of a node's text in the navigation tree, in pixels of the tree (the
// node scrolled into view first), and a click there.
POINT nodePoint(const std::string& key);
void clickNode(const std::string& key);
// Drags item index of the result list with the left button, in steps, and lets
// it go over the middle of the target or over a node of the tree (with Shift
// held at the end when asked).
void dragItemOnto(int index, vm::Control& target);
void dragItemToNode(int index, const std::string& key, bool shift = false);
// Raw input for a sequence a test sends itself: the pointer moved to a screen
// point (with button flags), a key going down or up; the keys of a key with
// Shift/Ctrl/Alt held, and of characters as typed.
INPUT mouseInput(POINT screen, DWORD flags);
INPUT keyInput(int key, bool up);
std::vector<INPUT> keyStrokes(int key, int shift = 0);
std::vector<INPUT> typedStrokes(const std::string& text);

// A second hand that presses a key while the window is busy with work the
// first hand started: it waits until started() says the work runs, then
// presses. started() runs on the program's thread between two of its yields,
// so all it reads is one moment of the program. Destroying it waits for that hand.
//   { KeyDuringWork esc(VK_ESCAPE, listingRuns); press(VK_RETURN); }
class KeyDuringWork {
public:
    KeyDuringWork(int key, std::function<bool()> started);
    // Any input: a click is the pointer's button going down and up at a screen point.
    KeyDuringWork(std::vector<INPUT> inputs, std::function<bool()> started);
    ~KeyDuringWork();
    KeyDuringWork(const KeyDuringWork&) = delete;
    KeyDuringWork& operator=(const KeyDuringWork&) = delete;
    bool pressed() const { return pressed_; }

private:
    std::thread hand_;
    std::atomic<bool> pressed_{false}, stop_{false}, done_{false};
};

struct MenuLine {
    std::string caption; // as shown, with "&" and a shortcut after a tab
    bool separator = false;
    bool enabled = true;
    bool checked = false;
    bool bold = false; // the default line
};

// What a window that opened showed when the second hand found it.
struct ShownControl {
    HWND hwnd = nullptr;
    std::string className, text; // text as shown, "&" included
    int id = 0;
    bool visible = false, enabled = false;
    bool uncovered = false; // its middle is not under another control
};
struct ShownWindow {
    HWND hwnd = nullptr;
    std::string caption;
    bool inFront = false;               // the foreground window when found
    std::vector<ShownControl> controls; // its child windows, from the top of each level
    std::vector<MenuLine> lines;        // a pop-up menu's lines
    // The texts of its visible controls, "&" removed, in order.
    std::vector<std::string> texts() const;
    // A visible control shows this text ("&" ignored), or one starting with it when prefix.
    const ShownControl* find(const std::string& text, bool prefix = false) const;
    bool shows(const std::string& text) const { return find(text) != nullptr; }
};

// What a second hand does with the window it found, in order. Each runs on the
// hand's own thread with real input, except onProgram, which runs the test's
// own hands on the program's thread inside the window's modal loop.
struct HandStep {
    std::function<void(const ShownWindow&)> onHand;
    std::function<void()> onProgram;
};
HandStep clickOn(const std::string& text);      // the visible control showing text ("&" ignored)
HandStep typeKeys(const std::string& text);     // characters typed into what has the focus
HandStep pressKey(int key, int shift = 0);
// Opens the drop-down list placed after the label and clicks the entry that
// starts with entry ("Save as &type:", "Cursor").
HandStep chooseEntry(const std::string& label, const std::string& entry);
// Clicks into the text box placed after the label, selects what stands there
// and types text over it ("File name:").
HandStep fillIn(const std::string& label, const std::string& text);
HandStep chooseLine(const std::string& caption); // a click on a line of a pop-up menu ("Zoom")
// An open or save dialog answered: the file type chosen when given ("Cursor"),
// the path typed as the file name, Enter.
std::vector<HandStep> fileNamed(const std::string& path, const std::string& type = "");
// An open dialog answered with several files of one folder: the folder typed as the file
// name and Enter to go there, then the names typed in quotes, one blank between, and Enter.
std::vector<HandStep> filesNamed(const std::string& folder, const std::vector<std::string>& names);
// The shell's folder picker answered with its keys, from the folder it selected at the start
// (one on the way to path, the path's own or one above it): Right opens a folder, Down walks on
// until its sub-folder on the way is selected, and so on to the path's last folder; Enter chooses it.
std::vector<HandStep> folderChosen(const std::string& path);
HandStep onProgram(std::function<void()> hands);

// The caption that stands for a pop-up menu in Answer.
extern const char kPopupMenu[];
// How long a hand waits for a window it found to come to the front before it
// answers it anyway.
inline constexpr DWORD kFrontMs = 3000;

// A second hand: on its own thread it waits for the next window of the program
// with this caption to show (one that did not show when the hand was made; a
// pop-up menu with kPopupMenu), reads what it shows and answers it with the
// steps. Make it before the action that opens the window. seen() and the
// destructor wait for the hand (pumping messages) and fail the test when no
// such window showed. Hands made together take matching windows in the order
// they were made.
class Answer {
public:
    Answer(std::string caption, std::vector<HandStep> steps);
    ~Answer();
    Answer(const Answer&) = delete;
    Answer& operator=(const Answer&) = delete;
    const ShownWindow& seen();
    bool answered(); // waits like seen(); false when no window showed
    struct State;    // what the hand found and did, shared with its thread

private:
    void finish();
    std::shared_ptr<State> state_;
    std::thread hand_;
    bool finished_ = false;
};

// Saving a library cursor asks for its hotspot: the notice answered with
// "Define Hotspot Now", then a click on pixel x, y of the cursor in the picker.
struct HotspotAnswered {
    explicit HotspotAnswered(int x = 0, int y = 0);
    Answer notice, picker;
};

// The window is the first visible one of the program on the screen: no
// window of the program lies over it.
bool inFront(HWND window);
// The screen shows the window's caption as the window draws it: no window lies over it there.
bool shownOnScreen(HWND window);
// What a window of the program shows now, read as the second hand reads it.
ShownWindow readWindow(HWND window);
std::vector<MenuLine> openMenu(const std::string& title);
// The lines of a pop-up menu as it would show (a context menu).
std::vector<MenuLine> menuLines(HMENU menu);
// The line shown with this caption ("&Go", "Large Icons\tCtrl+1" ...), or null.
const MenuLine* menuLine(const std::vector<MenuLine>& lines, const std::string& caption);

// The folder of the test program (and of the copy of the program beside it), with a backslash.
std::string programFolder();
// A later start of the program beside the test program with this path as its argument; the
// messages of the window under test are handled until it has ended.
void startProgramAgain(const std::string& path);
// A click on a tab of a tab strip (tabs count from 1).
void clickTab(vm::TabStrip& strip, int index);

// Eyes.
// A value of the program's settings as text, "<missing>" when there is none.
std::string stored(const char* name);
std::vector<std::string> itemTexts(vm::ListView& list, int column = 0);
int selectedItem(vm::ListView& list); // from 1; 0 when none
// The last item whose text in the column holds part, from 1; 0 when none.
int lastItemWith(vm::ListView& list, int column, const std::string& part);
std::string panelText(const std::string& key);
std::string editText(vm::ComboBox& box);
std::vector<std::string> listEntries(vm::ComboBox& box); // the entries of its list, as shown
HWND editOf(vm::ComboBox& box);
HWND focusedWindow();
RECT rectOf(vm::Control& control);
RECT clientRect();
RECT visibleRect(vm::Control& control);
std::string clipboardText();
// The window fills a page of a listing (its progress bar shows); safe to ask from a second hand.
bool listingRuns();
void setClipboardText(const std::string& text);
// Files as a file manager drags them: a data object offering the file list,
// taken from the clipboard as the shell's copy leaves it there. The caller releases it.
IDataObject* draggedFiles(const std::vector<std::string>& files);

// The main window shown, the seam scripted, a scratch program folder.
class MainWindowScenario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs before the window loads (write files, store settings).
    virtual void prepare() {}
    // Shows the window once it is loaded (a test may set a window state first).
    virtual void show();
    // A hand for a window that shows while the window loads (a message about a
    // damaged file): made in prepare(), read in the test with atStart(n).seen().
    void answerAtStart(std::string caption, std::vector<HandStep> steps);
    Answer& atStart(size_t n = 0) { return *atStart_.at(n); }
    static vm::FrmMain& w() { return vm::frmMain(); }
    vmtest::ScratchDir dir;

private:
    std::vector<std::unique_ptr<Answer>> atStart_;
};

// The main window over the sample icon library, three icons a page.
class LibraryScenario : public MainWindowScenario {
protected:
    void prepare() override;
};

// The sample library with "boat" searched: five icons, three a page, page 1 shown.
class BoatListing : public LibraryScenario {
protected:
    void SetUp() override;
};

} // namespace vmscenario
