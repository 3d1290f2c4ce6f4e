#include "render/camera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace {

// A model point through a column-ordered matrix.
Vec3 Apply(const Matrix4& m, Vec3 p)
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

void ExpectNear(Vec3 a, Vec3 b, double tolerance) { EXPECT_NEAR(Length(a - b), 0.0, tolerance) << a.x << " " << a.y << " " << a.z; }

const Matrix4 kInitialView = ResetCameraMatrix(vek::kInitialEye, vek::kInitialCentre);

TEST(ResetCamera, InitialViewMatrixIsExact)
{
    const Matrix4 expected = {0.7071067811865475, 0, 0, 0, 0, 0.5, -0.5, 0, 0, 0.5, 0.5, 0, 0, 0, 0, 1};
    for (int e = 0; e < 16; ++e)
        EXPECT_EQ(kInitialView[e], expected[e]) << "element " << e;
}

TEST(ResetCamera, PutsTheCentreInTheMiddleAndTheEyeOnTheViewAxis)
{
    const Vec3 eye = {3, 4, 5}, centre = {1, -1, 2};
    const Matrix4 view = ResetCameraMatrix(eye, centre);
    ExpectNear(Apply(view, centre), {0, 0, 0}, 1e-15);
    ExpectNear(Apply(view, eye), {0, 0, 1}, 1e-15);
    EXPECT_NEAR(Apply(view, centre + Vec3{0, 0, 1}).x, 0.0, 1e-15);  // model z stays upright
    EXPECT_EQ(ResetCameraMatrix(centre, centre), IdentityMatrix());   // no view direction
}

TEST(InvertMatrix, RoundTripGivesTheIdentity)
{
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> value(-2.0, 2.0);
    for (int trial = 0; trial < 200; ++trial) {
        Matrix4 m, inverse;
        for (double& e : m)
            e = value(random);
        for (int d = 0; d < 4; ++d)
            m[5 * d] += 5.0;  // well away from singular
        ASSERT_TRUE(InvertMatrix(m.data(), inverse.data()));
        const Matrix4 a = MultiplyMatrix(m, inverse), b = MultiplyMatrix(inverse, m);
        for (int e = 0; e < 16; ++e) {
            EXPECT_NEAR(a[e], IdentityMatrix()[e], 1e-14);
            EXPECT_NEAR(b[e], IdentityMatrix()[e], 1e-14);
        }
    }
    Matrix4 out = TranslationMatrix(1, -2, 3);
    ASSERT_TRUE(InvertMatrix(out.data(), out.data()));  // in place
    EXPECT_EQ(out, TranslationMatrix(-1, 2, -3));
}

struct SingularCase {
    const char* name;
    Matrix4 m;
};
class InvertMatrixRefuses : public ::testing::TestWithParam<SingularCase> {};

