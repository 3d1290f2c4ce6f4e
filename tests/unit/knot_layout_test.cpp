#include "knot/knot_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "knot/knot_table.h"
#include "knot/knot_type.h"
#include "relax/knot_curve.h"
#include "relax/relax_options.h"
#include "relax/relax_report.h"

namespace {

// A curve made from a name is that knot, with its chirality, with strands
// apart; names whose polynomial is shared come back among the candidates.
// The layout is spread so that no curve needs to be scaled up far for its
// strands to be apart: a few hundred points, also for 10_17, whose long
// twist regions the barycentric layout crowded into a corner. 12a_579's
// spread layout has crossings whose arcs leave at a reflex angle, which
// once made it come out as its mirror image.
TEST(KnotLayout, CurvesFromNamesAreIdentifiedAsThatKnot)
{
    for (const std::string name : {"0_1", "3_1", "3_1*", "4_1", "8_19*", "9_42*", "10_132", "11n_34", "12a_1",
                                   "12n_888*", "10_17", "12a_579", "12a_579*"}) {
        SCOPED_TRACE(name);
        vek::PdCode code;
        std::string error;
        ASSERT_TRUE(vek::KnotPdByName(name, code, error)) << error;
        std::vector<double> x, y, z;
        vek::KnotLayoutOptions options;
        ASSERT_TRUE(vek::LayOutKnot(code, options, x, y, z, error)) << error;
        EXPECT_GT(x.size(), 50u);
        EXPECT_LT(x.size(), 1000u);
        const vek::KnotType type = vek::IdentifyKnot(vek::PolygonView(x, y, z));
        if (type.candidates.empty())
            EXPECT_EQ(type.name, name);
        else
            EXPECT_NE(std::find(type.candidates.begin(), type.candidates.end(), name), type.candidates.end());
        // Consecutive points at the spacing asked.
        for (size_t k = 0; k + 1 < x.size(); ++k)
            ASSERT_LT(std::hypot(x[k + 1] - x[k], y[k + 1] - y[k], z[k + 1] - z[k]), 1.01 * options.spacing);
    }
}

TEST(KnotLayout, NamesAndCodesThatAreRefused)
{
    struct Case {
        const char* knot;
        const char* pd;
        vek::KnotCurveResult result;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"13a_1", "", vek::KnotCurveResult::BadArgument, "unknown knot name"},
        {"3_1**", "", vek::KnotCurveResult::BadArgument, "unknown knot name"},
        {"", "[[1,3,2,4],[3,1,4,2]]", vek::KnotCurveResult::BadArgument, "not one closed oriented component"},
        {"", "3_1", vek::KnotCurveResult::BadArgument, "not a diagram code"},
        {"", "[[1,5,2,4],[3,1,4,6],[5,3,6,2]]", vek::KnotCurveResult::Made, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.knot) + c.pd);
        vek::RelaxOptions options;
        options.knot = c.knot;
        options.pd = c.pd;
        CDoubleArray x, y, z;
        std::string error;
        EXPECT_EQ(vek::MakeKnotCurve(options.knot, options.pd, x, y, z, error), c.result);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        if (c.result == vek::KnotCurveResult::Made) {
            EXPECT_EQ(vek::IdentifyCurveKnot(x, y, z).name, "3_1");
        }
    }
}

}  // namespace
