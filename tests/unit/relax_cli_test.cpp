#include "relax/relax_cli.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "curve/relax_step.h"
#include "curve/resample_curve.h"
#include "curve/run_relaxation.h"
#include "io/points_file.h"
#include "test_support.h"

struct GoodArgsCase {
    std::vector<std::string> args;
    std::string input, output;
    long long iterations;
    double precision;
};

class RelaxCliGoodArguments : public ::testing::TestWithParam<GoodArgsCase> {};

TEST_P(RelaxCliGoodArguments, AreParsed)
{
    const GoodArgsCase& c = GetParam();
    vek::RelaxOptions options;
    std::string error;
    ASSERT_TRUE(vek::ParseRelaxArguments(c.args, options, error)) << error;
    EXPECT_FALSE(options.help);
    EXPECT_EQ(options.input, c.input);
    EXPECT_EQ(options.output, c.output);
    EXPECT_EQ(options.iterations, c.iterations);
    EXPECT_EQ(options.precision, c.precision);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RelaxCliGoodArguments,
    ::testing::Values(GoodArgsCase{{"in.txt"}, "in.txt", "", 0, 1.0},
                      GoodArgsCase{{"in.txt", "--iterations", "3000"}, "in.txt", "", 3000, 1.0},
                      GoodArgsCase{{"--precision", "2.5", "in.txt", "--output", "out.txt"}, "in.txt", "out.txt", 0, 2.5},
                      GoodArgsCase{{"--iterations=31", "--precision=1e1", "in.txt"}, "in.txt", "", 31, 10.0},
                      GoodArgsCase{{"in.txt", "--iterations", "1000000000"}, "in.txt", "", 1000000000, 1.0},
                      GoodArgsCase{{"--", "-odd name.txt"}, "-odd name.txt", "", 0, 1.0},
                      GoodArgsCase{{"-", "--precision", "0.001"}, "-", "", 0, 0.001},
                      // As in the precision dialog: any finite number, 0.01 or less acting as 0.01.
                      GoodArgsCase{{"in.txt", "--precision", "0"}, "in.txt", "", 0, 0.0},
                      GoodArgsCase{{"in.txt", "--precision=-1"}, "in.txt", "", 0, -1.0}));

class RelaxCliBadArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(RelaxCliBadArguments, AreRefusedWithAMessage)
{
    vek::RelaxOptions options;
    std::string error;
    EXPECT_FALSE(vek::ParseRelaxArguments(GetParam(), options, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RelaxCliBadArguments,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"a.txt", "b.txt"},
                      std::vector<std::string>{"a.txt", "--iterations"},
                      std::vector<std::string>{"a.txt", "--iterations", "ten"},
                      std::vector<std::string>{"a.txt", "--iterations", "-5"},
                      std::vector<std::string>{"a.txt", "--iterations", "+5"},
                      std::vector<std::string>{"a.txt", "--iterations", "12x"},
                      std::vector<std::string>{"a.txt", "--iterations", ""},
                      std::vector<std::string>{"a.txt", "--iterations", "1000000001"},
                      std::vector<std::string>{"a.txt", "--iterations", "99999999999999999999999"},
                      std::vector<std::string>{"a.txt", "--precision", "inf"},
                      std::vector<std::string>{"a.txt", "--precision", "nan"},
                      std::vector<std::string>{"a.txt", "--precision", "1e999"},
                      std::vector<std::string>{"a.txt", "--precision", "1,5"},
                      std::vector<std::string>{"a.txt", "--output="},
                      std::vector<std::string>{"a.txt", "--verbose"},
                      std::vector<std::string>{"a.txt", "-x"}));

TEST(RelaxCliArguments, HelpWinsOverEverythingElse)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                 std::vector<std::string>{"a.txt", "--iterations", "-3", "-h"}}) {
        vek::RelaxOptions options;
        std::string error;
        EXPECT_TRUE(vek::ParseRelaxArguments(args, options, error));
        EXPECT_TRUE(options.help);
    }
    EXPECT_NE(vek::RelaxUsage().find("--iterations"), std::string::npos);
}

TEST(RelaxCliSchedule, ResamplesBeforeIterations1_31_61Only)
{
    struct Case {
        long long iterations;
        std::vector<long long> resampledBefore;
    };
    const std::vector<Case> cases = {
        {0, {}}, {1, {1}}, {30, {1}}, {31, {1, 31}}, {60, {1, 31}}, {61, {1, 31, 61}}, {90, {1, 31, 61}},
    };
    for (const Case& c : cases) {
        long long steps = 0;
        std::vector<long long> resampledBefore;
        RunHooks hooks;
        hooks.resample = [&] {
            resampledBefore.push_back(steps + 1);
            return true;
        };
        hooks.relax = [&](double, CDoubleArray&, CDoubleArray&, CDoubleArray&) { ++steps; };
        const long long done = RunRelaxationFor(c.iterations, vek::kThickness, hooks);
        EXPECT_EQ(done, c.iterations);
        EXPECT_EQ(steps, c.iterations);
        EXPECT_EQ(resampledBefore, c.resampledBefore) << c.iterations << " iterations";
    }
}

TEST(RelaxCliSchedule, ARefusedResamplingStopsTheRun)
{
    int resamples = 0;
    long long steps = 0;
    RunHooks hooks;
    hooks.resample = [&] { return ++resamples < 3; };
    hooks.relax = [&](double, CDoubleArray&, CDoubleArray&, CDoubleArray&) { ++steps; };
    const long long done = RunRelaxationFor(100, vek::kThickness, hooks);
    EXPECT_EQ(done, 60);
    EXPECT_EQ(steps, 60);
    EXPECT_EQ(resamples, 3);
}

TEST(RelaxCliRelax, RunsTheEngineOnTheSchedule)
{
    CDoubleArray x, y, z;
    std::string error;
    ASSERT_TRUE(ReadPointsFile(ExamplePath("trefoil.txt"), x, y, z, error)) << error;
    CDoubleArray ex, ey, ez;
    ASSERT_TRUE(ReadPointsFile(ExamplePath("trefoil.txt"), ex, ey, ez, error)) << error;

    ASSERT_EQ(vek::RelaxCurve(x, y, z, 31, vek::kThickness, 2.0), 31);

    // By hand: resample, 30 iterations, resample, 1 iteration.
    CDoubleArray nx, ny, nz;
    const double window = ExclusionWindow(vek::kThickness);
    ASSERT_TRUE(ResampleCurve(ex, ey, ez, vek::kThickness, 2.0));
    for (int k = 0; k < 30; ++k)
        RelaxStep(ex, ey, ez, vek::kThickness, window, nx, ny, nz);
    ASSERT_TRUE(ResampleCurve(ex, ey, ez, vek::kThickness, 2.0));
    RelaxStep(ex, ey, ez, vek::kThickness, window, nx, ny, nz);

    ASSERT_EQ(x.GetSize(), ex.GetSize());
    for (int k = 0; k < x.GetSize(); ++k) {
        ASSERT_EQ(x[k], ex[k]) << k;
        ASSERT_EQ(y[k], ey[k]) << k;
        ASSERT_EQ(z[k], ez[k]) << k;
    }
}

// Zero, negative and tiny precisions run as 0.01, as in the desktop program.
TEST(RelaxCliRelax, PrecisionAtOrBelowTheClampRunsAsTheClamp)
{
    std::string error;
    CDoubleArray cx, cy, cz;
    ASSERT_TRUE(ReadPointsFile(ExamplePath("trefoil.txt"), cx, cy, cz, error)) << error;
    const long long done = vek::RelaxCurve(cx, cy, cz, 31, vek::kThickness, 0.01);
    for (const double precision : {0.0, -1.0, 0.00001}) {
        SCOPED_TRACE(precision);
        CDoubleArray x, y, z;
        ASSERT_TRUE(ReadPointsFile(ExamplePath("trefoil.txt"), x, y, z, error)) << error;
        EXPECT_EQ(vek::RelaxCurve(x, y, z, 31, vek::kThickness, precision), done);
        ASSERT_EQ(x.GetSize(), cx.GetSize());
        for (int k = 0; k < x.GetSize(); ++k) {
            ASSERT_EQ(x[k], cx[k]) << k;
            ASSERT_EQ(y[k], cy[k]) << k;
            ASSERT_EQ(z[k], cz[k]) << k;
        }
    }
}

// With a spacing beyond the thickness nothing holds the curve up and it
// shrinks at every resampling: the run stops before a resampling would leave
// fewer than four points, and keeps the finite points it had.
TEST(RelaxCliRelax, ACollapsingCurveStopsTheRunAndKeepsItsPoints)
{
    for (const double precision : {0.3, 0.1, 0.0}) {
        SCOPED_TRACE(precision);
        CDoubleArray x, y, z;
        std::string error;
        ASSERT_TRUE(ReadPointsFile(ExamplePath("trefoil.txt"), x, y, z, error)) << error;
        const long long done = vek::RelaxCurve(x, y, z, 30000, vek::kThickness, precision);
        EXPECT_LT(done, 30000);
        EXPECT_EQ(done % vek::kRunPeriod, 0);
        ASSERT_GE(x.GetSize(), vek::kMinRunPoints);
        for (int k = 0; k < x.GetSize(); ++k)
            ASSERT_TRUE(std::isfinite(x[k]) && std::isfinite(y[k]) && std::isfinite(z[k])) << k;
        EXPECT_EQ(JudgeRunResample(x, y, z, vek::kThickness, precision), RunResample::TooFewPoints);
    }
}

TEST(RelaxCliRelax, TooManyPointsStopsBeforeTheFirstIteration)
{
    CDoubleArray x, y, z;
    ParsePointsText("0 0 0 5000 0 0", x, y, z);
    EXPECT_EQ(vek::RelaxCurve(x, y, z, 10, vek::kThickness, 1.0), 0);
    EXPECT_EQ(x.GetSize(), 2);
}

struct KnotCase {
    const char* file;
    double minRopelength, maxRopelength;
};

class RelaxExampleKnots : public ::testing::TestWithParam<KnotCase> {};

// The ideal ropelengths are about 16.4 (trefoil), 21 (figure-eight) and 23.5
// (cinquefoil). A strand passing through another one would unknot or change
// the knot and end far below; a knot still loose ends far above.
TEST_P(RelaxExampleKnots, TightenToTheirRopelengthIn3000Iterations)
{
    const KnotCase c = GetParam();
    CDoubleArray x, y, z;
    std::string error;
    ASSERT_TRUE(ReadPointsFile(ExamplePath(c.file), x, y, z, error)) << error;
    ASSERT_EQ(vek::RelaxCurve(x, y, z, 3000, vek::kThickness, 1.0), 3000);
    const double ropelength = CurveLength(x, y, z) / vek::kThickness;
    EXPECT_GE(ropelength, c.minRopelength);
    EXPECT_LE(ropelength, c.maxRopelength);
    // Tight: non-local parts touch, at about one thickness.
    const double nearest = MinNonLocalDistance(x, y, z, ExclusionWindow(vek::kThickness)) / vek::kThickness;
    EXPECT_GT(nearest, 0.9);
    EXPECT_LT(nearest, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Table, RelaxExampleKnots,
                         ::testing::Values(KnotCase{"trefoil.txt", 16.0, 16.7},
                                           KnotCase{"figure-eight.txt", 20.5, 22.5},
                                           KnotCase{"cinquefoil.txt", 23.0, 24.5}));

TEST(RelaxCliRelax, CircleShrinksUntilItHasNoCandidateLeft)
{
    CDoubleArray x, y, z;
    std::string error;
    ASSERT_TRUE(ReadPointsFile(ExamplePath("circle.txt"), x, y, z, error)) << error;
    ASSERT_EQ(vek::RelaxCurve(x, y, z, 3000, vek::kThickness, 1.0), 3000);
    // Shorter than two windows: it no longer changes shape.
    EXPECT_LT(CurveLength(x, y, z), 2 * ExclusionWindow(vek::kThickness));
    const vek::RelaxReport report =
        vek::MeasureRelaxation(x, y, z, vek::kThickness, vek::IdentifyCurveKnot(x, y, z), 3000, 0.5);
    EXPECT_NE(vek::FormatRelaxSummary(report).find("thickness: none"), std::string::npos);
}
