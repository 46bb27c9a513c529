// One image, one mask: an icon saved from the result list and from the detail
// grid, and a PNG image beside a DIB image of the same picture, read back by
// icoutils and ImageMagick rather than by the program itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "alphaicon.h"
#include "cfileicon.h"
#include "commandstate.h"
#include "exportcommands.h"
#include "exportform.h"
#include "fileiconextract.h"
#include "hostreader.h"
#include "ico_fixtures.h"
#include "scratch.h"
#include "seam.h"
#include "selection.h"
#include "state.h"

using namespace vm;

namespace {

namespace fx = vmtest::ico;

// A disc with a band at alpha 128 round it, rows of red, green, blue and
// alpha, top row first; the band is a sixteenth of the size wide.
std::string bandedDisc(int size) {
    std::string rgba;
    const double centre = (size - 1) / 2.0, radius = size * 0.3, band = size / 16.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x - centre, y - centre);
            const bool inside = d < radius, inBand = !inside && d < radius + band;
            rgba += static_cast<char>(inside ? 200 : 30);
            rgba += static_cast<char>(inside ? 150 : 60);
            rgba += static_cast<char>(inside ? 50 : 90);
            rgba += static_cast<char>(inside ? 255 : inBand ? 128 : 0);
        }
    return rgba;
}

class MasksTest : public exporttest::ExportFormTest {
protected:
    void SetUp() override {
        ExportFormTest::SetUp();
        Masks = MaskModes{};
        Exports = ExportModes{};
        paths.TempPath = scratch.path() + "\\";
    }
    void saveAs(const std::string& typed) {
        Seam::get().queue(SeamAnswer{1, typed, false});
        mnuFileSaveAs_Click(w);
    }
    // The source icon's file loaded as the selected item's image formats.
    void loadFormats(const std::string& path) {
        Selection.FileIcons.assign(1, cFileIcon{});
        ASSERT_TRUE(Selection.FileIcons.front().LoadIcon(path));
        form.grdIcons.Init(Selection.FileIcons.front());
    }
    void saveDetailRow(int row, const std::string& typed) {
        Commands.DetailPaneActive = true;
        for (int i = 1; i <= form.grdIcons.ItemCount(); ++i) form.grdIcons.SetSelected(i, i == row);
        saveAs(typed);
        Commands.DetailPaneActive = false;
    }

    vmtest::ScratchDir scratch;
};

// Pixels whose opacity (as a reader that honours the mask and alpha sees it)
// differs between two readings, and the largest colour difference among the
// pixels both show.
struct Difference {
    int opacity = 0;
    int colour = 0;
};
Difference compare(const vmtest::Rgba& a, const vmtest::Rgba& b) {
    Difference d;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const std::uint8_t *p = a.at(x, y), *q = b.at(x, y);
            if ((p[3] == 0) != (q[3] == 0)) ++d.opacity;
            else if (p[3] != 0)
                for (int c = 0; c < 3; ++c) d.colour = std::max(d.colour, std::abs(p[c] - q[c]));
        }
    return d;
}

// The number of the icon group at a position (from 0) of a module's list.
int groupNumber(const std::string& module, int position) {
    HMODULE m = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::vector<int> numbers;
    EnumResourceNamesA(
        m, MAKEINTRESOURCEA(14),
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<int>*>(found)->push_back(
                IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : 0);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&numbers));
    if (m) FreeLibrary(m);
    return position < static_cast<int>(numbers.size()) ? numbers[static_cast<size_t>(position)] : 0;
}

} // namespace

