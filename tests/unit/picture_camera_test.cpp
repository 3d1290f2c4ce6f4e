#include "render/picture_camera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "curve/double_array.h"
#include "render/tube_picture.h"

namespace {

struct EyeBox {
    double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
};

EyeBox BoxThrough(const Matrix4& m, const std::vector<double>& v)
{
    EyeBox box;
    for (size_t k = 0; k + 2 < v.size(); k += 3)
        for (int r = 0; r < 3; ++r) {
            const double e = m[r] * v[k] + m[4 + r] * v[k + 1] + m[8 + r] * v[k + 2] + m[12 + r];
            box.lo[r] = std::min(box.lo[r], e);
            box.hi[r] = std::max(box.hi[r], e);
        }
    return box;
}

const Matrix4 kStart = ResetCameraMatrix(vek::kInitialEye, vek::kInitialCentre);
// A small, off-centre, flat box of points: wider than high.
const std::vector<double> kPoints = {0.1, 0.2, 0.0, 0.3, 0.25, 0.05, 0.2, 0.22, -0.02};

struct FitCase {
    int width, height;
};

class FitViewSizes : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitViewSizes, CentresThePointsAndFillsTheLimitingSide)
{
    const FitCase c = GetParam();
    const Matrix4 fitted = FitView(kStart, kPoints, c.width, c.height, 0.9);
    const EyeBox box = BoxThrough(fitted, kPoints);
    const double a = static_cast<double>(c.height) / c.width;
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(box.lo[r] + box.hi[r], 0.0, 1e-12) << "axis " << r;
    const double halfX = 0.5 * (box.hi[0] - box.lo[0]);
    const double halfY = 0.5 * (box.hi[1] - box.lo[1]);
    EXPECT_LE(halfX, 0.9 + 1e-12);
    EXPECT_LE(halfY, 0.9 * a + 1e-12);
    // One of the two sides is reached.
    EXPECT_NEAR(std::max(halfX / 0.9, halfY / (0.9 * a)), 1.0, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FitViewSizes,
                         ::testing::Values(FitCase{800, 800}, FitCase{800, 200}, FitCase{200, 800},
                                           FitCase{640, 480}));

TEST(FitView, KeepsADeepTubeInsideTheDepthRange)
{
    // A rod along the eye z axis: seen end-on it is a dot, which must not be
    // blown up until its ends leave the depths -10 ... 10.
    const std::vector<double> rod = {0.0, 0.0, -1.0, 1e-4, 1e-4, 1.0};
    const EyeBox box = BoxThrough(FitView(IdentityMatrix(), rod, 100, 100, 0.9), rod);
    EXPECT_GE(box.lo[2], -9.0 - 1e-9);
    EXPECT_LE(box.hi[2], 9.0 + 1e-9);
}

TEST(FitView, LeavesTheViewWhenThereIsNothingToFit)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<double>> nothing = {{}, {0.1, 0.2}, {0.1, 0.2, 0.3, 0.1, 0.2, 0.3},
                                                       {0.1, nan, 0.3, 0.2, 0.2, 0.3}};
    for (const std::vector<double>& v : nothing)
        EXPECT_EQ(FitView(kStart, v, 100, 100, 0.9), kStart) << v.size();
    EXPECT_EQ(FitView(kStart, kPoints, 0, 100, 0.9), kStart);
    EXPECT_EQ(FitView(kStart, kPoints, 100, 100, 0.0), kStart);
    EXPECT_EQ(FitView(kStart, kPoints, 100, 100, nan), kStart);
}

TEST(TurnStep, IsTheTurnOfALeftDrag)
{
    // A drag by (dx, dy) pixels turns by 0.4 dy about x and 0.4 dx about y.
    const Matrix4 dragged = NavigationStep(1, 0, 40, 25, 640, kStart);
    const Matrix4 turned = MultiplyMatrix(TurnStep(0.4 * 25, 0.4 * 40), kStart);
    EXPECT_EQ(dragged, turned);
}

TEST(TubePictureView, TurnsTheStartingViewAndFitsOnlyWhenAsked)
{
    TubePictureOptions options;
    options.turnX = 10.0;
    options.turnY = 16.0;
    const Matrix4 turned = MultiplyMatrix(TurnStep(10.0, 16.0), kStart);
    EXPECT_EQ(TubePictureView(kStart, kPoints, options), turned);
    options.fit = true;
    EXPECT_EQ(TubePictureView(kStart, kPoints, options), FitView(turned, kPoints, 480, 480, vek::kPictureFill));
}

}  // namespace
