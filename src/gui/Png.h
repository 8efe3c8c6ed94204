#pragma once
// PNG pictures decoded with the Windows Imaging Component into 32-bit bitmaps.
// COM must be initialised on the calling thread.
#include <cstddef>

#include "gui/Bitmap32.h"

namespace gui {

// Decodes PNG bytes into bmp (sized to the picture), keeping the picture's own
// alpha, not premultiplied. False, with bmp untouched, when the bytes do not decode.
bool DecodePng(const void* data, size_t size, Bitmap32& bmp);

// Blends every pixel over opaque white by its alpha, then makes it opaque.
void FlattenOntoWhite(Bitmap32& bmp);

// Loads the raw-data resource of that name from the running program as a PNG
// picture flattened onto white: every pixel of the result is opaque.
// False, with bmp untouched, when the resource is missing or does not decode.
bool LoadPngResource(Bitmap32& bmp, const wchar_t* resourceName);

}  // namespace gui
