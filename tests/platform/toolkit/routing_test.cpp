// The toolkit's message routing together with the program's subclassing
// service on the same windows.
#include "controls_basic.h"
#include "eventerror.h"
#include "form.h"
#include "listview.h"
#include "picturebox.h"
#include "subclass.h"
#include "timer.h"
#include "vberror.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class FrmRouting : public vm::Form {
public:
    FrmRouting() : Form("frmRouting") {}
    vm::CommandButton cmdGo{this};
    vm::PictureBox picBox{this};
    int clicks = 0, mouseDowns = 0;

protected:
    void CreateControls() override {
        cmdGo.create(*this, 120, 120, 1200, 400, "Go");
        picBox.create(*this, 120, 720, 1200, 1200);
        VM_ON(cmdGo, Click);
        VM_ON(picBox, MouseDown);
    }
    void cmdGo_Click() { ++clicks; }
    void picBox_MouseDown(int, int, float, float) { ++mouseDowns; }
};

// Notes the messages it is given and which control the toolkit then names for the window.
class Listener : public vm::ISubclass {
public:
    std::vector<UINT> heard;
    std::vector<vm::Control*> controlsSeen;
    vm::EMsgResponse MsgResponse() const override { return vm::emrPostProcess; }
    void MsgResponse(vm::EMsgResponse) override {}
    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM, LPARAM) override {
        heard.push_back(msg);
        controlsSeen.push_back(vm::Control::fromHandle(hwnd));
        return 0;
    }
};

