#include "maskcanvas.h"

namespace vm {

CanvasState Canvas;

namespace {
void release(HDC& dc, HBITMAP& bitmap) {
    // The bitmap is selected into the context: the context goes first.
    if (dc) DeleteDC(dc);
    if (bitmap) DeleteObject(bitmap);
    dc = nullptr;
    bitmap = nullptr;
}
} // namespace

void makeIconCanvases(CanvasState& canvas, HWND window, int size) {
    release(canvas.MaskCanvasDC, canvas.MaskCanvasBitmap);
    release(canvas.ColorCanvasDC, canvas.ColorCanvasBitmap);
    HDC windowDC = GetDC(window);
    canvas.MaskCanvasDC = CreateCompatibleDC(windowDC);
    canvas.ColorCanvasDC = CreateCompatibleDC(windowDC);
    // Compatible with a fresh memory context: monochrome.
    canvas.MaskCanvasBitmap = CreateCompatibleBitmap(canvas.MaskCanvasDC, size, size);
    canvas.ColorCanvasBitmap = CreateCompatibleBitmap(windowDC, size, size);
    ReleaseDC(window, windowDC);
    SelectObject(canvas.MaskCanvasDC, canvas.MaskCanvasBitmap);
    SelectObject(canvas.ColorCanvasDC, canvas.ColorCanvasBitmap);
}

} // namespace vm
