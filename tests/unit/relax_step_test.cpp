#include "curve/relax_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "curve/constants.h"
#include "test_support.h"

namespace {

struct Curve {
    CDoubleArray x, y, z;
    CDoubleArray nx, ny, nz;

    explicit Curve(const std::vector<Point>& points) { SetArrays(x, y, z, points); }
    int Size() const { return x.GetSize(); }
    void Step() { RelaxStep(x, y, z, vek::kThickness, ExclusionWindow(vek::kThickness), nx, ny, nz); }
};

// A closed square of side `count` * `spacing` in the plane z = 0, walked
// anticlockwise from (0, 0), with `count` segments of length `spacing` per
// side.
std::vector<Point> Square(int count, double spacing)
{
    std::vector<Point> points;
    const double side = count * spacing;
    for (int k = 0; k < count; ++k)
        points.push_back({k * spacing, 0, 0});
    for (int k = 0; k < count; ++k)
        points.push_back({side, k * spacing, 0});
    for (int k = 0; k < count; ++k)
        points.push_back({side - k * spacing, side, 0});
    for (int k = 0; k < count; ++k)
        points.push_back({0, side - k * spacing, 0});
    return points;
}

}  // namespace

TEST(RelaxWindow, SevenStepsEachWayAtTheResamplingSpacing)
{
    // Six segments of 0.0075 sum to 0.045 <= L = 0.0471, seven to 0.0525.
    Curve c(Square(40, 0.0075));
    const double window = ExclusionWindow(vek::kThickness);
    const int n = c.Size();
    const int i = 20;  // middle of the first side
    EXPECT_EQ(WindowSteps(c.x, c.y, c.z, i, +1, window), 7);
    EXPECT_EQ(WindowSteps(c.x, c.y, c.z, i, -1, window), 7);
    EXPECT_FALSE(IsWindowCandidate(i, i, n, 7, 7));
    EXPECT_FALSE(IsWindowCandidate(i, i + 6, n, 7, 7));
    EXPECT_FALSE(IsWindowCandidate(i, i - 6, n, 7, 7));
    EXPECT_TRUE(IsWindowCandidate(i, i + 7, n, 7, 7));
    EXPECT_TRUE(IsWindowCandidate(i, i - 7, n, 7, 7));
    // Across the seam of the index range the same holds.
    EXPECT_EQ(WindowSteps(c.x, c.y, c.z, 2, -1, window), 7);
    EXPECT_TRUE(IsWindowCandidate(2, n - 5, n, 7, 7));
    EXPECT_FALSE(IsWindowCandidate(2, n - 4, n, 7, 7));
}

TEST(RelaxWindow, ASumOfExactlyTheWindowKeepsTheWalkGoing)
{
    // Segments of exactly L: after the first the sum equals L, which is not
    // beyond it, so the second segment is walked too.
    const double window = ExclusionWindow(vek::kThickness);
    Curve c(Square(3, window));
    for (int i = 0; i < c.Size(); ++i) {
        EXPECT_EQ(WindowSteps(c.x, c.y, c.z, i, +1, window), 2) << i;
        EXPECT_EQ(WindowSteps(c.x, c.y, c.z, i, -1, window), 2) << i;
    }
}

TEST(RelaxWindow, WalkEndsAfterOneLapWhenTheCurveIsShorterThanTheWindow)
{
    const double window = ExclusionWindow(vek::kThickness);
    Curve single({{0.5, 0.5, 0.5}});
    EXPECT_EQ(WindowSteps(single.x, single.y, single.z, 0, +1, window), 1);
    Curve same({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}});
    EXPECT_EQ(WindowSteps(same.x, same.y, same.z, 1, +1, window), 4);
    EXPECT_EQ(WindowSteps(same.x, same.y, same.z, 1, -1, window), 4);
    Curve tiny({{0, 0, 0}, {0.01, 0, 0}, {0.01, 0.01, 0}});
    EXPECT_EQ(WindowSteps(tiny.x, tiny.y, tiny.z, 0, +1, window), 3);
}

TEST(RelaxWindow, CandidateRuleMatchesItsPlainIndexForm)
{
    // (j <= i - bwd or j >= i + fwd) and i + fwd - n <= j <= i - bwd + n.
    for (int n = 1; n <= 9; ++n)
        for (int fwd = 1; fwd <= n + 1; ++fwd)
            for (int bwd = 1; bwd <= n + 1; ++bwd)
                for (int i = 0; i < n; ++i)
                    for (int j = 0; j < n; ++j) {
                        const bool plain = (j <= i - bwd || j >= i + fwd) && i + fwd - n <= j && j <= i - bwd + n;
                        EXPECT_EQ(IsWindowCandidate(i, j, n, fwd, bwd), plain)
                            << "n=" << n << " i=" << i << " j=" << j << " fwd=" << fwd << " bwd=" << bwd;
                    }
}

