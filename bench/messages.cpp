// Times what a message costs on its way through the toolkit: a toolkit list
// view against a plain one beside it on the same form, for a message the list
// view answers alone and for insertions in pages, whose notification goes to the form
// and back to the control; then a page of items through ListItems, and a yield
// to the message loop. Run under Wine:
//   wine bench_messages.exe > log 2>&1
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>

#include "form.h"
#include "listview.h"

namespace {

constexpr int kMessages = 2000;
constexpr int kPage = 150;

class FrmBench : public vm::Form {
public:
    FrmBench() : Form("frmBench") {}
    vm::ListView pnlResult{this};

protected:
    void CreateControls() override { pnlResult.create(*this, 0, 0, 6000, 4000, vm::lvwIcon); }
};

double microseconds(const std::function<void()>& work, int times) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / times;
}

void sendQueries(HWND list) {
    for (int i = 0; i < kMessages; ++i) SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

void insertItems(HWND list) {
    char text[] = "item";
    for (int i = 0; i < kMessages; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i % kPage;
        item.pszText = text;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (i % kPage == kPage - 1) SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    }
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    FrmBench form;
    form.Load();
    HWND toolkit = form.pnlResult.hWnd();
    HWND plain = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_ICON, 0, 0, 400, 300, form.hWnd(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    for (int round = 0; round < 3; ++round) {
        std::printf("query:  toolkit %.2f us, plain %.2f us a message\n",
                    microseconds([&] { sendQueries(toolkit); }, kMessages),
                    microseconds([&] { sendQueries(plain); }, kMessages));
        std::printf("insert: toolkit %.2f us, plain %.2f us an item\n",
                    microseconds([&] { insertItems(toolkit); }, kMessages),
                    microseconds([&] { insertItems(plain); }, kMessages));
        std::printf("page of %d through ListItems: %.1f us an item\n", kPage,
                    microseconds(
                        [&] {
                            for (int i = 0; i < kPage; ++i) form.pnlResult.ListItems.Add(-1, "", "item");
                            form.pnlResult.ListItems.Clear();
                        },
                        kPage));
        std::printf("DoEvents with nothing waiting: %.1f us\n", microseconds([] {
                        for (int i = 0; i < kPage; ++i) vm::DoEvents();
                    }, kPage));
    }
    DestroyWindow(plain);
    form.Unload();
    return 0;
}
