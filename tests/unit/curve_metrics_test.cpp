#include "curve/curve_metrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "curve/constants.h"
#include "curve/relax_step.h"
#include "test_support.h"

TEST(CurveLength, ClosedPolylineIncludesTheClosingSegment)
{
    struct Case {
        std::vector<Point> points;
        double length;
    };
    const std::vector<Case> cases = {
        {{}, 0.0},
        {{{0.2, 0.3, 0.4}}, 0.0},
        {{{0, 0, 0}, {0.3, 0.4, 0}}, 1.0},  // there and back
        {{{0, 0, 0}, {0.1, 0, 0}, {0.1, 0.1, 0}, {0, 0.1, 0}}, 0.4},
        {{{0, 0, 0}, {0, 0, 0.2}, {0, 0, 0.2}}, 0.4},
    };
    for (const Case& c : cases) {
        CDoubleArray x, y, z;
        SetArrays(x, y, z, c.points);
        EXPECT_NEAR(CurveLength(x, y, z), c.length, 1e-15) << c.points.size() << " points";
    }
}

TEST(MinNonLocalDistance, IgnoresPointsInsideTheWindowAlongTheCurve)
{
    const double window = ExclusionWindow(vek::kThickness);
    // A square sampled at 0.0075: along a side the nearest points outside
    // the window are 7 steps away (0.0525), but round a corner the points 3
    // and 4 steps from it are 5 steps apart in space (0.0375).
    std::vector<Point> square;
    const double s = 0.0075;
    const int count = 40;
    for (int k = 0; k < count; ++k)
        square.push_back({k * s, 0, 0});
    for (int k = 0; k < count; ++k)
        square.push_back({count * s, k * s, 0});
    for (int k = 0; k < count; ++k)
        square.push_back({count * s - k * s, count * s, 0});
    for (int k = 0; k < count; ++k)
        square.push_back({0, count * s - k * s, 0});
    CDoubleArray x, y, z;
    SetArrays(x, y, z, square);
    EXPECT_NEAR(MinNonLocalDistance(x, y, z, window), 5 * s, 1e-12);
}

TEST(MinNonLocalDistance, FindsTheClosestFacingPoints)
{
    const double window = ExclusionWindow(vek::kThickness);
    CDoubleArray x, y, z;
    SetArrays(x, y, z, {{0, -0.005, 0}, {1, 0, 0}, {0, 0.005, 0}, {-1, 0, 0}});
    EXPECT_NEAR(MinNonLocalDistance(x, y, z, window), 0.01, 1e-15);
}

TEST(MinNonLocalDistance, InfiniteWhenNoPointHasACandidate)
{
    const double window = ExclusionWindow(vek::kThickness);
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<Point>> cases = {
        {},
        {{0.1, 0.1, 0.1}},
        {{0, 0, 0}, {0.02, 0, 0}},
        {{0, 0, 0}, {0.01, 0, 0}, {0.01, 0.01, 0}, {0, 0.01, 0}},
    };
    for (const auto& points : cases) {
        CDoubleArray x, y, z;
        SetArrays(x, y, z, points);
        EXPECT_EQ(MinNonLocalDistance(x, y, z, window), inf) << points.size() << " points";
    }
}
