#include "curve/resample_curve.h"
#include "curve/run_limits.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "test_support.h"

namespace {

// Resamples `points` with thickness 0.03 at `precision`; returns the result.
std::vector<Point> Resampled(const std::vector<Point>& points, double precision = 1.0, bool* accepted = nullptr)
{
    CDoubleArray x, y, z;
    SetArrays(x, y, z, points);
    const bool ok = ResampleCurve(x, y, z, vek::kThickness, precision);
    if (accepted)
        *accepted = ok;
    return PointsOf(x, y, z);
}

}  // namespace

TEST(ResampleSpacing, ThicknessAndPrecisionAreClampedBelowAt001)
{
    EXPECT_EQ(ResampleSpacing(0.03, 1.0), 0.0075);
    EXPECT_EQ(ResampleSpacing(0.03, 10.0), 0.25 * 0.03 / 10.0);
    // Precision at or below 0.01 acts as 0.01; just above it does not.
    EXPECT_EQ(ResampleSpacing(0.03, 0.01), 0.25 * 0.03 / 0.01);
    EXPECT_EQ(ResampleSpacing(0.03, 0.0), ResampleSpacing(0.03, 0.01));
    EXPECT_EQ(ResampleSpacing(0.03, -5.0), ResampleSpacing(0.03, 0.01));
    EXPECT_LT(ResampleSpacing(0.03, 0.0100001), ResampleSpacing(0.03, 0.01));
    // Thickness below 0.01 acts as 0.01; 0.01 itself is kept.
    EXPECT_EQ(ResampleSpacing(0.005, 1.0), 0.25 * 0.01);
    EXPECT_EQ(ResampleSpacing(0.0, 1.0), 0.25 * 0.01);
    EXPECT_EQ(ResampleSpacing(0.01, 1.0), 0.25 * 0.01);
}

