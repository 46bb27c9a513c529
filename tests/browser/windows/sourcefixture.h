#pragma once
// A hidden result list with its page filler, and the icon, cursor and
// animation files the Windows sources are tested with.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "form.h"
#include "ico_fixtures.h"
#include "pagefiller.h"
#include "scratch.h"

namespace vmtest {

class FrmSources : public vm::Form {
public:
    FrmSources() : Form("frmSources") {
        design.width = 9000;
        design.height = 6000;
    }
    vm::ListView pnlResult{this};
    vm::ImageList imlResult32;

protected:
    void CreateControls() override;
};

struct SourceFixture : ::testing::Test {
    ScratchDir dir;
    FrmSources form;
    vm::BrowserWindow window;
    vm::BrowserHost host;
    vm::KeywordState keywords;
    vm::UserReferences refs;
    vm::EntryLists entries;
    vm::PagingState paging;
    vm::BusyState busy;
    vm::ChunkState chunks;
    vm::PageLoaderState loader;
    vm::ExtractedMembers extracted;
    vm::PageFiller pager{window, host, {entries, paging, busy, keywords, refs, chunks, loader, extracted}};

    void SetUp() override;
    void TearDown() override;

    // Page 1 of what cmbResult holds.
    void showList();
    // Every item as "text|type text|origin", in list order.
    std::vector<std::string> items();
    // The colour item n (from 1) shows at x, y over a blue background.
    COLORREF pixel(int item, int x, int y);
    // Item n shows the no-icon picture (the grey cross).
    bool showsNoIcon(int item);
    // The entries of cmbResult, in order.
    std::vector<std::string> entryTexts();
};

inline constexpr COLORREF kBlue = RGB(0, 0, 255);
COLORREF asColorRef(std::uint32_t rgb);
// The colour drawn at x, y by image index (from 1) of a 32 x 32 list over a blue ground.
COLORREF imagePixel(vm::ImageList& list, int index, int x, int y);

// A 32 x 32 image of one colour (0x00RRGGBB), opaque but for its top-left pixel.
ico::Image solidImage(std::uint32_t rgb);
// An icon or (with a hotspot) cursor file of one colour.
std::string solidIcon(std::uint32_t rgb);
std::string solidCursor(std::uint32_t rgb, std::uint16_t hotX, std::uint16_t hotY);
// An animated cursor of one frame per colour; declaredSteps other than 0
// goes into its header in place of the frame count.
std::string animation(const std::vector<std::uint32_t>& colours, std::uint32_t declaredSteps = 0);
// A module whose icon groups are each one solid image of these colours.
bool writeIconModule(const std::string& path, const std::vector<std::uint32_t>& colours);

} // namespace vmtest
