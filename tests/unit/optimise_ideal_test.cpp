#include "ideal/optimise_ideal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "curve/curve_polygon.h"
#include "geom/parallel.h"
#include "geom/polygon_measures.h"
#include "ideal/resample_polygon.h"
#include "ideal/ropelength_descent.h"
#include "ideal/polygon_pairs.h"
#include "knot/knot_type.h"
#include "knot/polygon_thickness.h"
#include "relax/relax_options.h"
#include "relax/relax_run.h"
#include "test_support.h"

namespace {

struct IdealCase {
    const char* name;
    knotcurves::Polygon polygon;
    int vertices;
};

class OptimiseIdealKnots : public ::testing::TestWithParam<IdealCase> {};

// The written polygon is certified independently: its thickness computed
// again, its knot type identified again, and the tube of 0.03 embedded.
TEST_P(OptimiseIdealKnots, ReturnsACertifiedPolygonOfTheSameKnotType)
{
    const IdealCase& c = GetParam();
    const vek::KnotType expected = vek::IdentifyKnot(c.polygon.View());
    ASSERT_TRUE(expected.known);
    vek::IdealOptions options;
    options.vertices = c.vertices;
    options.maxIterations = 300;
    options.maxSeconds = 5.0;
    const vek::IdealResult result = vek::OptimiseIdeal(c.polygon.View(), expected, options);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.polygon.Size(), c.vertices);
    const vek::PolygonThickness again = vek::ComputePolygonThickness(result.polygon.View());
    EXPECT_GE(again.thickness, result.thickness.thickness);
    EXPECT_GE(2.0 * again.thickness, options.tubeThickness);
    EXPECT_DOUBLE_EQ(result.ropelength,
                     vek::CertifiedRopelength(vek::PolygonLength(result.polygon.View()), again.thickness));
    EXPECT_TRUE(vek::SameKnotType(vek::IdentifyKnot(result.polygon.View()), expected));
    // Never worse than the start (the regular 32-gon is already the best of its count).
    const vek::PolygonThickness start = vek::ComputePolygonThickness(c.polygon.View());
    const double startRopelength = vek::CertifiedRopelength(
        vek::PolygonLength(c.polygon.View()), start.thickness);
    EXPECT_LE(result.ropelength, startRopelength * (1.0 + 1e-12));
}

INSTANTIATE_TEST_SUITE_P(Table, OptimiseIdealKnots,
                         ::testing::Values(IdealCase{"trefoil", knotcurves::TorusKnot(2, 3, 120), 48},
                                           IdealCase{"figure_eight", knotcurves::FigureEight(150), 60},
                                           IdealCase{"unknot", knotcurves::RegularPolygon(32, 1.0), 32}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OptimiseIdeal, RefusesAStartOfAnotherKnotType)
{
    const knotcurves::Polygon trefoil = knotcurves::TorusKnot(2, 3, 120);
    const knotcurves::Polygon circle = knotcurves::RegularPolygon(40, 1.0);
    const vek::KnotType unknot = vek::IdentifyKnot(circle.View());
    vek::IdealOptions options;
    options.vertices = 48;
    options.maxIterations = 10;
    const vek::IdealResult result = vek::OptimiseIdeal(trefoil.View(), unknot, options);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
}

// What a text file with four significant digits would hold: much coarser
// than the position data file, so that a certificate taken before the
// rounding would be caught.
void RoundToFourDigits(std::vector<double>& points)
{
    for (double& v : points) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3e", v);
        v = std::strtod(text, nullptr);
    }
}

