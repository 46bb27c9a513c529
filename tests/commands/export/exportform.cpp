#include "exportform.h"

#include "browserstate.h"
#include "commandstate.h"
#include "selection.h"

namespace exporttest {

using namespace vm;

void FrmExport::CreateControls() {
    pnlResult.create(*this, 0, 600, 6000, 3000, lvwReport);
    grdIcons.create(*this, 6000, 600, 2400, 4000);
    pnlStatusbar.create(*this);
    pnlStatusbar.Panels.Add(-1, "type");
    picOpen.create(*this, 0, 0, 32 * 15, 32 * 15, false);
    picOpen.SetVisible(false);
    imlResult32.SetImageWidth(32);
    imlResult32.SetImageHeight(32);
}

ExportWindow FrmExport::window() {
    ExportWindow w;
    w.dlgIcon = &dlgIcon;
    w.pnlResult = &pnlResult;
    w.imlResult32 = &imlResult32;
    w.TypePanel = &pnlStatusbar.Panels("type");
    w.grdIcons = &grdIcons;
    w.picOpen = &picOpen;
    w.picSave = &picSave;
    w.pctColor = &pctColor;
    w.pctMask = &pctMask;
    return w;
}

ListItem& FrmExport::addItem(const std::string& text, const std::string& type, COLORREF colour,
                             const std::string& tag) {
    imlResult32.ListImages.Add(-1, "", Picture::fromIcon(cornerIcon(32, colour)));
    ListItem& item = pnlResult.ListItems.Add(-1, "", text, imlResult32.ListImages.Count());
    item.Tag = tag;
    item.SetSubItems(1, type);
    pnlResult.SetSelectedItem(&item);
    pnlResult.Tag = text;
    pnlStatusbar.Panels("type").SetText(type);
    return item;
}

HICON cornerIcon(int size, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP colourBits = CreateCompatibleBitmap(screen, size, size);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, colourBits);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, size, size}, corner{0, 0, 4, 4};
    FillRect(dc, &all, brush);
    FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    // The mask: white (transparent) in the corner, black elsewhere; rows are 16-bit aligned.
    const int stride = ((size + 15) / 16) * 2;
    std::string bits(static_cast<size_t>(stride * size), '\0');
    for (int y = 0; y < 4; ++y) bits[static_cast<size_t>(y * stride)] = static_cast<char>(0xF0);
    HBITMAP maskBits = CreateBitmap(size, size, 1, 1, bits.data());
    ICONINFO info{TRUE, 0, 0, maskBits, colourBits};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(maskBits);
    DeleteObject(colourBits);
    return icon;
}

void ExportFormTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    form.Load();
    w = form.window();
    Seam::get().reset();
    Seam::get().setScripted(true);
    Commands = CommandModes{};
    Selection = SelectionState{};
    Keywords.IconSize = 32;
}

void ExportFormTest::TearDown() {
    Seam::get().setScripted(false);
    form.Unload();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
}

std::vector<SeamRequest> ExportFormTest::requestsOf(const std::string& kind) {
    std::vector<SeamRequest> found;
    for (const SeamRequest& r : Seam::get().requests())
        if (r.kind == kind) found.push_back(r);
    return found;
}

} // namespace exporttest
