#pragma once
// LoadPicture: pictures from files and from bytes in memory, decoded by the
// system only after the loader gate found the bytes whole.
#include <cstddef>
#include <string>

#include "picture.h"

namespace vm {

// A BMP, DIB, ICO, CUR, GIF, JPG, PNG, WMF or EMF file; "" gives an empty
// picture. Throws VbError 53 (file not found) or 481: "Invalid picture" for a
// file of another kind or a damaged one, "Picture too large: ..." with the
// limit for one larger than any picture we decode.
Picture LoadPicture(const std::string& fileName);
// The same for the bytes of such a file held in memory.
Picture LoadPictureData(const void* data, size_t size);

} // namespace vm
