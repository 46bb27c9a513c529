// Times the export of a 256 x 256 32-bit picture as JPEG (quality 100) and as
// GIF (quantised twice and the mask colour found, as Save As does), and of a
// 40-frame animation as an ANI file through the frame writer. Run under Wine
// beside Quenplex.dll and Orvex32.dll: wine bench_export.exe > log 2>&1
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "benchtime.h"
#include "browserstate.h"
#include "exportwindow.h"
#include "formatwriters.h"
#include "imagehelpers.h"
#include "quenplexbind.h"
#include "state.h"

namespace {

using bench::Clock;
using bench::msSince;


// A 32-bit picture with smooth shading, a hard edge and noise: tens of
// thousands of colours.
HBITMAP richPicture(HDC dc, int size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<std::uint32_t*>(bits);
    unsigned seed = 1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            seed = seed * 1103515245u + 12345u;
            const unsigned noise = (seed >> 16) & 7;
            p[y * size + x] = 0xFF000000u | ((x + noise) & 0xFF) << 16 | ((y * 3 / 4 + noise) & 0xFF) << 8 |
                              (x > y ? 200u : (x ^ y) & 0xFF);
        }
    return bitmap;
}

HICON frameIcon(int size, int k) {
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, size, size);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, colour);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) SetPixel(dc, x, y, RGB((x * 8 + k * 6) & 0xFF, y * 8, k * 6));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

} // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "vmbench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const int size = 256;
    HDC screen = GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP picture = richPicture(source, size);
    SelectObject(source, picture);

    for (int round = 0; round < 5; ++round) {
        auto start = Clock::now();
        vm::QuenplexImage image;
        quenplexbind::allocimage(image, size, size, 24);
        HGDIOBJ before = SelectObject(memory, image.bitmap);
        BitBlt(memory, 0, 0, size, size, source, 0, 0, SRCCOPY);
        SelectObject(memory, before);
        const int jpg = quenplexbind::savejpg(folder + "bench.jpg", image, 100);
        quenplexbind::freeimage(image);
        const double jpgMs = msSince(start);

        start = Clock::now();
        vm::QuenplexImage image24, image8;
        quenplexbind::allocimage(image24, size, size, 24);
        quenplexbind::allocimage(image8, size, size, 8);
        before = SelectObject(memory, image24.bitmap);
        BitBlt(memory, 0, 0, size, size, source, 0, 0, SRCCOPY);
        SelectObject(memory, before);
        quenplexbind::convertrgbtopal(256, image24, image8);
        quenplexbind::convertrgbtopal(vm::procCountSingleColors(image8), image24, image8);
        const int t = vm::procFindMaskColorIndex(image8);
        const int gif = t < 0 ? quenplexbind::savegif(folder + "bench.gif", image8)
                              : quenplexbind::savegifex(folder + "bench.gif", image8, 2, t);
        quenplexbind::freeimage(image24);
        quenplexbind::freeimage(image8);
        const double gifMs = msSince(start);

        std::vector<vm::Picture> frames;
        for (int k = 0; k < 40; ++k) frames.push_back(vm::Picture::fromIcon(frameIcon(32, k)));
        vm::OffscreenSurface picSave, pctColor, pctMask;
        vm::ExportWindow w;
        w.picSave = &picSave;
        w.pctColor = &pctColor;
        w.pctMask = &pctMask;
        w.collectFrames = [&frames] {
            vm::Exports.picFilm = frames;
            vm::Exports.AniFrameCount = 40;
        };
        vm::Keywords.IconSize = 32;
        vm::paths.TempPath = folder;
        start = Clock::now();
        const bool ani = vm::procWriteFrames(w, folder + "bench.ani", false);
        const double aniMs = msSince(start);
        std::printf("round %d: jpg %.1f ms (%d), gif %.1f ms (%d), 40-frame ani %.1f ms (%s)\n", round + 1, jpgMs, jpg,
                    gifMs, gif, aniMs, ani ? "ok" : "failed");
    }
    DeleteDC(source);
    DeleteDC(memory);
    DeleteObject(picture);
    return 0;
}
