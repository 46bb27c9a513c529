#pragma once
// Orvex32.dll: writes one-image icon (.ico) and cursor (.cur) files from two
// device contexts, and animated cursors (.ani) from frame files.
//
// Every export returns -1 when the file was written and 0 on any failure, and
// never throws. A failed call leaves an existing target file as it was and no
// partial file behind. The exports are undecorated names (Orvex32.def).
#include <windows.h>
#include <oleauto.h>

#include <cstdint>

extern "C" {

// hdcImage holds the colour picture at (0, 0), hdcMask the mask at (0, 0):
// white where the icon is transparent, black where it is opaque. Neither is
// changed. width and height: 1 to 256; bitCount: 1, 4, 8, 16, 24 or 32;
// fileName: a NUL-terminated ANSI path shorter than 260 characters. An existing
// file is replaced.
int32_t WINAPI SaveAsIcon(HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount,
                          const char* fileName);

// As SaveAsIcon; the hotspot (0 to 65535 each) is stored with the image.
int32_t WINAPI SaveAsCursor(HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount,
                            int32_t hotspotX, int32_t hotspotY, const char* fileName);

// frameFiles: a one-dimensional SAFEARRAY of BSTR (VT_BSTR), each holding an ANSI file
// name as bytes (SysAllocStringByteLen), the frame files (whole .ico or .cur
// files) in display order. rates: a one-dimensional SAFEARRAY of 32-bit
// integers (VT_I4), display rates in 1/60 s; the first is the default rate,
// and with one rate per frame (and more than one frame) each frame gets its
// own. Both arrays hold at least one element. fileName: the NUL-terminated ANSI
// target path. *flag: 0 replaces an existing target, any other value makes the
// call fail when the target exists.
int32_t WINAPI SaveAsANI(SAFEARRAY** frameFiles, SAFEARRAY** rates, const char* fileName, const int32_t* flag);

} // extern "C"

// The exports' types, for binding them by name.
using SaveAsIconProc = decltype(&SaveAsIcon);
using SaveAsCursorProc = decltype(&SaveAsCursor);
using SaveAsANIProc = decltype(&SaveAsANI);
