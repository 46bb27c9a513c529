#include "sourcefixture.h"

#include "drawnpixel.h"
#include "paging.h"
#include "state.h"

namespace vmtest {
namespace {

void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

void FrmSources::CreateControls() {
    pnlResult.create(*this, 0, 0, 8000, 5000, vm::lvwReport);
    pnlResult.ColumnHeaders.Add(-1, "", "Name", 2000);
    pnlResult.ColumnHeaders.Add(-1, "", "Type", 1500);
    pnlResult.ColumnHeaders.Add(-1, "", "Origin", 1500);
    imlResult32.SetImageWidth(32);
    imlResult32.SetImageHeight(32);
    imlResult32.SetMaskColor(RGB(128, 64, 64));
}

void SourceFixture::SetUp() {
    CreateDirectoryA(dir.file("tmp").c_str(), nullptr);
    vm::paths.TempPath = dir.file("tmp") + "\\";
    if (vm::paths.WindowsDir.empty()) {
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        vm::paths.WindowsDir = windows;
        for (char& c : vm::paths.WindowsDir) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    form.Load();
    window.form = &form;
    window.pnlResult = &form.pnlResult;
    window.imlResult32 = &form.imlResult32;
    host.showPage = [this] { pager.ShowNewList(); };
    host.clearResult = [this] {
        form.pnlResult.ListItems.Clear();
        form.pnlResult.SetIcons(nullptr);
        form.pnlResult.SetSmallIcons(nullptr);
        form.imlResult32.ListImages.Clear();
    };
}

void SourceFixture::TearDown() { form.Unload(); }

void SourceFixture::showList() {
    vm::StartNewList(paging, entries.cmbResult.ListCount());
    pager.ShowNewList();
}

std::vector<std::string> SourceFixture::items() {
    std::vector<std::string> out;
    vm::ListItemCollection& list = form.pnlResult.ListItems;
    for (int i = 1; i <= list.Count(); ++i)
        out.push_back(list(i).Text() + "|" + list(i).SubItems(1) + "|" + list(i).SubItems(2));
    return out;
}

std::vector<std::string> SourceFixture::entryTexts() {
    std::vector<std::string> out;
    for (int i = 0; i < entries.cmbResult.ListCount(); ++i) out.push_back(entries.cmbResult.List(i));
    return out;
}

COLORREF SourceFixture::pixel(int item, int x, int y) {
    // The page filler gives item n picture n.
    return imagePixel(form.imlResult32, item, x, y);
}

bool SourceFixture::showsNoIcon(int item) {
    const COLORREF grey = RGB(128, 128, 128);
    return pixel(item, 0, 0) == grey && pixel(item, 5, 5) == grey && pixel(item, 26, 5) == grey &&
           pixel(item, 16, 3) == kBlue && pixel(item, 10, 5) == kBlue;
}

COLORREF asColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

COLORREF imagePixel(vm::ImageList& list, int index, int x, int y) {
    return drawnPixel(list.hImageList(), index - 1, x, y, kBlue);
}

ico::Image solidImage(std::uint32_t rgb) {
    std::string bytes;
    for (std::uint32_t v : {40u, 32u, 64u}) put32(bytes, v);
    bytes += std::string("\1\0\x20\0", 4);
    for (int i = 0; i < 6; ++i) put32(bytes, 0);
    for (int y = 31; y >= 0; --y)
        for (int x = 0; x < 32; ++x) put32(bytes, x == 0 && y == 0 ? 0 : (rgb | 0xFF000000u));
    // The mask: only the top-left pixel is transparent.
    for (int y = 31; y >= 0; --y) {
        put32(bytes, y == 0 ? 0x80u : 0u);
    }
    ico::Image image;
    image.bytes = std::move(bytes);
    image.width = 32;
    image.height = 32;
    image.bitCount = 32;
    return image;
}

std::string solidIcon(std::uint32_t rgb) { return ico::icoFile({solidImage(rgb)}); }

std::string solidCursor(std::uint32_t rgb, std::uint16_t hotX, std::uint16_t hotY) {
    ico::Image image = solidImage(rgb);
    image.planes = hotX;
    image.bitCount = hotY;
    return ico::icoFile({image}, 2);
}

std::string animation(const std::vector<std::uint32_t>& colours, std::uint32_t declaredSteps) {
    std::string frames = "fram";
    for (std::uint32_t c : colours) {
        const std::string icon = solidIcon(c);
        frames += "icon";
        put32(frames, static_cast<std::uint32_t>(icon.size()));
        frames += icon;
    }
    const auto count = declaredSteps ? declaredSteps : static_cast<std::uint32_t>(colours.size());
    std::string body = "ACONanih";
    put32(body, 36);
    for (std::uint32_t v : {36u, count, count, 0u, 0u, 0u, 0u, 10u, 1u}) put32(body, v);
    body += "LIST";
    put32(body, static_cast<std::uint32_t>(frames.size()));
    body += frames;
    std::string riff = "RIFF";
    put32(riff, static_cast<std::uint32_t>(body.size()));
    return riff + body;
}

bool writeIconModule(const std::string& path, const std::vector<std::uint32_t>& colours) {
    std::vector<ico::Group> groups;
    for (size_t i = 0; i < colours.size(); ++i) {
        ico::Group g;
        g.id = static_cast<std::int32_t>(i + 1);
        g.images.push_back(solidImage(colours[i]));
        groups.push_back(g);
    }
    return ico::makeIconModule(path, groups);
}

} // namespace vmtest
