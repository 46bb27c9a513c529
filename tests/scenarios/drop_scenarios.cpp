// Things dragged from another program over the result list: files select the
// icon they would land on and are taken as a copy, anything else is refused,
// and a drag that goes on elsewhere gives the user's selection back.
#include "scenario.h"

#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <ostream>
#include <thread>

#include "ico_fixtures.h"
#include "oledragdrop.h"
#include "toolkit.h"

using namespace vm;
using namespace vmscenario;

namespace {

// The other program's end of the drag: it lets go once the hand says so.
class HandSource final : public IDropSource {
public:
    explicit HandSource(const std::atomic<bool>& letGo) : letGo_(letGo) {}
    std::atomic<DWORD> shown{DROPEFFECT_NONE}; // the effect the pointer shows
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return letGo_ ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        shown = effect & ~DROPEFFECT_SCROLL;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    const std::atomic<bool>& letGo_;
};

INPUT mouseAt(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((screen.x * 65535LL + cx / 2) / std::max(1, cx - 1));
    in.mi.dy = static_cast<LONG>((screen.y * 65535LL + cy / 2) / std::max(1, cy - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

POINT middleOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(window, &p);
    return p;
}

POINT iconOf(int index) {
    ListView& list = frmMain().pnlResult;
    RECT r{};
    r.left = LVIR_ICON;
    SendMessageA(list.hWnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list.hWnd(), &p);
    return p;
}

// Drags data from the detail grid (no drop target) through the points, a few
// steps between each as a person moves, resting at each, and lets go at the
// last one.
struct Rest {
    int selected = -1; // the list's selected item (from 1; 0 none) while the pointer rested there
    DWORD shown = 0;   // the effect the pointer showed there
    bool operator==(const Rest& o) const { return selected == o.selected && shown == o.shown; }
};
std::ostream& operator<<(std::ostream& out, const Rest& r) {
    return out << "{item " << r.selected << ", effect " << r.shown << "}";
}
struct Dragged {
    std::vector<Rest> rests;
    DWORD taken = 0; // the effect the drop took, as the source is told
};
Dragged dragThrough(IDataObject* data, std::vector<POINT> points) {
    POINT from = middleOf(frmMain().grdIcons.hWnd());
    INPUT start = mouseAt(from);
    SendInput(1, &start, sizeof start);
    settle(100);
    std::atomic<bool> letGo{false};
    HandSource source(letGo);
    Dragged result;
    std::thread hand([&] {
        POINT at = from;
        for (const POINT& to : points) {
            const int steps = 8;
            for (int i = 1; i <= steps; ++i) {
                INPUT in = mouseAt(POINT{at.x + (to.x - at.x) * i / steps, at.y + (to.y - at.y) * i / steps});
                SendInput(1, &in, sizeof in);
                Sleep(40);
            }
            at = to;
            Sleep(250);
            // Read across threads: the drag loop answers the list's messages.
            const LRESULT item = SendMessageA(frmMain().pnlResult.hWnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                              LVNI_SELECTED);
            result.rests.push_back(Rest{static_cast<int>(item) + 1, source.shown.load()});
        }
        letGo = true;
        INPUT nudge = mouseAt(at);
        SendInput(1, &nudge, sizeof nudge); // wakes the drag loop to ask the source
    });
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    hand.join();
    settle(200);
    result.taken = effect;
    return result;
}

POINT besideTheIcons() {
    const HWND list = frmMain().pnlResult.hWnd();
    RECT r{};
    GetClientRect(list, &r);
    POINT p{r.right - 20, r.bottom - 20};
    ClientToScreen(list, &p);
    return p;
}

class DropScenario : public LibraryScenario {
protected:
    void SetUp() override {
        LibraryScenario::SetUp();
        typeInto(w().cmbSearch, "boat");
        press(VK_RETURN);
        ASSERT_EQ(itemTexts(w().pnlResult).size(), 3u);
        clickItem(w().pnlResult, 1);
        ASSERT_EQ(selectedItem(w().pnlResult), 1);
    }
};

} // namespace

TEST_F(DropScenario, FilesDraggedOverAnIconSelectItShowACopyAndGiveTheSelectionBackWhenTheyGoOn) {
    IDataObject* files = draggedFiles({"C:\\windows\\notepad.exe"});
    ASSERT_NE(files, nullptr);
    // Over the third icon, beside the icons, then out over the detail grid, which takes nothing.
    const Dragged d = dragThrough(files, {iconOf(3), besideTheIcons(), middleOf(w().grdIcons.hWnd())});
    files->Release();
    EXPECT_EQ(d.rests, (std::vector<Rest>{{3, DROPEFFECT_COPY}, {0, DROPEFFECT_COPY}, {1, DROPEFFECT_NONE}}));
    EXPECT_EQ(d.taken, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
}

TEST_F(DropScenario, TextDraggedOverTheListIsRefusedAndChangesNothing) {
    IDataObject* text = NewTextData("boat");
    const Dragged d = dragThrough(text, {iconOf(2)});
    text->Release();
    EXPECT_EQ(d.rests, (std::vector<Rest>{{1, DROPEFFECT_NONE}}));
    EXPECT_EQ(d.taken, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
}

TEST_F(DropScenario, AnIconFileDroppedBesideTheIconsIsOpenedAndTheSourceKeepsIt) {
    namespace ico = vmtest::ico;
    const std::string file = dir.file("dropped.ico");
    ASSERT_TRUE(vmtest::writeFile(file, ico::icoFile({ico::dib(32, 32, 8)})));
    IDataObject* files = draggedFiles({file});
    ASSERT_NE(files, nullptr);
    // The source offers a move too; the list takes a copy only, so nothing is deleted.
    const Dragged d = dragThrough(files, {besideTheIcons()});
    files->Release();
    EXPECT_EQ(d.taken, static_cast<DWORD>(DROPEFFECT_COPY));
    for (int i = 0; i < 100 && itemTexts(w().pnlResult) != std::vector<std::string>{"dropped.ico"}; ++i) settle(50);
    EXPECT_EQ(itemTexts(w().pnlResult), std::vector<std::string>{"dropped.ico"});
    EXPECT_TRUE(vmtest::fileExists(file));
}
