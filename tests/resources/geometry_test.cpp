// The distances the icon is drawn from: known answers.

#include "resources/icon/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace resources {
namespace {

TEST(BoxDistance, IsNegativeInsideAndExactOutsideIncludingRoundedCorners) {
    const Point centre{10, 10};
    EXPECT_DOUBLE_EQ(boxDistance({10, 10}, centre, 4, 2, 0), -2);
    EXPECT_DOUBLE_EQ(boxDistance({16, 10}, centre, 4, 2, 0), 2);
    EXPECT_DOUBLE_EQ(boxDistance({17, 16}, centre, 4, 2, 0), 5);  // 3-4-5 from the corner (14, 12)
    // With radius 1 the corner is a quarter circle around (13, 11).
    EXPECT_NEAR(boxDistance({14, 12}, centre, 4, 2, 1), std::sqrt(2.0) - 1, 1e-12);
    EXPECT_DOUBLE_EQ(boxDistance({10, 12}, centre, 4, 2, 1), 0);
}

TEST(ConvexPolygonDistance, AgreesWithTheBoxInEitherWindingOrder) {
    const std::vector<Point> clockwise{{6, 8}, {14, 8}, {14, 12}, {6, 12}};
    const std::vector<Point> counter{{6, 8}, {6, 12}, {14, 12}, {14, 8}};
    for (Point p : {Point{10, 10}, Point{16, 10}, Point{17, 16}, Point{6, 9}, Point{0, 0}}) {
        EXPECT_DOUBLE_EQ(convexPolygonDistance(p, clockwise), boxDistance(p, {10, 10}, 4, 2, 0));
        EXPECT_DOUBLE_EQ(convexPolygonDistance(p, counter), boxDistance(p, {10, 10}, 4, 2, 0));
    }
}

TEST(InsetConvexPolygon, MovesEverySideInwardsByTheAmount) {
    // A square with one corner cut off at 45 degrees, as the folded sheet.
    const std::vector<Point> sheet{{0, 0}, {6, 0}, {10, 4}, {10, 10}, {0, 10}};
    const auto inner = insetConvexPolygon(sheet, 1);
    ASSERT_EQ(inner.size(), sheet.size());
    EXPECT_NEAR(inner[0].x, 1, 1e-12);
    EXPECT_NEAR(inner[0].y, 1, 1e-12);
    EXPECT_NEAR(inner[3].x, 9, 1e-12);
    EXPECT_NEAR(inner[3].y, 9, 1e-12);
    // Every corner of the inset lies one unit inside the original outline.
    for (Point p : inner) EXPECT_NEAR(convexPolygonDistance(p, sheet), -1, 1e-12);
}

}  // namespace
}  // namespace resources