TEST_P(InvertMatrixRefuses, ReturnsFalseAndWritesNothing)
{
    Matrix4 out;
    out.fill(42.0);
    EXPECT_FALSE(InvertMatrix(GetParam().m.data(), out.data()));
    for (double e : out)
        EXPECT_EQ(e, 42.0);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
INSTANTIATE_TEST_SUITE_P(
    Table, InvertMatrixRefuses,
    ::testing::Values(SingularCase{"Zero", {}}, SingularCase{"RepeatedColumn", {1, 2, 3, 4, 1, 2, 3, 4, 0, 1, 0, 0, 0, 0, 1, 1}},
                      SingularCase{"NaN", {kNaN, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
                      SingularCase{"DeterminantOverflows", {1e100, 0, 0, 0, 0, 1e100, 0, 0, 0, 0, 1e100, 0, 0, 0, 0, 1e100}},
                      SingularCase{"DeterminantUnderflows", {1e-100, 0, 0, 0, 0, 1e-100, 0, 0, 0, 0, 1e-100, 0, 0, 0, 0, 1e-100}},
                      // The determinant 1e-310 is not zero, but 1 / 1e-310 overflows.
                      SingularCase{"InverseOverflows", {1e-310, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}),
    [](const ::testing::TestParamInfo<SingularCase>& info) { return std::string(info.param.name); });

TEST(RotationMatrix, TurnsCounterClockwiseAboutItsNormalisedAxis)
{
    ExpectNear(Apply(RotationMatrix(90, {0, 0, 1}), {1, 0, 0}), {0, 1, 0}, 1e-15);
    ExpectNear(Apply(RotationMatrix(90, {0, 0, 1}), {0, 1, 0}), {-1, 0, 0}, 1e-15);
    ExpectNear(Apply(RotationMatrix(123, {1, 2, 3}), {1, 2, 3}), {1, 2, 3}, 1e-14);  // the axis stays
    ExpectNear(Apply(RotationMatrix(90, {1, 0, 0}), {0, 1, 0}), {0, 0, 1}, 1e-15);
    ExpectNear(Apply(RotationMatrix(90, {0, 5, 0}), {0, 0, 1}), {1, 0, 0}, 1e-15);
    ExpectNear(Apply(RotationMatrix(120, {1, 1, 1}), {1, 0, 0}), {0, 1, 0}, 1e-15);
    EXPECT_EQ(RotationMatrix(30, {0, 0, 0}), IdentityMatrix());
    ExpectNear(Apply(MultiplyMatrix(TranslationMatrix(1, 2, 3), ScaleMatrix(2)), {1, 1, 1}), {3, 4, 5}, 0);  // right factor first
}

// A left drag turns about the eye axes, in front of the current view: the
// eye image of a model point turns, whatever the view.
TEST(NavigationStep, LeftDragTurnsFourDegreesPerTenPixels)
{
    const double c = std::cos(4 * vek::kRadiansPerDegree), s = std::sin(4 * vek::kRadiansPerDegree);
    const Vec3 model = {0.2, -0.3, 0.5}, e = Apply(kInitialView, model);
    bool changed = false;
    ExpectNear(Apply(NavigationStep(1, 0, 10, 0, 640, kInitialView, changed), model), {c * e.x + s * e.z, e.y, -s * e.x + c * e.z}, 1e-15);
    EXPECT_TRUE(changed);
    ExpectNear(Apply(NavigationStep(1, 0, 0, 10, 640, kInitialView, changed), model), {e.x, c * e.y - s * e.z, s * e.y + c * e.z}, 1e-15);
    // Diagonal: Ry acts first, then Rx.
    const Matrix4 both = NavigationStep(1, 0, 25, -50, 640, kInitialView, changed);
    const Matrix4 expected = MultiplyMatrix(RotationMatrix(-20, {1, 0, 0}), MultiplyMatrix(RotationMatrix(10, {0, 1, 0}), kInitialView));
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(both[k], expected[k], 1e-15);
}

TEST(NavigationStep, BothButtonsMoveTheModelWithTheMouse)
{
    bool changed = false;
    const Matrix4 moved = NavigationStep(1, 1, 20, 20, 640, kInitialView, changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(moved[12], 0.1);
    EXPECT_EQ(moved[13], -0.1);
    EXPECT_EQ(moved[14], 0.0);
}

struct ScaleCase {
    int dx, dy, width;
    double widths;  // the drag's dx - dy in view widths: the zoom is 3 to that power
};
class NavigationScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(NavigationScale, RightDragZoomsByTheMoveAcrossTheWidth)
{
    const ScaleCase c = GetParam();
    bool changed = false;
    const Matrix4 step = NavigationStep(0, 1, c.dx, c.dy, c.width, IdentityMatrix(), changed);
    EXPECT_TRUE(changed);
    EXPECT_NEAR(step[0], std::pow(3.0, c.widths), 1e-15 * std::pow(3.0, c.widths));
    EXPECT_EQ(step, ScaleMatrix(step[0]));
}

INSTANTIATE_TEST_SUITE_P(Table, NavigationScale,
                         ::testing::Values(ScaleCase{25, 0, 500, 0.05}, ScaleCase{0, 25, 500, -0.05}, ScaleCase{0, -25, 500, 0.05},
                                           ScaleCase{-250, 0, 500, -0.5}, ScaleCase{-230, 0, 500, -0.46},
                                           ScaleCase{-5000, 0, 500, -10}, ScaleCase{10, 10, 500, 0},
                                           ScaleCase{640, 0, 640, 1}, ScaleCase{0, 640, 640, -1},  // the whole width: x3, /3
                                           ScaleCase{25, 0, 0, 0}, ScaleCase{25, 0, -3, 0},  // no width: no zoom
                                           ScaleCase{2'000'000'000, -2'000'000'000, 2'000'000'000, 2}));

// A right drag through ZoomDragTo, move by move from (0, 0): the pointer's
// positions, the width and the tube's radius.
Matrix4 Zoom(const Matrix4& view, std::initializer_list<std::pair<int, int>> path, double radius = 0.5, int width = 640)
{
    ZoomDrag drag;
    Matrix4 v = view;
    std::pair<int, int> from = {0, 0};
    for (auto at : path) {
        v = ZoomDragTo(drag, v, from.first, from.second, at.first, at.second, width, radius);
        from = at;
    }
    return v;
}

// Eye size of the model: the length of the view's first row.
double EyeScale(const Matrix4& v) { return std::sqrt(v[0] * v[0] + v[4] * v[4] + v[8] * v[8]); }

TEST(ZoomDrag, DependsOnTheDragsEndAloneHoweverManyMovesReportIt)
{
    const Matrix4 view = MultiplyMatrix(TurnStep(20, -35), kInitialView);
    // One move, a few, many small ones, a detour: all end 200 right, 90 up.
    const Matrix4 once = Zoom(view, {{200, -90}});
    for (auto path : {std::vector<std::pair<int, int>>{{100, -45}, {200, -90}},
                      std::vector<std::pair<int, int>>{{-300, 40}, {500, -300}, {200, -90}}}) {
        ZoomDrag drag;
        Matrix4 v = view;
        std::pair<int, int> from = {0, 0};
        for (auto at : path) {
            v = ZoomDragTo(drag, v, from.first, from.second, at.first, at.second, 640, 0.5);
            from = at;
        }
        EXPECT_EQ(v, once);
    }
    ZoomDrag drag;
    Matrix4 v = view;
    for (int step = 1; step <= 290; ++step)
        v = ZoomDragTo(drag, v, step - 1 < 200 ? step - 1 : 200, 0, step < 200 ? step : 200, step < 200 ? 0 : -(step - 200), 640, 0.5);
    EXPECT_EQ(v, once);
    EXPECT_NEAR(EyeScale(once), EyeScale(view) * std::pow(3.0, 290.0 / 640.0), 1e-15);
}

TEST(ZoomDrag, AcrossTheWidthIsThreeTimesAndBackReturnsToTheStart)
{
    EXPECT_NEAR(EyeScale(Zoom(kInitialView, {{640, 0}})), 3 * EyeScale(kInitialView), 1e-15);
    EXPECT_NEAR(EyeScale(Zoom(kInitialView, {{0, 640}})), EyeScale(kInitialView) / 3, 1e-15);
    // Out and back within one drag: exactly the start.
    EXPECT_EQ(Zoom(kInitialView, {{300, 0}, {0, 0}}), kInitialView);
    // In by one drag, out by the same drag the other way.
    const Matrix4 back = Zoom(Zoom(kInitialView, {{300, -100}}), {{-300, 100}});
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(back[k], kInitialView[k], 1e-15) << "element " << k;
}

// The ball that holds the tube never reaches past 9 of the 10 eye depth
// units (where it would be cut open), nor shrinks below 0.01 eye units; at
// a bound the view holds, and turning back within the drag returns.
TEST(ZoomDrag, KeepsTheTubeWithinTheDepthRangeAndVisible)
{
    const double radius = 0.6;
    Matrix4 v = MultiplyMatrix(TurnStep(40, 10), kInitialView);
    for (int drag = 0; drag < 10; ++drag)
        v = Zoom(v, {{640, -640}}, radius);
    EXPECT_NEAR(EyeScale(v) * radius, 9.0, 1e-12);
    const Matrix4 atBound = v;
    EXPECT_EQ(Zoom(atBound, {{5000, 0}, {0, 0}}, radius), atBound);
    EXPECT_LT(EyeScale(Zoom(atBound, {{-100, 0}}, radius)), EyeScale(atBound));
    for (int drag = 0; drag < 40; ++drag)
        v = Zoom(v, {{-640, 640}}, radius);
    EXPECT_NEAR(EyeScale(v) * radius, 0.01, 1e-15);
    // A curve that has grown past the bound since: zooming in holds the view,
    // zooming out still works.
    EXPECT_EQ(Zoom(kInitialView, {{200, 0}}, 100.0), kInitialView);
    EXPECT_LT(EyeScale(Zoom(kInitialView, {{-200, 0}}, 100.0)), EyeScale(kInitialView));
    // No radius to go by: the view stays finite.
    for (double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        const Matrix4 z = Zoom(kInitialView, {{2'000'000'000, -2'000'000'000}}, bad, 1);
        EXPECT_TRUE(std::isfinite(EyeScale(z)) && EyeScale(z) > 0) << bad;
    }
}

TEST(ZoomDrag, ADragBeginsAgainWhereSomethingElseChangedTheView)
{
    ZoomDrag drag;
    const Matrix4 zoomed = ZoomDragTo(drag, kInitialView, 0, 0, 100, 0, 640, 0.5);
    // A reset while the button is held: the drag goes on from the reset view.
    const Matrix4 reset = ResetCameraMatrix(vek::kInitialEye, vek::kInitialCentre);
    const Matrix4 after = ZoomDragTo(drag, reset, 100, 0, 200, 0, 640, 0.5);
    EXPECT_NE(zoomed, reset);
    EXPECT_NEAR(EyeScale(after), EyeScale(reset) * std::pow(3.0, 100.0 / 640.0), 1e-15);
}

TEST(NavigationStep, TurningAModelMovedOffCentreKeepsItAtDepthZero)
{
    const Matrix4 moved = NavigationStep(1, 1, 300, -200, 640, kInitialView);
    const Matrix4 turned = NavigationStep(1, 0, 0, 225, 640, moved);  // 90 degrees about eye x
    EXPECT_EQ(turned[14], 0.0);
    const Matrix4 unclamped = MultiplyMatrix(TurnStep(90, 0), moved);
    EXPECT_GT(std::fabs(unclamped[14]), 0.5);
    for (int k : {0, 1, 4, 5, 8, 9, 12, 13})  // what the screen shows is the same
        EXPECT_EQ(turned[k], unclamped[k]) << "element " << k;
}

TEST(ZoomDrag, BoundRadiusIsTheFarthestPointPlusTheRing)
{
    CDoubleArray x, y, z;
    EXPECT_EQ(TubeBoundRadius(x, y, z, -0.015), 0.015);
    for (Vec3 p : {Vec3{0.1, 0, 0}, Vec3{0, -0.3, 0.4}, Vec3{0.2, 0.2, 0}}) {
        x.Add(p.x);
        y.Add(p.y);
        z.Add(p.z);
    }
    EXPECT_DOUBLE_EQ(TubeBoundRadius(x, y, z, 0.015), 0.515);
}

TEST(NavigationStep, StandingStillIsAStepButNoButtonIsNone)
{
    for (auto [left, right, step] : {std::tuple{1, 0, true}, std::tuple{1, 1, true}, std::tuple{0, 1, true}, std::tuple{0, 0, false}}) {
        bool changed = !step;
        EXPECT_EQ(NavigationStep(left, right, 0, step ? 0 : 30, 500, kInitialView, changed), kInitialView);
        EXPECT_EQ(changed, step);
    }
}

TEST(Projection, BoxKeepsPixelsSquareAndOnlyPositiveSizesChangeIt)
{
    const OrthoBoxValues box = OrthoBox(800, 600);
    EXPECT_TRUE(box.left == -1 && box.right == 1 && box.bottom == -0.75 && box.top == 0.75 && box.nearVal == -10 &&
                box.farVal == 10);
    EXPECT_TRUE(std::isfinite(OrthoBox(0, 600).top));
    EXPECT_TRUE(SizeChangesProjection(800, 600));
    EXPECT_TRUE(SizeChangesProjection(1, 1));
    for (auto [cx, cy] : {std::pair{0, 600}, std::pair{800, 0}, std::pair{-5, 600}, std::pair{0, 0}})
        EXPECT_FALSE(SizeChangesProjection(cx, cy));
}

TEST(Projection, TilesCoverTheWholeBoxWithoutGapAndPixelsStaySquare)
{
    for (auto [cx, cy, tile] : {std::tuple{1000, 700, 300}, std::tuple{7, 3000, 512}, std::tuple{8192, 8192, 1280}}) {
        const OrthoBoxValues whole = OrthoBox(cx, cy);
        const OrthoBoxValues one = OrthoTileBox(cx, cy, 0, 0, cx, cy);
        EXPECT_TRUE(one.left == whole.left && one.right == whole.right && one.bottom == whole.bottom &&
                    one.top == whole.top && one.nearVal == whole.nearVal && one.farVal == whole.farVal);
        const double pixel = (whole.right - whole.left) / cx;
        for (int bottom = 0; bottom < cy; bottom += tile)
            for (int left = 0; left < cx; left += tile) {
                const int w = std::min(tile, cx - left), h = std::min(tile, cy - bottom);
                const OrthoBoxValues box = OrthoTileBox(cx, cy, left, bottom, w, h);
                // Neighbours share their edges exactly.
                if (left + w < cx) {
                    EXPECT_EQ(box.right, OrthoTileBox(cx, cy, left + w, bottom, tile, h).left);
                }
                if (bottom + h < cy) {
                    EXPECT_EQ(box.top, OrthoTileBox(cx, cy, left, bottom + h, w, tile).bottom);
                }
                EXPECT_NEAR((box.right - box.left) / w, pixel, 1e-12);
                EXPECT_NEAR((box.top - box.bottom) / h, pixel, 1e-12);
            }
    }
}

}  // namespace
