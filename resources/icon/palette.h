#pragma once
// Reduces a 32-bit icon image to the 256-colour form with a one-bit mask.

#include "resources/icon/image.h"

namespace resources {

// The image with at most 255 colours of its own plus black at index 0.
// Pixels at least half opaque become opaque in their straight colour; the
// others become transparent, with index 0 (black) under them, as the mask
// format needs. When the opaque pixels have at most 255 distinct colours they
// are kept exactly; otherwise the palette comes from a median cut, and each
// pixel takes its nearest palette colour (lowest index on ties).
IndexedImage quantize(const RgbaImage& image);

}  // namespace resources
