#include "twips.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The pixels of one letter drawn black on white in the font of forms and controls.
std::vector<COLORREF> drawn(const wchar_t* letter) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, vm::guiFont());
    const RECT all{0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutW(dc, 0, 0, letter, 1);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// Names in Chinese, Japanese and Korean show their letters, from the font or
// one it falls back on, not the box drawn for a letter no font has (U+0378 is
// no letter at all).
TEST(GuiFont, DrawsChineseJapaneseAndKoreanLetters) {
    const std::vector<COLORREF> box = drawn(L"\u0378");
    for (const wchar_t* letter : {L"\u4E2D", L"\u3042", L"\uD55C"})
        EXPECT_TRUE(drawn(letter) != box) << "U+" << std::hex << int(*letter);
}

} // namespace
