#pragma once
// Helpers shared by the icon model's tests.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cfileicon.h"
#include "vberror.h"

namespace vmtest {

// Runs f and expects a VbError of object error n with that description.
inline void expectVbError(const std::function<void()>& f, int n, const std::string& text) {
    try {
        f();
        ADD_FAILURE() << "no error, expected " << n;
    } catch (const vm::VbError& e) {
        EXPECT_EQ(e.number(), vm::kObjectError + n);
        EXPECT_EQ(e.description(), text);
    }
}

// A 24-bit memory device context over a white bitmap, for drawing checks.
class Canvas {
public:
    Canvas(int width, int height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bmp_ = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bmp_);
        PatBlt(dc_, 0, 0, width, height, WHITENESS);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
};

// The screen's device context for the length of a test.
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

} // namespace vmtest
