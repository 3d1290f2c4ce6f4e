#include "relax/knot_curve.h"

#include <vector>

#include "curve/constants.h"
#include "knot/knot_layout.h"
#include "knot/knot_table.h"
#include "knot/pd_code.h"

namespace vek {

KnotCurveResult MakeKnotCurve(const std::string& knot, const std::string& pd, CDoubleArray& x, CDoubleArray& y,
                              CDoubleArray& z, std::string& error, int layoutRank)
{
    PdCode code;
    if (!knot.empty()) {
        if (!KnotPdByName(knot, code, error)) {
            error = "--knot: " + error;
            return KnotCurveResult::BadArgument;
        }
    } else if (!ParsePdCode(pd, code, error)) {
        error = "--pd: " + error;
        return KnotCurveResult::BadArgument;
    }
    // Strands that are not neighbours along the curve a little more than
    // one thickness apart; points at twice the resampling spacing.
    KnotLayoutOptions layout;
    layout.clearance = 1.2 * kThickness;
    layout.spacing = 2.0 * kSpacingFactor * kThickness;
    layout.outerRank = layoutRank;
    std::vector<double> px, py, pz;
    if (!LayOutKnot(code, layout, px, py, pz, error)) {
        error = (knot.empty() ? "--pd: " : "--knot " + knot + ": ") + error;
        return KnotCurveResult::Failed;
    }
    x.SetSize(0);
    y.SetSize(0);
    z.SetSize(0);
    for (size_t k = 0; k < px.size(); ++k) {
        x.Add(px[k]);
        y.Add(py[k]);
        z.Add(pz[k]);
    }
    return KnotCurveResult::Made;
}

}  // namespace vek
