#pragma once
// Menu items of a form: the menu bar, its drop-down menus and the pop-up menus
// (a top-level item that is not Visible stays off the bar but can be shown
// with Form::PopupMenu). Items keep their designed order: hiding an item takes
// it out of its menu and showing it puts it back at its designed place,
// separators ("-") included. A caption with a tab and a key name
// ("&Copy\tCtrl+C", "&Refresh\tF5") also makes the key a shortcut of the form.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vm {

class Form;

class MenuItem {
public:
    explicit MenuItem(Form* owner);
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    // A top-level item of the form's menu (on the bar unless made invisible).
    void create(Form& form, const std::string& caption, bool visible = true);
    // An item of parent's menu, after its present items.
    void create(MenuItem& parent, const std::string& caption, bool visible = true);
    // An item placed right after sibling (for elements of a control array loaded at run time).
    void createAfter(MenuItem& sibling, const std::string& caption, bool visible = true);
    // Takes the item (and its items) out of the menu for good.
    void destroy();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    std::string Tag;
    int Index = -1; // the element's index in a control array, -1 for a single item

    std::function<void()> Click;

    // For the toolkit.
    UINT id() const { return id_; }
    HMENU popup() const { return popup_; }
    const std::vector<MenuItem*>& items() const { return children_; }
    MenuItem* parent() const { return parent_; }
    bool topLevel() const { return parent_ == nullptr; }
    // The shortcut the caption names (fVirt in accel.fVirt; false when none).
    bool shortcut(ACCEL& accel) const;
    void build();          // inserts the item (and its items) into the menus
    void releaseHandles(); // the form's menus are gone
    // The item's place among the items shown in its menu.
    UINT position() const;
    HMENU container() const;

private:
    void attach(MenuItem* parent, MenuItem* after, const std::string& caption, bool visible);
    void insert();
    void remove();
    // stateOnly: only the enabled or checked state changed, so the menu bar keeps its layout.
    void update(bool stateOnly = false);

    Form* owner_;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> children_;
    std::string caption_;
    bool enabled_ = true, checked_ = false, visible_ = true;
    bool attached_ = false;
    bool inserted_ = false;
    UINT id_;
    unsigned order_ = 0;
    HMENU popup_ = nullptr;
};

// Shows a pop-up menu at a screen point and returns the command chosen (0 for
// none). Goes through the seam: scripted, it records a "PopupMenu" request
// named name and chooses the item whose caption (without "&" and shortcut)
// the queued answer's text names.
UINT trackPopup(HWND owner, HMENU menu, POINT at, UINT flags, const std::string& name);

} // namespace vm