TEST(OptimiseIdeal, CertifiesTheCoordinatesAsWritten)
{
    const knotcurves::Polygon trefoil = knotcurves::TorusKnot(2, 3, 120);
    const vek::KnotType expected = vek::IdentifyKnot(trefoil.View());
    vek::IdealOptions options;
    options.vertices = 48;
    options.maxIterations = 200;
    options.asWritten = [](vek::PolygonPoints& polygon) { RoundToFourDigits(polygon.Coordinates()); };
    const vek::IdealResult result = vek::OptimiseIdeal(trefoil.View(), expected, options);
    ASSERT_TRUE(result.ok) << result.error;
    std::vector<double> points = result.polygon.Coordinates();
    const std::vector<double> returned = points;
    RoundToFourDigits(points);
    EXPECT_EQ(points, returned) << "the returned polygon is not the rounded one";
    const vek::PolygonThickness again = vek::ComputePolygonThickness(result.polygon.View());
    EXPECT_EQ(again.thickness, result.thickness.thickness);
    EXPECT_GE(2.0 * again.thickness, options.tubeThickness);
}

// The ideal unknot is the round circle, L / (2 thickness) = pi; the best
// 64-gon is the regular one, 64 tan(pi / 64) (0.08 % above pi). The
// ellipse's flat sides must bend until every vertex bounds the thickness on
// both sides: the descent ends within 0.05 % of that 64-gon (the goal for
// the knots is 0.1 % of the best known polygon), and never below it.
TEST(OptimiseIdeal, AnEllipseBecomesARoundCircle)
{
    knotcurves::Polygon ellipse;
    for (int k = 0; k < 90; ++k) {
        const double t = 2.0 * knotcurves::kPi * k / 90;
        ellipse.Add(1.0 * std::cos(t), 0.6 * std::sin(t), 0.0);
    }
    const vek::KnotType unknot = vek::IdentifyKnot(ellipse.View());
    vek::IdealOptions options;
    options.vertices = 64;
    // The descent settles after some 750 steps; the time limit is only a
    // guard, far beyond what a slow (instrumented) build needs, so that the
    // result does not depend on the machine's speed.
    options.maxSeconds = 600.0;
    const vek::IdealResult result = vek::OptimiseIdeal(ellipse.View(), unknot, options);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_FALSE(result.fellBack);
    const double regular = 64.0 * std::tan(knotcurves::kPi / 64.0);
    EXPECT_LT(result.ropelength, regular * 1.0005);
    EXPECT_GE(result.ropelength, regular * (1.0 - 1e-9));
}

// The budget is asked inside a step too (before the factorisations of its
// solves), not only between steps: told to stop at its third question, the
// descent of a tight start with many contacts ends within its first two
// steps, with a polygon no longer than the start.
TEST(OptimiseIdeal, TheDescentAsksItsBudgetInsideAStep)
{
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    ASSERT_FALSE(HasFatalFailure());
    vek::RelaxUntilTight(x, y, z, 6000, 0.03, 1.0);
    const std::vector<double> start = vek::ResampleByArcLength(CurvePolygon(x, y, z), 64);
    int asked = 0;
    vek::DescentOptions options;
    options.stop = [&asked] { return ++asked >= 3; };
    const vek::DescentResult result = vek::DescendRopelength(start, options);
    EXPECT_EQ(asked, 3);
    EXPECT_LE(result.steps, 1);
    ASSERT_FALSE(result.points.empty());
    const vek::PolygonView before = vek::PolygonView::Interleaved(start);
    EXPECT_LE(vek::PolygonLength(vek::PolygonView::Interleaved(result.points)) / 2.0,
              vek::PolygonLength(before) / (2.0 * vek::ComputePolygonThickness(before).thickness) * (1.0 + 1e-12));
}

// The relaxation's tight trefoil touches itself along long stretches: many
// constraints are active at once from the first step.
TEST(OptimiseIdeal, ATightStartWithManyContactsStillShortens)
{
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    ASSERT_FALSE(HasFatalFailure());
    vek::RelaxUntilTight(x, y, z, 6000, 0.03, 1.0);
    const vek::PolygonView tight = CurvePolygon(x, y, z);
    const vek::KnotType expected = vek::IdentifyKnot(tight);
    ASSERT_EQ(expected.name, "3_1");
    const vek::PolygonPoints start(vek::ResampleByArcLength(tight, 64));
    const double startRopelength = vek::CertifiedRopelength(vek::PolygonLength(start.View()),
                                                            vek::ComputePolygonThickness(start.View()).thickness);
    vek::IdealOptions options;
    options.vertices = 64;
    // A count of steps, not a time, bounds the descent, so that a slow
    // machine reaches the same polygon (50 steps already pass the bound).
    options.maxIterations = 100;
    options.maxSeconds = 600.0;
    const vek::IdealResult result = vek::OptimiseIdeal(tight, expected, options);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_FALSE(result.fellBack);
    EXPECT_GT(result.iterations, 0);
    EXPECT_GT(result.activeStruts, 10);
    EXPECT_LT(result.ropelength, 0.99 * startRopelength);
    EXPECT_LT(result.ropelength, 16.7);
}