TEST(ResampleCurve, TwoPoints002ApartGiveFivePointsCarriedAcrossTheClosingSegment)
{
    bool ok = false;
    const std::vector<Point> out = Resampled({{0, 0, 0}, {0.02, 0, 0}}, 1.0, &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(out.size(), 5u);
    // First segment: c = 2 at f = 0, 1/2; carry 0.005 goes on, so the closing
    // segment has 0.025 and gets c = 3 at f = 0, 1/3, 2/3, each point
    // computed as (1 - f) * A + f * B.
    EXPECT_EQ(out[0], (Point{0, 0, 0}));
    EXPECT_EQ(out[1], (Point{0.01, 0, 0}));
    EXPECT_EQ(out[2], (Point{0.02, 0, 0}));
    EXPECT_EQ(out[3].x, (1.0 - 1.0 / 3.0) * 0.02);
    EXPECT_EQ(out[4].x, (1.0 - 2.0 / 3.0) * 0.02);
    EXPECT_NEAR(out[3].x, 0.02 * 2 / 3, 1e-17);
    EXPECT_NEAR(out[4].x, 0.02 / 3, 1e-17);
    for (const Point& p : out) {
        EXPECT_EQ(p.y, 0.0);
        EXPECT_EQ(p.z, 0.0);
    }
}

struct ShortPairCase {
    double distance;
    size_t expectedCount;
};

class ResampleShortPair : public ::testing::TestWithParam<ShortPairCase> {};

TEST_P(ResampleShortPair, ASinglePointIsTheSecondInputPoint)
{
    const ShortPairCase c = GetParam();
    const Point a{0.1, 0.2, 0.3};
    const Point b{0.1 + c.distance, 0.2, 0.3};
    const std::vector<Point> out = Resampled({a, b});
    ASSERT_EQ(out.size(), c.expectedCount);
    if (!out.empty()) {
        EXPECT_EQ(out[0], b);  // the start of the closing segment
    }
}

// s = 0.0075: from s/2 up to s the round trip 2d reaches s once, in the
// closing segment; below s/2 it never does.
INSTANTIATE_TEST_SUITE_P(Table, ResampleShortPair,
                         ::testing::Values(ShortPairCase{0.00375, 1}, ShortPairCase{0.005, 1},
                                           ShortPairCase{0.0074, 1}, ShortPairCase{0.0037, 0},
                                           ShortPairCase{0.001, 0}));

TEST(ResampleCurve, DegenerateCurvesBecomeEmpty)
{
    const std::vector<std::vector<Point>> cases = {
        {},
        {{0.3, -0.2, 0.1}},
        {{0.3, -0.2, 0.1}, {0.3, -0.2, 0.1}, {0.3, -0.2, 0.1}, {0.3, -0.2, 0.1}},
    };
    for (const auto& points : cases) {
        bool ok = false;
        EXPECT_TRUE(Resampled(points, 1.0, &ok).empty()) << points.size() << " points";
        EXPECT_TRUE(ok);
    }
    CDoubleArray x, y, z;
    SetArrays(x, y, z, {{1, 1, 1}});
    ResampleCurve(x, y, z, vek::kThickness, 1.0);
    EXPECT_EQ(x.GetCapacity(), 0);  // storage released
}

TEST(ResampleCurve, ConsecutiveDuplicateLosesItsFirstCopyOnly)
{
    const Point a{0.0, 0.0, 0.1}, b{0.2, 0.05, 0.1}, c{0.05, 0.3, 0.12};
    const std::vector<Point> withDuplicate = Resampled({a, a, b, c});
    const std::vector<Point> without = Resampled({a, b, c});
    ASSERT_FALSE(without.empty());
    // The zero-length segment adds nothing to the carry, so the rest of the
    // pass is the same to the last bit; the second copy starts segment a-b.
    EXPECT_EQ(withDuplicate, without);
    EXPECT_EQ(withDuplicate[0], a);
}

TEST(ResampleCurve, PrecisionAtOrBelow001BehavesAs001)
{
    const std::vector<Point> sketch = RandomCurve(7, 30, 0.5);
    const std::vector<Point> reference = Resampled(sketch, 0.01);
    ASSERT_GT(reference.size(), 3u);
    EXPECT_EQ(Resampled(sketch, 0.0), reference);
    EXPECT_EQ(Resampled(sketch, -2.0), reference);
    EXPECT_EQ(Resampled(sketch, 0.005), reference);
    EXPECT_NE(Resampled(sketch, 0.02).size(), reference.size());
}

TEST(ResampleCurve, PointsFollowTheLengthAndLieOnTheSourceSegments)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        for (double precision : {0.5, 1.0, 3.0, 10.0}) {
            const std::vector<Point> sketch = RandomCurve(seed, 5 + seed * 3, 0.4);
            CDoubleArray x, y, z;
            SetArrays(x, y, z, sketch);
            const double length = CurveLength(x, y, z);
            const long long predicted = ResampleCount(x, y, z, vek::kThickness, precision);
            ASSERT_TRUE(ResampleCurve(x, y, z, vek::kThickness, precision));
            EXPECT_EQ(x.GetSize(), predicted);
            EXPECT_EQ(y.GetSize(), predicted);
            EXPECT_EQ(z.GetSize(), predicted);
            // The per-segment counts telescope to floor(length / s), up to
            // the rounding of the running carry.
            const double s = ResampleSpacing(vek::kThickness, precision);
            EXPECT_NEAR(static_cast<double>(predicted), std::floor(length / s), 1.0);
            // The new points lie in order on the source polyline, so the new
            // polyline cannot be longer.
            const double newLength = CurveLength(x, y, z);
            EXPECT_LE(newLength, length * (1 + 1e-12));
        }
    }
}

TEST(ResampleCurve, RefusesTooManyPointsAndLeavesTheCurveUnchanged)
{
    // Two points 10000 apart: 20000 / 0.0075 = 2.7 million points.
    const std::vector<Point> far = {{-5000, 0, 0}, {5000, 0, 0}};
    bool ok = true;
    EXPECT_EQ(Resampled(far, 1.0, &ok), far);
    EXPECT_FALSE(ok);
    // A reasonable curve at an absurd precision.
    const std::vector<Point> sketch = RandomCurve(3, 20, 0.5);
    EXPECT_EQ(Resampled(sketch, 1e9, &ok), sketch);
    EXPECT_FALSE(ok);
}

