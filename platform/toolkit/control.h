#pragma once
// The base of every control: a real child window with the common properties
// (position in twips relative to the parent's client area, Enabled, Visible,
// Tag, colours, mouse pointer, tool tip) and the common events. Notifications
// that Windows sends to a parent (WM_COMMAND, WM_NOTIFY, WM_xSCROLL,
// WM_CTLCOLORxxx) are handed back to the control that caused them, whatever
// window its parent is (a form, a frame, a picture box, the cool bar).
#include "twips.h"
#include "vberror.h"

#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace vm {

class Form;

// The whole text of a window, however long and in whatever language.
std::string TextOfWindow(HWND window);

// Something controls can be placed in: a form or a container control.
class Window {
public:
    virtual ~Window() = default;
    // The window handle; touching a control of a form that is not loaded loads the form.
    virtual HWND hWnd() = 0;
    virtual Form* form() = 0;
};

// Mouse buttons and shift states of the mouse and key events.
enum MouseButton : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum ShiftState : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
// The current shift state (vbShiftMask | vbCtrlMask | vbAltMask).
int currentShift();

// Keeps a value out of Move's optional arguments.
constexpr int vmKeep = INT32_MIN;

// The pixel rectangle a Move in twips asks for, starting from the present one:
// each argument left at vmKeep keeps that edge or size.
RECT movedPixels(const RECT& now, int left, int top, int width, int height);

class Control : public Window {
public:
    explicit Control(Form* owner);
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hWnd() override;
    Form* form() override { return owner_; }
    bool created() const { return hwnd_ != nullptr; }
    // The control of a window, or null.
    static Control* fromHandle(HWND hwnd);

    int Left();
    int Top();
    int Width();
    int Height();
    void SetLeft(int twips) { Move(twips); }
    void SetTop(int twips) { Move(vmKeep, twips); }
    void SetWidth(int twips) { Move(vmKeep, vmKeep, twips); }
    void SetHeight(int twips) { Move(vmKeep, vmKeep, vmKeep, twips); }
    void Move(int left, int top = vmKeep, int width = vmKeep, int height = vmKeep);
    // 0 brings the control to the front of its siblings, 1 sends it to the back.
    void ZOrder(int position = 0);

    bool Enabled();
    void SetEnabled(bool enabled);
    bool Visible();
    void SetVisible(bool visible);
    void SetFocus();
    void Refresh();

    OleColor BackColor() const { return backColor_; }
    virtual void SetBackColor(OleColor color);
    OleColor ForeColor() const { return foreColor_; }
    virtual void SetForeColor(OleColor color);
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer) { mousePointer_ = pointer; }
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(const std::string& text);

    std::string Tag;
    int Index = -1; // the element's index in a control array, -1 for a single control

    // Events common to the controls. Mouse positions are in twips from the
    // control's top left corner (a picture box uses its own scale).
    std::function<void()> Click, DblClick, GotFocus, LostFocus;
    std::function<void(int Button, int Shift, float X, float Y)> MouseDown, MouseMove, MouseUp;
    // A handler that sets the key to 0 swallows it.
    std::function<void(int& KeyCode, int Shift)> KeyDown, KeyUp;
    std::function<void(int& KeyAscii)> KeyPress;

    // For the toolkit: the reflected notifications and the form's life.
    virtual void onCommand(int /*code*/, int /*id*/) {}
    virtual bool onNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    virtual void onScroll(int /*code*/) {}
    virtual HBRUSH onCtlColor(HDC dc);
    // Messages of the control's own window before its window procedure; true = handled.
    virtual bool onMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }
    // The form is unloading: the window is gone and the control's contents with it.
    virtual void reset();
    // The parent's client area changed size (aligned controls place themselves).
    virtual void parentResized() {}
    // The control's form takes input again: a modal window that had disabled it closed.
    virtual void modalWindowClosed() {}

protected:
    // A window that tells its parent nothing of clicks (a plain window such as
    // the picture box's): the toolkit makes Click from a left press and release
    // inside it and DblClick from the second press of a double-click.
    virtual bool clicksFromButtons() const { return false; }
    // Mouse messages reach the control's tool tip also while the control has no tool tip text of its own.
    virtual bool hasToolTips() const { return !toolTip_.empty(); }
    // MouseUp for a release that the control's window tells by a notification
    // (some controls keep the button-up message to themselves): raised once a
    // press, whether the message or the notification comes first.
    void raiseMouseUp(int button, float x, float y);
    // Keeps the control behind the other controls of its parent, whatever is created or raised after it.
    void keepBehindSiblings();
    // Creates the window (position in twips) and hooks it into the toolkit.
    void createWindow(Window& parent, const char* className, DWORD style, DWORD exStyle, const std::string& text,
                      int left, int top, int width, int height);
    HWND handle() const { return hwnd_; }
    // The answer of the window's own procedure, for a message onMessage amends.
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // Makes a window the control owns (a combo box's edit box) hand its keys
    // to the control's KeyDown, KeyPress and KeyUp, as if typed into the control.
    void hookChild(HWND child);
    // Mouse positions of the events, from pixels.
    virtual float scaleX(int pixels) { return static_cast<float>(pixelsToTwipsX(pixels)); }
    virtual float scaleY(int pixels) { return static_cast<float>(pixelsToTwipsY(pixels)); }
    std::string windowText();
    void setWindowText(const std::string& text);

    OleColor backColor_ = vbButtonFace;
    OleColor foreColor_ = vbButtonText;

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    bool commonMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void relayToToolTip(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // KeyDown, KeyPress and KeyUp for a key that reached the control's window or a child of it.
    bool keyMessage(HWND from, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    HBRUSH brush();

    Form* owner_;
    HWND hwnd_ = nullptr;
    HBRUSH brush_ = nullptr;
    COLORREF brushColor_ = 0;
    int mousePointer_ = vbDefault;
    std::string toolTip_;
    bool pressed_ = false;  // the left button went down in the window and has not come up
    bool upRaised_ = true;  // MouseUp was raised for the last press
};

// Hands a notification that arrived at a parent window back to the control
// that sent it; true when a control took it (result then holds the answer).
bool reflectToControl(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// A control array (cmdAction(0), picFilm(1) ...): elements by index, created
// on first use, each with its Index set.
template <class T>
class ControlArray {
public:
    explicit ControlArray(Form* owner) : owner_(owner) {}
    T& operator()(int index) {
        auto found = items_.find(index);
        if (found != items_.end()) return *found->second;
        auto item = std::make_unique<T>(owner_);
        item->Index = index;
        return *items_.emplace(index, std::move(item)).first->second;
    }
    bool exists(int index) const { return items_.count(index) != 0; }
    // Removes an element (its window goes with it).
    void Unload(int index) { items_.erase(index); }
    int Count() const { return static_cast<int>(items_.size()); }
    int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
    int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }

private:
    Form* owner_;
    std::map<int, std::unique_ptr<T>> items_;
};

} // namespace vm

// Binds a control's event to the form's handler named <control>_<Event>:
//   VM_ON(pnlResult, ItemClick);   // calls this->pnlResult_ItemClick(item)
// For an element of a control array the handler gets the index first:
//   VM_ON_INDEX(mnuViewArrange, 2, Click);   // calls this->mnuViewArrange_Click(2)
#define VM_ON(ctl, Event)                                                                                  \
    (ctl).Event = [this](auto&&... args) { return this->ctl##_##Event(std::forward<decltype(args)>(args)...); }
#define VM_ON_INDEX(ctl, index, Event)                                                                     \
    (ctl)(index).Event = [this, i_ = (index)](auto&&... args) {                                            \
        return this->ctl##_##Event(i_, std::forward<decltype(args)>(args)...);                             \
    }
