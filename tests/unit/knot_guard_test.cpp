// vek-relax's guard against strands passing through each other.
#include "relax/knot_guard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/relax_workspace.h"
#include "relax/relax_cli.h"
#include "test_support.h"

namespace {

// Relaxes the example trefoil through the guard for `iterations` at
// `precision`; returns the iterations the run reports.
long long GuardedRun(vek::KnotGuard& guard, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long iterations,
                     double precision)
{
    const auto workspace = std::make_shared<CRelaxWorkspace>();
    return vek::RunBlocks(iterations, guard.Wrap([&](long long count) {
        return vek::RelaxCurve(x, y, z, count, vek::kThickness, precision, workspace);
    }));
}

}  // namespace

// At precision 0.3 the coarse trefoil's strands slip through each other
// within a few hundred iterations: it unknots.
TEST(KnotGuard, KeepStopsAtThePassageWithTheLastCurveOfTheStartingType)
{
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    const vek::KnotType start = vek::IdentifyCurveKnot(x, y, z);
    ASSERT_EQ(start.name, "3_1");
    vek::KnotGuard guard(x, y, z, start, vek::KnotCheck::On, true);
    ASSERT_TRUE(guard.Active());
    const long long done = GuardedRun(guard, x, y, z, 3000, 0.3);
    ASSERT_TRUE(guard.Stopped());
    ASSERT_GT(guard.PassageBlock(), 0);
    EXPECT_EQ(guard.PassageFirstIteration(), (guard.PassageBlock() - 1) * vek::kRunPeriod);
    EXPECT_EQ(guard.PassedTo().name, "0_1");
    // The run stopped in the passage block; the curve is the one after the
    // block before, still a trefoil.
    EXPECT_EQ(done, guard.PassageFirstIteration());
    EXPECT_EQ(guard.KeptIterations(), guard.PassageFirstIteration());
    EXPECT_EQ(vek::IdentifyCurveKnot(x, y, z).name, "3_1");
    // The check's type was that of the curve that was then set back.
    EXPECT_EQ(guard.CurrentType(), nullptr);
    EXPECT_NE(vek::KnotGuardText(guard).find("block " + std::to_string(guard.PassageBlock())), std::string::npos);

    // The same curve relaxed block by block without the guard's keep: the
    // change is told, the run goes on to the end.
    CDoubleArray x2, y2, z2;
    ReadExampleTrefoil(x2, y2, z2);
    vek::KnotGuard told(x2, y2, z2, start, vek::KnotCheck::On, false);
    // (At precision 0.3 the curve collapses after 300 iterations.)
    EXPECT_EQ(GuardedRun(told, x2, y2, z2, 300, 0.3), 300);
    EXPECT_EQ(told.PassageBlock(), guard.PassageBlock());
    EXPECT_FALSE(told.Stopped());
    ASSERT_NE(told.CurrentType(), nullptr);
    EXPECT_TRUE(vek::SameKnotType(*told.CurrentType(), vek::IdentifyCurveKnot(x2, y2, z2)));
}

TEST(KnotGuard, ATightRunKeepsItsTypeAndOffChecksNothing)
{
    for (const vek::KnotCheck check : {vek::KnotCheck::Auto, vek::KnotCheck::Off}) {
        CDoubleArray x, y, z;
        ReadExampleTrefoil(x, y, z);
        vek::KnotGuard guard(x, y, z, vek::IdentifyCurveKnot(x, y, z), check, true);
        EXPECT_EQ(GuardedRun(guard, x, y, z, 900, 1.0), 900);
        EXPECT_EQ(guard.PassageBlock(), 0);
        EXPECT_FALSE(guard.Stopped());
        EXPECT_EQ(guard.Checks(), check == vek::KnotCheck::Off ? 0 : 30);
        EXPECT_EQ(guard.Active(), check != vek::KnotCheck::Off);
        // The last check saw the final curve; without checks nothing is known.
        EXPECT_EQ(guard.CurrentType() != nullptr, check != vek::KnotCheck::Off);
        if (guard.CurrentType())
            EXPECT_EQ(guard.CurrentType()->alexander, vek::IdentifyCurveKnot(x, y, z).alexander);
    }
}

// A start that could not be identified cannot be compared with: the guard
// stays off rather than calling every later curve a change.
TEST(KnotGuard, AnUnidentifiedStartTurnsTheGuardOff)
{
    CDoubleArray x, y, z;
    ReadExampleTrefoil(x, y, z);
    vek::KnotType none;  // known = false
    vek::KnotGuard guard(x, y, z, none, vek::KnotCheck::On, true);
    EXPECT_FALSE(guard.Active());
    EXPECT_EQ(GuardedRun(guard, x, y, z, 300, 0.3), 300);
    EXPECT_FALSE(guard.Stopped());
    EXPECT_NE(vek::KnotGuardText(guard).find("could not be identified"), std::string::npos);
}

struct GuardArgsCase {
    std::vector<std::string> args;
    bool good;
    int checkKnot;  // -1 unset, 0 off, 1 on
    bool keepKnot;
};

class KnotGuardArguments : public ::testing::TestWithParam<GuardArgsCase> {};

TEST_P(KnotGuardArguments, AreParsedOrRefused)
{
    const GuardArgsCase& c = GetParam();
    vek::RelaxOptions options;
    std::string error;
    ASSERT_EQ(vek::ParseRelaxArguments(c.args, options, error), c.good) << error;
    if (!c.good) {
        EXPECT_FALSE(error.empty());
        return;
    }
    EXPECT_EQ(options.checkKnot ? (*options.checkKnot ? 1 : 0) : -1, c.checkKnot);
    EXPECT_EQ(options.keepKnot, c.keepKnot);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KnotGuardArguments,
    ::testing::Values(GuardArgsCase{{"a.txt"}, true, -1, false},
                      GuardArgsCase{{"a.txt", "--check-knot"}, true, 1, false},
                      GuardArgsCase{{"a.txt", "--no-check-knot"}, true, 0, false},
                      GuardArgsCase{{"a.txt", "--keep-knot"}, true, -1, true},
                      GuardArgsCase{{"a.txt", "--keep-knot", "--check-knot"}, true, 1, true},
                      GuardArgsCase{{"a.txt", "--check-knot", "--no-check-knot"}, false, 0, false},
                      GuardArgsCase{{"a.txt", "--keep-knot", "--no-check-knot"}, false, 0, false},
                      GuardArgsCase{{"a.txt", "--check-knot=yes"}, false, 0, false}));
