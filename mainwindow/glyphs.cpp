#include "glyphs.h"

#include <windows.h>

#include <initializer_list>

namespace vm::mainwindow {

namespace {

enum class Shape { Box, Circle, ArrowLeft, ArrowRight, BarLeft, BarRight, Folder, Page, Pages, Disk, Play, Grid, Lens,
                   Star, Door, Led, Blank };

struct Glyph {
    const char* key;
    Shape shape;
    COLORREF colour;
    const char* text; // a letter or two drawn over the shape
};

const Glyph kGlyphs[] = {
    {"firstpage", Shape::BarLeft, RGB(30, 110, 200), ""},
    {"prevpage", Shape::ArrowLeft, RGB(30, 110, 200), ""},
    {"nextpage", Shape::ArrowRight, RGB(30, 110, 200), ""},
    {"lastpage", Shape::BarRight, RGB(30, 110, 200), ""},
    {"save", Shape::Disk, RGB(40, 80, 160), ""},
    {"open", Shape::Folder, RGB(230, 180, 40), ""},
    {"copy", Shape::Pages, RGB(250, 250, 250), ""},
    {"prop", Shape::Page, RGB(250, 250, 250), "i"},
    {"view", Shape::Grid, RGB(60, 140, 200), ""},
    {"play", Shape::Play, RGB(40, 160, 60), ""},
    {"abort", Shape::Circle, RGB(210, 40, 40), ""},
    {"zoom", Shape::Lens, RGB(120, 180, 230), ""},
    {"create", Shape::Star, RGB(240, 190, 30), ""},
    {"help", Shape::Circle, RGB(40, 100, 200), "?"},
    {"close", Shape::Door, RGB(150, 90, 40), ""},
    {"change", Shape::Box, RGB(90, 150, 60), "C"},
    {"changefolder", Shape::Folder, RGB(90, 150, 60), "C"},
    {"favadd", Shape::Star, RGB(240, 190, 30), "+"},
    {"favdel", Shape::Star, RGB(240, 190, 30), "-"},
    {"favgroupadd", Shape::Folder, RGB(240, 190, 30), "+"},
    {"favgroupdel", Shape::Folder, RGB(240, 190, 30), "-"},
    {"favedit", Shape::Folder, RGB(240, 190, 30), "E"},
    {"favrefresh", Shape::Folder, RGB(240, 190, 30), "R"},
    {"refadd", Shape::Page, RGB(255, 250, 200), "+"},
    {"refdel", Shape::Page, RGB(255, 250, 200), "-"},
    {"refedit", Shape::Page, RGB(255, 250, 200), "K"},
    // The tree and the status bar.
    {"vellumar", Shape::Box, RGB(128, 64, 64), "V"},
    {"icon", Shape::Box, RGB(60, 140, 200), "I"},
    {"navani", Shape::Play, RGB(200, 120, 40), ""},
    {"typeani", Shape::Play, RGB(200, 120, 40), ""},
    {"cursor", Shape::Box, RGB(250, 250, 250), "^"},
    {"group", Shape::Folder, RGB(230, 180, 40), ""},
    {"alfa", Shape::Box, RGB(120, 80, 170), "A"},
    {"user", Shape::Box, RGB(60, 150, 120), "U"},
    {"favorite", Shape::Star, RGB(240, 190, 30), ""},
    {"bookfav", Shape::Folder, RGB(240, 190, 30), "*"},
    {"reference", Shape::Page, RGB(255, 250, 200), "R"},
    {"system", Shape::Box, RGB(100, 100, 110), "S"},
    {"shortcut", Shape::Box, RGB(250, 250, 250), ">"},
    {"aso", Shape::Page, RGB(250, 250, 250), "F"},
    {"library", Shape::Pages, RGB(220, 200, 160), ""},
    {"book", Shape::Folder, RGB(230, 180, 40), ""},
    {"openbook", Shape::Folder, RGB(250, 210, 90), ""},
    {"redledon", Shape::Led, RGB(255, 30, 30), ""},
    {"redledoff", Shape::Led, RGB(110, 30, 30), ""},
    {"empty", Shape::Blank, 0, ""},
    // The animation player's buttons.
    {"sequential", Shape::ArrowRight, RGB(40, 160, 60), ""},
    {"backforth", Shape::Box, RGB(40, 160, 60), "<>"},
    {"top", Shape::Box, RGB(60, 140, 200), "T"},
};

// Picture numbers 12 and 13 have no button; they keep their places blank.
const char* const kToolbarOrder[kToolbarGlyphs] = {
    "firstpage", "prevpage", "nextpage", "lastpage", "save", "open", "copy", "prop", "view", "play",
    "abort", "", "", "refadd", "refdel", "zoom", "create", "help", "close", "refedit",
    "favadd", "favdel", "favedit", "favrefresh", "favgroupadd", "favgroupdel", "change", "changefolder"};

COLORREF toGrey(COLORREF c, bool grey) {
    if (!grey) return c;
    int y = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
    return RGB(y, y, y);
}

void polygon(HDC dc, std::initializer_list<POINT> points) {
    POINT p[8];
    int n = 0;
    for (POINT q : points) p[n++] = q;
    Polygon(dc, p, n);
}

void drawShape(HDC dc, const Glyph& g, int s, bool grey) {
    // Coordinates are for a 16-pixel square, scaled to the size asked.
    auto P = [s](int x, int y) { return POINT{x * s / 16, y * s / 16}; };
    HPEN pen = CreatePen(PS_SOLID, 1, toGrey(RGB(40, 40, 40), grey));
    HBRUSH brush = CreateSolidBrush(toGrey(g.colour, grey));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    switch (g.shape) {
    case Shape::Box: RoundRect(dc, P(1, 1).x, P(1, 1).y, P(15, 15).x, P(15, 15).y, s / 4, s / 4); break;
    case Shape::Circle: Ellipse(dc, P(1, 1).x, P(1, 1).y, P(15, 15).x, P(15, 15).y); break;
    case Shape::Led: Ellipse(dc, P(3, 3).x, P(3, 3).y, P(13, 13).x, P(13, 13).y); break;
    case Shape::ArrowLeft: polygon(dc, {P(3, 8), P(11, 2), P(11, 14)}); break;
    case Shape::ArrowRight: polygon(dc, {P(13, 8), P(5, 2), P(5, 14)}); break;
    case Shape::BarLeft:
        polygon(dc, {P(5, 8), P(13, 2), P(13, 14)});
        Rectangle(dc, P(2, 2).x, P(2, 2).y, P(5, 14).x, P(5, 14).y);
        break;
    case Shape::BarRight:
        polygon(dc, {P(11, 8), P(3, 2), P(3, 14)});
        Rectangle(dc, P(11, 2).x, P(11, 2).y, P(14, 14).x, P(14, 14).y);
        break;
    case Shape::Folder: polygon(dc, {P(1, 4), P(6, 4), P(7, 6), P(15, 6), P(15, 14), P(1, 14)}); break;
    case Shape::Page: polygon(dc, {P(3, 1), P(10, 1), P(13, 4), P(13, 15), P(3, 15)}); break;
    case Shape::Pages:
        Rectangle(dc, P(1, 1).x, P(1, 1).y, P(10, 12).x, P(10, 12).y);
        Rectangle(dc, P(6, 4).x, P(6, 4).y, P(15, 15).x, P(15, 15).y);
        break;
    case Shape::Disk: {
        Rectangle(dc, P(1, 1).x, P(1, 1).y, P(15, 15).x, P(15, 15).y);
        HBRUSH label = CreateSolidBrush(RGB(250, 250, 250));
        RECT r{P(4, 1).x, P(4, 1).y, P(12, 7).x, P(12, 7).y};
        FillRect(dc, &r, label);
        DeleteObject(label);
        break;
    }
    case Shape::Play: polygon(dc, {P(3, 1), P(14, 8), P(3, 15)}); break;
    case Shape::Grid:
        for (int y = 1; y < 15; y += 7)
            for (int x = 1; x < 15; x += 7) Rectangle(dc, P(x, y).x, P(x, y).y, P(x + 6, y + 6).x, P(x + 6, y + 6).y);
        break;
    case Shape::Lens:
        Ellipse(dc, P(1, 1).x, P(1, 1).y, P(11, 11).x, P(11, 11).y);
        polygon(dc, {P(9, 10), P(10, 9), P(15, 14), P(14, 15)});
        break;
    case Shape::Star:
        polygon(dc, {P(8, 1), P(10, 6), P(15, 6), P(11, 10), P(13, 15), P(8, 12), P(3, 15), P(5, 10)});
        break;
    case Shape::Door:
        Rectangle(dc, P(3, 1).x, P(3, 1).y, P(13, 15).x, P(13, 15).y);
        Ellipse(dc, P(9, 8).x, P(9, 8).y, P(11, 10).x, P(11, 10).y);
        break;
    case Shape::Blank: break;
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    if (*g.text) {
        HFONT font = CreateFontA(-s * 3 / 4, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                                 "Arial");
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, toGrey(RGB(0, 0, 0), grey));
        RECT r{0, 0, s, s};
        DrawTextA(dc, g.text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
}

} // namespace

const char* const kNavGlyphKeys[] = {"vellumar", "icon", "navani", "typeani", "cursor", "group", "alfa",
                                     "user", "favorite", "bookfav", "reference", "system", "shortcut", "aso",
                                     "library", "book", "openbook", "redledon", "redledoff", "empty",
                                     "sequential", "backforth", "top"};
const int kNavGlyphCount = static_cast<int>(sizeof(kNavGlyphKeys) / sizeof(kNavGlyphKeys[0]));

const char* toolbarGlyphKey(int number) {
    return number >= 1 && number <= kToolbarGlyphs ? kToolbarOrder[number - 1] : "";
}

Picture drawGlyph(const std::string& key, int size, bool grey) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH keyBrush = CreateSolidBrush(kGlyphKey);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, keyBrush);
    DeleteObject(keyBrush);
    Glyph fallback{"", Shape::Box, RGB(180, 180, 180), ""};
    const Glyph* glyph = &fallback;
    for (const Glyph& g : kGlyphs)
        if (key == g.key) glyph = &g;
    if (!key.empty()) drawShape(dc, *glyph, size, grey);
    SelectObject(dc, old);
    DeleteDC(dc);
    return Picture::fromBitmap(bitmap);
}

} // namespace vm::mainwindow
