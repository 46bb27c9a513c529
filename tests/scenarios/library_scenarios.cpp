// Library icons as the result list shows them, page after page.
#include "scenario.h"

#include <commctrl.h>

#include "libfixtures.h"
#include "patience.h"

using namespace vm;
using namespace vmscenario;

namespace {

// The picture of item `index` (from 1) as the list draws it on white: its
// middle pixel and its corner pixel, as 0x00RRGGBB.
struct Shown {
    std::uint32_t middle = 0, corner = 0;
};
Shown shownPicture(ListView& list, int index) {
    HWND hwnd = list.hWnd();
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index - 1;
    SendMessageA(hwnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(hwnd, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 32;
    bmi.bmiHeader.biHeight = -32;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP surface = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, surface);
    PatBlt(dc, 0, 0, 32, 32, WHITENESS);
    if (images) ImageList_Draw(images, item.iImage, dc, 0, 0, ILD_TRANSPARENT);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    Shown shown{pixels[16 * 32 + 16] & 0xFFFFFF, pixels[0] & 0xFFFFFF};
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(surface);
    return shown;
}

void expectCells(ListView& list, std::initializer_list<long> cells) {
    int index = 1;
    for (long cell : cells) {
        SCOPED_TRACE(cell);
        const Shown shown = shownPicture(list, index++);
        EXPECT_EQ(shown.middle, vmtest::sampleIconColor(1, cell)); // the icon's own picture, no placeholder
        EXPECT_EQ(shown.corner, 0xFFFFFFu);                        // its key colour made transparent
    }
}

} // namespace

TEST_F(LibraryScenario, LibraryIconsShowTheirOwnPicturesPageAfterPageAndBack) {
    typeInto(w().cmbSearch, "bo");
    press(VK_RETURN);
    EXPECT_EQ(panelText("area"), "Page 1 of 2");
    expectCells(w().pnlResult, {6, 7, 8});
    // The chunk's cached copy is written once the window is idle.
    EXPECT_TRUE(vmtest::waitUntil([&] { return vmtest::fileExists(dir.file("Temp32\\1.lib")); }, [] { settle(50); }));
    EXPECT_FALSE(IsWindowVisible(w().pnlProgressBar.hWnd()));

    clickButton(w().pnlToolbar, "nextpage");
    EXPECT_EQ(panelText("area"), "Page 2 of 2");
    expectCells(w().pnlResult, {9, 0});

    clickButton(w().pnlToolbar, "prevpage");
    EXPECT_EQ(panelText("area"), "Page 1 of 2");
    expectCells(w().pnlResult, {6, 7, 8});
    EXPECT_EQ(selectedItem(w().pnlResult), 1);
}