TEST(RelaxStep, TwoFarPointsMeetAtTheOriginThenStopWithinTheWindow)
{
    Curve c({{0.3, 0.1, -0.2}, {0.9, -0.5, 0.6}});
    c.Step();
    // Each moves 0.4 of the way towards the other: 0.2 of the distance is
    // left, and the midpoint is moved to the origin.
    EXPECT_NEAR(c.x[0], -0.06, 1e-15);
    EXPECT_NEAR(c.y[0], 0.06, 1e-15);
    EXPECT_NEAR(c.z[0], -0.08, 1e-15);
    EXPECT_NEAR(c.x[1], 0.06, 1e-15);
    EXPECT_NEAR(c.y[1], -0.06, 1e-15);
    EXPECT_NEAR(c.z[1], 0.08, 1e-15);

    const double window = ExclusionWindow(vek::kThickness);
    auto distance = [&] { return std::hypot(c.x[1] - c.x[0], c.y[1] - c.y[0], c.z[1] - c.z[0]); };
    int steps = 0;
    while (distance() > window && steps < 100) {
        c.Step();
        ++steps;
    }
    ASSERT_LE(distance(), window);
    const double frozen[2] = {c.x[0], c.x[1]};
    for (int k = 0; k < 5; ++k)
        c.Step();
    EXPECT_NEAR(c.x[0], frozen[0], 1e-17);
    EXPECT_NEAR(c.x[1], frozen[1], 1e-17);
}

struct PushCase {
    double gap;           // distance between the two facing points
    double expectedPush;  // T - gap below T, else 0
};

class RelaxPush : public ::testing::TestWithParam<PushCase> {};

