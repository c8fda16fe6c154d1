#pragma once
// Writes the Windows icon file format (.ico): a directory of images, each a
// device-independent bitmap with its colour part and a one-bit mask.

#include <cstdint>
#include <vector>

#include "resources/icon/image.h"

namespace resources {

// The .ico file holding the images in the given order. 32-bit images keep
// their alpha and get a mask that marks the fully transparent pixels; 8-bit
// images are reduced to a palette (see quantize) and rely on the mask alone.
// Raises std::invalid_argument for an empty list, more than 65535 images, a
// side outside 1..256 pixels or a depth other than 8 or 32.
std::vector<std::uint8_t> encodeIco(const std::vector<IconImage>& images);

}  // namespace resources
