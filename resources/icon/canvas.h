#pragma once
// A square drawing surface that paints shapes given by signed distances, with
// antialiased edges, and hands the result out as an 8-bit image.

#include <functional>
#include <vector>

#include "resources/icon/geometry.h"
#include "resources/icon/image.h"

namespace resources {

// A colour with straight alpha, every channel in 0..1.
struct Colour {
    double r = 0, g = 0, b = 0, a = 1;
};

// The colour at fraction t (0..1) of the way from a to b.
Colour mix(Colour a, Colour b, double t);

// A colour from 0xRRGGBB and an opacity.
constexpr Colour rgb(unsigned hex, double alpha = 1.0) {
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, alpha};
}

using DistanceField = std::function<double(Point)>;
using Paint = std::function<Colour(Point)>;

class Canvas {
public:
    // A transparent canvas of size x size pixels; size must be positive.
    explicit Canvas(int size);

    int size() const { return size_; }

    // Paints over everything inside the shape. A pixel's coverage is how far
    // its centre lies inside the outline, over a band as wide as feather (1
    // gives a crisp one-pixel edge; more gives a soft one, as for shadows).
    void paint(const DistanceField& shape, const Paint& paint, double feather = 1.0);

    // The picture with straight alpha, channels rounded to the nearest byte.
    RgbaImage toImage() const;

private:
    int size_;
    std::vector<double> premultiplied_;  // r, g, b, a per pixel
};

}  // namespace resources
