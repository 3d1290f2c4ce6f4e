#include "ideal/optimise_ideal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ideal/polygon_measures.h"
#include "knot/knot_type.h"
#include "knot/polygon_thickness.h"
#include "tests/unit/knot_curves.h"
#include "tools/relax_options.h"

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
    const vek::KnotType expected = vek::IdentifyKnot(c.polygon.x, c.polygon.y, c.polygon.z);
    ASSERT_TRUE(expected.known);
    vek::IdealOptions options;
    options.vertices = c.vertices;
    options.maxIterations = 300;
    options.maxSeconds = 5.0;
    const vek::IdealResult result = vek::OptimiseIdeal(c.polygon.x, c.polygon.y, c.polygon.z, expected, options);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(static_cast<int>(result.x.size()), c.vertices);
    const vek::PolygonThickness again = vek::ComputePolygonThickness(result.x, result.y, result.z);
    EXPECT_GE(again.thickness, result.thickness.thickness);
    EXPECT_GE(2.0 * again.thickness, options.tubeThickness);
    const std::vector<double> points = vek::Interleave(result.x, result.y, result.z);
    EXPECT_DOUBLE_EQ(result.ropelength, vek::CertifiedRopelength(vek::PolygonLength(points), again.thickness));
    EXPECT_TRUE(vek::SameKnotType(vek::IdentifyKnot(result.x, result.y, result.z), expected));
    // Never worse than the start (the regular 32-gon is already the best of its count).
    const vek::PolygonThickness start = vek::ComputePolygonThickness(c.polygon.x, c.polygon.y, c.polygon.z);
    const double startRopelength = vek::CertifiedRopelength(
        vek::PolygonLength(vek::Interleave(c.polygon.x, c.polygon.y, c.polygon.z)), start.thickness);
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
    const vek::KnotType unknot = vek::IdentifyKnot(circle.x, circle.y, circle.z);
    vek::IdealOptions options;
    options.vertices = 48;
    options.maxIterations = 10;
    const vek::IdealResult result = vek::OptimiseIdeal(trefoil.x, trefoil.y, trefoil.z, unknot, options);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
}

class IdealBadArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(IdealBadArguments, AreRefusedWithAMessage)
{
    vek::RelaxOptions options;
    std::string error;
    EXPECT_FALSE(vek::ParseRelaxArguments(GetParam(), options, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, IdealBadArguments,
    ::testing::Values(std::vector<std::string>{"in.txt", "--ideal", "--vertices", "3"},
                      std::vector<std::string>{"in.txt", "--ideal", "--vertices", "100000"},
                      std::vector<std::string>{"in.txt", "--ideal", "--vertices", "12x"},
                      std::vector<std::string>{"in.txt", "--vertices", "100"},
                      std::vector<std::string>{"in.txt", "--ideal", "--until-tight"},
                      std::vector<std::string>{"in.txt", "--ideal", "--iterations", "30"},
                      std::vector<std::string>{"in.txt", "--ideal", "--refine", "3"},
                      std::vector<std::string>{"in.txt", "--ideal", "--keep-knot"},
                      std::vector<std::string>{"in.txt", "--ideal", "--no-check-knot"},
                      std::vector<std::string>{"in.txt", "--ideal", "--log", "run.csv"}));

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
}

}  // namespace
