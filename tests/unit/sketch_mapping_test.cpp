#include "sketch/sketch_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int32_t kPixelLimit = int32_t{1} << 30;
constexpr int32_t kRadiusLimit = int32_t{1} << 29;

TEST(SketchMappingClick, CornerOf640x480MapsToMinusTwoThirdsAndHalf)
{
    double x = 9.0, y = 9.0;
    ASSERT_TRUE(PixelToModel(0, 0, 640, 480, x, y));
    EXPECT_EQ(x, -0.6666666666666666);
    EXPECT_EQ(y, 0.5);
}

TEST(SketchMappingClick, CentrePixelMapsToOriginWithTruncatedHalves)
{
    struct Case { int w, h, cx, cy; };
    for (const Case c : {Case{640, 480, 320, 240}, Case{641, 480, 320, 240}, Case{641, 481, 320, 240},
                         Case{1, 1, 0, 0}}) {
        const SketchFrame f{c.w, c.h};
        EXPECT_EQ(f.CentreX(), c.cx);
        EXPECT_EQ(f.CentreY(), c.cy);
        double x = 9.0, y = 9.0;
        ASSERT_TRUE(PixelToModel(c.cx, c.cy, c.w, c.h, x, y));
        EXPECT_EQ(x, 0.0);
        EXPECT_EQ(y, 0.0);
    }
}

TEST(SketchMappingClick, ShorterSideSpansOneUnitWithYUp)
{
    double x = 0, y = 0;
    ASSERT_TRUE(PixelToModel(320 + 240, 240 + 120, 640, 480, x, y));
    EXPECT_EQ(x, 0.5);
    EXPECT_EQ(y, -0.25);
    ASSERT_TRUE(PixelToModel(100, 0, 200, 400, x, y));  // portrait: s = w
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 1.0);
}

TEST(SketchMappingClick, EmptyClientAreaRefusesAndLeavesOutputs)
{
    for (const auto& [w, h] : {std::pair{0, 480}, std::pair{640, 0}, std::pair{0, 0}, std::pair{-5, 10}}) {
        double x = 7.0, y = 8.0;
        EXPECT_FALSE(PixelToModel(3, 4, w, h, x, y));
        EXPECT_EQ(x, 7.0);
        EXPECT_EQ(y, 8.0);
    }
}

TEST(SketchMappingProjection, PointAtHalfHalfIn640x480IsDrawnAt560_0)
{
    int32_t px = -1, py = -1;
    ASSERT_TRUE(ModelToPixel(0.5, 0.5, 640, 480, px, py));
    EXPECT_EQ(px, 560);
    EXPECT_EQ(py, 0);
}

TEST(SketchMappingProjection, TruncatesTowardZeroNeverRounds)
{
    int32_t px = 0, py = 0;
    // 100 x 100: s = 100, centre (50, 50).
    ASSERT_TRUE(ModelToPixel(0.109, -0.109, 100, 100, px, py));  // 60.9, 60.9
    EXPECT_EQ(px, 60);
    EXPECT_EQ(py, 60);
    ASSERT_TRUE(ModelToPixel(-0.609, 0.609, 100, 100, px, py));  // -10.9, -10.9
    EXPECT_EQ(px, -10);
    EXPECT_EQ(py, -10);
}

TEST(SketchMappingProjection, HugeCoordinatesClampTo2Pow30)
{
    const double big = std::numeric_limits<double>::max();
    int32_t px = 0, py = 0;
    ASSERT_TRUE(ModelToPixel(1e300, 1e300, 640, 480, px, py));
    EXPECT_EQ(px, kPixelLimit);
    EXPECT_EQ(py, -kPixelLimit);
    ASSERT_TRUE(ModelToPixel(-big, -big, 640, 480, px, py));  // product overflows to -inf
    EXPECT_EQ(px, -kPixelLimit);
    EXPECT_EQ(py, kPixelLimit);
    ASSERT_TRUE(ModelToPixel(3e6, 0.0, 640, 480, px, py));  // 1.44e9 > 2^30
    EXPECT_EQ(px, kPixelLimit);
}

TEST(SketchMappingProjection, NonFiniteCoordinatesHaveNoPixel)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [x, y] : {std::pair{nan, 0.0}, std::pair{0.0, nan}, std::pair{inf, 0.0}, std::pair{0.0, -inf}}) {
        int32_t px = 5, py = 6;
        EXPECT_FALSE(ModelToPixel(x, y, 640, 480, px, py));
        EXPECT_EQ(px, 5);
        EXPECT_EQ(py, 6);
    }
}

