// Forms, menus, the standard controls and the seam, on hidden windows.
#include "controls_basic.h"
#include "timer.h"
#include "form.h"
#include "menu.h"
#include "seam.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FrmBasic : public vm::Form {
public:
    FrmBasic() : Form("frmBasic") {
        design.caption = "Basic";
        design.width = 6000;
        design.height = 4500;
    }
    vm::MenuItem mnuFile{this}, mnuFileOpen{this}, mnuFileSep{this}, mnuFileSave{this}, mnuFileSep2{this},
        mnuFileExit{this};
    vm::ComboBox cmbMode{this};
    vm::ListBox lstItems{this};
    vm::Frame fraOptions{this};
    vm::OptionButton optA{this}, optB{this};
    vm::CheckBox chkFlag{this};

    std::vector<std::string> events;
    int queryCancel = 0;

protected:
    void CreateControls() override {
        mnuFile.create(*this, "&File");
        mnuFileOpen.create(mnuFile, "&Open...\tCtrl+O");
        mnuFileSep.create(mnuFile, "-");
        mnuFileSave.create(mnuFile, "&Save");
        mnuFileSep2.create(mnuFile, "-");
        mnuFileExit.create(mnuFile, "E&xit");
        cmbMode.create(*this, 120, 120, 2000, 1500, vm::vbComboDropdownList);
        lstItems.create(*this, 120, 600, 2000, 1200);
        fraOptions.create(*this, 2400, 120, 2400, 1500, "Options");
        optA.create(fraOptions, 120, 240, 2000, 300, "A");
        optB.create(fraOptions, 120, 600, 2000, 300, "B");
        chkFlag.create(*this, 2400, 1800, 2000, 300, "Flag");
        VM_ON(cmbMode, Click);
        VM_ON(lstItems, Click);
        VM_ON(optA, Click);
        VM_ON(optB, Click);
        VM_ON(chkFlag, Click);
        VM_ON(mnuFileOpen, Click);
    }
    void Form_Load() override { events.push_back("Load"); }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        events.push_back("QueryUnload " + std::to_string(UnloadMode));
        Cancel = queryCancel;
    }
    void Form_Unload(int&) override { events.push_back("Unload"); }
    void cmbMode_Click() { events.push_back("cmbMode " + std::to_string(cmbMode.ListIndex())); }
    void lstItems_Click() { events.push_back("lstItems " + std::to_string(lstItems.ListIndex())); }
    void optA_Click() { events.push_back("optA"); }
    void optB_Click() { events.push_back("optB"); }
    void chkFlag_Click() { events.push_back("chkFlag " + std::to_string(chkFlag.Value())); }
    void mnuFileOpen_Click() { events.push_back("open"); }
};

// The captions of a menu as Windows shows them.
std::vector<std::string> shownItems(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back(info.fType & MFT_SEPARATOR ? "-" : text);
    }
    return items;
}

