// Every control kind of the toolkit, live on a shown form, answers a real
// click, double-click and key with each event a form can subscribe to, once.
#include "scenario.h"

#include <commctrl.h>

#include <map>

#include "toolkit.h"

using namespace vm;
using namespace vmscenario;

namespace {

using Counts = std::map<std::string, int>;

class FrmEveryControl : public Form {
public:
    FrmEveryControl() : Form("frmEveryControl") {
        design.caption = "Every control";
        design.width = 9600;
        design.height = 7200;
        design.startUpPosition = vbStartUpScreen;
    }
    Label lblLabel{this};
    CommandButton cmdButton{this};
    CheckBox chkBox{this};
    OptionButton optOption{this};
    TextBox txtText{this};
    Frame fraFrame{this};
    ComboBox cmbCombo{this};
    ListBox lstList{this};
    PictureBox picPicture{this};
    ListView lvwList{this};
    TreeView tvwTree{this};
    Toolbar tbrBar{this};
    StatusBar sbrBar{this};
    ProgressBar prgBar{this};
    Slider sldSlider{this};
    TabStrip tabStrip{this};
    Counts counts;

protected:
    void CreateControls() override {
        tbrBar.create(*this);
        tbrBar.Buttons.Add(-1, "go", "Go");
        lblLabel.create(*this, 240, 720, 1200, 255, "Label");
        cmdButton.create(*this, 240, 1080, 1200, 375, "Button");
        chkBox.create(*this, 240, 1560, 1200, 300, "Check");
        optOption.create(*this, 240, 1920, 1200, 300, "Option");
        txtText.create(*this, 240, 2280, 1200, 315);
        fraFrame.create(*this, 240, 2760, 1500, 900, "Frame");
        cmbCombo.create(*this, 1800, 720, 1500, 1500, vbComboDropdownList);
        for (const char* entry : {"one", "two"}) cmbCombo.AddItem(entry);
        lstList.create(*this, 1800, 1200, 1500, 900);
        for (const char* entry : {"one", "two"}) lstList.AddItem(entry);
        picPicture.create(*this, 1800, 2280, 1500, 900);
        lvwList.create(*this, 3600, 720, 2400, 1500, vm::lvwList);
        lvwList.ListItems.Add(-1, "a", "item");
        tvwTree.create(*this, 3600, 2400, 2400, 1500);
        tvwTree.Nodes.Add(nullptr, tvwLast, "n", "node");
        prgBar.create(*this, 6240, 720, 2400, 300);
        sldSlider.create(*this, 6240, 1200, 2400, 420);
        sldSlider.SetMin(1);
        sldSlider.SetMax(10);
        tabStrip.create(*this, 6240, 1800, 2400, 1200);
        tabStrip.Tabs.Add(-1, "one", "One");
        tabStrip.Tabs.Add(-1, "two", "Two");
        sbrBar.create(*this);
        sbrBar.Panels.Add(-1, "p", "Panel");

        for (auto [kind, c] : std::initializer_list<std::pair<const char*, Control*>>{
                 {"Label", &lblLabel},     {"CommandButton", &cmdButton}, {"CheckBox", &chkBox},
                 {"OptionButton", &optOption}, {"TextBox", &txtText},   {"Frame", &fraFrame},
                 {"ComboBox", &cmbCombo},  {"ListBox", &lstList},       {"PictureBox", &picPicture},
                 {"ListView", &lvwList},   {"TreeView", &tvwTree},      {"Toolbar", &tbrBar},
                 {"StatusBar", &sbrBar},   {"ProgressBar", &prgBar},    {"Slider", &sldSlider},
                 {"TabStrip", &tabStrip}}) {
            const std::string k = kind;
            c->Click = count(k + ".Click");
            c->DblClick = count(k + ".DblClick");
            c->MouseDown = [this, k](int, int, float, float) { ++counts[k + ".MouseDown"]; };
            c->MouseUp = [this, k](int, int, float, float) { ++counts[k + ".MouseUp"]; };
            c->KeyDown = [this, k](int&, int) { ++counts[k + ".KeyDown"]; };
            c->KeyUp = [this, k](int&, int) { ++counts[k + ".KeyUp"]; };
            c->KeyPress = [this, k](int&) { ++counts[k + ".KeyPress"]; };
        }
        txtText.Change = count("TextBox.Change");
        cmbCombo.DropDown = count("ComboBox.DropDown");
        lvwList.ItemClick = [this](ListItem&) { ++counts["ListView.ItemClick"]; };
        tvwTree.NodeClick = [this](Node&) { ++counts["TreeView.NodeClick"]; };
        tbrBar.ButtonClick = [this](ToolbarButton&) { ++counts["Toolbar.ButtonClick"]; };
        sbrBar.PanelClick = [this](Panel&) { ++counts["StatusBar.PanelClick"]; };
        sbrBar.PanelDblClick = [this](Panel&) { ++counts["StatusBar.PanelDblClick"]; };
        sldSlider.Change = count("Slider.Change");
    }

private:
    std::function<void()> count(const std::string& name) {
        return [this, name] { ++counts[name]; };
    }
};

POINT middleOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class ToolkitScenario : public ::testing::Test {
protected:
    void SetUp() override {
        f.Show(vbModeless);
        SetForegroundWindow(f.hWnd());
        settle(100);
    }
    void TearDown() override { f.Unload(); }

    // The counts of one kind's events that an action raised.
    Counts raised(const std::string& kind, const std::function<void()>& action) {
        f.counts.clear();
        action();
        settle();
        Counts mine;
        for (const auto& [name, n] : f.counts)
            if (name.rfind(kind + ".", 0) == 0) mine[name.substr(kind.size() + 1)] = n;
        return mine;
    }
    // What an action must raise of a kind's events, beside the kind's own.
    void expect(const std::string& kind, const std::string& action, const std::function<void()>& act, Counts own) {
        Counts got = raised(kind, act);
        for (const auto& [name, n] : own) EXPECT_EQ(got[name], n) << kind << "." << name << " after a " << action;
    }
    // A click raises MouseDown, MouseUp and Click once.
    void expectClick(const std::string& kind, const std::function<void()>& act, Counts own = {}) {
        own.insert({{"MouseDown", 1}, {"MouseUp", 1}, {"Click", 1}});
        expect(kind, "click", act, own);
    }
    void expectDoubleClick(const std::string& kind, const std::function<void()>& act, Counts own = {}) {
        own.insert({"DblClick", 1});
        expect(kind, "double-click", act, own);
    }
    // A key typed into the control that has the focus.
    void expectKey(const std::string& kind, Counts own = {}) {
        own.insert({{"KeyDown", 1}, {"KeyPress", 1}, {"KeyUp", 1}});
        expect(kind, "key", [] { press('A'); }, own);
    }
    // Clicks and double-clicks in the middle of a control.
    void middleActions(const std::string& kind, Control& c, bool keys) {
        expectDoubleClick(kind, [&] {
            RECT r{};
            GetClientRect(c.hWnd(), &r);
            doubleClick(c, r.right / 2, r.bottom / 2);
        });
        expectClick(kind, [&] { click(c); });
        if (keys) expectKey(kind);
    }

    FrmEveryControl f;
};

} // namespace

