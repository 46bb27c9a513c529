#pragma once
// A picture of any kind as 32-bit pixels with its transparency, and back.
#include <windows.h>

#include "areaaverage.h"
#include "picture.h"

namespace vm {

// The picture at its own size. A bitmap keeps the alpha it carries (a PNG's,
// say); one whose alpha is 0 throughout is opaque. Icons and metafiles are
// drawn on a black and on a white ground, and a pixel is as transparent as
// the two drawings differ.
areaaverage::Pixels PicturePixels(const Picture& picture);

// An opaque bitmap picture of the pixels drawn over white.
Picture OpaquePicture(const areaaverage::Pixels& pixels);

} // namespace vm
