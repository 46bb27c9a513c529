#pragma once
// Screen units, colours and the program-wide objects of the toolkit: twips
// (1/1440 inch, the unit of every stored position and size), OLE_COLOR values
// (system colours have the high bit set and are looked up when drawn), the
// screen's mouse pointer and the program's own folder and name.
#include <windows.h>

#include <cstdint>
#include <string>

namespace vm {

// Twips per screen pixel, horizontally and vertically (15 at 96 dpi).
int TwipsPerPixelX();
int TwipsPerPixelY();
// Conversions, rounded to the nearest pixel.
int twipsToPixelsX(int twips);
int twipsToPixelsY(int twips);
inline int pixelsToTwipsX(int pixels) { return pixels * TwipsPerPixelX(); }
inline int pixelsToTwipsY(int pixels) { return pixels * TwipsPerPixelY(); }

// An OLE_COLOR: an RGB value (0x00BBGGRR), or 0x800000nn for system colour nn.
using OleColor = std::uint32_t;
constexpr OleColor vbScrollBars = 0x80000000u, vbDesktop = 0x80000001u, vbWindowBackground = 0x80000005u,
                   vbWindowText = 0x80000008u, vbHighlight = 0x8000000Du, vbHighlightText = 0x8000000Eu,
                   vbButtonFace = 0x8000000Fu, vbButtonShadow = 0x80000010u, vbGrayText = 0x80000011u,
                   vbButtonText = 0x80000012u, vb3DHighlight = 0x80000014u, vbInfoText = 0x80000017u,
                   vbInfoBackground = 0x80000018u;
constexpr OleColor vbBlack = 0x000000u, vbWhite = 0xFFFFFFu, vbRed = 0x0000FFu, vbGreen = 0x00FF00u,
                   vbBlue = 0xFF0000u;
// The COLORREF an OLE_COLOR stands for now.
COLORREF resolveColor(OleColor color);
inline OleColor RGBColor(int r, int g, int b) { return static_cast<OleColor>(RGB(r, g, b)); }

// The font that forms and controls show their texts in.
HFONT guiFont();

// Mouse pointers, with the values of the original toolkit.
enum MousePointerKind : int {
    vbDefault = 0, vbArrow = 1, vbCrosshair = 2, vbIbeam = 3, vbSizeAll = 5, vbSizeNESW = 6, vbSizeNS = 7,
    vbSizeNWSE = 8, vbSizeWE = 9, vbUpArrow = 10, vbHourglass = 11, vbNoDrop = 12, vbArrowHourglass = 13,
    vbArrowQuestion = 14,
};
// The cursor of a pointer kind; null for vbDefault (the window's own cursor).
HCURSOR cursorFor(int pointer);

// The screen object: its size in twips and the pointer shown over every form
// of the program while it is not vbDefault (vbHourglass during long work).
struct Screen {
    static int Width();
    static int Height();
    static int MousePointer();
    static void SetMousePointer(int pointer);
};

// The application object: the program's folder (no trailing backslash), its
// file name without extension, and the help file the program names.
struct App {
    static std::string Path();
    static std::string EXEName();
    static std::string HelpFile;
};

} // namespace vm
