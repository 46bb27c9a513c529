#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "browserstate.h"
#include "commandstate.h"
#include "frmimport.h"
#include "hostreader.h"
#include "iconcanvas.h"
#include "picturefixtures.h"
#include "registry.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"
#include "toolshost.h"

using namespace vm;
using namespace toolstest;

namespace {

constexpr COLORREF kKey = RGB(128, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);

// 40 x 20: the left half in the key colour, the right half blue above green.
COLORREF sample(int x, int y) { return x < 20 ? kKey : y < 10 ? kBlue : kGreen; }
const std::vector<Box> kBoxes{{{0, 0, 20, 20}, kKey}, {{20, 0, 40, 10}, kBlue}, {{20, 10, 40, 20}, kGreen}};

void deleteSetting(const char* key, const char* name) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
    RegDeleteValueA(k, name);
    RegCloseKey(k);
}

std::string setting(const char* key, const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, key, name);
    return reg.RegValue.isEmpty() ? "<missing>" : reg.RegValue.toText();
}

struct Written {
    int width = 0, height = 0, bitCount = 0;
    int hotX = -1, hotY = -1;
    IconPixels pixels;
};

// A created file read back as Windows reads it, with the depth from its header.
Written readBack(const std::string& path, bool cursor) {
    Written w;
    HANDLE image = LoadImageA(nullptr, path.c_str(), cursor ? IMAGE_CURSOR : IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    if (!image) return w;
    HICON icon = static_cast<HICON>(image);
    ICONINFO info{};
    GetIconInfo(icon, &info);
    BITMAP mask{};
    GetObject(info.hbmMask, sizeof(mask), &mask);
    w.width = mask.bmWidth;
    w.height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    w.hotX = static_cast<int>(info.xHotspot);
    w.hotY = static_cast<int>(info.yHotspot);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    w.pixels = drawIcon(icon, w.width, w.height);
    cursor ? DestroyCursor(icon) : DestroyIcon(icon);
    const std::string bytes = vmtest::readFile(path);
    if (bytes.size() >= 22) {
        const size_t at = static_cast<unsigned char>(bytes[18]) | (static_cast<unsigned char>(bytes[19]) << 8);
        if (bytes.size() >= at + 16)
            w.bitCount = static_cast<unsigned char>(bytes[at + 14]) | (static_cast<unsigned char>(bytes[at + 15]) << 8);
    }
    return w;
}

class ImportTest : public testing::Test {
protected:
    void SetUp() override {
        Seam::get().reset();
        Seam::get().setScripted(true);
        for (const char* name : {"CreateSize", "CreateColorDepth", "ImportDirectory"})
            deleteSetting(kSettingsKey, name);
        for (const char* name : {"ImportTop", "ImportLeft"}) deleteSetting(kPosKey, name);
        identity.OSCode = "98";
        paths.TempPath = dir.path() + "\\";
        Keywords.IconSize = 32;
        toolsHost = {};
        toolsHost.canvas = [this] { return IconCanvas{&picSave, &pctColor, &pctMask, nullptr, nullptr, nullptr}; };
    }
    void TearDown() override {
        if (frmImport().IsLoaded()) frmImport().Unload();
        Seam::get().reset();
        Seam::get().setScripted(false);
        toolsHost = {};
    }

    FrmImport& window() {
        frmImport().Load();
        return frmImport();
    }
    void open(const std::string& path) {
        Seam::get().queueText(path);
        window().mnuFileOpen_Click();
    }
    void saveAs(const std::string& path, int filter = 1) {
        Seam::get().queue({filter, path, false});
        window().mnuFileSaveAs_Click();
    }
    int count(const char* kind, const std::string& prompt = "") {
        int n = 0;
        for (const SeamRequest& r : Seam::get().requests())
            if (r.kind == kind && (prompt.empty() || r.prompt == prompt)) ++n;
        return n;
    }
    std::string fixture(const std::string& name) {
        const std::string path = dir.file(name);
        const std::string ext = name.substr(name.rfind('.'));
        bool ok = ext == ".bmp"   ? writeBmp(path, 40, 20, sample)
                  : ext == ".gif" ? writeGif(path, 40, 20, sample)
                  : ext == ".jpg" ? writeJpg(path, 40, 20, sample)
                  : ext == ".wmf" ? writeWmf(path, 40, 20, kBoxes)
                                  : writeEmf(path, 40, 20, kBoxes);
        EXPECT_TRUE(ok) << name;
        return path;
    }

    vmtest::ScratchDir dir;
    OffscreenSurface picSave, pctColor, pctMask;
};

} // namespace

