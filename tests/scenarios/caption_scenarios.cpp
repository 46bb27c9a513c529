// Every caption of every window shows whole: the text fits its control, no
// neighbour above it covers it, and it lies inside the window it stands in;
// a window of fixed size holds its own controls whole.
#include "scenario.h"

#include <commctrl.h>

#include "captionfit.h"
#include "frmadd.h"
#include "frmani.h"
#include "frmchange.h"
#include "frmimport.h"
#include "frminfo.h"
#include "frmkey.h"
#include "frmmessage.h"
#include "frmoptions.h"
#include "frmprop.h"
#include "frmscan.h"
#include "frmsplash.h"
#include "frmtip.h"
#include "frmzoom.h"

using namespace vm;
using namespace vmscenario;

namespace {

std::string textOf(HWND h) {
    char text[512] = {};
    GetWindowTextA(h, text, sizeof text);
    return text;
}

std::string classOf(HWND h) {
    char name[64] = {};
    GetClassNameA(h, name, sizeof name);
    return name;
}

RECT inParent(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool shown(HWND h) { return (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0; }

// Where the caption's text stands in its parent, or an empty rectangle when the
// control cannot hold it. Only what a kind surely draws beside the text counts.
RECT captionRect(HWND h) {
    const std::string cls = classOf(h);
    const SIZE text = captionExtent(h, textOf(h));
    RECT r = inParent(h);
    const LONG style = GetWindowLongA(h, GWL_STYLE);
    int beside = 0, align = 0;
    if (lstrcmpiA(cls.c_str(), "Static") == 0) {
        if (r.bottom - r.top >= 2 * text.cy) return r; // wraps over its lines
        align = (style & SS_TYPEMASK) == SS_RIGHT ? 1 : (style & SS_TYPEMASK) == SS_CENTER ? 2 : 0;
    } else {
        const LONG kind = style & BS_TYPEMASK;
        if (kind == BS_GROUPBOX) beside = 8;
        else if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) beside = 4, align = 2;
        else beside = GetSystemMetrics(SM_CXMENUCHECK);
    }
    const int width = text.cx + beside;
    if (width > r.right - r.left) return RECT{};
    const int left = align == 1 ? r.right - text.cx : align == 2 ? r.left + (r.right - r.left - text.cx) / 2
                                                                   : r.left + beside;
    // A label's text stands at its top, the others' in their middle.
    const bool label = lstrcmpiA(cls.c_str(), "Static") == 0;
    const int top = label ? r.top : (r.top + r.bottom - text.cy) / 2;
    return RECT{left, top, left + text.cx, top + text.cy};
}

// The captions of a window that do not show whole, as "window: caption (why)".
std::vector<std::string> cutCaptions(Form& form) {
    struct Walk {
        std::string name;
        std::vector<std::string> cut;
        bool sizable;
    } walk{form.Name(), {}, (GetWindowLongA(form.hWnd(), GWL_STYLE) & WS_THICKFRAME) != 0};
    EnumChildWindows(
        form.hWnd(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto& walk = *reinterpret_cast<Walk*>(lp);
            const std::string cls = classOf(h), text = textOf(h);
            // A button or a box of a dialog's own stands wholly inside it.
            RECT client{}, r = inParent(h), whole{};
            GetClientRect(GetParent(h), &client);
            IntersectRect(&whole, &r, &client);
            const bool line = r.right - r.left <= 2 || r.bottom - r.top <= 2;
            if (shown(h) && GetParent(h) == GetAncestor(h, GA_ROOT) && !walk.sizable && !line &&
                lstrcmpiA(cls.c_str(), "ComboBox") != 0 && !EqualRect(&whole, &r))
                walk.cut.push_back(walk.name + ": " + cls + " \"" + text + "\" (cut by its window's edge)");
            if (text.empty() || !shown(h) ||
                (lstrcmpiA(cls.c_str(), "Static") != 0 && lstrcmpiA(cls.c_str(), "Button") != 0))
                return TRUE;
            const std::string who = walk.name + ": \"" + text + "\"";
            const RECT caption = captionRect(h);
            // A text longer than the screen holds ends in "..." and shows whole in its tool tip.
            if (const Control* c = Control::fromHandle(h); c && c->ToolTipText() == text && (GetWindowLongA(h, GWL_STYLE) & SS_ENDELLIPSIS)) return TRUE;
            if (IsRectEmpty(&caption)) {
                walk.cut.push_back(who + " (narrower than its text)");
                return TRUE;
            }
            RECT parent{};
            GetClientRect(GetParent(h), &parent);
            RECT inside{};
            IntersectRect(&inside, &caption, &parent);
            if (!EqualRect(&inside, &caption)) walk.cut.push_back(who + " (beyond its window's edge)");
            for (HWND above = GetWindow(h, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
                RECT cover = inParent(above), hit{};
                if (shown(above) && IntersectRect(&hit, &cover, &caption)) {
                    walk.cut.push_back(who + " (under \"" + textOf(above) + "\" " + classOf(above) + ")");
                    break;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    return walk.cut;
}

using Texts = std::vector<std::string>;

} // namespace

TEST_F(LibraryScenario, NoCaptionOfAnyWindowIsCut) {
    // The windows opened as a person opens them, with what their loading lays out.
    typeInto(w().cmbSearch, "spinner");
    press(VK_RETURN);
    clickItem(w().pnlResult, 2);
    clickButton(w().pnlToolbar, "play");
    ASSERT_TRUE(frmAni().IsLoaded());
    clickButton(w().pnlToolbar, "create");
    ASSERT_TRUE(frmImport().IsLoaded());
    EXPECT_EQ(cutCaptions(frmAni()), Texts{});
    EXPECT_EQ(cutCaptions(frmImport()), Texts{});
    EXPECT_EQ(cutCaptions(w()), Texts{});

    // The others as their design has them.
    for (Form* f : std::initializer_list<Form*>{&frmAdd(), &frmChange(), &frmInfo(), &frmKey(), &shell::frmMessage(),
                                                &frmOptions(), &frmProp(), &frmScan(), &shell::frmSplash(), &frmTip(),
                                                &frmZoom()}) {
        f->Create();
        EXPECT_EQ(cutCaptions(*f), Texts{});
    }
    frmImport().Unload();
    frmAni().Unload();
}

TEST_F(LibraryScenario, TextsSetWhileTheProgramRunsShowWhole) {
    clickNode("SysAso"); // the change window's title is the longest file type's name
    const Texts types = itemTexts(w().pnlResult);
    const auto longest = std::max_element(types.begin(), types.end(), [](auto& a, auto& b) { return a.size() < b.size(); });
    clickItem(w().pnlResult, static_cast<int>(longest - types.begin()) + 1);
    chooseMenu({"&File", "C&hange..."});
    EXPECT_EQ(cutCaptions(frmChange()), Texts{});
    std::string endless; // a name in any script, longer than the screen is wide
    for (int i = 0; i < 15; ++i) endless += "Очень Ωμέγα 图标 ";
    frmChange().lblTitle.SetCaption(endless);
    EXPECT_EQ(cutCaptions(frmChange()), Texts{});
    EXPECT_EQ(frmChange().lblTitle.ToolTipText(), endless);
    frmChange().Unload();
}
