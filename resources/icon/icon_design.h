#pragma once
// The program's icon, drawn from scratch at any size: a sheet of paper with a
// folded corner, a few lines of content at the top and, below them, the bars
// of a sound wave in blue turning to violet; a file turned into sound.

#include <vector>

#include "resources/icon/image.h"

namespace resources {

// The icon at size x size pixels (16 or more). Small sizes (up to 48) put
// every straight edge on a pixel boundary, so they stay crisp; large ones
// round the corners and add a soft shadow. The same size always gives the
// same pixels.
RgbaImage drawIcon(int size);

// The program's icon group, in the order it is stored: 48, 32 and 16 pixels
// at 8 bits per pixel (for displays with a palette), then 256, 128, 48, 32
// and 16 pixels at 32 bits per pixel with alpha.
std::vector<IconImage> programIconImages();

}  // namespace resources