TEST_F(ImportTest, StartsWithDefaultsCentredAndNothingToSave) {
    FrmImport& f = window();
    EXPECT_EQ(f.cmbSize.ListIndex(), 1);
    EXPECT_EQ(f.IconWidth, 24);
    EXPECT_EQ(f.cmbColorDepth.ListCount(), 6);
    EXPECT_EQ(f.ColorDepth, 16);
    EXPECT_FALSE(f.mnuFileSaveAs.Enabled());
    EXPECT_FALSE(f.mnuEditCopy.Enabled());
    EXPECT_FALSE(f.pnlToolbar.Buttons("save").Enabled());
    EXPECT_FALSE(f.picImport.Enabled());
    EXPECT_NEAR(f.Left(), (Screen::Width() - f.Width()) / 2, 15);
    EXPECT_NEAR(f.Top(), (Screen::Height() - f.Height()) / 2, 15);

    // Choosing a depth with nothing loaded writes nothing.
    f.cmbColorDepth.SetListIndex(0);
    EXPECT_EQ(f.ColorDepth, 1);
    EXPECT_EQ(count("Save"), 0);
    EXPECT_FALSE(vmtest::fileExists(dir.file("temp.ico")));
}

TEST_F(ImportTest, StoredChoicesComeBackAndUnknownOnesFallBack) {
    identity.OSCode = "2000";
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "CreateSize", Variant(48), REG_DWORD);
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "CreateColorDepth", Variant(32), REG_DWORD); // stored on another system
    FrmImport& f = window();
    EXPECT_EQ(f.IconWidth, 48);
    EXPECT_EQ(f.cmbColorDepth.ListCount(), 4);
    EXPECT_EQ(f.cmbColorDepth.Text(), "True Color (24 bit)");
    f.cmbSize.SetListIndex(0);
    f.Unload();
    EXPECT_EQ(setting(kSettingsKey, "CreateSize"), "16");
    EXPECT_EQ(setting(kSettingsKey, "CreateColorDepth"), "24");
    EXPECT_NE(setting(kPosKey, "ImportTop"), "<missing>");
}

TEST_F(ImportTest, OpenGivesNameFolderAndCommands) {
    const std::string path = dir.file("flower.big.bmp");
    ASSERT_TRUE(writeBmp(path, 40, 20, sample));
    open(path);
    FrmImport& f = window();
    EXPECT_EQ(f.picIcon.Tag, "flower");
    EXPECT_EQ(setting(kSettingsKey, "ImportDirectory"), dir.path() + "\\");
    EXPECT_TRUE(f.mnuFileSaveAs.Enabled());
    EXPECT_TRUE(f.mnuEditCopy.Enabled());
    EXPECT_TRUE(f.mnuIconClickCopy.Enabled());
    EXPECT_TRUE(f.pnlToolbar.Buttons("copy").Enabled());
    EXPECT_TRUE(f.picImport.Enabled());

    // Copy puts the picture at icon size on the clipboard.
    f.mnuEditCopy_Click();
    Picture copied = Clipboard::GetData(vbCFBitmap);
    EXPECT_EQ(copied.pixelWidth(), 24);
    EXPECT_EQ(copied.pixelHeight(), 24);
}

TEST_F(ImportTest, AFileThatIsNoPictureChangesNothingAndSaysSo) {
    const std::string path = dir.file("broken.gif");
    ASSERT_TRUE(vmtest::writeFile(path, "GIF89a but nothing more"));
    open(path);
    FrmImport& f = window();
    ASSERT_EQ(count("MsgBox"), 1);
    EXPECT_NE(Seam::get().requests().back().prompt.find("broken.gif"), std::string::npos);
    EXPECT_FALSE(f.mnuFileSaveAs.Enabled());
    EXPECT_FALSE(f.mnuEditCopy.Enabled());
    EXPECT_EQ(f.picIcon.Tag, "");
}

TEST_F(ImportTest, EveryFormatAtEverySizeAndDepth) {
    const std::vector<int> sizes{16, 24, 32, 48, 72}, depths{1, 4, 8, 16, 24, 32};
    for (const char* name : {"p.bmp", "p.gif", "p.jpg", "p.wmf", "p.emf"}) {
        const std::string source = fixture(name);
        open(source);
        FrmImport& f = window();
        ASSERT_TRUE(f.mnuFileSaveAs.Enabled()) << name;
        const bool lossless = std::string(name) != "p.jpg";
        for (size_t s = 0; s < sizes.size(); ++s) {
            f.cmbSize.SetListIndex(static_cast<int>(s));
            for (size_t d = 0; d < depths.size(); ++d) {
                f.cmbColorDepth.SetListIndex(static_cast<int>(d));
                const int size = sizes[s];
                const std::string out =
                    dir.file(std::string(name) + "-" + std::to_string(size) + "-" + std::to_string(depths[d]) + ".ico");
                saveAs(out);
                Written w = readBack(out, false);
                SCOPED_TRACE(out);
                EXPECT_EQ(w.width, size);
                EXPECT_EQ(w.height, size);
                EXPECT_EQ(w.bitCount, depths[d]);
                if (!lossless || w.width != size) continue;
                // The picture fills the square: the key half is see-through, the rest is not.
                EXPECT_TRUE(w.pixels.transparent(size / 4, size / 2));
                EXPECT_FALSE(w.pixels.transparent(size * 3 / 4, size / 4));
                EXPECT_FALSE(w.pixels.transparent(size * 3 / 4, size * 3 / 4));
            }
        }
    }
    EXPECT_EQ(count("MsgBox"), 0);
    EXPECT_FALSE(vmtest::fileExists(dir.file("temp.ico"))); // the previews leave nothing behind
}

