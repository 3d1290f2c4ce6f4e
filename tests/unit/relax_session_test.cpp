// vek-relax's run as a whole (RunRelax): the stages on the engine's
// schedule, and a refused resampling told with the precision of the stage
// where it happened.
#include "relax/relax_session.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "relax/relax_run.h"
#include "test_support.h"

namespace {

vek::RelaxOptions Parsed(const std::vector<std::string>& args)
{
    vek::RelaxOptions options;
    std::string error;
    EXPECT_TRUE(vek::ParseRelaxArguments(args, options, error)) << error;
    return options;
}

void ExpectSameCurve(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& ex,
                     const CDoubleArray& ey, const CDoubleArray& ez)
{
    ASSERT_EQ(x.GetSize(), ex.GetSize());
    for (int k = 0; k < x.GetSize(); ++k) {
        ASSERT_EQ(x[k], ex[k]) << k;
        ASSERT_EQ(y[k], ey[k]) << k;
        ASSERT_EQ(z[k], ez[k]) << k;
    }
}

TEST(RelaxSession, UntilTightThenRefineIsTheRunOfEachStageInTurn)
{
    CDoubleArray x, y, z, ex, ey, ez;
    ReadExampleTrefoil(x, y, z);
    ReadExampleTrefoil(ex, ey, ez);
    const vek::RelaxOutcome outcome =
        vek::RunRelax(Parsed({"k.txt", "--until-tight", "--refine", "3", "--no-check-knot"}), x, y, z);
    const vek::TightRun first = vek::RelaxUntilTight(ex, ey, ez, vek::kDefaultMaxIterations, vek::kThickness, 1.0);
    const vek::TightRun second = vek::RelaxUntilTight(ex, ey, ez, vek::kDefaultMaxIterations, vek::kThickness, 3.0);
    ASSERT_TRUE(outcome.ok) << outcome.error;
    ASSERT_TRUE(outcome.report);
    EXPECT_EQ(outcome.report->iterations, first.iterations + second.iterations);
    EXPECT_EQ(outcome.report->converged, first.converged && second.converged);
    EXPECT_EQ(outcome.status, vek::kRelaxExitDone);
    EXPECT_NE(outcome.summary.find("iterations: " + std::to_string(outcome.report->iterations)), std::string::npos);
    ExpectSameCurve(x, y, z, ex, ey, ez);
}

struct RefusalCase {
    std::vector<std::string> args;  // after the input
    // The precisions of the stages before the refused one (until tight each).
    std::vector<double> before;
    const char* told;  // the limit and the precision, as the message says them
};

void PrintTo(const RefusalCase& c, std::ostream* out)
{
    for (const std::string& arg : c.args)
        *out << arg << ' ';
}

class RelaxSessionRefusal : public ::testing::TestWithParam<RefusalCase> {};

// The message names the limit that the refusing stage broke, at that
// stage's precision, and the curve is the one after the stages before it.
TEST_P(RelaxSessionRefusal, NamesTheLimitAtTheStagesPrecision)
{
    const RefusalCase& c = GetParam();
    std::vector<std::string> args = {"k.txt"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    CDoubleArray x, y, z, ex, ey, ez;
    ReadExampleTrefoil(x, y, z);
    ReadExampleTrefoil(ex, ey, ez);
    const vek::RelaxOutcome outcome = vek::RunRelax(Parsed(args), x, y, z);
    long long done = 0;
    for (double precision : c.before)
        done += vek::RelaxUntilTight(ex, ey, ez, vek::kDefaultMaxIterations, vek::kThickness, precision).iterations;
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.summary.empty());
    EXPECT_EQ(outcome.error.rfind("resampling before iteration " + std::to_string(done + 1) + " refused", 0), 0u)
        << outcome.error;
    EXPECT_NE(outcome.error.find(c.told), std::string::npos) << outcome.error;
    ExpectSameCurve(x, y, z, ex, ey, ez);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RelaxSessionRefusal,
    ::testing::Values(
        RefusalCase{{"--iterations", "30", "--precision", "0.001"}, {}, "fewer than 4 at precision 0.001"},
        RefusalCase{{"--iterations", "30", "--precision", "1e7"}, {}, "more than 1000000 points at precision 1e+07"},
        // A refine stage coarser than the run: too few points at its own
        // precision, though the run's precision would have kept enough.
        RefusalCase{{"--until-tight", "--refine", "0.01"}, {1.0}, "fewer than 4 at precision 0.01 "},
        RefusalCase{{"--until-tight", "--refine", "3,1e7"}, {1.0, 3.0}, "more than 1000000 points at precision 1e+07"}));

}  // namespace