TEST(ResampleCurve, CountsExactlyUpToTheLimitAndRefusesOneMore)
{
    const double s = 0.0075;
    // Round trips 2d = (limit + 0.5) s and (limit + 1.5) s: floor gives the
    // limit, then the limit + 1. (Filling a million points through the
    // array's growth rule takes seconds, so only the refusal is run here.)
    for (int extra : {0, 1}) {
        const double d = s * (vek::kMaxCurvePoints / 2 + 0.25 + 0.5 * extra);
        CDoubleArray x, y, z;
        SetArrays(x, y, z, {{0, 0, 0}, {d, 0, 0}});
        EXPECT_EQ(ResampleCount(x, y, z, vek::kThickness, 1.0), vek::kMaxCurvePoints + extra);
        if (extra == 1) {
            EXPECT_FALSE(ResampleCurve(x, y, z, vek::kThickness, 1.0));
            ASSERT_EQ(x.GetSize(), 2);
            EXPECT_EQ(x[1], d);
        }
    }
}

TEST(ResampleCurve, NonFiniteLengthsAreRefusedAndCountSaturates)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<Point>> cases = {
        {{0, 0, 0}, {inf, 0, 0}, {0, 0.1, 0}},
        {{0, 0, 0}, {0.1, nan, 0}, {0, 0.1, 0}},
        // Finite coordinates whose difference overflows.
        {{-1e308, 0, 0}, {1e308, 0, 0}},
        // Finite differences whose squares overflow.
        {{0, 0, 0}, {1e200, 0, 0}},
    };
    for (const auto& points : cases) {
        CDoubleArray x, y, z;
        SetArrays(x, y, z, points);
        EXPECT_EQ(ResampleCount(x, y, z, vek::kThickness, 1.0), LLONG_MAX);
        EXPECT_FALSE(ResampleCurve(x, y, z, vek::kThickness, 1.0));
        ASSERT_EQ(x.GetSize(), static_cast<int>(points.size()));
        EXPECT_EQ(x[0], points[0].x);
        EXPECT_EQ(x[1], points[1].x);
    }
    // A huge but finite length: the count saturates instead of overflowing.
    CDoubleArray x, y, z;
    SetArrays(x, y, z, {{0, 0, 0}, {1e150, 0, 0}});
    EXPECT_EQ(ResampleCount(x, y, z, vek::kThickness, 1e100), LLONG_MAX);
    EXPECT_FALSE(ResampleCurve(x, y, z, vek::kThickness, 1e100));
}

struct JudgeCase {
    const char* name;
    std::vector<Point> points;
    double precision;
    RunLimit verdict;
};

class ResampleLimitTable : public ::testing::TestWithParam<JudgeCase> {};

// A square of side 0.03 (length 0.12) gives 16 points at precision 1 and
// 0.12 / 0.075 -> 1 point at precision 0.1: a collapse the run refuses. A
// sketch of fewer than four points keeps the plain rule, even when it empties.
TEST_P(ResampleLimitTable, GivesTheVerdict)
{
    const JudgeCase& c = GetParam();
    CDoubleArray x, y, z;
    SetArrays(x, y, z, c.points);
    EXPECT_EQ(ResampleLimit(x, y, z, vek::kThickness, c.precision), c.verdict) << c.name;
}

const std::vector<Point> kSquare{{0, 0, 0}, {0.03, 0, 0}, {0.03, 0.03, 0}, {0, 0.03, 0}};

INSTANTIATE_TEST_SUITE_P(
    Table, ResampleLimitTable,
    ::testing::Values(JudgeCase{"square, precision 1", kSquare, 1.0, RunLimit::None},
                      JudgeCase{"square, precision 0.1", kSquare, 0.1, RunLimit::TooFewPoints},
                      JudgeCase{"square, precision 0", kSquare, 0.0, RunLimit::TooFewPoints},
                      JudgeCase{"square at 0.5: 0.12 / 0.015 = 8", kSquare, 0.5, RunLimit::None},
                      JudgeCase{"three points may empty", {{0, 0, 0}, {0.001, 0, 0}, {0, 0.001, 0}}, 1.0,
                                RunLimit::None},
                      JudgeCase{"too long", {{0, 0, 0}, {5000, 0, 0}, {5000, 1, 0}, {0, 1, 0}}, 1.0,
                                RunLimit::TooManyPoints},
                      JudgeCase{"not finite",
                                {{0, 0, 0}, {std::numeric_limits<double>::infinity(), 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                1.0, RunLimit::TooManyPoints}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });
