#pragma once
// The drawing surfaces of the current data set that the icon commands build
// masks on: a monochrome and a colour canvas of IconSize x IconSize, valid
// until the next data-set switch; the mask options of the data set.
#include <windows.h>

#include <cstdint>

namespace vm {

struct CanvasState {
    HDC MaskCanvasDC = nullptr;
    HBITMAP MaskCanvasBitmap = nullptr;
    HDC ColorCanvasDC = nullptr;
    HBITMAP ColorCanvasBitmap = nullptr;
    bool UseMask = false;
    std::int32_t MaskColor = 0;
};
extern CanvasState Canvas;

// Makes new canvases of size x size compatible with window's device context;
// the ones they replace are deleted.
void makeIconCanvases(CanvasState& canvas, HWND window, int size);

} // namespace vm
