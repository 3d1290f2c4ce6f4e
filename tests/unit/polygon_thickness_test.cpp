#include "knot/polygon_thickness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include <tbb/task_arena.h>

#include "knot_curves.h"

namespace {

using knotcurves::kPi;
using knotcurves::Polygon;

vek::PolygonThickness Thickness(const Polygon& p)
{
    return vek::ComputePolygonThickness(p.View());
}

TEST(PolygonThickness, RegularPolygons)
{
    struct Case {
        int n;
        double r;
    };
    for (const Case c : {Case{4, 1.0}, Case{6, 0.5}, Case{12, 2.0}, Case{100, 0.1}, Case{5, 1.0}, Case{33, 3.0}}) {
        SCOPED_TRACE(std::to_string(c.n));
        const vek::PolygonThickness t = Thickness(knotcurves::RegularPolygon(c.n, c.r));
        const double minRad = c.r * std::cos(kPi / c.n);
        EXPECT_NEAR(t.minRad, minRad, 1e-12 * c.r);
        EXPECT_NEAR(t.thickness, minRad, 1e-12 * c.r);
        if (c.n % 2 == 0) {
            // Opposite edges are parallel: the chord between their middles.
            EXPECT_NEAR(t.dcsd, 2.0 * minRad, 1e-12 * c.r);
            EXPECT_EQ((t.dcsdEdgeB - t.dcsdEdgeA + c.n) % c.n, c.n / 2);
        } else {
            // A vertex is farthest from the opposite edge, not closest:
            // no doubly-critical pair.
            EXPECT_EQ(t.dcsd, std::numeric_limits<double>::infinity());
            EXPECT_EQ(t.dcsdEdgeA, -1);
        }
    }
}

// A rectangle whose sides are cut into equal pieces: the corners give
// MinRad, the two long parallel sides the doubly-critical distance.
TEST(PolygonThickness, FarApartParallelSides)
{
    const double w = 3.0, h = 1.0;
    const int pieces = 10;
    Polygon p;
    const double corner[5][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}, {0, 0}};
    for (int side = 0; side < 4; ++side) {
        for (int k = 0; k < pieces; ++k) {
            const double f = static_cast<double>(k) / pieces;
            p.Add(corner[side][0] + f * (corner[side + 1][0] - corner[side][0]),
                  corner[side][1] + f * (corner[side + 1][1] - corner[side][1]), 0.25);
        }
    }
    const vek::PolygonThickness t = Thickness(p);
    EXPECT_NEAR(t.minRad, 0.5 * (h / pieces), 1e-12);  // edge h/10 at a right angle
    EXPECT_NEAR(t.dcsd, h, 1e-12);
    EXPECT_NEAR(t.thickness, 0.05, 1e-12);
    // The two long sides: edges 0 ... 9 and 20 ... 29.
    EXPECT_LT(t.dcsdEdgeA, pieces);
    EXPECT_GE(t.dcsdEdgeB, 2 * pieces);
    EXPECT_LT(t.dcsdEdgeB, 3 * pieces);
}

// A thin rhombus (+-a, 0), (0, +-b): the sharp corners give MinRad
// s b / (2 a), s the side; the opposite sides are 2 a b / s apart.
TEST(PolygonThickness, SharpCorner)
{
    const double a = 1.0, b = 0.1, s = std::sqrt(a * a + b * b);
    Polygon p;
    p.Add(a, 0, 0);
    p.Add(0, b, 0);
    p.Add(-a, 0, 0);
    p.Add(0, -b, 0);
    const vek::PolygonThickness t = Thickness(p);
    EXPECT_NEAR(t.minRad, s * b / (2.0 * a), 1e-12);
    EXPECT_TRUE(t.minRadVertex == 0 || t.minRadVertex == 2);
    EXPECT_NEAR(t.dcsd, 2.0 * a * b / s, 1e-12);
    EXPECT_NEAR(t.thickness, s * b / (2.0 * a), 1e-12);
    EXPECT_NEAR(vek::CertifiedRopelength(4.0 * s, t.thickness), 4.0 * s / (2.0 * t.thickness), 1e-9);
}

// Two strands of a knot held close: a trefoil squeezed in height until its
// crossing strands come closer than its bends allow.
TEST(PolygonThickness, CloseStrandsSetTheThickness)
{
    Polygon p = knotcurves::TorusKnot(2, 3, 600);
    for (double& z : p.z)
        z *= 0.05;
    const vek::PolygonThickness t = Thickness(p);
    EXPECT_LT(0.5 * t.dcsd, t.minRad);
    EXPECT_DOUBLE_EQ(t.thickness, 0.5 * t.dcsd);
    // The strands cross 2 * 0.05 * sin apart at most: well below 0.1.
    EXPECT_LT(t.dcsd, 0.1);
    EXPECT_GT(t.dcsd, 0.0);
}

TEST(PolygonThickness, DegenerateInput)
{
    const std::vector<Polygon> bad = {
        {},
        {{0, 1, 0}, {0, 0, 1}, {0, 0, 0}},                       // three vertices
        {{0, 1, 1, 0}, {0, 0, 0, 1}, {0, 0, 0, 0}},               // a zero-length edge
        {{0, 1, 2, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}},               // turns back on itself
        {{0, 1, NAN, 0}, {0, 0, 1, 1}, {0, 0, 0, 0}},
    };
    for (const Polygon& p : bad) {
        const vek::PolygonThickness t = Thickness(p);
        EXPECT_EQ(t.thickness, 0.0);
    }
    EXPECT_EQ(vek::CertifiedRopelength(1.0, 0.0), std::numeric_limits<double>::infinity());
}

// The summary's short search gives the same thickness as the whole one, and
// the blocks of the search give the same pair on one thread as on many.
TEST(PolygonThickness, ShortSearchAndThreadsAgree)
{
    Polygon squeezed = knotcurves::TorusKnot(2, 3, 3000);
    for (double& z : squeezed.z)
        z *= 0.05;
    const std::vector<Polygon> cases = {knotcurves::RegularPolygon(12, 1.0), knotcurves::RegularPolygon(2000, 1.0),
                                        knotcurves::TorusKnot(2, 5, 400), knotcurves::TorusKnot(3, 4, 5000),
                                        squeezed};
    for (size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(k);
        const Polygon& p = cases[k];
        const vek::PolygonThickness full = Thickness(p);
        const vek::PolygonThickness quick = vek::ComputePolygonThickness(p.View(), vek::DcsdSearch::ThicknessOnly);
        EXPECT_GT(full.thickness, 0.0);
        EXPECT_EQ(quick.thickness, full.thickness);
        EXPECT_EQ(quick.minRad, full.minRad);
        // The short search reports the whole search's pair, or nothing
        // when that pair is too far to matter.
        if (std::isfinite(quick.dcsd)) {
            EXPECT_EQ(quick.dcsd, full.dcsd);
            EXPECT_EQ(quick.dcsdEdgeA, full.dcsdEdgeA);
        } else {
            EXPECT_GE(full.dcsd, 2.0 * full.minRad);
        }
        vek::PolygonThickness single;
        tbb::task_arena(1).execute([&] { single = Thickness(p); });
        EXPECT_EQ(single.dcsd, full.dcsd);
        EXPECT_EQ(single.dcsdEdgeA, full.dcsdEdgeA);
        EXPECT_EQ(single.dcsdEdgeB, full.dcsdEdgeB);
    }
}

}  // namespace
