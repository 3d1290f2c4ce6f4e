#include "sketch/paint_sketch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

#include "recording_canvas.h"
#include "sketch/sketch_mapping.h"
#include "test_support.h"

namespace {

using Call = CanvasCall;

struct Curve {
    CDoubleArray x, y, z;
    explicit Curve(const std::vector<Point>& points) { SetArrays(x, y, z, points); }
};

const CPixelRect kRing{300, 200, 322, 222};

std::vector<Call> Paint(const std::vector<Point>& points, int w = 640, int h = 480,
                        const CPixelRect& ring = kRing)
{
    Curve c(points);
    RecordingCanvas canvas;
    PaintSketch(canvas, w, h, c.x, c.y, c.z, ring);
    return canvas.Calls();
}

std::vector<Call> Ellipses(const std::vector<Call>& calls)
{
    std::vector<Call> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                 [](const Call& c) { return c.kind == Call::kEllipse; });
    return out;
}

// The circle box of a point at pixel (px, py) with radius r.
Call Circle(int px, int py, int r) { return Call::Ell({px - r, py - r, px + r, py + r}); }

TEST(PaintSketchCalls, NoPointsDrawsBackgroundThenRingOnly)
{
    EXPECT_EQ(Paint({}), (std::vector<Call>{Call::Rect({0, 0, 640, 480}), Call::Ell(kRing)}));
}

TEST(PaintSketchCalls, OnePointIsOneCircleAndNoLine)
{
    EXPECT_EQ(Paint({{0.5, 0.5, 0.1}}),
              (std::vector<Call>{Call::Rect({0, 0, 640, 480}), Call::Ell({549, -11, 571, 11}), Call::Ell(kRing)}));
}

TEST(PaintSketchCalls, TwoPointsAreOneLineAndTwoCircles)
{
    EXPECT_EQ(Paint({{0.0, 0.0, 0.1}, {0.5, 0.5, 0.06}}),
              (std::vector<Call>{Call::Rect({0, 0, 640, 480}), Call::Move(320, 240), Call::Line(560, 0),
                                 Circle(560, 0, 6), Circle(320, 240, 11), Call::Ell(kRing)}));
}

std::vector<Call> Lines(const std::vector<Call>& calls)
{
    std::vector<Call> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                 [](const Call& c) { return c.kind == Call::kMoveTo || c.kind == Call::kLineTo; });
    return out;
}

// From three points on, the closing segment (last point back to the first)
// is drawn after the others; a point without a pixel drops its segments,
// the closing one included.
TEST(PaintSketchCalls, ClosedCurvesDrawTheirClosingSegment)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<Point> points;
        std::vector<Call> lines;
    } cases[] = {
        {"triangle", {{0, 0, 0.1}, {0.1, 0, 0.1}, {0, 0.1, 0.1}}, {Call::Move(320, 320), Call::Line(384, 320),
                                                                    Call::Move(384, 320), Call::Line(320, 256),
                                                                    Call::Move(320, 256), Call::Line(320, 320)}},
        {"first point hidden", {{nan, 0, 0.1}, {0.1, 0, 0.1}, {0, 0.1, 0.1}},
         {Call::Move(384, 320), Call::Line(320, 256)}},
        {"last point hidden", {{0, 0, 0.1}, {0.1, 0, 0.1}, {0, 0.1, nan}},
         {Call::Move(320, 320), Call::Line(384, 320)}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Lines(Paint(c.points, 640, 640)), c.lines) << c.name;
}

TEST(PaintSketchOrder, CirclesGoFromSmallestToLargestDepth)
{
    // Points on a row 0.1 apart: pixels 320, 384, 448 (s = 640 / 640 x 640).
    const std::vector<Call> e =
        Ellipses(Paint({{0.0, 0, 0.3}, {0.1, 0, 0.1}, {0.2, 0, 0.2}}, 640, 640));
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0], Circle(384, 320, 11));
    EXPECT_EQ(e[1], Circle(448, 320, 21));
    EXPECT_EQ(e[2], Circle(320, 320, 31));
    EXPECT_EQ(e[3], Call::Ell(kRing));
}

TEST(PaintSketchOrder, EqualDepthsKeepIndexOrder)
{
    const std::vector<Call> e = Ellipses(Paint({{0.0, 0, 0.1}, {0.1, 0, 0.1}, {0.2, 0, 0.1}}, 640, 640));
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0], Circle(320, 320, 11));
    EXPECT_EQ(e[1], Circle(384, 320, 11));
    EXPECT_EQ(e[2], Circle(448, 320, 11));
}

