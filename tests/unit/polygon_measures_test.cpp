// MinRad of a corner to the last few roundings, from nearly straight to
// nearly turning back, against the same quantity in extended precision.
#include "geom/polygon_measures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

TEST(CornerMinRad, AccurateAtEveryTurningAngle)
{
    // The corner (-1, 0, 0) -> (0, 0, 0) -> 2 (cos t, sin t, 0): the edge
    // before has length 1, so MinRad is 1 / (2 tan(t / 2)).
    for (const double t : {1e-7, 1e-3, 0.5, 1.5707963, 2.5, 3.14159, 3.1415926}) {
        SCOPED_TRACE(t);
        const Vec3 p0 = {-1.0, 0.0, 0.0}, p1 = {0.0, 0.0, 0.0};
        const Vec3 p2 = {2.0 * std::cos(t), 2.0 * std::sin(t), 0.0};
        // tan(t / 2) of the rounded corner in extended precision, for
        // a = (1, 0, 0): b.y / (|b| + b.x) = (|b| - b.x) / b.y, whichever
        // does not cancel.
        const long double bx = p2.x, by = p2.y, lb = std::sqrt(bx * bx + by * by);
        const long double half = bx >= 0.0L ? by / (lb + bx) : (lb - bx) / by;
        const double expected = static_cast<double>(1.0L / (2.0L * half));
        EXPECT_NEAR(vek::CornerMinRad(p0, p1, p2), expected, 1e-15 * expected);
    }
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(vek::CornerMinRad({0, 0, 0}, {1, 0, 0}, {3, 0, 0}), inf);   // straight on
    EXPECT_EQ(vek::CornerMinRad({0, 0, 0}, {1, 0, 0}, {0.5, 0, 0}), 0.0); // back on itself
    EXPECT_EQ(vek::CornerMinRad({0, 0, 0}, {0, 0, 0}, {0, 1, 0}), 0.0);   // an edge of no length
}

// The gradient against central differences of the length, on a skew
// polygon with a repeated vertex (an edge of length 0 adds nothing).
TEST(PolygonLengthGradient, MatchesTheLengthsDifferences)
{
    std::vector<double> points{0, 0, 0, 2, 0, 0, 2, 0, 0, 3, 1, 1, 1, 3, -1, -1, 1, 0.5};
    const std::vector<double> g = vek::PolygonLengthGradient(vek::PolygonView::Interleaved(points));
    ASSERT_EQ(g.size(), points.size());
    for (size_t k = 0; k < points.size(); ++k) {
        // Vertices 1 and 2 coincide: there the length has a kink, no slope.
        if (k >= 3 && k < 9)
            continue;
        const double kept = points[k], h = 1e-6;
        points[k] = kept + h;
        const double up = vek::PolygonLength(vek::PolygonView::Interleaved(points));
        points[k] = kept - h;
        const double down = vek::PolygonLength(vek::PolygonView::Interleaved(points));
        points[k] = kept;
        EXPECT_NEAR(g[k], (up - down) / (2 * h), 1e-7) << "coordinate " << k;
    }
}

}  // namespace
