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
// The fixture MainWindowScenario shows frmMain with the message boxes and
// dialogs scripted through the seam (Seam::get().requests() says what was
// asked); LibraryScenario adds the sample icon library with three icons a page.
// Pop-up menus (a right click on an item, a click on the page panel) go through
// the seam too: queue the caption of the item to choose first,
//   Seam::get().queueText("2"); click(w().pnlStatusbar, x, y);
// and read their lines with menuLines(w().mnuResultClick.popup()).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <initializer_list>
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
// point (with button flags), a key going down or up.
INPUT mouseInput(POINT screen, DWORD flags);
INPUT keyInput(int key, bool up);

// A second hand that presses a key while the window is busy with work the
// first hand started: it waits until started() says the work runs, then
// presses. Destroying it waits for that hand.
//   { KeyDuringWork esc(VK_ESCAPE, listingRuns); press(VK_RETURN); }
class KeyDuringWork {
public:
    KeyDuringWork(int key, std::function<bool()> started);
    ~KeyDuringWork();
    KeyDuringWork(const KeyDuringWork&) = delete;
    KeyDuringWork& operator=(const KeyDuringWork&) = delete;
    bool pressed() const { return pressed_; }

private:
    std::thread hand_;
    std::atomic<bool> pressed_{false}, stop_{false};
};

struct MenuLine {
    std::string caption; // as shown, with "&" and a shortcut after a tab
    bool separator = false;
    bool enabled = true;
    bool checked = false;
};
std::vector<MenuLine> openMenu(const std::string& title);
// The lines of a pop-up menu as it would show (a context menu).
std::vector<MenuLine> menuLines(HMENU menu);
// The line shown with this caption ("&Go", "Large Icons\tCtrl+1" ...), or null.
const MenuLine* menuLine(const std::vector<MenuLine>& lines, const std::string& caption);

// A modal dialog the menus open: shown on the screen for the hands given,
// which close it themselves.
void whenShown(std::function<void(vm::Form&)> hands);
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
    static vm::FrmMain& w() { return vm::frmMain(); }
    vmtest::ScratchDir dir;
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