TEST(Form, LoadRunsCreateControlsThenFormLoadAndUnloadModesReachQueryUnload) {
    FrmBasic form;
    EXPECT_FALSE(form.IsLoaded());
    // Touching a control loads the form, as the program expects.
    form.cmbMode.AddItem("16");
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_EQ(form.events, std::vector<std::string>{"Load"});
    EXPECT_FALSE(form.Visible());

    form.queryCancel = 1;
    EXPECT_FALSE(form.Unload());
    EXPECT_TRUE(form.IsLoaded());
    SendMessageA(form.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(form.IsLoaded());
    form.queryCancel = 0;
    SendMessageA(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.events, (std::vector<std::string>{"Load", "QueryUnload 1", "QueryUnload 0", "QueryUnload 0",
                                                     "Unload"}));
    // A second load starts afresh with an empty list.
    form.events.clear();
    form.Load();
    EXPECT_EQ(form.cmbMode.ListCount(), 0);
    SendMessageA(form.hWnd(), WM_QUERYENDSESSION, 0, 0);
    EXPECT_TRUE(form.Unload());
    EXPECT_EQ(form.events, (std::vector<std::string>{"Load", "QueryUnload 2", "QueryUnload 1", "Unload"}));
}

TEST(Form, CreateBuildsTheHiddenWindowAndLoadThenOnlyRunsFormLoad) {
    FrmBasic form;
    form.Create();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_TRUE(form.events.empty());
    const HWND created = FindWindowA(nullptr, "Basic");
    ASSERT_NE(created, nullptr);
    EXPECT_FALSE(IsWindowVisible(created));
    form.Create(); // once
    form.Load();
    EXPECT_EQ(form.hWnd(), created);
    EXPECT_EQ(form.events, std::vector<std::string>{"Load"});
    EXPECT_EQ(shownItems(GetSubMenu(GetMenu(created), 0)).size(), 5u); // the menus were built once
    EXPECT_TRUE(form.Unload());
    // Loaded again after an unload, the form builds a new window.
    form.events.clear();
    form.Load();
    EXPECT_NE(form.hWnd(), nullptr);
    EXPECT_EQ(form.events, std::vector<std::string>{"Load"});
    EXPECT_TRUE(form.Unload());
    // Touching a control of a form created ahead loads it, as it loads any form.
    form.events.clear();
    form.Create();
    form.cmbMode.AddItem("16");
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_EQ(form.events, std::vector<std::string>{"Load"});
    EXPECT_TRUE(form.Unload());
}

TEST(Form, ValuesSetFromCodeRaiseClick) {
    FrmBasic form;
    form.Load();
    form.cmbMode.AddItem("16");
    form.cmbMode.AddItem("32");
    form.cmbMode.SetItemData(1, 32);
    form.cmbMode.SetListIndex(1);
    form.cmbMode.SetListIndex(1); // no change, no event
    EXPECT_EQ(form.cmbMode.Text(), "32");
    EXPECT_EQ(form.cmbMode.ItemData(1), 32);
    form.lstItems.AddItem("a");
    form.lstItems.AddItem("c");
    form.lstItems.AddItem("b", 1);
    EXPECT_EQ(form.lstItems.NewIndex(), 1);
    form.lstItems.SetListIndex(2);
    EXPECT_EQ(form.lstItems.Text(), "c");
    form.optA.SetValue(true);
    form.optB.SetValue(true);
    EXPECT_FALSE(form.optA.Value());
    form.chkFlag.SetValue(vm::vbChecked);
    EXPECT_EQ(form.events, (std::vector<std::string>{"Load", "cmbMode 1", "lstItems 2", "optA", "optB",
                                                     "chkFlag 1"}));
    EXPECT_THROW(form.cmbMode.SetListIndex(5), vm::VbError);
    form.Unload();
}

TEST(Menu, HiddenItemsReturnToTheirPlaceWithSeparators) {
    FrmBasic form;
    form.Load();
    HMENU file = form.mnuFile.popup();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(shownItems(file), (std::vector<std::string>{"&Open...\tCtrl+O", "-", "&Save", "-", "E&xit"}));
    form.mnuFileSave.SetVisible(false);
    form.mnuFileSep.SetVisible(false);
    EXPECT_EQ(shownItems(file), (std::vector<std::string>{"&Open...\tCtrl+O", "-", "E&xit"}));
    form.mnuFileSave.SetCaption("Save &As");
    form.mnuFileSave.SetEnabled(false);
    form.mnuFileSave.SetVisible(true);
    form.mnuFileSep.SetVisible(true);
    EXPECT_EQ(shownItems(file), (std::vector<std::string>{"&Open...\tCtrl+O", "-", "Save &As", "-", "E&xit"}));
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED);
    form.mnuFileOpen.SetChecked(true);
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED);
    // Hiding the top item takes the whole menu off the bar and back.
    form.mnuFile.SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(GetMenu(form.hWnd())), -1);
    form.mnuFile.SetVisible(true);
    EXPECT_EQ(shownItems(GetMenu(form.hWnd())), std::vector<std::string>{"&File"});
    form.Unload();
}