// A clicked point is drawn at the clicked pixel or one to its left / one
// above it: the way there and back may land just below the integer.
TEST(SketchMappingProjection, ClickedPixelComesBackOrOneLeftOrAbove)
{
    for (const auto& [w, h] : {std::pair{640, 480}, std::pair{641, 480}, std::pair{480, 641},
                              std::pair{333, 517}, std::pair{7, 3}, std::pair{1, 1}}) {
        int offByOne = 0;
        for (int py = 0; py < h; ++py) {
            for (int px = 0; px < w; ++px) {
                double x = 0, y = 0;
                ASSERT_TRUE(PixelToModel(px, py, w, h, x, y));
                int32_t qx = 0, qy = 0;
                ASSERT_TRUE(ModelToPixel(x, y, w, h, qx, qy));
                ASSERT_TRUE(qx == px || qx == px - 1) << w << "x" << h << " at " << px << "," << py;
                ASSERT_TRUE(qy == py || qy == py - 1) << w << "x" << h << " at " << px << "," << py;
                offByOne += (qx != px) + (qy != py);
            }
        }
        if (w == 333) {  // s = 333 is not a power of two: some quotients round low
            EXPECT_GT(offByOne, 0);
        }
    }
}

struct RadiusCase {
    double depth;
    int32_t radius;
};

class SketchMappingRadius : public ::testing::TestWithParam<RadiusCase> {};

TEST_P(SketchMappingRadius, DepthPlusOneHundredthTimesHundredTruncated)
{
    EXPECT_EQ(RingRadius(GetParam().depth), GetParam().radius) << "depth " << GetParam().depth;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SketchMappingRadius,
    ::testing::Values(RadiusCase{0.0, 1}, RadiusCase{0.1, 11}, RadiusCase{1.0, 101},
                      RadiusCase{0.06, 6},  // 6.999999999999999 before truncation
                      RadiusCase{0.11, 12}, RadiusCase{-0.01, 0}, RadiusCase{-0.05, -4},
                      RadiusCase{-0.109, -9}, RadiusCase{1e300, kRadiusLimit},
                      RadiusCase{-1e300, -kRadiusLimit}, RadiusCase{std::numeric_limits<double>::quiet_NaN(), 0}));

TEST(SketchMappingWheel, OneNotchMovesTheDepthByOneHundredth)
{
    EXPECT_EQ(vek::kWheelDepthStep, 8.333333333333333e-05);
    const double away = WheelDepth(0.1, 120);
    EXPECT_EQ(away, 0.11);
    EXPECT_EQ(RingRadius(away), 12);
    const double towards = WheelDepth(0.1, -120);
    EXPECT_NEAR(towards, 0.09, 1e-15);
    EXPECT_EQ(RingRadius(towards), 10);
}

TEST(SketchMappingWheel, TenNotchesTowardsLeaveATinyDepthTheEleventhClampsToZero)
{
    double depth = 0.1;
    for (int i = 0; i < 10; ++i)
        depth = WheelDepth(depth, -120);
    EXPECT_GT(depth, 0.0);
    EXPECT_NEAR(depth, 1.04e-17, 0.01e-17);
    EXPECT_EQ(RingRadius(depth), 1);
    depth = WheelDepth(depth, -120);
    EXPECT_EQ(depth, 0.0);
    EXPECT_FALSE(std::signbit(depth));
    EXPECT_EQ(RingRadius(depth), 1);
    EXPECT_EQ(WheelDepth(0.005, -120), 0.0);
    EXPECT_EQ(WheelDepth(0.0, -1), 0.0);
}

TEST(SketchMappingWheel, FineDeltasScaleAndThereIsNoUpperBound)
{
    EXPECT_EQ(WheelDepth(0.1, 1), 0.1 + 8.333333333333333e-05);
    EXPECT_EQ(WheelDepth(0.1, 60), 60 * 8.333333333333333e-05 + 0.1);
    EXPECT_EQ(WheelDepth(1000.0, 32767), 32767 * 8.333333333333333e-05 + 1000.0);
    EXPECT_EQ(WheelDepth(1e308, 120), 1e308);
}

TEST(SketchMappingWheel, NonFiniteResultKeepsTheDepth)
{
    const double inf = std::numeric_limits<double>::infinity();
    // -inf + one notch is still -inf: kept, not clamped to 0 as a finite
    // negative would be.
    EXPECT_EQ(WheelDepth(-inf, 120), -inf);
    EXPECT_TRUE(std::isnan(WheelDepth(std::nan(""), 120)));
}

TEST(SketchMappingRing, BoxIsCursorPlusMinusRadius)
{
    EXPECT_EQ(CursorRingBox(100, 50, 0.1), (CPixelRect{89, 39, 111, 61}));
    EXPECT_EQ(CursorRingBox(0, 0, 0.0), (CPixelRect{-1, -1, 1, 1}));
    EXPECT_EQ(CursorRingBox(10, 10, -0.05), (CPixelRect{14, 14, 6, 6}));
}

TEST(SketchMappingRing, FarCursorSaturatesInsteadOfWrapping)
{
    const int32_t maxI = std::numeric_limits<int32_t>::max();
    const int32_t minI = std::numeric_limits<int32_t>::min();
    const CPixelRect box = CursorRingBox(maxI, minI, 0.1);
    EXPECT_EQ(box.left, maxI - 11);
    EXPECT_EQ(box.right, maxI);
    EXPECT_EQ(box.top, minI);
    EXPECT_EQ(box.bottom, minI + 11);
}

}  // namespace
