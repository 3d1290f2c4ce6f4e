// The window counts of every point at once equal the walk's counts, also
// where the window ends exactly on a vertex and the rounding decides.
#include "curve/window_counts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "curve/relax_step.h"
#include "test_support.h"

namespace {

TEST(WindowCounts, EqualTheWalkOfEveryPoint)
{
    // A regular polygon: every window of whole edges is a tie the prefix
    // sums cannot decide, so the walk must.
    std::vector<Point> ring;
    for (int k = 0; k < 40; ++k) {
        const double t = 2.0 * 3.14159265358979323846 * k / 40;
        ring.push_back({std::cos(t), std::sin(t), 0.0});
    }
    const double edge = 2.0 * std::sin(3.14159265358979323846 / 40);
    // A fine ring of 200,000 points, its windows tens of edges long: the
    // bounds on the sums' rounding must stay sound at that size, where
    // they are tightest relative to an edge.
    std::vector<Point> fine;
    const int fineCount = 200000;
    for (int k = 0; k < fineCount; ++k) {
        const double t = 2.0 * 3.14159265358979323846 * k / fineCount;
        fine.push_back({0.1 * std::cos(t), 0.1 * std::sin(t), 0.0});
    }
    const double fineEdge = 0.2 * std::sin(3.14159265358979323846 / fineCount);
    struct Case {
        std::string what;
        std::vector<Point> points;
        double window;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases = {
        {"random curve", RandomCurve(7, 500, 1.0), 0.3},
        {"random curve, short window", RandomCurve(11, 300, 1.0), 1e-6},
        {"ring, window of 3 edges", ring, 3.0 * edge},
        {"ring, window of 7 edges", ring, 7.0 * edge},
        {"ring, window past the whole curve", ring, 100.0},
        {"ring, window not finite", ring, inf},
        {"fine ring, window of 64 edges", fine, 64.0 * fineEdge},
        {"fine ring, window between edges", fine, 40.5 * fineEdge},
        {"random curve, negative window", RandomCurve(5, 50, 1.0), -0.25},
        {"single point", {{0.5, 0.5, 0.5}}, 0.1},
        {"a coordinate not finite", {{0, 0, 0}, {1, 0, 0}, {inf, 1, 0}, {0, 1, 0}}, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDoubleArray x, y, z;
        SetArrays(x, y, z, c.points);
        std::vector<int> fwd, bwd;
        WindowCounts(x, y, z, c.window, fwd, bwd);
        ASSERT_EQ(static_cast<int>(fwd.size()), x.GetSize());
        ASSERT_EQ(static_cast<int>(bwd.size()), x.GetSize());
        for (int i = 0; i < x.GetSize(); ++i) {
            EXPECT_EQ(fwd[i], WindowSteps(x, y, z, i, +1, c.window)) << "point " << i;
            EXPECT_EQ(bwd[i], WindowSteps(x, y, z, i, -1, c.window)) << "point " << i;
        }
    }
}

}  // namespace
