#include "render/build_tube.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "curve/constants.h"
#include "render/make_frame.h"
#include "geom/vec3.h"
#include "test_support.h"

namespace {

struct Tube {
    CDoubleArray x, y, z, tx, ty, tz;
    int n;
    explicit Tube(const std::vector<Vec3>& points, int ringSegments = 4) : n(ringSegments)
    {
        for (const Vec3& p : points) {
            x.Add(p.x);
            y.Add(p.y);
            z.Add(p.z);
        }
    }
    void Build(double thickness = vek::kThickness, double scale = 1.0) { BuildTube(x, y, z, n, thickness, scale, tx, ty, tz); }
    Vec3 P(int i) const { return {x[i], y[i], z[i]}; }
    Vec3 Vertex(int i, int j) const { return {tx[i * n + j], ty[i * n + j], tz[i * n + j]}; }
    // With radius 1 and n = 4, vertex 0 is P + v and vertex 1 is P + w.
    Vec3 V(int i) const { return Vertex(i, 0) - P(i); }
    Vec3 W(int i) const { return Vertex(i, 1) - P(i); }
};

void ExpectNear(Vec3 a, Vec3 b, double tolerance) { EXPECT_NEAR(Length(a - b), 0.0, tolerance); }

struct RingCase {
    const char* name;
    std::vector<Vec3> curve;
    std::vector<Vec3> ring0, ring1;  // ring1 may be empty
};
class BuildTubeExamples : public ::testing::TestWithParam<RingCase> {};

TEST_P(BuildTubeExamples, GivesTheExpectedRings)
{
    const RingCase& c = GetParam();
    Tube t(c.curve);
    t.Build();
    ASSERT_EQ(t.tx.GetSize(), t.x.GetSize() * 4);
    ASSERT_EQ(t.tz.GetSize(), t.x.GetSize() * 4);
    for (int j = 0; j < 4; ++j) {
        ExpectNear(t.Vertex(0, j), c.ring0[j], 1e-15);
        if (!c.ring1.empty())
            ExpectNear(t.Vertex(1, j), c.ring1[j], 1e-15);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BuildTubeExamples,
    ::testing::Values(
        // v points into the loop, w = z.
        RingCase{"Square", {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}},
                 {{0.985, 0, 0}, {1, 0, 0.015}, {1.015, 0, 0}, {1, 0, -0.015}},
                 {{0, 0.985, 0}, {0, 1, 0.015}, {0, 1.015, 0}, {0, 1, -0.015}}},
        // First tangent along the first reference: y-axis fallback.
        RingCase{"Fallback", {{0, 0, 0}, {0, 0.5, 1}, {0, 1, 0}, {0, 0.5, -1}},
                 {{0.015, 0, 0}, {0, 0.015, 0}, {-0.015, 0, 0}, {0, -0.015, 0}}, {}},
        // No tangent: the rings keep the reference z, v = x.
        RingCase{"OnePoint", {{0.2, -0.1, 0.3}}, {{0.215, -0.1, 0.3}, {0.2, -0.1, 0.315}, {0.185, -0.1, 0.3}, {0.2, -0.1, 0.285}}, {}},
        RingCase{"TwoPoints", {{0, 0, 0}, {0.5, 0.2, -0.1}}, {{0.015, 0, 0}, {0, 0, 0.015}, {-0.015, 0, 0}, {0, 0, -0.015}},
                 {{0.515, 0.2, -0.1}, {0.5, 0.2, -0.085}, {0.485, 0.2, -0.1}, {0.5, 0.2, -0.115}}}),
    [](const ::testing::TestParamInfo<RingCase>& info) { return std::string(info.param.name); });

// Every vertex to the bit: normalised central difference, frame from the
// previous w, angle (j / n) * 2 pi, P + r * (cos * v + sin * w).
TEST(BuildTubeVertices, FollowTheRingFormulaExactly)
{
    std::vector<Vec3> p;
    for (const Point& q : RandomCurve(11, 23, 1.0))
        p.push_back({q.x, q.y, q.z});
    Tube t(p, 30);
    t.Build(vek::kThickness, 1.7);
    const double r = 1.7 * vek::kThickness * 0.5;
    Vec3 reference = {0, 0, 1}, v{}, w{};
    for (int i = 0; i < 23; ++i) {
        const Vec3 d = p[(i + 1) % 23] - p[(i + 22) % 23];
        MakeFrame(d / std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z), reference, v, w);
        reference = w;
        for (int j = 0; j < 30; ++j) {
            const double c = std::cos((j / 30.0) * 6.283185307179586), s = std::sin((j / 30.0) * 6.283185307179586);
            const Vec3 e = {p[i].x + r * (c * v.x + s * w.x), p[i].y + r * (c * v.y + s * w.y), p[i].z + r * (c * v.z + s * w.z)};
            ASSERT_TRUE(t.Vertex(i, j).x == e.x && t.Vertex(i, j).y == e.y && t.Vertex(i, j).z == e.z) << i << " " << j;
        }
    }
}

TEST(BuildTubeFrames, AlongASmoothKnotAreOrthonormalRightHandedAndCarriedOn)
{
    std::vector<Vec3> p;
    for (int i = 0; i < 200; ++i) {
        const double s = vek::kTwoPi * i / 200, radius = 1 + 0.3 * std::cos(3 * s);
        p.push_back({radius * std::cos(2 * s), radius * std::sin(2 * s), 0.3 * std::sin(3 * s)});
    }
    Tube t(p);
    t.Build(2.0);  // radius 1
    for (int i = 0; i < 200; ++i) {
        Vec3 tangent{};
        ASSERT_TRUE(UnitDirection(p[(i + 1) % 200] - p[(i + 199) % 200], tangent));
        EXPECT_NEAR(Length(t.V(i)), 1.0, 1e-12);
        EXPECT_NEAR(Length(t.W(i)), 1.0, 1e-12);
        EXPECT_NEAR(Dot(t.V(i), t.W(i)), 0.0, 1e-12);
        EXPECT_NEAR(Dot(Cross(t.V(i), t.W(i)), tangent), 1.0, 1e-12);
        // Each frame grows out of the previous one, so neighbouring rings align.
        EXPECT_GT(Dot(t.V(i), t.V(i == 0 ? 0 : i - 1)), 0.99) << i;
    }
}

struct ScaleCase {
    double scale;
    int shift;  // vertex j lands where vertex j + shift lies at scale 1
};
class BuildTubeScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(BuildTubeScale, ScalesTheRadiusAndNothingElse)
{
    const auto [scale, shift] = GetParam();
    const std::vector<Vec3> p = {{0.3, 0.1, 0}, {0, 0.4, 0.1}, {-0.3, 0, -0.1}, {0.1, -0.4, 0.2}};
    Tube unit(p, 30), scaled(p, 30);
    unit.Build();
    scaled.Build(vek::kThickness, scale);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 30; ++j)
            ExpectNear(scaled.Vertex(i, j) - p[i], std::fabs(scale) * (unit.Vertex(i, (j + shift) % 30) - p[i]),
                       scale == 0 ? 0.0 : 1e-15);  // scale 0: exactly on the point
}

INSTANTIATE_TEST_SUITE_P(Table, BuildTubeScale,
                         ::testing::Values(ScaleCase{2.0, 0}, ScaleCase{0.0, 0}, ScaleCase{-1.0, 15}));

TEST(BuildTubeSizes, EmptyCurveReleasesAndBadArgumentsTouchNothing)
{
    Tube t({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    t.Build();
    EXPECT_EQ(t.tz.GetSize(), 12);
    const double first = t.tx[0];
    t.n = 1'000'000'000;  // 3e9 vertices would wrap a 32-bit size
    EXPECT_THROW(t.Build(), std::length_error);
    t.n = -4;
    EXPECT_THROW(t.Build(), std::invalid_argument);
    t.n = 4;
    t.z.Add(2.0);
    EXPECT_THROW(t.Build(), std::invalid_argument);  // curve arrays of unequal size
    EXPECT_EQ(t.tx.GetSize() + t.ty.GetSize() + t.tz.GetSize(), 36);
    EXPECT_EQ(t.tx[0], first);

    Tube empty({});
    empty.tx.SetSize(12);
    empty.ty.SetSize(12);
    empty.tz.SetSize(12);
    empty.Build();
    for (const CDoubleArray* a : {&empty.tx, &empty.ty, &empty.tz})
        EXPECT_TRUE(a->GetSize() == 0 && a->GetCapacity() == 0 && a->GetData() == nullptr);
}

TEST(BuildTubeZeroTangent, CoincidentNeighboursLeaveTheChainAsIfThePointWereNotThere)
{
    const std::vector<Vec3> p = {{0, 0, 0}, {1, 0.3, 0.2}, {0, 0, 0}, {0.5, -1, 0.4}};  // point 1's neighbours coincide
    Tube t(p);
    t.Build(2.0);
    ExpectNear(t.W(1), t.W(0), 1e-15);
    EXPECT_NEAR(Dot(t.V(1), t.W(1)), 0.0, 1e-15);
    Vec3 v2{}, w2{}, tangent{};
    ASSERT_TRUE(UnitDirection(p[3] - p[1], tangent));
    MakeFrame(tangent, t.W(0), v2, w2);
    ExpectNear(t.V(2), v2, 1e-15);
}

class BuildTubeNonFinitePoint : public ::testing::TestWithParam<double> {};

TEST_P(BuildTubeNonFinitePoint, SpoilsOnlyItsOwnRing)
{
    Tube t({{0, 0, 0}, {1, 0, 0}, {GetParam(), 1, 0}, {0, 1, 0.5}, {-0.5, 0.5, 0}}, 8);
    t.Build();
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(IsFinite(t.Vertex(i, j)), i != 2) << i << " " << j;
}

INSTANTIATE_TEST_SUITE_P(Table, BuildTubeNonFinitePoint,
                         ::testing::Values(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()));

}  // namespace

// A tube rebuilt for a much shorter curve (a coarser run after a fine one)
// gives the larger tube's storage back; every tube rebuilt over an older one
// equals the tube built afresh.
TEST(BuildTubeStorage, AMuchSmallerTubeGivesTheLargerOnesStorageBack)
{
    const auto spiral = [](int count) {
        std::vector<Vec3> points;
        for (int i = 0; i < count; ++i)
            points.push_back({std::cos(i * 0.0157), std::sin(i * 0.0157), 0.01 * i});
        return points;
    };
    for (int count : {390, 401, 100, 3}) {
        Tube rebuilt(spiral(400));
        rebuilt.Build();
        const int capacityBefore = rebuilt.tx.GetCapacity();
        rebuilt.x.SetSize(0), rebuilt.y.SetSize(0), rebuilt.z.SetSize(0);
        for (const Vec3& p : spiral(count))
            rebuilt.x.Add(p.x), rebuilt.y.Add(p.y), rebuilt.z.Add(p.z);
        rebuilt.Build();
        Tube fresh(spiral(count));
        fresh.Build();
        for (const CDoubleArray* a : {&rebuilt.tx, &rebuilt.ty, &rebuilt.tz}) {
            ASSERT_EQ(a->GetSize(), 4 * count);
            if (4 * count <= capacityBefore / 2 || 4 * count > capacityBefore)
                EXPECT_EQ(a->GetCapacity(), a->GetSize()) << count;
            else
                EXPECT_EQ(a->GetCapacity(), capacityBefore) << count;
        }
        for (int k = 0; k < fresh.tx.GetSize(); ++k)
            ASSERT_TRUE(rebuilt.tx[k] == fresh.tx[k] && rebuilt.ty[k] == fresh.ty[k] && rebuilt.tz[k] == fresh.tz[k])
                << count << " " << k;
    }
}