TEST(Menu, ArrayElementsLoadedAtRunTimeFollowTheirSibling) {
    FrmBasic form;
    form.Load();
    vm::ControlArray<vm::MenuItem> mnuRecent(&form);
    mnuRecent(0).create(form.mnuFile, "-");
    int clicked = -1;
    for (int i = 1; i <= 2; ++i) {
        mnuRecent(i).createAfter(mnuRecent(i - 1), "Recent " + std::to_string(i));
        mnuRecent(i).Click = [&clicked, i] { clicked = i; };
    }
    EXPECT_EQ(shownItems(form.mnuFile.popup()),
              (std::vector<std::string>{"&Open...\tCtrl+O", "-", "&Save", "-", "E&xit", "-", "Recent 1", "Recent 2"}));
    SendMessageA(form.hWnd(), WM_COMMAND, mnuRecent(2).id(), 0);
    EXPECT_EQ(clicked, 2);
    mnuRecent.Unload(1);
    EXPECT_EQ(shownItems(form.mnuFile.popup()).back(), "Recent 2");
    EXPECT_EQ(GetMenuItemCount(form.mnuFile.popup()), 7);
    // A shortcut reaches an enabled item only.
    form.mnuFileOpen.SetEnabled(false);
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.mnuFileOpen.id(), 1), 0);
    form.mnuFileOpen.SetEnabled(true);
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.mnuFileOpen.id(), 1), 0);
    EXPECT_EQ(form.events, (std::vector<std::string>{"Load", "open"}));
    form.Unload();
}

TEST(Menu, PopupMenuChoiceComesThroughTheSeam) {
    FrmBasic form;
    form.Load();
    vm::Seam& seam = vm::Seam::get();
    seam.reset();
    seam.setScripted(true);
    seam.queueText("Open...");
    form.PopupMenu(form.mnuFile, 0, 0, 0, &form.mnuFileOpen);
    seam.setScripted(false);
    ASSERT_EQ(seam.requests().size(), 1u);
    EXPECT_EQ(seam.requests()[0].kind, "PopupMenu");
    EXPECT_EQ(seam.requests()[0].prompt, "File");
    EXPECT_EQ(form.events.back(), "open");
    seam.reset();
    form.Unload();
}

TEST(Seam, ScriptedMessageBoxAnswerReachesTheCaller) {
    vm::Seam& seam = vm::Seam::get();
    seam.reset();
    seam.setScripted(true);
    seam.queueCode(vm::vbNo);
    EXPECT_EQ(vm::MsgBox("Rebuild now?", vm::vbYesNo | vm::vbQuestion, "Rebuild"), vm::vbNo);
    EXPECT_EQ(vm::MsgBox("Done"), vm::vbOK);
    seam.setScripted(false);
    ASSERT_EQ(seam.requests().size(), 2u);
    EXPECT_EQ(seam.requests()[0].prompt, "Rebuild now?");
    EXPECT_EQ(seam.requests()[0].title, "Rebuild");
    EXPECT_EQ(seam.requests()[0].style, vm::vbYesNo | vm::vbQuestion);
    EXPECT_EQ(seam.requests()[1].title, "Vellumar");
    seam.reset();
}

TEST(Form, ScriptedModalShowLoadsAndRecords) {
    FrmBasic form;
    vm::Seam& seam = vm::Seam::get();
    seam.reset();
    seam.setScripted(true);
    int calls = 0;
    vm::Form::scriptedModal = [&](vm::Form& shown) {
        ++calls;
        EXPECT_EQ(&shown, &form);
        shown.Unload();
    };
    form.Show(vm::vbModal);
    vm::Form::scriptedModal = nullptr;
    seam.setScripted(false);
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(seam.requests().size(), 1u);
    EXPECT_EQ(seam.requests()[0].kind, "Form");
    EXPECT_EQ(seam.requests()[0].prompt, "frmBasic");
    EXPECT_FALSE(form.IsLoaded());
    seam.reset();
}

