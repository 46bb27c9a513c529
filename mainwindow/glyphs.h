#pragma once
// The pictures of the toolbars, the tree and the status bar, drawn with GDI at
// start-up: simple shapes and letters on the key colour, which the image
// lists make transparent.
#include <string>

#include "picture.h"
#include "twips.h"

namespace vm::mainwindow {

// The colour that marks a transparent pixel of a glyph.
constexpr OleColor kGlyphKey = 0xFF00FFu;

// A size x size bitmap of the picture named key ("firstpage", "redledon" ...);
// grey draws it in shades of grey (the toolbars' normal state). An unknown key
// gives a plain square.
Picture drawGlyph(const std::string& key, int size, bool grey);

// The toolbar picture numbers in image-list order, and the tree's keys.
const char* toolbarGlyphKey(int number); // 1-based, up to kToolbarGlyphs
constexpr int kToolbarGlyphs = 28;
extern const char* const kNavGlyphKeys[];
extern const int kNavGlyphCount;

} // namespace vm::mainwindow
