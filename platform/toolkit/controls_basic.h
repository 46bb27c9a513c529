#pragma once
// The standard controls: label, command button, check box, option button,
// text box, frame, combo box and list box. Setting a value from code raises
// the events the program relies on: a combo or list box's Click when
// ListIndex changes, a check box's Click when Value changes, an option
// button's Click when it becomes selected (which clears the other option
// buttons of its container). Controls with a caption are sized from it, so
// that no caption is cut (captionfit.h).
#include "control.h"

#include <cstdint>
#include <string>

namespace vm {

enum AlignmentKind : int { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };

class Label : public Control {
public:
    using Control::Control;
    void create(Window& parent, int left, int top, int width, int height, const std::string& caption = "",
                int alignment = vbLeftJustify);
    std::string Caption() { return windowText(); }
    // A caption set while the program runs (an item's name) grows the label,
    // and a window of fixed size with it; what the screen cannot hold ends in
    // "..." and shows whole in the label's tool tip.
    void SetCaption(const std::string& caption);
    void onCommand(int code, int id) override;

private:
    void keepWhole(const std::string& caption);
    int alignment_ = vbLeftJustify;
    bool tipShowsCaption_ = false;
};

class CommandButton : public Control {
public:
    using Control::Control;
    void create(Window& parent, int left, int top, int width, int height, const std::string& caption = "");
    std::string Caption() { return windowText(); }
    void SetCaption(const std::string& caption);
    // Enter (Default) or Esc (Cancel) anywhere on the form clicks the button.
    void SetDefault(bool on);
    void SetCancel(bool on);
    void onCommand(int code, int id) override;
};

enum CheckValue : int { vbUnchecked = 0, vbChecked = 1, vbGrayed = 2 };

class CheckBox : public Control {
public:
    using Control::Control;
    void create(Window& parent, int left, int top, int width, int height, const std::string& caption = "");
    std::string Caption() { return windowText(); }
    void SetCaption(const std::string& caption);
    int Value();
    void SetValue(int value);
    void onCommand(int code, int id) override;
};

class OptionButton : public Control {
public:
    using Control::Control;
    void create(Window& parent, int left, int top, int width, int height, const std::string& caption = "");
    std::string Caption() { return windowText(); }
    void SetCaption(const std::string& caption);
    bool Value();
    void SetValue(bool value);
    void onCommand(int code, int id) override;
};

class TextBox : public Control {
public:
    explicit TextBox(Form* owner);
    // scrollBars: 0 none, 1 horizontal, 2 vertical, 3 both (multi-line boxes).
    void create(Window& parent, int left, int top, int width, int height, const std::string& text = "",
                bool multiLine = false, int scrollBars = 0);
    std::string Text() { return windowText(); }
    void SetText(const std::string& text) { setWindowText(text); }
    bool Locked();
    void SetLocked(bool locked);
    void SetMaxLength(int length);
    void SetPasswordChar(char c);
    int SelStart();
    int SelLength();
    void SetSelStart(int start);
    void SetSelLength(int length);
    std::string SelText();
    void SetSelText(const std::string& text);

    std::function<void()> Change;
    // Typed or pasted text was cut at MaxLength.
    std::function<void()> MaxText;
    void onCommand(int code, int id) override;
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    // Its window tells its parent of no plain click.
    bool clicksFromButtons() const override { return true; }
};

class Frame : public Control {
public:
    using Control::Control;
    void create(Window& parent, int left, int top, int width, int height, const std::string& caption = "");
    // A group box paints only its border and caption; the frame fills the rest,
    // so the controls placed in it never stand on what was there before.
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    std::string Caption() { return windowText(); }
    void SetCaption(const std::string& caption);

protected:
    // Its window tells its parent of no plain click.
    bool clicksFromButtons() const override { return true; }
};

// The list operations that combo boxes and list boxes share.
class ListControl : public Control {
public:
    void AddItem(const std::string& text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount();
    std::string List(int index);
    void SetList(int index, const std::string& text);
    std::int32_t ItemData(int index);
    void SetItemData(int index, std::int32_t value);
    int NewIndex() const { return newIndex_; }
    int ListIndex();
    // Raises Click when the index changes.
    void SetListIndex(int index);

    std::function<void()> Change;

    struct Messages {
        UINT add, insert, remove, reset, count, getText, getTextLength, getData, setData, getSel, setSel;
        int selChange, dblClick;
    };

protected:
    ListControl(Form* owner, const Messages& messages) : Control(owner), m_(messages) {}
    void onCommand(int code, int id) override;
    void checkIndex(int index);

    const Messages& m_;
    int newIndex_ = -1;
};

enum ComboStyle : int { vbComboDropdown = 0, vbComboSimple = 1, vbComboDropdownList = 2 };

class ComboBox : public ListControl {
public:
    explicit ComboBox(Form* owner);
    // height is the height of the box with its list dropped down.
    void create(Window& parent, int left, int top, int width, int height, int style = vbComboDropdown,
                bool sorted = false);
    std::string Text();
    // A drop-down list selects the item of that text (error 383 when there is none).
    void SetText(const std::string& text);
    // The longest text the edit box takes; typed or pasted text beyond it is
    // cut and raises MaxText.
    void SetMaxLength(int length);
    std::function<void()> DropDown;
    std::function<void()> MaxText;
    void onCommand(int code, int id) override;
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    int style_ = vbComboDropdown;
};

class ListBox : public ListControl {
public:
    explicit ListBox(Form* owner);
    void create(Window& parent, int left, int top, int width, int height, bool sorted = false,
                bool multiSelect = false);
    std::string Text();
    bool Selected(int index);
    void SetSelected(int index, bool selected);
    int SelCount();
};

} // namespace vm
