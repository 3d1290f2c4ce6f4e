#include "knot/simplify_polygon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "knot/alexander.h"
#include "knot/crossings.h"
#include "knot/knot_type.h"
#include "knot_curves.h"

namespace {

using knotcurves::Polygon;

// The curve with noise across it only: every point moves in the plane
// normal to the curve there, by up to `across` edge lengths each way, so the
// polygon stays one strand inside a thin tube round the original and keeps
// its knot.
Polygon NoisyAcross(const Polygon& core, double across, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> offset(-1.0, 1.0);
    const int n = core.Size();
    Polygon noisy;
    for (int k = 0; k < n; ++k) {
        const int a = (k + n - 1) % n, b = (k + 1) % n;
        const Vec3 t = {core.x[b] - core.x[a], core.y[b] - core.y[a], core.z[b] - core.z[a]};
        const double spacing = 0.5 * Length(t);
        const Vec3 side = std::fabs(t.z) < 0.9 * Length(t) ? Vec3{0.0, 0.0, 1.0} : Vec3{1.0, 0.0, 0.0};
        const Vec3 u = Cross(t, side) / Length(Cross(t, side));
        const Vec3 w = Cross(t, u) / Length(Cross(t, u));
        const Vec3 p = Vec3{core.x[k], core.y[k], core.z[k]} + (across * spacing * offset(random)) * u +
                       (across * spacing * offset(random)) * w;
        noisy.Add(p.x, p.y, p.z);
    }
    return noisy;
}

// The Alexander polynomial of the projection along one direction, with no
// simplification of the polygon; empty when that projection fails.
std::vector<long long> ProjectedAlexander(vek::PolygonView polygon)
{
    const double direction[3] = {0.31416, 0.59265, 0.74213};
    vek::GaussCode code;
    std::vector<long long> alexander;
    if (!vek::ProjectCrossings(polygon, direction, code))
        return {};
    vek::ReduceGaussCode(code);
    if (!vek::AlexanderPolynomial(code, alexander))
        return {};
    return alexander;
}

// Whether every vertex of `part` is one of `whole`, in the same order.
bool IsSubsequence(const vek::PolygonPoints& part, const Polygon& whole)
{
    int k = 0;
    const vek::PolygonView view = part.View();
    for (int i = 0; i < view.Size(); ++i) {
        while (k < whole.Size() && !(whole.x[k] == view.X(i) && whole.y[k] == view.Y(i) && whole.z[k] == view.Z(i)))
            ++k;
        if (k == whole.Size())
            return false;
        ++k;
    }
    return true;
}

// Each edge cut into `parts` equal pieces.
Polygon Subdivided(const Polygon& p, int parts)
{
    Polygon out;
    for (int k = 0; k < p.Size(); ++k) {
        const int j = (k + 1) % p.Size();
        for (int s = 0; s < parts; ++s) {
            const double f = static_cast<double>(s) / parts;
            out.Add(p.x[k] + f * (p.x[j] - p.x[k]), p.y[k] + f * (p.y[j] - p.y[k]), p.z[k] + f * (p.z[j] - p.z[k]));
        }
    }
    return out;
}

struct NamedCurve {
    const char* label;
    Polygon polygon;
    std::string name;
    // The most vertices the simplified polygon may keep.
    int most;
};

// Noise across a curve of 20,000 points makes its projections cross
// thousands of times; the dropped triangles take that away, and the name
// is found. The 7-gon trefoil keeps the 6 sticks that a trefoil needs.
TEST(SimplifyPolygon, NoisyCurvesKeepTheirKnotAndAreNamed)
{
    using namespace knotcurves;
    const std::vector<NamedCurve> curves = {
        {"noisy trefoil", NoisyAcross(TorusKnot(2, 3, 20000), 30.0, 1), "3_1*", 200},
        {"noisy figure-eight", NoisyAcross(FigureEight(20000), 30.0, 2), "4_1", 200},
        {"noisy cinquefoil", NoisyAcross(TorusKnot(2, 5, 20000), 20.0, 3), "5_1*", 200},
        {"noisy circle", NoisyAcross(RegularPolygon(20000, 1.0), 30.0, 4), "0_1", 3},
        {"7-gon trefoil", TorusKnot(2, 3, 7), "3_1*", 7},
        // Nine more points along each edge: straight runs, whose triangles
        // have no area and whose corners no plane.
        {"7-gon trefoil, edges in ten", Subdivided(TorusKnot(2, 3, 7), 10), "3_1*", 7},
        {"square, edges in a hundred", Subdivided(RegularPolygon(4, 1.0), 100), "0_1", 3},
    };
    for (const NamedCurve& c : curves) {
        SCOPED_TRACE(c.label);
        const vek::PolygonPoints simplified = vek::SimplifyPolygon(c.polygon.View());
        EXPECT_LE(simplified.Size(), c.most);
        EXPECT_GE(simplified.Size(), c.name == "0_1" ? 3 : 6);
        EXPECT_TRUE(IsSubsequence(simplified, c.polygon));
        const vek::KnotType type = vek::IdentifyKnot(c.polygon.View());
        EXPECT_EQ(type.name, c.name);
        EXPECT_TRUE(type.candidates.empty());
    }
}

// Random polygons, knotted or not: the knot seen along one direction is the
// same before and after.
TEST(SimplifyPolygon, RandomPolygonsKeepTheirKnot)
{
    int compared = 0, shrunk = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
        const int n = 12 + static_cast<int>(seed % 5) * 3;
        Polygon p;
        for (int k = 0; k < n; ++k)
            p.Add(coordinate(random), coordinate(random), coordinate(random));
        const std::vector<long long> before = ProjectedAlexander(p.View());
        if (before.empty()) {
            ADD_FAILURE() << "seed " << seed << ": no Alexander polynomial from the projection";
            continue;
        }
        const vek::PolygonPoints simplified = vek::SimplifyPolygon(p.View());
        SCOPED_TRACE("seed " + std::to_string(seed));
        EXPECT_EQ(ProjectedAlexander(simplified.View()), before);
        ++compared;
        shrunk += simplified.Size() < n;
    }
    EXPECT_EQ(compared, 60);
    EXPECT_GE(shrunk, 50);
}

TEST(SimplifyPolygon, TooFewOrAllEqualVerticesStayAsTheyAre)
{
    const std::vector<Polygon> cases = {
        {{0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}, {0.0, 0.0, 0.0}},
        {{2.0, 2.0, 2.0, 2.0, 2.0}, {1.0, 1.0, 1.0, 1.0, 1.0}, {0.0, 0.0, 0.0, 0.0, 0.0}},
    };
    for (const Polygon& p : cases) {
        const vek::PolygonPoints simplified = vek::SimplifyPolygon(p.View());
        EXPECT_EQ(simplified.Size(), p.Size());
        EXPECT_TRUE(IsSubsequence(simplified, p));
    }
}

}  // namespace