TEST_P(RelaxPush, PointIsPushedByThicknessMinusDistanceBelowThicknessOnly)
{
    const PushCase c = GetParam();
    // P0 and P2 face each other across the gap, each with neighbours far to
    // the left and right, so their pull is 0.2 * gap towards each other and
    // nothing along x.
    Curve curve({{0, -c.gap / 2, 0}, {1, 0, 0}, {0, c.gap / 2, 0}, {-1, 0, 0}});
    curve.Step();
    EXPECT_EQ(curve.nx[0], 0.0);
    EXPECT_NEAR(curve.ny[0], -c.gap / 2 + 0.2 * c.gap - c.expectedPush, 1e-15);
    EXPECT_NEAR(curve.ny[2], c.gap / 2 - 0.2 * c.gap + c.expectedPush, 1e-15);
    // The far points only feel their pull (their nearest candidate is ~1 away).
    EXPECT_NEAR(curve.nx[1], 0.6, 1e-15);
    EXPECT_NEAR(curve.ny[1], 0.0, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(Table, RelaxPush,
                         ::testing::Values(PushCase{0.01, 0.02}, PushCase{0.0299, 0.0001}, PushCase{0.03, 0.0},
                                           PushCase{0.04, 0.0}));

TEST(RelaxStep, EqualDistancesPushAwayFromTheLowerIndex)
{
    // P2 and P4 lie at exactly the same distance from P0, on opposite sides.
    Curve c({{0, 0, 0}, {0, 1, 0}, {0.01, 0, 0}, {0, -1, 0}, {-0.01, 0, 0}, {0, 2, 0}});
    c.Step();
    EXPECT_NEAR(c.nx[0], -0.02, 1e-15);  // away from P2
    Curve mirrored({{0, 0, 0}, {0, 1, 0}, {-0.01, 0, 0}, {0, -1, 0}, {0.01, 0, 0}, {0, 2, 0}});
    mirrored.Step();
    EXPECT_NEAR(mirrored.nx[0], 0.02, 1e-15);
}

TEST(RelaxStep, CoincidentCandidateGetsThePullOnlyAndStaysFinite)
{
    // P0 and P2 are at the same place and not neighbours: no direction to
    // push in.
    Curve c({{0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0}});
    c.Step();
    EXPECT_EQ(c.nx[0], 0.2);  // 0.2 * (P3 - P0) + 0.2 * (P1 - P0)
    EXPECT_EQ(c.ny[0], 0.2);
    EXPECT_EQ(c.nx[2], 0.2);  // 0.2 * (P1 - P2) + 0.2 * (P3 - P2)
    EXPECT_EQ(c.ny[2], 0.2);
    // The two copies share their neighbours, so they stay together; the
    // curve must stay finite all the same.
    for (int step = 0; step < 10; ++step) {
        for (int k = 0; k < c.Size(); ++k)
            ASSERT_TRUE(std::isfinite(c.x[k]) && std::isfinite(c.y[k]) && std::isfinite(c.z[k]))
                << "step " << step << " point " << k;
        c.Step();
    }
}

TEST(RelaxStep, CoincidentCopiesWithDifferentNeighboursSeparateAndArePushed)
{
    Curve c({{0, 0, 0}, {0, 1, 0}, {-1, 0.5, 0}, {0, 0, 0}, {1, 0.2, 0}, {0.5, -1, 0}});
    c.Step();
    const double gap = std::hypot(c.x[3] - c.x[0], c.y[3] - c.y[0]);
    EXPECT_GT(gap, 0.0);
    c.Step();
    EXPECT_GT(std::hypot(c.x[3] - c.x[0], c.y[3] - c.y[0]), gap);
    for (int k = 0; k < c.Size(); ++k)
        EXPECT_TRUE(std::isfinite(c.x[k]) && std::isfinite(c.y[k])) << k;
}

TEST(RelaxStep, RecentresEveryIterationOnTheMeanOfThePoints)
{
    Curve c(RandomCurve(11, 60, 0.2));
    for (int step = 0; step < 3; ++step) {
        c.Step();
        double sx = 0, sy = 0, sz = 0;
        for (int k = 0; k < c.Size(); ++k) {
            sx += c.x[k];
            sy += c.y[k];
            sz += c.z[k];
            // Every point is moved by the same shift.
            EXPECT_NEAR(c.nx[k] - c.x[k], c.nx[0] - c.x[0], 1e-15);
            EXPECT_NEAR(c.nz[k] - c.z[k], c.nz[0] - c.z[0], 1e-15);
        }
        EXPECT_NEAR(sx / c.Size(), 0.0, 1e-15);
        EXPECT_NEAR(sy / c.Size(), 0.0, 1e-15);
        EXPECT_NEAR(sz / c.Size(), 0.0, 1e-15);
    }
}

TEST(RelaxStep, NewPositionsDoNotDependOnTheOrderOfThePoints)
{
    // Every point is computed from the positions before the step: starting
    // the numbering elsewhere on the curve gives the same new positions, to
    // the last bit, before recentring.
    const std::vector<Point> points = RandomCurve(5, 50, 0.06);
    Curve a(points);
    a.Step();
    const int n = static_cast<int>(points.size());
    for (int shift : {1, 17, 49}) {
        std::vector<Point> rotated;
        for (int k = 0; k < n; ++k)
            rotated.push_back(points[(k + shift) % n]);
        Curve b(rotated);
        b.Step();
        for (int k = 0; k < n; ++k) {
            ASSERT_EQ(b.nx[k], a.nx[(k + shift) % n]) << "shift " << shift << " point " << k;
            ASSERT_EQ(b.ny[k], a.ny[(k + shift) % n]);
            ASSERT_EQ(b.nz[k], a.nz[(k + shift) % n]);
        }
    }
}

TEST(RelaxStep, CurveShorterThanTwoWindowsOnlyMovesToTheOrigin)
{
    const std::vector<Point> points = {{0.5, 0.5, 0.1}, {0.51, 0.5, 0.1}, {0.51, 0.51, 0.12}, {0.5, 0.505, 0.1}};
    Curve c(points);
    c.Step();
    double mx = 0, my = 0, mz = 0;
    for (const Point& p : points) {
        mx += p.x;
        my += p.y;
        mz += p.z;
    }
    mx /= 4;
    my /= 4;
    mz /= 4;
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(c.nx[k], points[k].x);  // no pull, no push
        EXPECT_EQ(c.x[k], points[k].x - mx);
        EXPECT_EQ(c.y[k], points[k].y - my);
        EXPECT_EQ(c.z[k], points[k].z - mz);
    }
}

TEST(RelaxStep, EmptyAndSinglePointCurves)
{
    Curve empty({});
    empty.nx.SetSize(5);
    empty.Step();
    EXPECT_EQ(empty.Size(), 0);
    EXPECT_EQ(empty.nx.GetSize(), 0);

    Curve single({{0.3, -0.2, 0.1}});
    single.Step();
    ASSERT_EQ(single.Size(), 1);
    EXPECT_EQ(single.x[0], 0.0);  // it is its own mean
    EXPECT_EQ(single.y[0], 0.0);
    EXPECT_EQ(single.z[0], 0.0);
}

TEST(RelaxStep, StaleWorkArraysDoNotChangeTheResult)
{
    const std::vector<Point> points = RandomCurve(9, 40, 0.05);
    Curve fresh(points);
    fresh.Step();
    Curve stale(points);
    for (int k = 0; k < 100; ++k) {
        stale.nx.Add(1e9);
        stale.ny.Add(-1e9);
        stale.nz.Add(7.0);
    }
    stale.Step();
    ASSERT_EQ(stale.nx.GetSize(), 40);
    for (int k = 0; k < 40; ++k) {
        EXPECT_EQ(stale.x[k], fresh.x[k]);
        EXPECT_EQ(stale.y[k], fresh.y[k]);
        EXPECT_EQ(stale.z[k], fresh.z[k]);
    }
}
