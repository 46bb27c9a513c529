// Things dragged from outside over the result list: files select the icon
// they would land on, anything else is refused, and a drag that leaves the
// list gives the user's selection back.
#include "scenario.h"

#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "oledragdrop.h"
#include "toolkit.h"

using namespace vm;
using namespace vmscenario;

namespace {

// Files as Explorer's copy leaves them on the clipboard; OLE hands them out
// as a data object offering the file list. The caller releases it.
IDataObject* fileData(const std::string& file) {
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + file.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(global));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), file.c_str(), file.size());
    GlobalUnlock(global);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_HDROP, global);
    CloseClipboard();
    IDataObject* data = nullptr;
    return OleGetClipboard(&data) == S_OK ? data : nullptr;
}

// The other program's end of the drag: it lets go once the hand says so.
class HandSource final : public IDropSource {
public:
    explicit HandSource(const std::atomic<bool>& letGo) : letGo_(letGo) {}
    DWORD shown = DROPEFFECT_NONE;       // the effect the pointer shows
    DWORD shownAtLetGo = DROPEFFECT_NONE; // and showed when the button went up
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
        if (!letGo_) return S_OK;
        shownAtLetGo = shown;
        return DRAGDROP_S_DROP;
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

// Drags data from the detail grid (no drop target) through the points, a few steps
// between each as a person moves, and lets go at the last one.
struct Dragged {
    int shown = -1;    // the effect the pointer showed at the last point
    int taken = -1;    // the effect the drop took
    int selected = -1; // the list's selected item (from 1) while the pointer rested there
};
Dragged dragThrough(IDataObject* data, std::vector<POINT> points) {
    POINT from = middleOf(frmMain().grdIcons.hWnd());
    INPUT start = mouseAt(from);
    SendInput(1, &start, sizeof start);
    settle(100);
    std::vector<INPUT> moves;
    for (const POINT& to : points) {
        const int steps = 8;
        for (int i = 1; i <= steps; ++i)
            moves.push_back(mouseAt(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}));
        from = to;
    }
    std::atomic<bool> letGo{false};
    std::atomic<int> selectedThere{-1};
    std::thread hand([&] {
        for (INPUT& in : moves) {
            SendInput(1, &in, sizeof in);
            Sleep(40);
        }
        Sleep(200);
        // Read across threads: the drag loop answers the list's messages.
        const HWND list = frmMain().pnlResult.hWnd();
        const LRESULT at = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        selectedThere = static_cast<int>(at) + 1;
        letGo = true;
        INPUT nudge = mouseAt(points.back());
        SendInput(1, &nudge, sizeof nudge); // wakes the drag loop to ask the source
    });
    HandSource source(letGo);
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    hand.join();
    settle(100);
    return Dragged{static_cast<int>(source.shownAtLetGo), static_cast<int>(effect), selectedThere};
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

TEST_F(DropScenario, FilesDraggedOverAnIconSelectItAndShowACopy) {
    IDataObject* files = fileData("C:\\windows\\notepad.exe");
    ASSERT_NE(files, nullptr);
    const Dragged d = dragThrough(files, {iconOf(3)});
    files->Release();
    EXPECT_EQ(d.selected, 3);
    EXPECT_EQ(d.shown, DROPEFFECT_COPY); // copy only, whatever the source allows
    // Nothing takes the files yet: the source is told so and keeps them.
    EXPECT_EQ(d.taken, DROPEFFECT_NONE);
    EXPECT_EQ(selectedItem(w().pnlResult), 3);
}

TEST_F(DropScenario, TextDraggedOverTheListIsRefusedAndChangesNothing) {
    IDataObject* text = NewTextData("boat");
    const Dragged d = dragThrough(text, {iconOf(2)});
    text->Release();
    EXPECT_EQ(d.selected, 1);
    EXPECT_EQ(d.shown, DROPEFFECT_NONE);
    EXPECT_EQ(d.taken, DROPEFFECT_NONE);
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
}

TEST_F(DropScenario, FilesThatPassOverTheListAndGoOnLeaveTheSelectionAsItWas) {
    IDataObject* files = fileData("C:\\windows\\notepad.exe");
    ASSERT_NE(files, nullptr);
    // Over the second icon, then back out over the detail grid, which takes nothing.
    const Dragged d = dragThrough(files, {iconOf(2), middleOf(w().grdIcons.hWnd())});
    files->Release();
    EXPECT_EQ(d.selected, 1);
    EXPECT_EQ(d.shown, DROPEFFECT_NONE);
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
}
