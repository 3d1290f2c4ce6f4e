#include "render/make_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Finite, unit, perpendicular; v x w along d when d has a direction.
void ExpectOrthonormal(Vec3 d, Vec3 v, Vec3 w)
{
    ASSERT_TRUE(IsFinite(v) && IsFinite(w)) << d.x << " " << d.y << " " << d.z;
    EXPECT_NEAR(Length(v), 1.0, 1e-15);
    EXPECT_NEAR(Length(w), 1.0, 1e-15);
    EXPECT_NEAR(Dot(v, w), 0.0, 1e-15);
    Vec3 u;
    if (UnitDirection(d, u)) {
        EXPECT_NEAR(Dot(Cross(v, w), u), 1.0, 1e-15);
    }
}

struct FrameCase {
    const char* name;
    Vec3 d, ref, v, w;
};
class MakeFrameExamples : public ::testing::TestWithParam<FrameCase> {};

TEST_P(MakeFrameExamples, GivesTheExpectedFrame)
{
    const FrameCase c = GetParam();
    Vec3 v{}, w{};
    MakeFrame(c.d, c.ref, v, w);
    for (auto [got, want] : {std::pair{v, c.v}, std::pair{w, c.w}}) {
        EXPECT_NEAR(got.x, want.x, 1e-15);
        EXPECT_NEAR(got.y, want.y, 1e-15);
        EXPECT_NEAR(got.z, want.z, 1e-15);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MakeFrameExamples,
    ::testing::Values(
        FrameCase{"AlongZ", {0, 0, 5}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  // length of d does not matter
        FrameCase{"AlongY", {0, 3, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 0, 1}},
        // Unusable reference: the y axis stands in; a cross product whose
        // length comes out as zero counts as unusable.
        FrameCase{"NaNReference", {1, 0, 0}, {kNaN, 0, 0}, {0, 0, -1}, {0, 1, 0}},
        FrameCase{"InfiniteReference", {0, 0, 1}, {kInf, kInf, 0}, {1, 0, 0}, {0, 1, 0}},
        FrameCase{"TinyReference", {0, 0, 1}, {1e-170, 0, 0}, {1, 0, 0}, {0, 1, 0}},
        // Along y with an unusable reference: the z axis stands in.
        FrameCase{"YDirectionZeroReference", {0, 7, 0}, {0, 0, 0}, {-1, 0, 0}, {0, 0, 1}},
        FrameCase{"MinusYDirectionNaNReference", {0, -1, 0}, {kNaN, 0, 0}, {1, 0, 0}, {0, 0, 1}},
        // No direction: w keeps the reference (y axis if unusable), v is
        // MakeFrame(w, z axis).v.
        FrameCase{"ZeroDirection", {0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 0, 1}},
        FrameCase{"ZeroDirectionXReference", {0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 0, 0}},
        FrameCase{"ZeroDirectionNaNReference", {0, 0, 0}, {kNaN, 0, 0}, {-1, 0, 0}, {0, 1, 0}},
        FrameCase{"NaNDirection", {kNaN, 1, 0}, {0, 0, 1}, {1, 0, 0}, {0, 0, 1}},
        // Squares outside the double range: the direction is kept.
        FrameCase{"SubnormalSquareDirection", {1e-160, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 0, 1}},
        FrameCase{"HugeDirection", {1e300, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 0, 1}},
        FrameCase{"HugeReference", {1, 0, 0}, {0, 0, 1e300}, {0, 1, 0}, {0, 0, 1}}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

// Where the plain steps give a sound frame, MakeFrame gives it to the bit.
TEST(MakeFrameFormula, IsBitIdenticalToThePlainStepsForOrdinaryInput)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    for (int trial = 0; trial < 2000; ++trial) {
        const Vec3 d = {value(random), value(random), value(random)};
        const Vec3 r = trial % 4 == 0 ? Vec3{0, 0, 0} : Vec3{value(random), value(random), value(random)};
        const double len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        const Vec3 u = {d.x / len, d.y / len, d.z / len};
        Vec3 p = {r.y * u.z - r.z * u.y, r.z * u.x - r.x * u.z, r.x * u.y - r.y * u.x};
        if (std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z) == 0.0)
            p = {u.z, 0.0, -u.x};
        const double plen = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        const Vec3 ev = {p.x / plen, p.y / plen, p.z / plen};
        const Vec3 ew = {u.y * ev.z - u.z * ev.y, u.z * ev.x - u.x * ev.z, u.x * ev.y - u.y * ev.x};
        Vec3 v{}, w{};
        MakeFrame(d, r, v, w);
        ASSERT_TRUE(v.x == ev.x && v.y == ev.y && v.z == ev.z && w.x == ew.x && w.y == ew.y && w.z == ew.z)
            << "trial " << trial;
    }
}

TEST(MakeFrameRobustness, AwkwardComponentsAlwaysGiveAFiniteOrthonormalFrame)
{
    const std::vector<double> values = {0.0, -0.0, 1.0, -0.5, 1e-300, 1e-160, 4.9e-324, 1e300, 1.7976931348623157e308,
                                        kInf, -kInf, kNaN};
    const std::vector<Vec3> refs = {{0, 0, 1}, {0, 1, 0}, {0, 0, 0}, {kNaN, 0, 0}, {1e-300, 0, 0}, {1, 1, 1},
                                    {0, -1e300, 0}, {kInf, 0, 0}};
    for (double a : values)
        for (double b : values)
            for (double c : values)
                for (const Vec3& ref : refs) {
                    Vec3 v{}, w{};
                    MakeFrame({a, b, c}, ref, v, w);
                    ExpectOrthonormal({a, b, c}, v, w);
                    if (HasFailure())
                        return;
                }
}

// A point without tangent hands its reference on: the next frame is the one
// it would have had without that point.
TEST(MakeFrameChain, ZeroDirectionPassesTheReferenceOn)
{
    Vec3 v0{}, w0{}, v1{}, w1{}, viaGap{}, direct{}, unused{};
    MakeFrame({0.3, 1.0, -0.2}, {0, 0, 1}, v0, w0);
    MakeFrame({0, 0, 0}, w0, v1, w1);
    EXPECT_NEAR(Length(w1 - w0), 0.0, 1e-15);
    MakeFrame({0.4, 0.9, 0.1}, w1, viaGap, unused);
    MakeFrame({0.4, 0.9, 0.1}, w0, direct, unused);
    EXPECT_NEAR(Length(viaGap - direct), 0.0, 1e-15);
}

}  // namespace
