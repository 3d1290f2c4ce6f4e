// The one closest-point rule of two segments, and the strut search that is
// a query on the segment tree.
#include "geom/segment_pair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ideal/polygon_pairs.h"
#include "knot_curves.h"

namespace {

TEST(ClosestSegmentPoints, FollowsOneRuleForEveryKindOfPair)
{
    struct Case {
        const char* what;
        Vec3 a0, a1, b0, b1;
        double s, t, distance;
    };
    const std::vector<Case> cases = {
        {"crossing at right angles", {0, 0, 0}, {2, 0, 0}, {1, -1, 1}, {1, 1, 1}, 0.5, 0.5, 1.0},
        {"ends nearest", {0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 5, 0}, 1.0, 0.0, std::sqrt(2.0)},
        // Parallel and overlapping on [0.5, 1] of the first: its middle.
        {"parallel, overlapping", {0, 0, 0}, {2, 0, 0}, {1, 1, 0}, {3, 1, 0}, 0.75, 0.25, 1.0},
        {"parallel, reversed", {0, 0, 0}, {2, 0, 0}, {3, 0, 1}, {1, 0, 1}, 0.75, 0.75, 1.0},
        {"parallel, one inside the other", {0, 0, 0}, {4, 0, 0}, {1, 2, 0}, {2, 2, 0}, 0.375, 0.5, 2.0},
        {"parallel, apart", {0, 0, 0}, {1, 0, 0}, {3, 1, 0}, {4, 1, 0}, 1.0, 0.0, std::sqrt(5.0)},
        // Within 1e-14 of parallel (a e - b^2 below 1e-14 a e) counts as parallel.
        {"nearly parallel", {0, 0, 0}, {2, 0, 0}, {1, 1, 0}, {3, 1 + 1e-8, 0}, 0.75, 0.25 - 0.25e-8, 1.0 + 0.25e-8},
        {"a point and a segment", {1, 1, 0}, {1, 1, 0}, {0, 0, 0}, {2, 0, 0}, 0.0, 0.5, 1.0},
        {"a segment and a point", {0, 0, 0}, {2, 0, 0}, {3, 0, 0}, {3, 0, 0}, 1.0, 0.0, 1.0},
        {"two points", {0, 0, 0}, {0, 0, 0}, {0, 3, 4}, {0, 3, 4}, 0.0, 0.0, 5.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const vek::SegmentPair pair = vek::ClosestSegmentPoints(c.a0, c.a1, c.b0, c.b1);
        EXPECT_NEAR(pair.s, c.s, 1e-12);
        EXPECT_NEAR(pair.t, c.t, 1e-12);
        EXPECT_NEAR(std::sqrt(pair.squared), c.distance, 1e-12);
    }
}

// Every pair the search lists, and only those, by comparison with all pairs.
TEST(CloseEdgePairs, FindsExactlyThePairsOfTheFullScan)
{
    struct Case {
        const char* what;
        knotcurves::Polygon polygon;
        int minGap;
        double maxDistance;
    };
    const std::vector<Case> cases = {
        {"trefoil, struts", knotcurves::TorusKnot(2, 3, 300), 10, 0.9},
        {"trefoil, every gap", knotcurves::TorusKnot(2, 3, 120), 0, 1.5},
        {"figure-eight, wide", knotcurves::FigureEight(200), 40, 3.0},
        {"circle, nothing close", knotcurves::RegularPolygon(64, 1.0), 20, 0.5},
        {"gap larger than half", knotcurves::TorusKnot(2, 3, 60), 31, 10.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const vek::PolygonView polygon = c.polygon.View();
        const int n = polygon.Size();
        std::vector<vek::EdgePair> expected;
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b) {
                if (std::min(b - a, n - (b - a)) < c.minGap)
                    continue;
                const vek::SegmentPair pair = vek::ClosestSegmentPoints(
                    polygon.Point(a), polygon.Point(polygon.Next(a)), polygon.Point(b), polygon.Point(polygon.Next(b)));
                if (pair.squared < c.maxDistance * c.maxDistance)
                    expected.push_back({a, b, std::sqrt(pair.squared)});
            }
        const std::vector<vek::EdgePair> found = vek::CloseEdgePairs(polygon, c.minGap, c.maxDistance);
        ASSERT_EQ(found.size(), expected.size());
        for (size_t k = 0; k < found.size(); ++k) {
            EXPECT_EQ(found[k].a, expected[k].a);
            EXPECT_EQ(found[k].b, expected[k].b);
            EXPECT_EQ(found[k].distance, expected[k].distance);
        }
        // The same polygon held interleaved gives the same pairs.
        const vek::PolygonPoints interleaved(polygon);
        EXPECT_EQ(vek::CloseEdgePairs(interleaved.View(), c.minGap, c.maxDistance).size(), found.size());
    }
}

}  // namespace