TEST(Routing, ControlsKeepTheirEventsUnderTheSubclassingService) {
    FrmRouting form;
    form.Load();
    Listener listener;
    HWND box = form.picBox.hWnd();
    ASSERT_TRUE(vm::AttachMessage(&listener, box, WM_LBUTTONDOWN));
    ASSERT_TRUE(vm::AttachMessage(&listener, form.cmdGo.hWnd(), BM_CLICK));
    SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(form.cmdGo.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(listener.heard, (std::vector<UINT>{WM_LBUTTONDOWN, BM_CLICK}));
    EXPECT_EQ(form.mouseDowns, 1);
    EXPECT_EQ(form.clicks, 1); // the button's notification came back to it through the form

    // Letting go puts the toolkit's procedure back in front.
    vm::DetachMessage(&listener, box, WM_LBUTTONDOWN);
    SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(form.mouseDowns, 2);
    EXPECT_EQ(listener.heard.size(), 2u);

    // Both let go of windows that go with their form, the service first.
    ASSERT_TRUE(vm::AttachMessage(&listener, box, WM_DESTROY));
    form.Unload();
    EXPECT_EQ(listener.heard.back(), static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(listener.controlsSeen.back(), &form.picBox);
    EXPECT_FALSE(form.picBox.created());
    EXPECT_EQ(vm::Control::fromHandle(box), nullptr);

    // Loaded again, the controls get new windows and their events.
    form.Load();
    SendMessageA(form.picBox.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(form.cmdGo.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.mouseDowns, 3);
    EXPECT_EQ(form.clicks, 2);
    form.Unload();
}

TEST(Routing, AControlGoingAwayHearsNothingOfItsWindowsLastMessages) {
    FrmRouting form;
    form.Load();
    auto list = std::make_unique<vm::ListView>(&form);
    list->create(form, 1500, 120, 3000, 2000);
    for (int i = 0; i < 3; ++i) list->ListItems.Add(-1, "", "item");
    HWND window = list->hWnd();
    Listener listener;
    ASSERT_TRUE(vm::AttachMessage(&listener, window, WM_DESTROY));
    list.reset();
    // The service still saw the window out, but the toolkit no longer named the control for it.
    ASSERT_EQ(listener.heard, std::vector<UINT>{WM_DESTROY});
    EXPECT_EQ(listener.controlsSeen.front(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    SendMessageA(form.cmdGo.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.clicks, 1);
    form.Unload();
}

TEST(Routing, AControlsToolTipShowsWhenThePointerRestsOnIt) {
    FrmRouting form;
    form.Show(vm::vbModeless);
    form.cmdGo.SetToolTipText("Start the work");
    HWND tip = form.toolTipWindow();
    ASSERT_NE(tip, nullptr);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
    RECT r{};
    GetWindowRect(form.cmdGo.hWnd(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    POINT inside{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
    // The pointer comes to rest on the button.
    SendMessageA(form.cmdGo.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
    bool shown = false;
    for (int i = 0; i < 200 && !shown; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        shown = IsWindowVisible(tip) != FALSE;
        if (!shown) Sleep(10);
    }
    EXPECT_TRUE(shown);
    char text[64] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.lpszText = text;
    if (shown && SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
        EXPECT_STREQ(text, "Start the work");
    }
    form.Unload();
}

std::vector<std::string> g_reported;
void recordReport(const std::exception& error) { g_reported.push_back(error.what()); }

class FrmThrowing : public vm::Form {
public:
    FrmThrowing() : Form("frmThrowing") {}
    vm::CommandButton cmdGo{this};
    vm::PictureBox picBox{this};
    vm::TimerControl tmrTick{this};
    int ticks = 0;

protected:
    void CreateControls() override {
        cmdGo.create(*this, 120, 120, 1200, 400, "Go");
        picBox.create(*this, 120, 720, 1200, 1200);
        tmrTick.create(*this, 20, false);
        VM_ON(cmdGo, Click);
        VM_ON(picBox, MouseDown);
        VM_ON(tmrTick, Timer);
    }
    void cmdGo_Click() { throw vm::VbError(5, "Vellumar", "Invalid procedure call or argument"); }
    void picBox_MouseDown(int, int, float, float) { throw std::bad_alloc(); }
    void tmrTick_Timer() {
        if (++ticks == 1) throw std::runtime_error("first tick");
        Unload();
    }
};

TEST(Routing, AnErrorAHandlerThrowsEndsInTheReportAndTheProgramGoesOn) {
    g_reported.clear();
    vm::SetEventErrorReport(recordReport);
    FrmThrowing form;
    form.Show();
    SendMessageA(form.cmdGo.hWnd(), BM_CLICK, 0, 0);
    SendMessageA(form.picBox.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    form.tmrTick.SetEnabled(true);
    vm::RunMessageLoop(); // ends when the second tick unloads the form
    vm::SetEventErrorReport(nullptr);
    EXPECT_EQ(form.ticks, 2);
    EXPECT_EQ(g_reported, (std::vector<std::string>{"Invalid procedure call or argument", "std::bad_alloc",
                                                   "first tick"}));
}

} // namespace

namespace {
class FrmCombos : public vm::Form {
public:
    FrmCombos() : Form("frmCombos") {}
    vm::ComboBox cmbDrop{this}, cmbSimple{this};
    std::vector<std::string> heard;

protected:
    void CreateControls() override {
        cmbDrop.create(*this, 120, 120, 2400, 2000, vm::vbComboDropdown);
        cmbSimple.create(*this, 120, 720, 2400, 2000, vm::vbComboSimple);
        for (vm::ComboBox* box : {&cmbDrop, &cmbSimple}) {
            const std::string name = box == &cmbDrop ? "drop" : "simple";
            box->KeyDown = [this, name](int& key, int) { heard.push_back(name + " down " + std::to_string(key)); };
            box->KeyUp = [this, name](int& key, int) { heard.push_back(name + " up " + std::to_string(key)); };
            box->KeyPress = [this, name](int& key) {
                heard.push_back(name + " press " + std::to_string(key));
                if (key == 'x') key = 0;      // swallowed
                else if (key == 'a') key = 'b'; // typed as another key
            };
        }
    }
};

HWND editOf(vm::ComboBox& box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(box.hWnd(), &info) ? info.hwndItem : nullptr;
}
} // namespace

TEST(Routing, KeysTypedIntoAComboBoxsEditBoxReachTheComboBox) {
    FrmCombos form;
    form.Load();
    for (vm::ComboBox* box : {&form.cmbDrop, &form.cmbSimple}) {
        HWND edit = editOf(*box);
        ASSERT_NE(edit, nullptr);
        ASSERT_NE(edit, box->hWnd());
        EXPECT_EQ(vm::Control::fromHandle(edit), nullptr); // the edit box is no control of its own
        SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageA(edit, WM_CHAR, 'a', 0);
        SendMessageA(edit, WM_CHAR, 'x', 0);
        SendMessageA(edit, WM_KEYUP, VK_F1, 0);
        EXPECT_EQ(box->Text(), "b");
    }
    EXPECT_EQ(form.heard, (std::vector<std::string>{"drop down 13", "drop press 97", "drop press 120", "drop up 112",
                                                    "simple down 13", "simple press 97", "simple press 120",
                                                    "simple up 112"}));
    form.Unload();
    EXPECT_EQ(vm::Control::fromHandle(editOf(form.cmbDrop)), nullptr);
}