TEST_F(ToolkitScenario, ThePlainControlsRaiseTheirEventsOnce) {
    middleActions("Label", f.lblLabel, false);
    middleActions("Frame", f.fraFrame, false);
    middleActions("PictureBox", f.picPicture, true);
    expectClick("ProgressBar", [&] { click(f.prgBar); }); // it knows no double-click
    expectDoubleClick("TextBox", [&] { doubleClick(f.txtText, 10, 8); });
    expectClick("TextBox", [&] { click(f.txtText); });
    expectKey("TextBox", {{"Change", 1}});
    // Buttons: each click is a Click (a double-click is two).
    for (auto [kind, c] : std::initializer_list<std::pair<const char*, Control*>>{
             {"CommandButton", &f.cmdButton}, {"CheckBox", &f.chkBox}, {"OptionButton", &f.optOption}}) {
        expectClick(kind, [c = c] { click(*c); });
        expectKey(kind);
    }
}

TEST_F(ToolkitScenario, TheListControlsRaiseTheirEventsOnce) {
    HWND list = f.lstList.hWnd();
    RECT entry{};
    SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
    const POINT e = middleOf(entry);
    expectDoubleClick("ListBox", [&] { doubleClick(f.lstList, e.x, e.y); });
    expectClick("ListBox", [&] { click(f.lstList, e.x, e.y); });
    expectKey("ListBox");

    expect("ComboBox", "click on the arrow", [&] { dropDown(f.cmbCombo); }, {{"DropDown", 1}});
    expect("ComboBox", "click on an entry", [&] { clickListEntry(f.cmbCombo, "two"); }, {{"Click", 1}});
    expectKey("ComboBox");

    // The list view and the tree: the double-click's first press selects, the
    // click after it falls on what is selected and still counts.
    expectDoubleClick("ListView", [&] { doubleClickItem(f.lvwList, 1); }, {{"ItemClick", 1}});
    expectClick("ListView", [&] { clickItem(f.lvwList, 1); }, {{"ItemClick", 1}});
    expectKey("ListView");
    RECT node{};
    const HTREEITEM item = f.tvwTree.Nodes("n").handle();
    memcpy(&node, &item, sizeof item);
    SendMessageA(f.tvwTree.hWnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&node));
    const POINT n = middleOf(node);
    expectDoubleClick("TreeView", [&] { doubleClick(f.tvwTree, n.x, n.y); }, {{"NodeClick", 1}});
    expectClick("TreeView", [&] { click(f.tvwTree, n.x, n.y); }, {{"NodeClick", 1}});
    expectKey("TreeView");
}

TEST_F(ToolkitScenario, TheCommonControlsRaiseTheirEventsOnce) {
    expectClick("Toolbar", [&] { clickButton(f.tbrBar, "go"); }, {{"ButtonClick", 1}});

    RECT panel{};
    SendMessageA(f.sbrBar.hWnd(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel));
    const POINT p = middleOf(panel);
    expectDoubleClick("StatusBar", [&] { doubleClick(f.sbrBar, p.x, p.y); }, {{"PanelDblClick", 1}});
    expectClick("StatusBar", [&] { click(f.sbrBar, p.x, p.y); }, {{"PanelClick", 1}});

    RECT channel{};
    SendMessageA(f.sldSlider.hWnd(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    expectClick("Slider", [&] { click(f.sldSlider, channel.right - 4, (channel.top + channel.bottom) / 2); },
                {{"Change", 1}});
    expectKey("Slider");

    RECT tab{};
    SendMessageA(f.tabStrip.hWnd(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    const POINT t = middleOf(tab);
    expectClick("TabStrip", [&] { click(f.tabStrip, t.x, t.y); });
    EXPECT_EQ(f.tabStrip.SelectedItem()->Key(), "two");
    expectKey("TabStrip");
}
