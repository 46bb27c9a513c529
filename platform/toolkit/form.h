#pragma once
// Forms.
//
// A form is a class deriving from vm::Form. Its controls and menu items are
// members named as the program names them, constructed with the form as owner;
// the form creates their windows in CreateControls(), which runs when the form
// loads, before Form_Load. Event handlers are ordinary member functions named
// <control>_<Event>, bound in CreateControls with VM_ON:
//
//   class FrmDemo : public vm::Form {
//   public:
//       FrmDemo() : Form("frmDemo") { design.caption = "Demo"; design.width = 4800; design.height = 3600; }
//       vm::ListView pnlResult{this};
//       vm::MenuItem mnuFile{this}, mnuFileExit{this};
//   protected:
//       void CreateControls() override {
//           mnuFile.create(*this, "&File");
//           mnuFileExit.create(mnuFile, "E&xit");
//           pnlResult.create(*this, 0, 0, 4000, 3000);
//           VM_ON(pnlResult, ItemClick);
//           VM_ON(mnuFileExit, Click);
//       }
//       void Form_Load() override { ... }
//       void pnlResult_ItemClick(vm::ListItem& item) { ... }
//       void mnuFileExit_Click() { Unload(); }
//   };
//   inline FrmDemo& frmDemo() { return vm::defaultInstance<FrmDemo>(); }
//
// A control array is a vm::ControlArray<T> member; its elements are made on
// first use and their handlers take the index first:
//       vm::ControlArray<vm::MenuItem> mnuViewArrange{this};
//       mnuViewArrange(0).create(mnuViewArrangeIcons, "by &Name");
//       VM_ON_INDEX(mnuViewArrange, 0, Click);   // -> mnuViewArrange_Click(0)
// Menu items and controls added while the form is loaded appear at once
// (MenuItem::createAfter places an element after its sibling); Unload(i)
// removes one again.
//
// The form's own events are the virtual Form_... methods below. Every form
// class has one default instance, alive for the whole run (defaultInstance).
// Positions and sizes are twips. Touching a control of a form that is not
// loaded loads the form first, as the program expects.
#include "control.h"
#include "picture.h"

#include <functional>
#include <string>
#include <vector>

namespace vm {

class MenuItem;

// How a form is being unloaded (Form_QueryUnload's UnloadMode).
enum UnloadMode : int {
    vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3, vbFormMDIForm = 4,
    vbFormOwner = 5,
};
enum FormShow : int { vbModeless = 0, vbModal = 1 };
enum WindowStateKind : int { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
enum ScaleModeKind : int { vbTwips = 1, vbPixels = 3 };
enum BorderStyleKind : int {
    vbBSNone = 0, vbFixedSingle = 1, vbSizable = 2, vbFixedDialog = 3, vbFixedToolWindow = 4,
    vbSizableToolWindow = 5,
};
enum StartUpPositionKind : int { vbStartUpManual = 0, vbStartUpOwner = 1, vbStartUpScreen = 2, vbStartUpWindowsDefault = 3 };

// The designed appearance of a form, set by the form's constructor.
struct FormDesign {
    std::string caption;
    int left = 0, top = 0;              // twips, with vbStartUpManual
    int width = 4800, height = 3600;    // twips, outer size
    int borderStyle = vbSizable;
    bool controlBox = true, minButton = true, maxButton = true;
    int startUpPosition = vbStartUpWindowsDefault;
    bool keyPreview = false;
};

class Form : public Window {
public:
    explicit Form(std::string name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    HWND hWnd() override;
    Form* form() override { return this; }
    static Form* fromHandle(HWND hwnd);

    // Load creates the window, its controls and menus and runs Form_Load
    // (nothing happens when loaded). Unload asks Form_QueryUnload and
    // Form_Unload and destroys the window; false when one of them cancelled.
    void Load();
    // Creates the window, its controls and menus, hidden, without loading the
    // form: work that can be done while the program waits anyway. Load then
    // only runs Form_Load. Nothing happens when created or loaded.
    void Create();
    bool IsCreatedAhead() const { return created_; }
    bool Unload(int mode = vbFormCode);
    bool IsLoaded() const { return loaded_; }
    // Shows the form (loading it first). A modal Show returns when the form is
    // hidden or unloaded; with the seam scripted it records a "Form" request,
    // loads the form and calls Form::scriptedModal (when set) instead of waiting.
    void Show(int modal = vbModeless, Form* owner = nullptr);
    void Hide();
    // Long work that an event of a modal form starts and that the user may
    // stop: it runs once the modal Show has returned, with the windows the form
    // had disabled enabled again; outside a modal Show it runs at once.
    void HandOver(std::function<void()> work);
    // What a scripted modal Show does with the form (the test's part of the person).
    static std::function<void(Form&)> scriptedModal;

    std::string Caption();
    void SetCaption(const std::string& caption);
    bool Visible();
    void SetVisible(bool visible);
    bool Enabled();
    void SetEnabled(bool enabled);
    int WindowState();
    void SetWindowState(int state);
    // The outer window in twips, screen coordinates.
    int Left();
    int Top();
    int Width();
    int Height();
    void SetLeft(int twips) { Move(twips); }
    void SetTop(int twips) { Move(vmKeep, twips); }
    void SetWidth(int twips) { Move(vmKeep, vmKeep, twips); }
    void SetHeight(int twips) { Move(vmKeep, vmKeep, vmKeep, twips); }
    void Move(int left, int top = vmKeep, int width = vmKeep, int height = vmKeep);
    // The client area in the form's scale (twips unless ScaleMode is vbPixels).
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode) { scaleMode_ = mode; }
    int ScaleWidth();
    int ScaleHeight();
    // The size of a text in the form's font, in the form's scale.
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    const Picture& Icon() const { return icon_; }
    void SetIcon(const Picture& icon);
    bool KeyPreview() const { return design.keyPreview; }
    void SetKeyPreview(bool on) { design.keyPreview = on; }
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer) { mousePointer_ = pointer; }
    void ZOrder(int position = 0);
    void SetFocus();
    void Refresh();
    // Shows a menu's items at the mouse (or at x, y in twips of the client
    // area); a click on an item raises its Click before PopupMenu returns.
    // defaultItem is shown bold. Goes through the seam ("PopupMenu").
    void PopupMenu(MenuItem& menu, int flags = 0, int x = vmKeep, int y = vmKeep, MenuItem* defaultItem = nullptr);