TEST_F(ImportTest, ThePickedColourAndOnlyItBecomesTransparent) {
    open(fixture("pick.gif"));
    FrmImport& f = window();
    f.cmbSize.SetListIndex(2);
    f.cmbColorDepth.SetListIndex(4);
    const std::string before = dir.file("before.ico");
    saveAs(before);
    Written w = readBack(before, false);
    ASSERT_EQ(w.width, 32);
    EXPECT_TRUE(w.pixels.transparent(4, 16));
    EXPECT_EQ(w.pixels.onWhite(24, 4), kBlue);
    EXPECT_EQ(w.pixels.onWhite(24, 28), kGreen);

    // A click on blue: blue goes, green and the earlier key area stay.
    f.picImport_MouseUp(vbLeftButton, 0, 24, 4);
    EXPECT_EQ(f.TransparentColor, kBlue);
    const std::string after = dir.file("after.ico");
    saveAs(after);
    w = readBack(after, false);
    EXPECT_TRUE(w.pixels.transparent(24, 4));
    EXPECT_FALSE(w.pixels.transparent(24, 28));
    EXPECT_FALSE(w.pixels.transparent(4, 16));

    // A new size keeps the picked colour.
    f.cmbSize.SetListIndex(3);
    const std::string bigger = dir.file("bigger.ico");
    saveAs(bigger);
    w = readBack(bigger, false);
    EXPECT_TRUE(w.pixels.transparent(36, 6));
    EXPECT_FALSE(w.pixels.transparent(36, 42));
}

TEST_F(ImportTest, SaveNamesFiltersAndCancel) {
    open(fixture("star.bmp"));
    FrmImport& f = window();
    saveAs(dir.file("a.ICO"));
    EXPECT_TRUE(vmtest::fileExists(dir.file("a.ICO")));
    saveAs(dir.file("b.cur"));
    EXPECT_TRUE(vmtest::fileExists(dir.file("b.cur.ico")));
    EXPECT_EQ(f.dlgIcon.FilterIndex, 1);

    saveAs(dir.file("c"), 3); // no such filter: nothing written
    EXPECT_FALSE(vmtest::fileExists(dir.file("c")));
    Seam::get().queueCancel();
    f.mnuFileSaveAs_Click();
    EXPECT_EQ(count("MsgBox"), 0);

    // A name the dialog did not ask about is not replaced without asking.
    ASSERT_TRUE(vmtest::writeFile(dir.file("d.cur.ico"), "mine"));
    Seam::get().queue({1, dir.file("d.cur"), false});
    Seam::get().queueCode(vbNo);
    f.mnuFileSaveAs_Click();
    EXPECT_EQ(vmtest::readFile(dir.file("d.cur.ico")), "mine");
    EXPECT_FALSE(Masks.MaskFromImport);
}

TEST_F(ImportTest, CursorHotSpotIsScaledAndClamped) {
    open(fixture("arrow.bmp"));
    FrmImport& f = window();
    f.cmbSize.SetListIndex(3); // 48
    saveAs(dir.file("plain"), 2);
    Written w = readBack(dir.file("plain.cur"), true);
    EXPECT_EQ(w.width, 48);
    EXPECT_EQ(w.hotX, 24); // the picker's starting point, at the centre
    EXPECT_EQ(w.hotY, 24);

    Keywords.IconSize = 16;
    bool importShown = false;
    toolsHost.setHotSpot = [&] {
        importShown = Masks.MaskFromImport;
        Commands.CursorHotSpotX = 16; // the far edge of a 16-pixel picture
        Commands.CursorHotSpotY = 2;
    };
    f.cmbSize.SetListIndex(4); // 72
    saveAs(dir.file("edge.cur"), 2);
    w = readBack(dir.file("edge.cur"), true);
    EXPECT_TRUE(importShown);
    EXPECT_EQ(w.width, 72);
    EXPECT_EQ(w.hotX, 71); // 72 is past the last pixel
    EXPECT_EQ(w.hotY, 9);
}

