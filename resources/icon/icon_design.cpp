#include "resources/icon/icon_design.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "resources/icon/canvas.h"

namespace resources {
namespace {

constexpr Colour outline = rgb(0x3C4A5C);
constexpr Colour paperTop = rgb(0xFFFFFF);
constexpr Colour paperBottom = rgb(0xE4EAF2);
constexpr Colour foldColour = rgb(0xC3CEDB);
constexpr Colour foldEdgeSmall = rgb(0x8795A8);  // a full-strength outline makes a tiny fold a dark blot
constexpr Colour textColour = rgb(0x9AA7B7);
constexpr Colour waveLeft = rgb(0x0098D8);
constexpr Colour waveRight = rgb(0x6A3FD6);

// The wave's loudness along the sheet, sampled at each bar's centre: quiet
// at the ends, with two peaks, so that a handful of bars reads as sound.
double loudness(double t) {
    static constexpr std::array<double, 9> knots{0.30, 0.62, 1.00, 0.52, 0.78, 0.96, 0.46, 0.66, 0.28};
    const double position = std::clamp(t, 0.0, 1.0) * (knots.size() - 1);
    const auto i = std::min(static_cast<std::size_t>(position), knots.size() - 2);
    const double f = position - static_cast<double>(i);
    return knots[i] + (knots[i + 1] - knots[i]) * f;
}

// A few bars sample the curve too coarsely to look like anything; they get
// their own heights.
double barLoudness(int index, int count) {
    static constexpr std::array<double, 3> three{0.5, 1.0, 0.75};
    static constexpr std::array<double, 4> four{0.45, 1.0, 0.65, 0.85};
    if (count == 3) return three[index];
    if (count == 4) return four[index];
    return loudness((index + 0.5) / count);
}

class IconPainter {
public:
    explicit IconPainter(int size) : canvas_(size), size_(size), small_(size <= 48) {}

    RgbaImage draw() {
        const double left = at(0.125), right = at(0.875), top = at(0.0625), bottom = at(0.9375);
        const double fold = at(0.25);
        const double border = small_ ? 1.0 : size_ / 48.0;
        const double radius = small_ ? 0.0 : size_ / 40.0;
        const std::vector<Point> sheet{
            {left, top}, {right - fold, top}, {right, top + fold}, {right, bottom}, {left, bottom}};
        const std::vector<Point> flap{{right - fold, top}, {right - fold, top + fold}, {right, top + fold}};

        if (!small_) shadow(sheet, radius);
        roundedPolygon(sheet, radius, 0, [](Point) { return outline; });
        roundedPolygon(sheet, radius, border,
                       [&](Point p) { return mix(paperTop, paperBottom, (p.y - top) / (bottom - top)); });
        const Colour foldEdge = small_ ? foldEdgeSmall : outline;
        roundedPolygon(flap, radius / 2, 0, [=](Point) { return foldEdge; });
        roundedPolygon(flap, radius / 2, border, [](Point) { return foldColour; });

        const double inner = left + border, margin = small_ ? size_ / 16.0 : size_ * 0.06;
        const double thickness = std::max(1.0, length(size_ / 24.0));
        textLine(inner + margin, right - fold - margin, at(0.1875), thickness);
        textLine(inner + margin, right - border - margin - (small_ ? 0 : size_ * 0.08), at(0.3125), thickness);
        wave(inner + margin, right - border - margin, at(0.4375), bottom - border - (small_ ? 1 : size_ * 0.06));
        return canvas_.toImage();
    }

private:
    // A fraction of the size in pixels; small sizes snap to whole pixels.
    double at(double fraction) const { return small_ ? std::floor(fraction * size_ + 0.5) : fraction * size_; }
    double length(double pixels) const { return small_ ? std::floor(pixels + 0.5) : pixels; }

    // The polygon shrunk by inset, with its corners rounded by radius.
    void roundedPolygon(const std::vector<Point>& corners, double radius, double inset, const Paint& paint) {
        const auto core = insetConvexPolygon(corners, inset + radius);
        canvas_.paint([core, radius](Point p) { return convexPolygonDistance(p, core) - radius; }, paint);
    }

    void shadow(const std::vector<Point>& sheet, double radius) {
        const double drop = size_ * 0.015, blur = size_ * 0.04;
        std::vector<Point> moved;
        for (Point p : sheet) moved.push_back({p.x, p.y + drop});
        const auto core = insetConvexPolygon(moved, radius);
        canvas_.paint([core, radius](Point p) { return convexPolygonDistance(p, core) - radius; },
                      [](Point) { return rgb(0x000000, 0.35); }, blur);
    }

    void textLine(double from, double to, double y, double thickness) {
        const double radius = small_ ? 0 : thickness / 2;
        const Point centre{(from + to) / 2, y + thickness / 2};
        canvas_.paint([=](Point p) { return boxDistance(p, centre, (to - from) / 2, thickness / 2, radius); },
                      [](Point) { return textColour; });
    }

    // Vertical bars between from and to, symmetric about the middle of top..bottom.
    void wave(double from, double to, double top, double bottom) {
        const double barWidth = small_ ? std::max(2.0, length(size_ / 16.0)) : size_ * 0.045;
        const double gap = small_ ? std::max(1.0, length(size_ / 24.0)) : size_ * 0.03;
        const int count = static_cast<int>((to - from + gap) / (barWidth + gap));
        const double used = count * barWidth + (count - 1) * gap;
        const double start = from + length((to - from - used) / 2);
        const double middle = (top + bottom) / 2, reach = (bottom - top) / 2;
        for (int i = 0; i < count; ++i) {
            const double x0 = start + i * (barWidth + gap);
            const double t = (i + 0.5) / count;
            double half = barLoudness(i, count) * reach;
            // Small sizes: whole-pixel ends, mirrored about the middle, at least a pixel tall.
            if (small_) half = std::max(middle - std::floor(middle - half + 0.5), 0.5);
            const Point centre{x0 + barWidth / 2, middle};
            const double radius = small_ ? 0 : barWidth / 2;
            const Colour colour = mix(waveLeft, waveRight, t);
            canvas_.paint([=](Point p) { return boxDistance(p, centre, barWidth / 2, std::max(half, radius), radius); },
                          [=](Point) { return colour; });
        }
    }

    Canvas canvas_;
    int size_;
    bool small_;
};

}  // namespace

RgbaImage drawIcon(int size) {
    if (size < 16) throw std::invalid_argument("icon size below 16 pixels");
    return IconPainter(size).draw();
}

std::vector<IconImage> programIconImages() {
    std::vector<IconImage> images;
    for (int size : {48, 32, 16}) images.push_back({drawIcon(size), 8});
    for (int size : {256, 128, 48, 32, 16}) images.push_back({drawIcon(size), 32});
    return images;
}

}  // namespace resources