TEST_F(MasksTest, OneImageGetsOneMaskFromTheResultListAndFromTheDetailGrid) {
    // The system's own DLL, whose icons have soft edges: its icon 45, listed as
    // the system lists it, and its image formats as the detail grid holds them.
    char system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string dll = std::string(system) + "\\shell32.dll";
    HICON listed = procExtractFileIcon(dll, 45, 32);
    ASSERT_NE(listed, nullptr);
    form.imlResult32.ListImages.Add(-1, "", Picture::fromIcon(listed));
    ListItem& item = form.pnlResult.ListItems.Add(-1, "", "shell32", form.imlResult32.ListImages.Count());
    item.SetSubItems(1, "High Color Icon");
    form.pnlResult.SetSelectedItem(&item);
    form.pnlStatusbar.Panels("type").SetText("High Color Icon");
    Selection.FileIcons.assign(1, cFileIcon{});
    cFileIcon& formats = Selection.FileIcons.front();
    ASSERT_TRUE(formats.LoadIconFromEXE(dll, groupNumber(dll, 45), ""));
    form.grdIcons.Init(formats);
    // The system lists the last (deepest) 32 x 32 image.
    int row = 0;
    for (int i = 1; i <= formats.ImageCount(); ++i)
        if (formats.ImageWidth(i) == 32) row = i;
    ASSERT_GT(row, 0);

    saveAs(scratch.file("fromlist.ico"));
    saveDetailRow(row, scratch.file("fromgrid.ico"));

    const vmtest::Rgba fromList = vmtest::icoImageOnHost(scratch.file("fromlist.ico"));
    const vmtest::Rgba fromGrid = vmtest::icoImageOnHost(scratch.file("fromgrid.ico"));
    ASSERT_EQ(fromList.width, 32);
    ASSERT_EQ(fromGrid.width, 32);
    // The same pixels, in the same colours and with the icon's own soft edge, from either view.
    const Difference views = compare(fromList, fromGrid);
    EXPECT_EQ(views.opacity, 0) << "largest colour difference " << views.colour;
    EXPECT_EQ(views.colour, 0);
    int soft = 0;
    for (size_t i = 3; i < fromList.bytes.size(); i += 4) soft += fromList.bytes[i] % 255 != 0;
    EXPECT_GT(soft, 0);
}

TEST_F(MasksTest, APngImageKeepsItsHalfTransparentBandAsTheDibImageDoes) {
    // The same picture as a 48 x 48 DIB image with its own mask and as a
    // 256 x 256 PNG image, which has only its alpha.
    const std::string source = scratch.file("banded.ico");
    ASSERT_TRUE(vmtest::writeFile(source, fx::icoFile({fx::dibOf(48, 48, bandedDisc(48)),
                                                       fx::pngOf(256, 256, bandedDisc(256))})));
    loadFormats(source);
    saveDetailRow(1, scratch.file("dib48.ico"));
    saveDetailRow(2, scratch.file("png256.ico"));

    for (const int size : {48, 256}) {
        const std::string written = scratch.file(size == 48 ? "dib48.ico" : "png256.ico");
        const vmtest::Rgba read = vmtest::icoImageOnHost(written);
        ASSERT_EQ(read.width, size) << written;
        const std::string drawn = bandedDisc(size);
        // Every pixel the picture shows, the band included, is shown by the
        // written file in its own colour; every other pixel is transparent.
        int lost = 0, added = 0, colour = 0, alpha = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const auto* want = reinterpret_cast<const std::uint8_t*>(drawn.data()) + 4 * (y * size + x);
                const std::uint8_t* got = read.at(x, y);
                if (want[3] != 0 && got[3] == 0) ++lost;
                if (want[3] == 0 && got[3] != 0) ++added;
                alpha += want[3] != got[3];
                if (want[3] != 0 && got[3] != 0)
                    for (int c = 0; c < 3; ++c) colour = std::max(colour, std::abs(want[c] - got[c]));
            }
        EXPECT_EQ(lost, 0) << size;
        EXPECT_EQ(added, 0) << size;
        EXPECT_EQ(colour, 0) << size;
        EXPECT_EQ(alpha, 0) << size;
    }
}

TEST_F(MasksTest, BelowThirtyTwoBitsAPixelShowsFromHalfItsAlphaAndAtThirtyTwoAllItsAlphaShows) {
    const std::uint32_t pixels[] = {0x00102030, 0x40102030, 0x7F102030, 0x80102030, 0xFF102030};
    Masks.MaskFromImport = true;
    Masks.importPicture = [&] { return Picture::fromIcon(IconFromPixels(pixels, 5, 1)); };
    IconCanvas canvas = w.canvas();
    procMask(canvas, 5, 1);
    const std::uint32_t *mask = canvas.pctMask->pixels(), clear = 0xFFFFFF;
    EXPECT_EQ(std::vector<std::uint32_t>(mask, mask + 5), (std::vector<std::uint32_t>{clear, clear, clear, 0, 0}));
    procKeepAlpha(canvas);
    EXPECT_EQ(std::vector<std::uint32_t>(mask, mask + 5), (std::vector<std::uint32_t>{clear, 0, 0, 0, 0}));
    EXPECT_EQ(Commands.SaveBitDepth, 32);
}
