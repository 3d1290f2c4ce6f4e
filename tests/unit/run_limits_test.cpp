#include "curve/run_limits.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "curve/constants.h"
#include "test_support.h"

namespace {

struct LimitCase {
    const char* name;
    std::vector<Point> points;
    double precision;
    RunMoment moment;
    RunLimit limit;
};

class GuardedRunLimitTable : public ::testing::TestWithParam<LimitCase> {};

TEST_P(GuardedRunLimitTable, NamesTheLimitBroken)
{
    const LimitCase& c = GetParam();
    CDoubleArray x, y, z;
    SetArrays(x, y, z, c.points);
    EXPECT_EQ(GuardedRunLimit(x, y, z, vek::kThickness, c.precision, c.moment), c.limit) << c.name;
}

// A square of side 0.1 (length 0.4): 53 points at precision 1, 26 at the
// guarded limit 0.5; about 909,091 points at precision 17,045.5 is where the
// growth margin begins (x 1.1 = 1,000,000).
const std::vector<Point> kSquare{{0, 0, 0}, {0.1, 0, 0}, {0.1, 0.1, 0}, {0, 0.1, 0}};
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Table, GuardedRunLimitTable,
    ::testing::Values(
        LimitCase{"square at 1", kSquare, 1.0, RunMoment::Start, RunLimit::None},
        LimitCase{"square at the guarded limit", kSquare, 0.5, RunMoment::Start, RunLimit::None},
        LimitCase{"square just below it", kSquare, 0.4999, RunMoment::Start, RunLimit::TooCoarse},
        LimitCase{"below it at a resampling", kSquare, 0.3, RunMoment::Resample, RunLimit::TooCoarse},
        LimitCase{"zero", kSquare, 0.0, RunMoment::Start, RunLimit::TooCoarse},
        LimitCase{"not a number", kSquare, kNaN, RunMoment::Resample, RunLimit::TooCoarse},
        LimitCase{"no points", {}, 1.0, RunMoment::Start, RunLimit::NoCurve},
        LimitCase{"no points at a resampling", {}, 1.0, RunMoment::Resample, RunLimit::None},
        LimitCase{"one point", {{0.2, 0.1, 0}}, 1.0, RunMoment::Start, RunLimit::NoCurve},
        LimitCase{"shorter than a spacing", {{0, 0, 0}, {0.001, 0, 0}}, 1.0, RunMoment::Start, RunLimit::NoCurve},
        LimitCase{"within the margin", kSquare, 17000.0, RunMoment::Start, RunLimit::None},
        LimitCase{"past the margin", kSquare, 17100.0, RunMoment::Start, RunLimit::TooManyPoints},
        LimitCase{"past the margin, not yet the limit, running", kSquare, 17100.0, RunMoment::Resample,
                  RunLimit::None},
        LimitCase{"past the limit, running", kSquare, 19000.0, RunMoment::Resample, RunLimit::TooManyPoints},
        LimitCase{"collapsing", {{0, 0, 0}, {0.005, 0, 0}, {0.005, 0.005, 0}, {0, 0.005, 0}}, 1.0,
                  RunMoment::Resample, RunLimit::TooFewPoints}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
