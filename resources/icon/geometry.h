#pragma once
// Signed distances to the few shapes the icon is made of. Distances are in
// pixels, negative inside, and exact near the outline, so that a painter can
// turn them into antialiased coverage.

#include <span>
#include <vector>

namespace resources {

struct Point {
    double x = 0, y = 0;
};

// Distance from p to the box centred at centre with the given half width and
// half height, its corners rounded by radius (0 for sharp corners; at most the
// smaller half extent).
double boxDistance(Point p, Point centre, double halfWidth, double halfHeight, double radius);

// Distance from p to a convex polygon (corners in either winding order, at
// least three).
double convexPolygonDistance(Point p, std::span<const Point> corners);

// The convex polygon moved inwards by amount on every side: each edge keeps its
// direction and the new corners are where neighbouring edges meet. The amount
// must be small against the polygon, or the result turns inside out.
std::vector<Point> insetConvexPolygon(std::span<const Point> corners, double amount);

}  // namespace resources