    // The number of loaded forms, and the forms themselves in the order they loaded.
    static int loadedCount();
    static std::vector<Form*> loadedForms();

    // For the toolkit.
    void registerControl(Control* control);
    void unregisterControl(Control* control);
    void registerMenu(MenuItem* item);
    void unregisterMenu(MenuItem* item);
    const std::vector<MenuItem*>& menuItems() const { return menus_; }
    HWND toolTipWindow();
    bool menusBuilt() const { return menusBuilt_; }
    HMENU menuBar() const { return menuBar_; }
    // layout: items came, went or changed their text; otherwise only their state changed.
    void menuBarChanged(bool layout = true);
    // While a row of menu changes is made, the bar is drawn anew once, at the end.
    class MenuBarBatch {
    public:
        explicit MenuBarBatch(Form* form) : form_(form) {
            if (form_) ++form_->menuBatches_;
        }
        ~MenuBarBatch();
        MenuBarBatch(const MenuBarBatch&) = delete;
        MenuBarBatch& operator=(const MenuBarBatch&) = delete;

    private:
        Form* form_;
    };
    // The command buttons that Enter (Default) and Esc (Cancel) click.
    void setDefaultButton(Control* button) { defaultButton_ = button; }
    void setCancelButton(Control* button) { cancelButton_ = button; }
    // Key preview and accelerators for a message bound for this form; true = consumed.
    bool preTranslate(MSG& msg);
    // A window of fixed size grows (within the screen) until it holds its own controls whole.
    void fitControls();

protected:
    virtual void CreateControls() {}
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}
    virtual void Form_Unload(int& /*Cancel*/) {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    virtual void Form_KeyDown(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void Form_KeyUp(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void Form_KeyPress(int& /*KeyAscii*/) {}
    virtual void Form_MouseDown(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_MouseMove(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}
    virtual void Form_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}

    FormDesign design;

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void createWindow();
    void buildMenus();
    void destroyMenus();
    void layoutAligned();
    void runModal();
    void runHandedOver();
    void releaseModalDisabled();
    bool finishUnload();
    void teardown();
    float scaled(int pixels, bool horizontal);
    bool keyEvent(UINT msg, WPARAM& wp);
    bool dialogKey(MSG& msg);

    std::string name_;
    HWND hwnd_ = nullptr;
    bool loaded_ = false;
    bool loading_ = false;
    bool shownOnce_ = false;
    int pendingState_ = vbNormal;
    int scaleMode_ = vbTwips;
    int mousePointer_ = vbDefault;
    Picture icon_;
    std::vector<Control*> controls_;
    std::vector<MenuItem*> menus_;
    bool menusBuilt_ = false;
    int menuBatches_ = 0;
    int batchedMenuChange_ = 0; // 0 none, 1 state only, 2 layout
    bool created_ = false; // created by Create and not loaded yet
    HMENU menuBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HWND toolTip_ = nullptr;
    Control* defaultButton_ = nullptr;
    Control* cancelButton_ = nullptr;
    std::vector<HWND> modalDisabled_;
    int modalShows_ = 0; // modal Shows of this form under way
    std::vector<std::function<void()>> handedOver_;
};

// The default instance of a form class, alive for the whole run.
template <class F>
F& defaultInstance() {
    static F instance;
    return instance;
}

// Pumps the messages waiting for the program's windows; returns the number of loaded forms.
int DoEvents();
// The program's message loop: runs until the last form is unloaded.
void RunMessageLoop();
// Routes one message (key preview, accelerators, dialog keys) and dispatches it.
void dispatchMessage(MSG& msg);

} // namespace vm
