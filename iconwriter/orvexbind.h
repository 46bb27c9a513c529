#pragma once
// The program's way to Orvex32.dll: each call binds its export by name from the
// DLL beside the program on first use. When the DLL or the export is missing
// the call does nothing and returns 0, as a failed write does.
#include "orvex32.h"

namespace orvexbind {

int32_t SaveAsIcon(HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount, const char* fileName);
int32_t SaveAsCursor(HDC hdcImage, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount, int32_t hotspotX,
                     int32_t hotspotY, const char* fileName);
int32_t SaveAsANI(SAFEARRAY** frameFiles, SAFEARRAY** rates, const char* fileName, const int32_t* flag);

} // namespace orvexbind
