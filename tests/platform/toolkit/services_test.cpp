// Picture boxes, timers, sliders, tab strips, key preview, pictures and the
// dialogs of the seam.
#include "toolkit.h"

#include "scratch.h"
#include "patience.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FrmServices : public vm::Form {
public:
    FrmServices() : Form("frmServices") {
        design.width = 6000;
        design.height = 4500;
        design.keyPreview = true;
    }
    vm::PictureBox picOpen{this};
    vm::TimerControl tmrLed{this};
    vm::Slider sldAni{this};
    vm::TabStrip tbsOptions{this};
    vm::TextBox txtName{this};
    std::vector<std::string> events;
    int ticks = 0;

protected:
    void CreateControls() override {
        picOpen.create(*this, 0, 0, 480, 480);
        tmrLed.create(*this, 0, false);
        sldAni.create(*this, 0, 600, 3000, 450);
        tbsOptions.create(*this, 0, 1200, 4000, 1500);
        txtName.create(*this, 0, 3000, 3000, 300);
        VM_ON(tmrLed, Timer);
        VM_ON(sldAni, Change);
        VM_ON(tbsOptions, Click);
        VM_ON(txtName, KeyPress);
    }
    void Form_KeyPress(int& KeyAscii) override {
        events.push_back("form " + std::to_string(KeyAscii));
        if (KeyAscii == 27) KeyAscii = 0;
    }
    void tmrLed_Timer() { ++ticks; }
    void sldAni_Change() { events.push_back("slider " + std::to_string(sldAni.Value())); }
    void tbsOptions_Click() { events.push_back("tab " + std::to_string(tbsOptions.SelectedItem()->Index())); }
    void txtName_KeyPress(int& KeyAscii) { events.push_back("text " + std::to_string(KeyAscii)); }
};

COLORREF boxPixel(vm::PictureBox& box, int x, int y) {
    HDC dc = GetDC(box.hWnd());
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(box.hWnd(), dc);
    return colour;
}

TEST(PictureBox, KeepsItsDrawingWhenHiddenAndShown) {
    FrmServices form;
    form.Show();
    form.picOpen.SetBackColor(vm::vbWhite);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT square{4, 4, 12, 12};
    FillRect(form.picOpen.hDC(), &square, red);
    DeleteObject(red);
    form.picOpen.Refresh();
    form.picOpen.SetVisible(false);
    form.Hide();
    form.Show();
    form.picOpen.SetVisible(true);
    form.picOpen.Refresh();
    EXPECT_EQ(boxPixel(form.picOpen, 6, 6), RGB(255, 0, 0));
    EXPECT_EQ(boxPixel(form.picOpen, 20, 20), RGB(255, 255, 255));
    // A bigger box keeps the drawing; the image holds it and saves as a BMP.
    form.picOpen.Move(0, 0, 600, 600);
    vm::Picture image = form.picOpen.Image();
    ASSERT_EQ(image.Type(), vm::vbPicTypeBitmap);
    vmtest::ScratchDir dir;
    std::string file = dir.file("open.bmp");
    vm::SavePicture(image, file);
    // Loading it back is the loader gate's (tests/core/picturefile_test.cpp).
    EXPECT_EQ(vmtest::readFile(file).substr(0, 2), "BM");
    form.Unload();
}

TEST(Clipboard, HoldsTextAndPictures) {
    vm::Clipboard::Clear();
    vm::Clipboard::SetText("icon");
    EXPECT_TRUE(vm::Clipboard::GetFormat(vm::vbCFText));
    EXPECT_EQ(vm::Clipboard::GetText(), "icon");
    HDC screen = GetDC(nullptr);
    vm::Picture picture = vm::Picture::fromBitmap(CreateCompatibleBitmap(screen, 32, 16));
    ReleaseDC(nullptr, screen);
    vm::Clipboard::Clear();
    vm::Clipboard::SetData(picture);
    EXPECT_TRUE(vm::Clipboard::GetFormat(vm::vbCFBitmap));
    vm::Picture pasted = vm::Clipboard::GetData();
    EXPECT_EQ(pasted.pixelWidth(), 32);
    EXPECT_EQ(pasted.pixelHeight(), 16);
    vm::Clipboard::Clear();
}