TEST(Form, GeometryIsInTwips) {
    EXPECT_EQ(vm::TwipsPerPixelX(), 15);
    EXPECT_EQ(vm::TwipsPerPixelY(), 15);
    EXPECT_EQ(vm::twipsToPixelsX(689), 46);
    EXPECT_EQ(vm::resolveColor(vm::vbButtonFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(vm::resolveColor(0x00112233u), 0x00112233u);
    FrmBasic form;
    form.Load();
    form.Move(1500, 1200, 6000, 4500);
    EXPECT_EQ(form.Left(), 1500);
    EXPECT_EQ(form.Width(), 6000);
    RECT client{};
    GetClientRect(form.hWnd(), &client);
    EXPECT_EQ(form.ScaleWidth(), client.right * 15);
    form.optA.Move(300, 450, 1500, 300);
    EXPECT_EQ(form.optA.Left(), 300);
    EXPECT_EQ(form.optA.Top(), 450);
    EXPECT_EQ(form.optA.Width(), 1500);
    EXPECT_THROW(form.optA.SetWidth(-15), vm::VbError);
    form.Unload();
}

} // namespace

namespace {

class FrmModal : public vm::Form {
public:
    FrmModal() : Form("frmModal") {}
    vm::TimerControl tmrClose{this};
    bool closedByTimer = false;

protected:
    void CreateControls() override {
        tmrClose.create(*this, 30, true);
        VM_ON(tmrClose, Timer);
    }
    void tmrClose_Timer() {
        closedByTimer = true;
        Unload();
    }
};

TEST(Form, ModalShowAndTheMessageLoopEndWhenTheFormsAreUnloaded) {
    // A modal form runs its own loop until it is unloaded.
    FrmModal modal;
    modal.Show(vm::vbModal);
    EXPECT_TRUE(modal.closedByTimer);
    EXPECT_FALSE(modal.IsLoaded());
    // The program's loop ends with the last form.
    FrmModal last;
    last.Show();
    ASSERT_EQ(vm::Form::loadedCount(), 1);
    EXPECT_EQ(vm::Form::loadedForms(), std::vector<vm::Form*>{&last});
    vm::RunMessageLoop();
    EXPECT_TRUE(last.closedByTimer);
    EXPECT_EQ(vm::Form::loadedCount(), 0);
    EXPECT_TRUE(vm::Form::loadedForms().empty());
}

// A modal dialog whose button hides it and hands its long work over.
class FrmHandOver : public vm::Form {
public:
    FrmHandOver() : Form("frmHandOver") {}
    vm::TimerControl tmrStart{this};
    std::vector<std::string> steps;
    HWND owner = nullptr;

protected:
    void CreateControls() override {
        tmrStart.create(*this, 30, true);
        VM_ON(tmrStart, Timer);
    }
    void tmrStart_Timer() {
        tmrStart.SetEnabled(false);
        Hide();
        HandOver([this] { steps.push_back(IsWindowEnabled(owner) ? "work, owner enabled" : "work, owner disabled"); });
        steps.push_back("handed over");
    }
};

TEST(Form, WorkHandedOverByAModalFormRunsAfterItsShowWithTheOwnerEnabled) {
    FrmBasic owner;
    owner.Show();
    FrmHandOver dialog;
    dialog.owner = owner.hWnd();
    dialog.Show(vm::vbModal, &owner);
    dialog.steps.push_back("show returned");
    EXPECT_EQ(dialog.steps, (std::vector<std::string>{"handed over", "work, owner enabled", "show returned"}));
    // Outside a modal show the work runs at once.
    dialog.steps.clear();
    dialog.HandOver([&] { dialog.steps.push_back("at once"); });
    EXPECT_EQ(dialog.steps, std::vector<std::string>{"at once"});
    dialog.Unload();
    owner.Unload();
}

} // namespace
