#include "relax/ideal_starts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "curve/curve_polygon.h"
#include "relax/knot_curve.h"

namespace {

CDoubleArray x, y, z;

vek::KnotCurveResult Make(int rank, std::string& error)
{
    return vek::MakeKnotCurve("3_1", "", x, y, z, error, rank);
}

// From a name, each layout of the diagram is a start of its own, and the
// shortest certified result is kept: the same as the best of the starts
// run one by one, the earlier of equals.
TEST(IdealStarts, TheShortestOfTheLayoutsIsKept)
{
    vek::IdealRunOptions options;
    options.vertices = 48;
    std::vector<double> alone;
    std::vector<std::vector<double>> polygons;
    std::string error;
    for (int rank = 0; rank < vek::kIdealLayoutStarts; ++rank) {
        ASSERT_EQ(Make(rank, error), vek::KnotCurveResult::Made) << error;
        const vek::IdealRun run = vek::RunIdeal(x, y, z, options);
        ASSERT_TRUE(run.ok) << run.error;
        alone.push_back(run.result.ropelength);
        polygons.push_back(run.result.polygon.Coordinates());
    }
    const int best = static_cast<int>(std::min_element(alone.begin(), alone.end()) - alone.begin());
    ASSERT_EQ(Make(0, error), vek::KnotCurveResult::Made) << error;
    const vek::IdealRun run = vek::RunIdealFromLayouts("3_1", "", x, y, z, options);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.starts, vek::kIdealLayoutStarts);
    EXPECT_EQ(run.start, best + 1);
    EXPECT_EQ(run.result.ropelength, alone[best]);
    EXPECT_EQ(run.result.polygon.Coordinates(), polygons[best]);
    EXPECT_EQ(vek::PolygonPoints(CurvePolygon(x, y, z)).Coordinates(), polygons[best]);
    EXPECT_NE(vek::FormatIdealSummary(run).find("starts: " + std::to_string(vek::kIdealLayoutStarts) + " layouts"),
              std::string::npos);
}

// A run that the time limit cuts takes no further start, and says that
// the clock stopped it.
TEST(IdealStarts, ATimeLimitTakesNoFurtherStart)
{
    vek::IdealRunOptions options;
    options.vertices = 48;
    options.timeLimit = 1e-9;
    std::string error;
    ASSERT_EQ(Make(0, error), vek::KnotCurveResult::Made) << error;
    const vek::IdealRun run = vek::RunIdealFromLayouts("3_1", "", x, y, z, options);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.starts, 1);
    EXPECT_EQ(run.result.stoppedBy, vek::IdealStop::Time);
}

// The trefoil's diagram has five faces, so five layouts at the most.
TEST(IdealStarts, ALayoutRankBeyondTheDiagramsIsRefused)
{
    std::string error;
    EXPECT_EQ(Make(4, error), vek::KnotCurveResult::Made) << error;
    EXPECT_EQ(Make(5, error), vek::KnotCurveResult::Failed);
    EXPECT_NE(error.find("layouts"), std::string::npos) << error;
}

}  // namespace