// Icon and bitmap pictures tell kind, handle and size (a monochrome icon's
// mask holds both halves), draw, and destroy an owned handle with the last copy.
TEST(Picture, IconsAndBitmapsKeepTheirSizeAndOwnership) {
    std::vector<std::uint8_t> bits(48 * 24 * 4, 0xFF);
    HICON colour = CreateIcon(nullptr, 48, 24, 1, 32, bits.data(), bits.data());
    HICON mono = CreateIcon(nullptr, 32, 32, 1, 1, bits.data(), bits.data());
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 10), target = CreateCompatibleBitmap(screen, 40, 20);
    HGDIOBJ old = SelectObject(dc, target);
    PatBlt(dc, 0, 0, 40, 20, WHITENESS);
    {
        vm::Picture icon = vm::Picture::fromIcon(colour), drawn = vm::Picture::fromBitmap(bitmap);
        const vm::Picture borrowed = vm::Picture::fromIcon(mono, false);
        icon = vm::Picture(icon);
        EXPECT_EQ(icon.Type() * 1000 + icon.pixelWidth() * 10 + icon.pixelHeight(), 3000 + 480 + 24);
        EXPECT_EQ(borrowed.pixelWidth() * 100 + borrowed.pixelHeight(), 3232);
        EXPECT_TRUE(icon.icon() == colour && !icon.bitmap() && drawn.bitmap() == bitmap && !drawn.icon());
        EXPECT_EQ(drawn.pixelWidth() * 100 + drawn.pixelHeight(), 2010);
        drawn.render(dc, 0, 0, 40, 20);
        EXPECT_EQ(GetPixel(dc, 39, 19), RGB(0, 0, 0));
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    BITMAP gone{};
    ICONINFO info{};
    EXPECT_TRUE(!GetObjectA(bitmap, sizeof(gone), &gone) && !GetIconInfo(colour, &info));
    EXPECT_TRUE(DestroyIcon(mono));
}
TEST(Timer, FiresUnderDoEventsOnlyWhileEnabled) {
    FrmServices form;
    form.Load();
    form.tmrLed.SetInterval(20);
    Sleep(60);
    vm::DoEvents();
    EXPECT_EQ(form.ticks, 0);
    form.tmrLed.SetEnabled(true);
    EXPECT_TRUE(vmtest::waitUntil([&] { return form.ticks > 0; }, [] { vm::DoEvents(); }));
    form.Unload();
    int after = form.ticks;
    Sleep(60);
    vm::DoEvents();
    EXPECT_EQ(form.ticks, after);
}

TEST(Controls, SliderAndTabStripRaiseTheirEventsFromCode) {
    FrmServices form;
    form.Load();
    form.sldAni.SetMin(1);
    form.sldAni.SetMax(30);
    form.sldAni.SetValue(5);
    form.sldAni.SetValue(5);
    form.tbsOptions.Tabs.Add(-1, "", "General");
    form.tbsOptions.Tabs.Add(-1, "", "Double Click Icon");
    form.tbsOptions.Tabs(2).SetSelected(true);
    EXPECT_EQ(form.events, (std::vector<std::string>{"slider 5", "tab 2"}));
    EXPECT_THROW(form.sldAni.SetValue(31), vm::VbError);
    form.Unload();
}

TEST(Form, KeyPreviewSeesKeysBeforeTheControl) {
    FrmServices form;
    form.Show();
    MSG msg{form.txtName.hWnd(), WM_CHAR, 'a', 0, 0, {}};
    vm::dispatchMessage(msg);
    MSG esc{form.txtName.hWnd(), WM_CHAR, 27, 0, 0, {}};
    vm::dispatchMessage(esc);
    // The form swallowed Esc; the text box saw only "a".
    EXPECT_EQ(form.events, (std::vector<std::string>{"form 97", "text 97", "form 27"}));
    // The Esc key itself becomes a KeyPress (there is no cancel button).
    form.events.clear();
    form.txtName.SetFocus();
    MSG down{form.txtName.hWnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {}};
    vm::dispatchMessage(down);
    vm::DoEvents();
    EXPECT_EQ(form.events, std::vector<std::string>{"form 27"});
    form.Unload();
}

