#pragma once
// Captions are never cut: a control that shows its caption on one line is
// sized from the caption's width in its font, plus what the control draws
// beside the text (a check box's box, a button's edges, a frame's corner).
#include <windows.h>

#include <string>

namespace vm {

enum class CaptionKind { Label, Button, Box, Frame };

// The size of a caption on one line in the window's font; an "&" marks the
// access key and takes no room ("&&" shows one "&").
SIZE captionExtent(HWND window, const std::string& caption);

// Sizes a control from its caption. A label given its caption by its design
// takes exactly the caption's width (so it covers no neighbour either); other
// controls, and captions set later, only grow. The edge the alignment holds
// stays (the right one for vbRightJustify, the middle for vbCenter). A label
// tall enough for two lines wraps its caption and keeps its width.
void fitCaption(HWND window, const std::string& caption, CaptionKind kind, bool designCaption, int alignment = 0);

} // namespace vm
