#include "resources/icon/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace resources {
namespace {

double cross(Point a, Point b, Point p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x); }

double segmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

// +1 when the corners run with positive cross products (clockwise on a
// screen, whose y axis points down), -1 otherwise.
double windingSign(std::span<const Point> corners) {
    double area = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point a = corners[i], b = corners[(i + 1) % corners.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area >= 0 ? 1.0 : -1.0;
}

}  // namespace

double boxDistance(Point p, Point centre, double halfWidth, double halfHeight, double radius) {
    // The usual rounded-box distance: shrink the box by the radius, measure to
    // it, and take the radius off again.
    const double qx = std::abs(p.x - centre.x) - (halfWidth - radius);
    const double qy = std::abs(p.y - centre.y) - (halfHeight - radius);
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

double convexPolygonDistance(Point p, std::span<const Point> corners) {
    const double sign = windingSign(corners);
    double nearest = std::numeric_limits<double>::infinity();
    bool inside = true;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point a = corners[i], b = corners[(i + 1) % corners.size()];
        nearest = std::min(nearest, segmentDistance(p, a, b));
        if (sign * cross(a, b, p) < 0) inside = false;
    }
    return inside ? -nearest : nearest;
}

std::vector<Point> insetConvexPolygon(std::span<const Point> corners, double amount) {
    const std::size_t n = corners.size();
    const double sign = windingSign(corners);
    // Each edge as a point on the moved line and its direction.
    std::vector<Point> base(n), direction(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Point a = corners[i], b = corners[(i + 1) % n];
        const double dx = b.x - a.x, dy = b.y - a.y, length = std::sqrt(dx * dx + dy * dy);
        // The inward normal: the side where the cross product has the winding's sign.
        const double nx = -dy / length * sign, ny = dx / length * sign;
        base[i] = {a.x + nx * amount, a.y + ny * amount};
        direction[i] = {dx, dy};
    }
    std::vector<Point> result(n);
    for (std::size_t i = 0; i < n; ++i) {
        // Corner i lies where edge i-1 meets edge i.
        const std::size_t j = (i + n - 1) % n;
        const Point p = base[j], r = direction[j], q = base[i], s = direction[i];
        const double denominator = r.x * s.y - r.y * s.x;
        const double t = ((q.x - p.x) * s.y - (q.y - p.y) * s.x) / denominator;
        result[i] = {p.x + t * r.x, p.y + t * r.y};
    }
    return result;
}

}  // namespace resources
