#include "resources/icon/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>

namespace resources {
namespace {

std::uint8_t toByte(double v) { return static_cast<std::uint8_t>(std::floor(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5)); }

}  // namespace

Colour mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Canvas::Canvas(int size) : size_(size) {
    if (size <= 0) throw std::invalid_argument("canvas size must be positive");
    premultiplied_.assign(static_cast<std::size_t>(size) * size * 4, 0.0);
}

void Canvas::paint(const DistanceField& shape, const Paint& paint, double feather) {
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            const Point centre{x + 0.5, y + 0.5};
            const double coverage = std::clamp(0.5 - shape(centre) / feather, 0.0, 1.0);
            if (coverage <= 0) continue;
            const Colour c = paint(centre);
            const double alpha = c.a * coverage;
            double* px = &premultiplied_[(static_cast<std::size_t>(y) * size_ + x) * 4];
            // Porter-Duff "over" on premultiplied values.
            px[0] = c.r * alpha + px[0] * (1 - alpha);
            px[1] = c.g * alpha + px[1] * (1 - alpha);
            px[2] = c.b * alpha + px[2] * (1 - alpha);
            px[3] = alpha + px[3] * (1 - alpha);
        }
    }
}

RgbaImage Canvas::toImage() const {
    RgbaImage image{size_, size_, std::vector<std::uint8_t>(premultiplied_.size())};
    for (std::size_t i = 0; i < premultiplied_.size(); i += 4) {
        const double alpha = premultiplied_[i + 3];
        const std::uint8_t a = toByte(alpha);
        // A fully transparent pixel keeps black: its colour is never seen, and
        // black is what the one-bit mask format wants under a transparent pixel.
        for (int c = 0; c < 3; ++c) image.pixels[i + c] = a == 0 ? 0 : toByte(premultiplied_[i + c] / alpha);
        image.pixels[i + 3] = a;
    }
    return image;
}

}  // namespace resources