TEST_F(ImportTest, AFailedWriteSaysSoAndKeepsTheOldFile) {
    open(fixture("keep.bmp"));
    const std::string target = dir.file("keep.ico");
    ASSERT_TRUE(vmtest::writeFile(target, "old icon"));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    saveAs(target);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(count("MsgBox"), 1);
    const SeamRequest& box = Seam::get().requests().back();
    EXPECT_EQ(box.prompt, "The file " + target + " could not be written: the file is read-only.");
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.style, vbExclamation);
    EXPECT_EQ(vmtest::readFile(target), "old icon");
    EXPECT_FALSE(Masks.MaskFromImport);
}

TEST_F(ImportTest, DepthPreviewShowsTheReducedIcon) {
    open(fixture("deep.bmp"));
    FrmImport& f = window();
    const Picture full = f.picIcon.GetPicture();
    f.cmbColorDepth.SetListIndex(0);
    EXPECT_FALSE(f.picIcon.GetPicture() == full);
    EXPECT_EQ(f.picIcon.GetPicture().pixelWidth(), 24);
    EXPECT_EQ(count("Save"), 0);
    EXPECT_FALSE(vmtest::fileExists(dir.file("temp.ico")));
    EXPECT_FALSE(f.PreviewMode);
}

TEST_F(ImportTest, APicturesOwnTransparencyAndAlphaReachTheIcon) {
    // 64 x 64: the left half transparent, the right half blue above green at alpha 153.
    ASSERT_TRUE(vmtest::runOnHost(dir.path(), "convert -size 64x64 xc:none -fill 'rgba(0,0,255,1)' -draw "
                                              "'rectangle 32,0 63,31' -fill 'rgba(0,160,0,0.6)' -draw "
                                              "'rectangle 32,32 63,63' png32:alpha.png"));
    open(dir.file("alpha.png"));
    FrmImport& f = window();
    f.cmbSize.SetListIndex(2);
    struct Case {
        int depthIndex;
        int greenAlpha; // alpha a reader sees in the half-transparent quarter
    };
    for (const Case c : {Case{5, 153}, Case{4, 255}}) {
        f.cmbColorDepth.SetListIndex(c.depthIndex);
        const std::string out = dir.file("alpha" + std::to_string(f.ColorDepth) + ".ico");
        saveAs(out);
        const vmtest::Rgba read = vmtest::icoImageOnHost(out);
        ASSERT_EQ(read.width, 32) << out;
        SCOPED_TRACE(out);
        EXPECT_EQ(read.at(8, 8)[3], 0);
        EXPECT_EQ(read.at(8, 24)[3], 0);
        EXPECT_EQ(read.at(24, 8)[3], 255);
        EXPECT_EQ(read.at(24, 8)[2], 255); // blue
        EXPECT_NEAR(read.at(24, 24)[3], c.greenAlpha, 2);
        EXPECT_EQ(read.at(24, 24)[1], 160); // green, not darkened by the alpha
    }
    // A picture without alpha written at 32 bits is opaque but for its key colour.
    open(fixture("opaque.bmp"));
    f.cmbColorDepth.SetListIndex(5);
    saveAs(dir.file("opaque32.ico"));
    const vmtest::Rgba read = vmtest::icoImageOnHost(dir.file("opaque32.ico"));
    ASSERT_EQ(read.width, 32);
    EXPECT_EQ(read.at(4, 16)[3], 0);
    EXPECT_EQ(read.at(28, 4)[3], 255);
    EXPECT_EQ(read.at(28, 28)[3], 255);
}

TEST_F(ImportTest, ShrinkingAveragesAsImageMagickDoes) {
    // A 200 x 100 gradient with a white ellipse, shrunk to 32 x 32 by the
    // window and by ImageMagick's resize.
    ASSERT_TRUE(vmtest::runOnHost(dir.path(), "convert -size 200x100 gradient:'#202080-#e0a030' -fill white -draw "
                                              "'ellipse 100,50 60,30 0,360' bmp3:ellipse.bmp"));
    open(dir.file("ellipse.bmp"));
    FrmImport& f = window();
    f.cmbSize.SetListIndex(2);
    f.cmbColorDepth.SetListIndex(4);
    saveAs(dir.file("ellipse.ico"));
    const vmtest::Rgba ours = vmtest::icoImageOnHost(dir.file("ellipse.ico"));
    const vmtest::Rgba theirs = vmtest::pictureOnHost(dir.file("ellipse.bmp"), "-resize '32x32!'");
    ASSERT_EQ(ours.width, 32);
    ASSERT_EQ(theirs.width, 32);
    const double difference = vmtest::rmse(ours, theirs);
    std::printf("RMSE against ImageMagick's resize: %.4f\n", difference);
    EXPECT_LT(difference, 0.02);
}
