#pragma once
// Picture files written at test time in every format the create-icon window
// opens: BMP through the toolkit, GIF byte by byte, JPG through the system's
// image encoder, WMF and EMF drawn through GDI.
#include <windows.h>

#include <functional>
#include <string>

namespace toolstest {

using PixelFn = std::function<COLORREF(int x, int y)>;

bool writeBmp(const std::string& path, int width, int height, const PixelFn& pixel);
// Colours must be among the 256 the pixel function uses first; at most 256.
bool writeGif(const std::string& path, int width, int height, const PixelFn& pixel);
bool writeJpg(const std::string& path, int width, int height, const PixelFn& pixel);
// Metafiles: the picture is a set of filled rectangles over a white ground,
// given in a width x height logical space.
struct Box {
    RECT rect;
    COLORREF color;
};
bool writeWmf(const std::string& path, int width, int height, const std::vector<Box>& boxes);
bool writeEmf(const std::string& path, int width, int height, const std::vector<Box>& boxes);

// A loaded icon or cursor file drawn on a white and on a black ground: a pixel
// is transparent when the two differ.
struct IconPixels {
    int width = 0, height = 0;
    bool transparent(int x, int y) const;
    COLORREF onWhite(int x, int y) const;
    std::vector<COLORREF> white, black;
};
IconPixels drawIcon(HICON icon, int width, int height);

} // namespace toolstest
