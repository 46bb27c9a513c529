// The common controls: image lists, list and tree views, toolbar, status bar
// and cool bar, on a hidden form.
#include "coolbar.h"
#include "drawnpixel.h"
#include "form.h"
#include "imagelist.h"
#include "listview.h"
#include "seam.h"
#include "statusbar.h"
#include "toolbar.h"
#include "treeview.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include <string>
#include <vector>

namespace {

// A size x size bitmap of one colour with a centre square of another.
vm::Picture squareBitmap(int size, COLORREF outside, COLORREF inside) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH a = CreateSolidBrush(outside), b = CreateSolidBrush(inside);
    RECT all{0, 0, size, size}, centre{size / 4, size / 4, size * 3 / 4, size * 3 / 4};
    FillRect(dc, &all, a);
    FillRect(dc, &centre, b);
    DeleteObject(a);
    DeleteObject(b);
    SelectObject(dc, old);
    DeleteDC(dc);
    return vm::Picture::fromBitmap(bitmap);
}

class FrmControls : public vm::Form {
public:
    FrmControls() : Form("frmControls") {
        design.width = 9000;
        design.height = 6000;
    }
    vm::ImageList imlIcons;
    vm::ListView pnlResult{this};
    vm::TreeView pnlNav{this};
    vm::StatusBar pnlStatusbar{this};
    vm::CoolBar pnlCoolBar{this};
    vm::Toolbar pnlToolbar{this}, pnlToolbarYour{this};
    std::vector<std::string> events;

protected:
    void CreateControls() override {
        pnlCoolBar.create(*this);
        pnlToolbar.create(pnlCoolBar);
        pnlToolbarYour.create(pnlCoolBar);
        pnlNav.create(*this, 0, 1200, 3000, 3000);
        pnlResult.create(*this, 3100, 1200, 5000, 3000);
        pnlStatusbar.create(*this);
        VM_ON(pnlResult, ItemClick);
        VM_ON(pnlNav, NodeClick);
        VM_ON(pnlToolbar, ButtonClick);
        VM_ON(pnlToolbar, ButtonMenuClick);
        VM_ON(pnlCoolBar, HeightChanged);
    }
    void pnlCoolBar_HeightChanged(float) { events.push_back("height"); }
    void pnlResult_ItemClick(vm::ListItem& item) { events.push_back("item " + item.Text()); }
    void pnlNav_NodeClick(vm::Node& node) { events.push_back("node " + node.Key()); }
    void pnlToolbar_ButtonClick(vm::ToolbarButton& button) { events.push_back("button " + button.Key()); }
    void pnlToolbar_ButtonMenuClick(vm::ButtonMenu& menu) { events.push_back("menu " + menu.Key()); }
};

// The colour at x, y of image index (from 0) drawn over white.
COLORREF pixelAfterDraw(HIMAGELIST list, int index, int x, int y) {
    return vmtest::drawnPixel(list, index, x, y, RGB(255, 255, 255));
}

TEST(ImageList, MaskColourBecomesTransparentAndImagesAreFoundByKey) {
    vm::ImageList list;
    list.SetMaskColor(vm::RGBColor(128, 64, 64));
    list.ListImages.Add(-1, "red", squareBitmap(16, RGB(128, 64, 64), RGB(255, 0, 0)));
    list.ListImages.Add(1, "blue", squareBitmap(16, RGB(0, 0, 255), RGB(0, 0, 255)));
    EXPECT_EQ(list.ImageWidth(), 16);
    EXPECT_EQ(list.ListImages("red").Index(), 2);
    EXPECT_EQ(list.ListImages(1).Key(), "blue");
    HIMAGELIST handle = list.hImageList();
    EXPECT_EQ(pixelAfterDraw(handle, 1, 1, 1), RGB(255, 255, 255)); // the mask colour shows the background
    EXPECT_EQ(pixelAfterDraw(handle, 1, 8, 8), RGB(255, 0, 0));
    EXPECT_EQ(pixelAfterDraw(handle, 0, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(list.ListImages("red").ExtractIcon().Type(), vm::vbPicTypeIcon);
    EXPECT_THROW(list.ListImages("green"), vm::VbError);
    EXPECT_THROW(list.SetImageWidth(32), vm::VbError);
    list.ListImages.Clear();
    list.SetImageWidth(32);
    list.SetImageHeight(32);
    EXPECT_EQ(list.hImageList(), handle); // controls that show the list keep their handle
    int cx = 0, cy = 0;
    ImageList_GetIconSize(handle, &cx, &cy);
    EXPECT_EQ(cx, 32);
}

TEST(ImageList, AddRangeAppendsEachPictureInOrderWithItsMask) {
    vm::ImageList list;
    list.SetMaskColor(vm::RGBColor(128, 64, 64));
    list.ListImages.Add(-1, "first", squareBitmap(16, RGB(0, 255, 0), RGB(0, 255, 0)));
    const vm::Picture icon = list.ListImages.Add(-1, "", squareBitmap(16, RGB(128, 64, 64), RGB(255, 255, 0)))
                                 .ExtractIcon();
    list.ListImages.Remove(2);
    // Bitmaps on both sides of an icon, and a wider one drawn down to the list's size.
    list.ListImages.AddRange({squareBitmap(16, RGB(128, 64, 64), RGB(255, 0, 0)), icon,
                              squareBitmap(16, RGB(0, 0, 255), RGB(128, 64, 64)),
                              squareBitmap(32, RGB(0, 0, 128), RGB(0, 128, 0))});
    ASSERT_EQ(list.ListImages.Count(), 5);
    HIMAGELIST handle = list.hImageList();
    ASSERT_EQ(ImageList_GetImageCount(handle), 5);
    EXPECT_EQ(pixelAfterDraw(handle, 0, 8, 8), RGB(0, 255, 0));
    EXPECT_EQ(pixelAfterDraw(handle, 1, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(pixelAfterDraw(handle, 1, 8, 8), RGB(255, 0, 0));
    EXPECT_EQ(pixelAfterDraw(handle, 2, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(pixelAfterDraw(handle, 2, 8, 8), RGB(255, 255, 0));
    EXPECT_EQ(pixelAfterDraw(handle, 3, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(pixelAfterDraw(handle, 3, 8, 8), RGB(255, 255, 255));
    EXPECT_EQ(pixelAfterDraw(handle, 4, 1, 1), RGB(0, 0, 128));
    EXPECT_EQ(pixelAfterDraw(handle, 4, 8, 8), RGB(0, 128, 0));
    EXPECT_EQ(pixelAfterDraw(handle, 4, 15, 15), RGB(0, 0, 128));
    EXPECT_EQ(list.ListImages(3).picture().icon(), icon.icon());

    EXPECT_THROW(list.ListImages.AddRange({squareBitmap(16, RGB(0, 0, 0), RGB(0, 0, 0)), vm::Picture()}),
                 vm::VbError);
    EXPECT_EQ(list.ListImages.Count(), 5);
    EXPECT_EQ(ImageList_GetImageCount(handle), 5);
}

// A 32-bit picture, its rows laid top-down or bottom-up, whose top row is
// red and whose other rows are blue.
vm::Picture redTopRow(int size, bool topDown) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = vm::TopDown32Header(size, size);
    if (!topDown) bmi.bmiHeader.biHeight = size;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const int topRow = topDown ? 0 : size - 1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) pixels[y * size + x] = y == topRow ? 0x00FF0000u : 0x000000FFu;
    return vm::Picture::fromBitmap(bitmap);
}

TEST(ImageList, PicturesOfTheListsSizeKeepTheirTopRowOnTop) {
    vm::ImageList list;
    list.ListImages.AddRange({redTopRow(16, true), redTopRow(16, false)});
    HIMAGELIST handle = list.hImageList();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(pixelAfterDraw(handle, i, 8, 0), RGB(255, 0, 0)) << i;
        EXPECT_EQ(pixelAfterDraw(handle, i, 8, 15), RGB(0, 0, 255)) << i;
    }
}

// A 32-bit icon whose left half is opaque colour and whose right half is
// wholly transparent through its alpha (its mask is all opaque).
vm::Picture alphaIcon(int size, COLORREF left) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = size;
    bmi.bmiHeader.biHeight = -size;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<std::uint32_t*>(bits);
    const std::uint32_t opaque = 0xFF000000u | (GetRValue(left) << 16) | (GetGValue(left) << 8) | GetBValue(left);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) px[y * size + x] = x < size / 2 ? opaque : 0;
    std::vector<std::uint8_t> zeros(static_cast<size_t>(size) * size / 8 + 64, 0);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    DeleteObject(color);
    return vm::Picture::fromIcon(icon);
}

TEST(ImageList, IconsInARowKeepTheirOrderMasksAndAlpha) {
    vm::ImageList list;
    list.SetMaskColor(vm::RGBColor(128, 64, 64));
    list.ListImages.Add(-1, "", squareBitmap(16, RGB(128, 64, 64), RGB(255, 255, 0)));
    list.ListImages.Add(-1, "", squareBitmap(16, RGB(0, 0, 255), RGB(128, 64, 64)));
    list.ListImages.Add(-1, "", squareBitmap(32, RGB(0, 128, 0), RGB(0, 128, 0)));
    const vm::Picture yellowInside = list.ListImages(1).ExtractIcon();
    const vm::Picture blueOutside = list.ListImages(2).ExtractIcon();
    // An icon of another size than the list's goes in by itself, drawn to the list's size.
    vm::ImageList large;
    large.SetImageWidth(32);
    large.SetImageHeight(32);
    large.ListImages.Add(-1, "", squareBitmap(32, RGB(0, 128, 0), RGB(0, 128, 0)));
    const vm::Picture green32 = large.ListImages(1).ExtractIcon();
    list.ListImages.Clear();

    list.ListImages.AddRange({yellowInside, alphaIcon(16, RGB(200, 0, 0)), green32, blueOutside, yellowInside});
    HIMAGELIST handle = list.hImageList();
    ASSERT_EQ(ImageList_GetImageCount(handle), 5);
    EXPECT_EQ(pixelAfterDraw(handle, 0, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(pixelAfterDraw(handle, 0, 8, 8), RGB(255, 255, 0));
    EXPECT_EQ(pixelAfterDraw(handle, 1, 2, 8), RGB(200, 0, 0));
    EXPECT_EQ(pixelAfterDraw(handle, 1, 13, 8), RGB(255, 255, 255));
    EXPECT_EQ(pixelAfterDraw(handle, 2, 8, 8), RGB(0, 128, 0));
    EXPECT_EQ(pixelAfterDraw(handle, 3, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(pixelAfterDraw(handle, 3, 8, 8), RGB(255, 255, 255));
    EXPECT_EQ(pixelAfterDraw(handle, 4, 8, 8), RGB(255, 255, 0));
}

TEST(ListView, ViewsItemsSubItemsSelectionAndSorting) {
    FrmControls form;
    form.Load();
    vm::ListView& list = form.pnlResult;
    list.ColumnHeaders.Add(-1, "", "Name", 1500);
    list.ColumnHeaders.Add(-1, "", "Type", 1200);
    EXPECT_EQ(list.ColumnHeaders(2).Width(), 1200);
    for (int view : {vm::lvwReport, vm::lvwList, vm::lvwSmallIcon, vm::lvwIcon}) {
        list.SetView(view);
        EXPECT_EQ(list.View(), view);
    }
    vm::ListItem& b = list.ListItems.Add(-1, "k-b", "beta", 1, 1);
    b.SetSubItems(1, "16 Color Icon");
    b.Tag = "entry-b";
    list.ListItems.Add(-1, "k-c", "Gamma");
    list.ListItems.Add(1, "k-a", "alpha");
    EXPECT_EQ(list.ListItems.Count(), 3);
    EXPECT_EQ(list.ListItems(1).Text(), "alpha");
    EXPECT_EQ(list.ListItems("k-b").Index(), 2);
    EXPECT_EQ(list.ListItems("k-b").SubItems(1), "16 Color Icon");
    EXPECT_EQ(list.ListItems("k-b").SubItems(2), "");
    EXPECT_THROW(list.ListItems.Add(-1, "k-a", "again"), vm::VbError);
    EXPECT_EQ(list.SelectedItem(), nullptr);

    // Selecting from code raises no ItemClick; a person's click does.
    list.SetSelectedItem(&list.ListItems("k-b"));
    ASSERT_NE(list.SelectedItem(), nullptr);
    EXPECT_EQ(list.SelectedItem()->Tag, "entry-b");
    EXPECT_TRUE(form.events.empty());

    list.SetSortOrder(vm::lvwDescending);
    list.SetSorted(true);
    EXPECT_EQ(list.ListItems(1).Text(), "Gamma");
    EXPECT_EQ(list.ListItems(3).Text(), "alpha");
    EXPECT_EQ(list.ListItems("k-a").Index(), 3);
    list.ListItems.Remove("k-c");
    EXPECT_EQ(list.ListItems(1).Text(), "beta");
    list.ListItems.Clear();
    EXPECT_EQ(list.ListItems.Count(), 0);
    EXPECT_EQ(list.SelectedItem(), nullptr);
    form.Unload();
}

TEST(ListView, SortsNamesInAnyLanguageByLetterAndTheFormKeepsALongCaptionWhole) {
    FrmControls form;
    form.Load();
    vm::ListView& list = form.pnlResult;
    for (const char* name : {"zebra", "Éclair", "apple", "eagle"}) list.ListItems.Add(-1, "", name);
    list.SetSorted(true);
    EXPECT_EQ(list.ListItems(2).Text(), "eagle");
    EXPECT_EQ(list.ListItems(3).Text(), "Éclair"); // beside "e", not after "z" as bytes would sort it
    std::string caption;
    for (int i = 0; i < 300; ++i) caption += "图";
    form.SetCaption(caption);
    EXPECT_EQ(form.Caption(), caption);
    form.Unload();
}

std::string rowText(vm::ListView& list, int row, int column) {
    char text[64] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list.hWnd(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

TEST(ListView, ChangesReachTheRowOfTheirItemAfterInsertingSortingAndRemoving) {
    FrmControls form;
    form.Load();
    vm::ListView& list = form.pnlResult;
    for (const char* c : {"Name", "Type"}) list.ColumnHeaders.Add(-1, "", c, 1500);
    list.ListItems.Add(-1, "k-b", "beta");
    list.ListItems.Add(1, "k-c", "gamma");
    list.ListItems.Add(2, "k-a", "alpha");
    list.ListItems("k-a").SetSubItems(1, "type a");
    list.ListItems("k-c").SetText("Gamma");
    EXPECT_EQ(rowText(list, 0, 0), "Gamma");
    EXPECT_EQ(rowText(list, 1, 1), "type a");
    list.SetSorted(true);
    list.ListItems("k-b").SetSubItems(1, "type b");
    list.ListItems("k-c").SetSubItems(1, "type c");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(rowText(list, row, 0), list.ListItems(row + 1).Text());
        EXPECT_EQ(rowText(list, row, 1), list.ListItems(row + 1).SubItems(1));
    }
    list.ListItems.Remove("k-a");
    list.ListItems("k-c").SetSelected(true);
    EXPECT_EQ(list.SelectedItem(), &list.ListItems("k-c"));
    EXPECT_EQ(rowText(list, 1, 1), "type c");
    form.Unload();
}

TEST(TreeView, NodesByKeyAndRelationship) {
    FrmControls form;
    form.Load();
    vm::NodeCollection& nodes = form.pnlNav.Nodes;
    nodes.Add(nullptr, vm::tvwLast, "root", "Vellumar");
    nodes.Add("root", vm::tvwChild, "fav", "Favorites");
    nodes.Add("root", vm::tvwChild, "sys", "System Icons");
    nodes.Add("sys", vm::tvwPrevious, "lib", "Library");
    nodes.Add("fav", vm::tvwChild, "fav1", "Animals");
    EXPECT_EQ(nodes.Count(), 5);
    EXPECT_EQ(nodes("root").Children(), 3);
    EXPECT_EQ(nodes("root").Child()->Key(), "fav");
    EXPECT_EQ(nodes("fav").Next()->Key(), "lib");
    EXPECT_EQ(nodes("fav1").FullPath(), "Vellumar\\Favorites\\Animals");
    EXPECT_EQ(nodes("fav1").Root()->Key(), "root");
    EXPECT_EQ(nodes(3).Key(), "sys");
    EXPECT_THROW(nodes.Add("root", vm::tvwChild, "fav", "again"), vm::VbError);

    form.pnlNav.SetSelectedItem(&nodes("lib"));
    EXPECT_EQ(form.pnlNav.SelectedItem()->Text(), "Library");
    EXPECT_TRUE(form.events.empty());

    // Removing a node takes its children with it.
    nodes.Remove("fav");
    EXPECT_EQ(nodes.Count(), 3);
    EXPECT_FALSE(nodes.exists("fav1"));
    EXPECT_THROW(nodes("fav1"), vm::VbError);
    nodes.Clear();
    EXPECT_EQ(nodes.Count(), 0);
    form.Unload();
}

TEST(StatusBar, PanelsByKeyTakeTextAndPicture) {
    FrmControls form;
    form.Load();
    vm::PanelCollection& panels = form.pnlStatusbar.Panels;
    panels.Add(-1, "message").SetAutoSize(vm::sbrSpring);
    panels.Add(-1, "count");
    panels.Add(-1, "area");
    panels("message").SetText("Ready");
    vm::ImageList leds;
    leds.ListImages.Add(-1, "redledon", squareBitmap(16, RGB(255, 0, 0), RGB(255, 0, 0)));
    panels("area").SetPicture(leds.ListImages("redledon").ExtractIcon());
    HWND bar = form.pnlStatusbar.hWnd();
    char text[64] = {};
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Ready");
    char tip[64] = {};
    SendMessageA(bar, SB_GETTIPTEXTA, MAKEWPARAM(0, sizeof tip), reinterpret_cast<LPARAM>(tip));
    EXPECT_STREQ(tip, "Ready"); // whole, also where the panel cuts it
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(bar, SB_GETICON, 2, 0)), panels("area").GetPicture().icon());
    EXPECT_EQ(SendMessageA(bar, SB_GETICON, 1, 0), 0);
    panels("count").SetWidth(1500);
    EXPECT_EQ(panels(2).Width(), 1500);
    EXPECT_THROW(panels("type"), vm::VbError);

    // A text set shows once the bar paints, unread: its letters are dark.
    form.Show();
    panels("count").SetText("WWWWWWWW");
    UpdateWindow(bar);
    RECT part{};
    SendMessageA(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    HDC dc = GetDC(bar);
    int dark = 0;
    for (int x = part.left + 2; x < part.right - 2; ++x)
        for (int y = part.top + 2; y < part.bottom - 2; ++y) dark += GetRValue(GetPixel(dc, x, y)) < 80;
    ReleaseDC(bar, dc);
    EXPECT_GT(dark, 20);
    form.Unload();
}

TEST(Toolbar, AHeldBarShowsOnlyItsLiveButtonsAndKeepsWhatIsSetMeanwhile) {
    FrmControls form;
    form.Load();
    vm::ButtonCollection& buttons = form.pnlToolbar.Buttons;
    for (const char* key : {"save", "next", "abort"}) buttons.Add(-1, key, key);
    buttons("next").SetEnabled(false);
    buttons("abort").SetEnabled(false);
    form.pnlToolbar.Hold(true, {"abort"});
    buttons("abort").SetEnabled(true);
    buttons("next").SetEnabled(true); // a page count set while work runs
    EXPECT_FALSE(buttons("save").Enabled());
    EXPECT_FALSE(buttons("next").Enabled());
    EXPECT_TRUE(buttons("abort").Enabled());
    buttons("abort").SetEnabled(false);
    form.pnlToolbar.Hold(false);
    EXPECT_TRUE(buttons("save").Enabled());
    EXPECT_TRUE(buttons("next").Enabled());
    EXPECT_FALSE(buttons("abort").Enabled());
    form.Unload();
}

// Short work greys the buttons and gives them back before the window paints:
// the bar then forgoes a repaint that would show nothing new, but never one
// that shows a change or that something else asked for.
TEST(Toolbar, ButtonsGreyedAndBackBeforeAPaintLeaveNothingToPaint) {
    FrmControls form;
    form.Load();
    form.Show();
    vm::Toolbar& bar = form.pnlToolbar;
    for (const char* key : {"save", "next", "abort"}) bar.Buttons.Add(-1, key, key, vm::tbrCheck);
    form.pnlCoolBar.Bands.Add(-1, "standard", "", &bar);
    // Holds the bar, does what comes between, releases it: whether a repaint awaits.
    auto heldAndBack = [&](const std::function<void()>& between) {
        UpdateWindow(bar.hWnd());
        bar.Hold(true, {"abort"});
        between();
        bar.Hold(false);
        return GetUpdateRect(bar.hWnd(), nullptr, FALSE) != FALSE;
    };
    EXPECT_FALSE(heldAndBack([] {}));
    EXPECT_TRUE(heldAndBack([&] { UpdateWindow(bar.hWnd()); })); // painted greyed meanwhile
    EXPECT_TRUE(heldAndBack([&] { bar.Buttons("next").SetValue(1); }));
    EXPECT_TRUE(heldAndBack([&] { InvalidateRect(bar.hWnd(), nullptr, TRUE); })); // uncovered, say
    form.Unload();
}

TEST(CoolBar, BandsKeepRowsWidthsAndLimits) {
    FrmControls form;
    form.Load();
    form.pnlToolbar.Buttons.Add(-1, "open", "Open");
    form.pnlToolbarYour.Buttons.Add(-1, "change", "Change");
    vm::BandCollection& bands = form.pnlCoolBar.Bands;
    bands.Add(-1, "standard", "", &form.pnlToolbar);
    bands.Add(-1, "your", "", &form.pnlToolbarYour, true);
    EXPECT_TRUE(bands(2).NewRow());
    EXPECT_FALSE(bands(1).NewRow());
    bands(2).SetNewRow(false);
    EXPECT_FALSE(bands(2).NewRow());
    bands(2).SetNewRow(true);
    EXPECT_TRUE(bands("your").NewRow());
    bands(1).SetWidth(3000);
    EXPECT_EQ(bands(1).Width(), 3000);
    bands(1).SetMinHeight(689);
    bands(1).SetMinWidth(900);
    EXPECT_EQ(bands(1).MinHeight(), 690); // whole pixels: 46 px
    EXPECT_EQ(bands(1).MinWidth(), 900);
    int twoRows = form.pnlCoolBar.Height();
    form.events.clear();
    bands(2).SetVisible(false);
    EXPECT_FALSE(bands(2).Visible());
    EXPECT_LT(form.pnlCoolBar.Height(), twoRows);
    EXPECT_EQ(form.events, std::vector<std::string>{"height"});
    bands(2).SetVisible(true);
    EXPECT_TRUE(bands(2).Visible());
    form.Unload();
}

TEST(CoolBar, ABandThatDoesNotFitBesideTheOneBeforeStartsARow) {
    FrmControls form;
    form.Load();
    for (const char* key : {"b0", "b1", "b2", "b3", "b4", "b5"}) form.pnlToolbar.Buttons.Add(-1, key, "Button");
    form.pnlToolbarYour.Buttons.Add(-1, "change", "Change");
    // The toolbar's own width, not the band it is stretched over.
    const int buttons = form.pnlToolbar.ButtonsWidth();
    RECT last{};
    SendMessageA(form.pnlToolbar.hWnd(), TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(buttons, vm::pixelsToTwipsX(last.right));
    vm::BandCollection& bands = form.pnlCoolBar.Bands;
    bands.Add(-1, "standard", "", &form.pnlToolbar);
    bands.Add(-1, "your", "", &form.pnlToolbarYour);
    EXPECT_EQ(form.pnlToolbar.ButtonsWidth(), buttons);
    EXPECT_TRUE(bands(1).StartsRow());
    EXPECT_FALSE(bands(2).StartsRow()); // both fit in one row
    // Too wide to sit beside the first band: the bar wraps it, with or without the row flag.
    bands(2).SetMinWidth(form.ScaleWidth() - buttons / 2);
    bands(1).SetMinWidth(buttons);
    EXPECT_TRUE(bands(2).StartsRow());
    bands(1).SetVisible(false);
    EXPECT_TRUE(bands(2).StartsRow()); // the first band shown
    form.Unload();
}

TEST(Toolbar, ButtonsByKeyAndDropDownThroughTheSeam) {
    FrmControls form;
    form.Load();
    vm::Toolbar& bar = form.pnlToolbar;
    bar.Buttons.Add(-1, "firstpage", "First", vm::tbrDefault, 1);
    vm::ToolbarButton& view = bar.Buttons.Add(-1, "view", "Views", vm::tbrDropdown, 9);
    view.ButtonMenus.Add(-1, "viewlarge", "Large Icons");
    view.ButtonMenus.Add(-1, "viewlist", "List");
    EXPECT_EQ(bar.Buttons("view").Index(), 2);
    bar.Buttons("firstpage").SetEnabled(false);
    EXPECT_FALSE(bar.Buttons("firstpage").Enabled());
    bar.Buttons("firstpage").SetCaption("");
    EXPECT_EQ(bar.Buttons(1).Caption(), "");
    bar.SetButtonHeight(24 * 15);
    bar.SetButtonWidth(24 * 15);
    EXPECT_EQ(bar.ButtonHeight(), 360);

    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(bar.hWnd()));
    vm::Seam& seam = vm::Seam::get();
    seam.reset();
    seam.setScripted(true);
    seam.queueText("List");
    NMTOOLBARA drop{};
    drop.hdr.hwndFrom = bar.hWnd();
    drop.hdr.code = TBN_DROPDOWN;
    drop.iItem = 2;
    SendMessageA(form.hWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop));
    seam.setScripted(false);
    EXPECT_EQ(form.events, (std::vector<std::string>{"button view", "menu viewlist"}));
    EXPECT_EQ(seam.requests().at(0).kind, "PopupMenu");
    seam.reset();
    form.Unload();
}

} // namespace