// A search stopped by its time limit or by the user still returns a
// certified polygon of its type, and says which of the two stopped it.
TEST(OptimiseIdeal, AStoppedSearchSaysWhatStoppedIt)
{
    const knotcurves::Polygon trefoil = knotcurves::TorusKnot(2, 3, 120);
    const vek::KnotType expected = vek::IdentifyKnot(trefoil.View());
    for (const vek::IdealStop why : {vek::IdealStop::Time, vek::IdealStop::Cancelled}) {
        vek::IdealOptions options;
        options.vertices = 48;
        if (why == vek::IdealStop::Time)
            options.maxSeconds = 1e-9;
        else
            options.cancelled = [] { return true; };
        const vek::IdealResult result = vek::OptimiseIdeal(trefoil.View(), expected, options);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.stoppedBy, why) << vek::IdealStopName(result.stoppedBy);
        EXPECT_GE(2.0 * vek::ComputePolygonThickness(result.polygon.View()).thickness, options.tubeThickness);
        EXPECT_TRUE(vek::SameKnotType(vek::IdentifyKnot(result.polygon.View()), expected));
    }
}

// One thread or two: the same polygon to the last bit, and the same step
// count; the descents end on their step count, not on the clock.
TEST(OptimiseIdeal, TheThreadCountChangesNothing)
{
    const knotcurves::Polygon trefoil = knotcurves::TorusKnot(2, 3, 120);
    const vek::KnotType expected = vek::IdentifyKnot(trefoil.View());
    vek::IdealOptions options;
    options.vertices = 64;
    options.maxIterations = 40;
    std::vector<vek::IdealResult> results;
    for (const int threads : {1, 2, 1}) {
        vek::SetThreadLimit(threads);
        results.push_back(vek::OptimiseIdeal(trefoil.View(), expected, options));
    }
    vek::SetThreadLimit(0);
    for (const vek::IdealResult& result : results) {
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.stoppedBy, vek::IdealStop::Iterations);
        EXPECT_EQ(result.polygon.Coordinates(), results.front().polygon.Coordinates());
        EXPECT_EQ(result.iterations, results.front().iterations);
    }
    EXPECT_LT(results.front().ropelength, 17.5);
}

TEST(IdealArguments, VerticesAndMaxIterationsAreTaken)
{
    vek::RelaxOptions options;
    std::string error;
    ASSERT_TRUE(vek::ParseRelaxArguments({"in.txt", "--ideal", "--vertices", "120", "--max-iterations", "5000"},
                                         options, error))
        << error;
    EXPECT_TRUE(options.ideal);
    EXPECT_EQ(options.vertices, 120);
    EXPECT_EQ(options.maxIterations, 5000);
    EXPECT_EQ(options.timeLimit, vek::kDefaultIdealSeconds);
    ASSERT_TRUE(vek::ParseRelaxArguments({"in.txt", "--ideal", "--time-limit", "2.5", "--threads", "1"}, options,
                                         error))
        << error;
    EXPECT_EQ(options.timeLimit, 2.5);
    EXPECT_EQ(options.threads, 1);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"in.txt", "--time-limit", "5"}, {"in.txt", "--ideal", "--time-limit", "0"},
          {"in.txt", "--ideal", "--threads", "0"}, {"in.txt", "--ideal", "--threads", "1.5"}}) {
        vek::RelaxOptions refused;
        EXPECT_FALSE(vek::ParseRelaxArguments(bad, refused, error)) << bad[1] << " " << bad[2];
    }
}

}  // namespace