// Many points with few distinct depths: an unstable sort must still give
// ascending depth with ties in index order.
TEST(PaintSketchOrder, ManyTiesMatchAStableSortByDepth)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, 4);
    const int n = 500;
    std::vector<Point> points;
    for (int i = 0; i < n; ++i)  // x = i pixels right of the centre identifies the point
        points.push_back({i / 1000.0, 0.0, 0.05 * pick(rng)});
    std::vector<int> expected(n);
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return points[a].z < points[b].z; });

    const std::vector<Call> e = Ellipses(Paint(points, 1000, 1000));
    ASSERT_EQ(e.size(), static_cast<size_t>(n) + 1);
    for (int k = 0; k < n; ++k) {
        const int d = expected[k];
        int32_t px = 0, py = 0;
        ASSERT_TRUE(ModelToPixel(points[d].x, points[d].y, 1000, 1000, px, py));
        const int r = RingRadius(points[d].z);
        ASSERT_EQ(e[k], Circle(px, py, r)) << "position " << k;
    }
}

TEST(PaintSketchBoxes, RadiusIsTruncatedAndIndependentOfScale)
{
    EXPECT_EQ(Ellipses(Paint({{0, 0, 0.06}}, 640, 480))[0], Circle(320, 240, 6));
    // A resize moves the centre and the scale, not the radius.
    EXPECT_EQ(Ellipses(Paint({{0.25, 0.25, 0.06}}, 640, 480))[0], Circle(440, 120, 6));
    EXPECT_EQ(Ellipses(Paint({{0.25, 0.25, 0.06}}, 1000, 800))[0], Circle(700, 200, 6));
}

TEST(PaintSketchBoxes, ZeroAndNegativeRadiiArePassedAsComputed)
{
    const std::vector<Call> e = Ellipses(Paint({{0, 0, -0.01}, {0, 0, -0.05}}, 640, 480));
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0], Call::Ell({324, 244, 316, 236}));  // r = -4: corners exchanged
    EXPECT_EQ(e[1], Call::Ell({320, 240, 320, 240}));  // r = 0
}

TEST(PaintSketchBoxes, RingIsDrawnLastExactlyAsStored)
{
    const CPixelRect exchanged{50, 60, 40, 30};
    const std::vector<Call> calls = Paint({{0, 0, 5.0}}, 640, 480, exchanged);
    EXPECT_EQ(calls.back(), Call::Ell(exchanged));
}

TEST(PaintSketchBoxes, FarPointsAreClampedNotOverflowed)
{
    const std::vector<Call> e = Ellipses(Paint({{1e300, -1e300, 1e300}}, 640, 480));
    ASSERT_EQ(e.size(), 2u);
    const int32_t p = int32_t{1} << 30;
    const int32_t r = int32_t{1} << 29;
    EXPECT_EQ(e[0], Call::Ell({p - r, p - r, p + r, p + r}));
}

TEST(PaintSketchSkipping, NonFinitePointsGetNoCircleAndNoSegment)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // 100 x 100: point i at pixel (50 + 10 i, 50).
    const std::vector<Call> calls =
        Paint({{0, 0, 0}, {0.1, nan, 0}, {0.2, 0, 0}, {0.3, 0, 0}, {0.4, 0, inf}, {0.5, 0, 0}}, 100, 100, kRing);
    EXPECT_EQ(calls, (std::vector<Call>{Call::Rect({0, 0, 100, 100}), Call::Move(70, 50), Call::Line(80, 50),
                                        Call::Move(100, 50), Call::Line(50, 50), Circle(50, 50, 1), Circle(70, 50, 1), Circle(80, 50, 1),
                                        Circle(100, 50, 1), Call::Ell(kRing)}));
}

TEST(PaintSketchSkipping, NanDepthsAmongManyPointsLeaveTheOthersSorted)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<Point> points;
    for (int i = 0; i < 200; ++i)
        points.push_back({0, 0, (i % 3 == 0) ? nan : 0.01 * ((i * 37) % 50)});
    const std::vector<Call> e = Ellipses(Paint(points));
    ASSERT_EQ(e.size(), 200u - 67u + 1u);
    for (size_t k = 1; k + 1 < e.size(); ++k)
        EXPECT_LE(e[k - 1].box.right, e[k].box.right);  // radius never shrinks
}

}  // namespace