TEST(Seam, DialogsRecordTheirRequestsAndTakeScriptedAnswers) {
    vm::Seam& seam = vm::Seam::get();
    seam.reset();
    seam.setScripted(true);
    seam.queueText("C:\\icons\\a.ico");
    seam.queueCancel();
    seam.queue({0x00FF00, {}, false});
    seam.queueCancel();
    seam.queueText("Animals");
    seam.queueCancel();
    seam.queueText("C:\\work");

    vm::CommonDialog dialog;
    dialog.Filter = "Icon (*.ico)|*.ico";
    dialog.InitDir = "C:\\start";
    EXPECT_TRUE(dialog.ShowSave());
    EXPECT_EQ(dialog.FileName, "C:\\icons\\a.ico");
    EXPECT_EQ(dialog.FileTitle, "a.ico");
    dialog.CancelError = true;
    try {
        dialog.ShowOpen();
        ADD_FAILURE() << "cancel raised nothing";
    } catch (const vm::VbError& error) {
        EXPECT_EQ(error.number(), vm::cdlCancel);
    }
    dialog.CancelError = false;
    dialog.Color = 0x123456;
    EXPECT_TRUE(dialog.ShowColor());
    EXPECT_EQ(dialog.Color, 0x00FF00u);
    EXPECT_FALSE(dialog.ShowColor()); // cancelled: the colour stays
    EXPECT_EQ(dialog.Color, 0x00FF00u);
    EXPECT_EQ(vm::InputBox("Give the Name of the Favorite Folder.", "Create Favorite Folder"), "Animals");
    EXPECT_EQ(vm::InputBox("Again?"), ""); // cancelled
    std::string folder = "C:\\start";
    EXPECT_TRUE(vm::seamBrowseForFolder(nullptr, "Choose", 0, folder));
    EXPECT_EQ(folder, "C:\\work");
    seam.setScripted(false);

    const auto& asked = seam.requests();
    ASSERT_EQ(asked.size(), 7u);
    EXPECT_EQ(asked[0].kind, "Save");
    EXPECT_EQ(asked[0].title, "Icon (*.ico)|*.ico");
    EXPECT_EQ(asked[0].detail, "C:\\start");
    EXPECT_EQ(asked[1].kind, "Open");
    EXPECT_EQ(asked[2].kind, "Color");
    EXPECT_EQ(asked[2].detail, std::to_string(0x123456));
    EXPECT_EQ(asked[4].kind, "InputBox");
    EXPECT_EQ(asked[4].title, "Create Favorite Folder");
    EXPECT_EQ(asked[6].kind, "Folder");
    EXPECT_EQ(asked[6].detail, "C:\\start");
    seam.reset();
}

// The pixels of one letter drawn black on white in the font of forms and controls.
std::vector<COLORREF> drawn(const wchar_t* letter) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB}, {}};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(dc, bitmap);
    SelectObject(dc, vm::guiFont());
    PatBlt(dc, 0, 0, 32, 32, WHITENESS);
    TextOutW(dc, 0, 0, letter, 1);
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<COLORREF*>(bits), static_cast<COLORREF*>(bits) + 32 * 32);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixels;
}

// Names in Chinese, Japanese and Korean show their letters, from the font or
// one it falls back on, not the box drawn for a letter no font has (U+0378).
TEST(GuiFont, DrawsChineseJapaneseAndKoreanLetters) {
    const std::vector<COLORREF> box = drawn(L"\u0378");
    for (const wchar_t* letter : {L"\u4E2D", L"\u3042", L"\uD55C"})
        EXPECT_TRUE(drawn(letter) != box) << "U+" << std::hex << int(*letter);
}

} // namespace
