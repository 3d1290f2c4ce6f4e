#include "knot/knot_type.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/resample_curve.h"
#include "knot/alexander.h"
#include "io/points_file.h"
#include "relax/relax_run.h"
#include "test_support.h"

namespace {

using knotcurves::Polygon;

vek::KnotType Identify(const Polygon& p)
{
    return vek::IdentifyKnot(p.x, p.y, p.z);
}

struct KnownKnot {
    const char* label;
    Polygon polygon;
    std::string name;
    std::vector<long long> alexander;
    long long determinant;
    long long v2;
};

std::vector<KnownKnot> KnownKnots()
{
    using namespace knotcurves;
    const Polygon trefoil = TorusKnot(2, 3, 120);
    return {
        {"unknot", RegularPolygon(50, 1.0), "0_1", {1}, 1, 0},
        // These torus knots cross negatively in every crossing of their
        // projection along z: the mirror images of the table's diagrams,
        // whose crossings are all positive.
        {"T23", trefoil, "3_1*", {1, -1, 1}, 3, 1},
        {"T23mirror", Mirror(trefoil), "3_1", {1, -1, 1}, 3, 1},
        {"T32", TorusKnot(3, 2, 150), "3_1*", {1, -1, 1}, 3, 1},
        // 5_1* shares its polynomial with 10_132: the simpler knot is named.
        {"T25", TorusKnot(2, 5, 200), "5_1*", {1, -1, 1, -1, 1}, 5, 3},
        {"T27", TorusKnot(2, 7, 280), "7_1*", {1, -1, 1, -1, 1, -1, 1}, 7, 6},
        {"T34", TorusKnot(3, 4, 300), "8_19*", {1, -1, 0, 1, 0, -1, 1}, 3, 5},
        {"FigureEight", FigureEight(200), "4_1", {1, -3, 1}, 5, -1},
        // Granny and square knots: Delta is the square of the trefoil's, no
        // prime knot of the table.
        {"Granny", ConnectedSum(trefoil, trefoil), "unknown", {1, -2, 3, -2, 1}, 9, 2},
        {"Square", ConnectedSum(trefoil, Mirror(trefoil)), "unknown", {1, -2, 3, -2, 1}, 9, 2},
        {"TrefoilFigureEight", ConnectedSum(trefoil, FigureEight(200)), "unknown", {1, -4, 5, -4, 1}, 15, 0},
    };
}

class KnotIdentification : public ::testing::TestWithParam<int> {};

TEST_P(KnotIdentification, InvariantsAndNameUnderMotionsAndResampling)
{
    const KnownKnot knot = KnownKnots()[GetParam()];
    SCOPED_TRACE(knot.label);
    std::vector<Polygon> versions = {knot.polygon,
                                     knotcurves::Moved(knot.polygon, 0.7, 1.3, 5.0, -2.0, 0.5),
                                     knotcurves::Moved(knot.polygon, 2.9, -0.4, -100.0, 30.0, 7.0),
                                     knotcurves::Moved(knot.polygon, 0.0, 1.5707963267948966, 0.0, 0.0, 0.0)};
    // Shrunk to the size of a sketch and resampled at precision 4 (finer
    // than the polygon).
    CDoubleArray rx, ry, rz;
    for (int k = 0; k < knot.polygon.Size(); ++k) {
        rx.Add(0.05 * knot.polygon.x[k]);
        ry.Add(0.05 * knot.polygon.y[k]);
        rz.Add(0.05 * knot.polygon.z[k]);
    }
    ASSERT_TRUE(ResampleCurve(rx, ry, rz, vek::kThickness, 4.0));
    Polygon resampled;
    for (int k = 0; k < rx.GetSize(); ++k)
        resampled.Add(rx[k], ry[k], rz[k]);
    ASSERT_GT(resampled.Size(), knot.polygon.Size());
    versions.push_back(resampled);
    for (size_t v = 0; v < versions.size(); ++v) {
        SCOPED_TRACE("version " + std::to_string(v));
        const vek::KnotType type = Identify(versions[v]);
        ASSERT_TRUE(type.known);
        EXPECT_EQ(type.name, knot.name);
        EXPECT_EQ(type.alexander, knot.alexander);
        EXPECT_EQ(type.determinant, knot.determinant);
        EXPECT_EQ(type.v2, knot.v2);
        EXPECT_GE(type.crossings, type.reducedCrossings);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, KnotIdentification, ::testing::Range(0, static_cast<int>(KnownKnots().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(KnownKnots()[info.param].label);
                         });

TEST(KnotIdentification, DegenerateInputIsNotKnown)
{
    const std::vector<Polygon> bad = {
        {},
        {{0.0, 1.0}, {0.0, 0.0}, {0.0, 0.0}},
        {{0.0, 1.0, 1.0, 1.0}, {0.0, 0.0, 0.0, 0.0}, {0.0, 0.0, 0.0, 0.0}},  // two distinct points
        {{0.0, 1.0, NAN, 0.5}, {0.0, 0.0, 1.0, 1.0}, {0.0, 0.0, 0.0, 0.0}},
        {{0.0, 1.0, INFINITY}, {0.0, 0.0, 1.0}, {0.0, 0.0, 0.0}},
    };
    for (const Polygon& p : bad)
        EXPECT_FALSE(Identify(p).known);
}

TEST(KnotIdentification, SameKnotTypeComparesInvariants)
{
    using namespace knotcurves;
    const vek::KnotType a = Identify(TorusKnot(2, 3, 90));
    const vek::KnotType b = Identify(Moved(TorusKnot(2, 3, 77), 1.0, 2.0, 0.0, 0.0, 0.0));
    const vek::KnotType c = Identify(FigureEight(90));
    EXPECT_TRUE(vek::SameKnotType(a, b));
    EXPECT_FALSE(vek::SameKnotType(a, c));
    EXPECT_FALSE(vek::SameKnotType(a, vek::KnotType{}));
}

// The example sketches keep their type, chirality included, through a
// relaxation; the name is the table's or its mirror image's.
TEST(KnotIdentification, ExamplesBeforeAndAfterRelaxation)
{
    const std::vector<std::pair<std::string, std::string>> examples = {
        {"trefoil", "3_1"}, {"figure-eight", "4_1"}, {"cinquefoil", "5_1"}, {"circle", "0_1"},
        {"5_2", "5_2"},     {"6_1", "6_1"},          {"6_2", "6_2"},        {"6_3", "6_3"},
        {"7_1", "7_1"},
    };
    for (const auto& [file, name] : examples) {
        SCOPED_TRACE(file);
        CDoubleArray x, y, z;
        std::string error;
        ASSERT_TRUE(ReadPointsFile(ExamplePath(file + ".txt"), x, y, z, error)) << error;
        const int n = x.GetSize();
        const std::string start = vek::IdentifyKnot({x.GetData(), static_cast<size_t>(n)},
                                                    {y.GetData(), static_cast<size_t>(n)},
                                                    {z.GetData(), static_cast<size_t>(n)})
                                      .name;
        EXPECT_TRUE(start == name || start == name + "*") << start;
        vek::RelaxCurve(x, y, z, 300, vek::kThickness, 1.0);
        const int m = x.GetSize();
        EXPECT_EQ(vek::IdentifyKnot({x.GetData(), static_cast<size_t>(m)}, {y.GetData(), static_cast<size_t>(m)},
                                    {z.GetData(), static_cast<size_t>(m)})
                      .name,
                  start);
    }
}

// Gauss codes written by hand: reduction and the polynomial.
TEST(AlexanderPolynomial, GaussCodes)
{
    struct Case {
        const char* label;
        std::vector<vek::GaussPassage> passages;
        std::vector<int> sign;
        int reducedCrossings;
        std::vector<long long> alexander;
    };
    const std::vector<Case> cases = {
        {"kink", {{0, true}, {0, false}}, {1}, 0, {1}},
        // Two kinks nested, then a bigon.
        {"nested kinks", {{0, true}, {1, false}, {1, true}, {0, false}}, {1, -1}, 0, {1}},
        {"bigon", {{0, true}, {1, true}, {1, false}, {0, false}}, {1, -1}, 0, {1}},
        // Over, under alternating three times: the trefoil.
        {"trefoil",
         {{0, true}, {1, false}, {2, true}, {0, false}, {1, true}, {2, false}},
         {1, 1, 1},
         3,
         {1, -1, 1}},
        // A trefoil with a kink put in.
        {"trefoil with a kink",
         {{0, true}, {3, true}, {3, false}, {1, false}, {2, true}, {0, false}, {1, true}, {2, false}},
         {1, 1, 1, -1},
         3,
         {1, -1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        vek::GaussCode code;
        code.passages = c.passages;
        code.sign = c.sign;
        vek::ReduceGaussCode(code);
        EXPECT_EQ(static_cast<int>(code.sign.size()), c.reducedCrossings);
        std::vector<long long> alexander;
        ASSERT_TRUE(vek::AlexanderPolynomial(code, alexander));
        EXPECT_EQ(alexander, c.alexander);
    }
}

TEST(AlexanderPolynomial, DeterminantAndV2)
{
    struct Case {
        std::vector<long long> alexander;
        long long determinant, v2;
    };
    const std::vector<Case> cases = {
        {{1}, 1, 0},           {{1, -1, 1}, 3, 1},        {{1, -3, 1}, 5, -1},       {{2, -3, 2}, 7, 2},
        {{2, -5, 2}, 9, -2},   {{1, -3, 3, -3, 1}, 11, -1}, {{1, -3, 5, -3, 1}, 13, 1}, {{3, -5, 3}, 11, 3},
        {{2, -3, 3, -3, 2}, 13, 5}, {{4, -7, 4}, 15, 4},  {{2, -4, 5, -4, 2}, 17, 4}, {{1, -5, 7, -5, 1}, 19, 1},
        {{1, -5, 9, -5, 1}, 21, -1}, {{1, -1, 1, -1, 1, -1, 1}, 7, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vek::KnotDeterminant(c.alexander), c.determinant);
        EXPECT_EQ(vek::ConwayV2(c.alexander), c.v2);
    }
}

TEST(AlexanderPolynomial, RejectsCodesThatAreNotKnotDiagrams)
{
    vek::GaussCode code;
    code.passages = {{0, true}, {1, true}, {0, true}, {1, false}};  // crossing 0 never under
    code.sign = {1, 1};
    std::vector<long long> alexander;
    EXPECT_FALSE(vek::AlexanderPolynomial(code, alexander));
    code.passages = {{0, true}};
    code.sign = {1};
    EXPECT_FALSE(vek::AlexanderPolynomial(code, alexander));
}

}  // namespace
