#pragma once
// Pictures to hand to the writer and readers of what it wrote.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvextest {

// A memory device context over a 32-bit DIB section, as the program's picture
// boxes give the writer.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    void fill(int left, int top, int right, int bottom, COLORREF color);
    COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

uint16_t u16(const std::string& bytes, size_t offset);
uint32_t u32(const std::string& bytes, size_t offset);

// The names of the files in a folder.
std::vector<std::string> filesIn(const std::string& folder);

} // namespace orvextest
