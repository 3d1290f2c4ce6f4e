// What the desktop program's status bar tells about a curve: which knot it
// is and how tight, the figures vek-relax's summary gives.
#pragma once

#include <string>
#include <vector>

#include "curve/double_array.h"

namespace vek {

struct CurveFigures {
    int points = 0;
    // False for fewer than 3 points or a polygon whose knot cannot be told;
    // knot and candidates are then empty.
    bool knotKnown = false;
    // "0_1", a table name, "NAME*" for a mirror image, or "unknown".
    std::string knot;
    // The names the invariants cannot tell apart (knot is the first); empty
    // when the name is certain.
    std::vector<std::string> candidates;
    double length = 0.0;  // model units
    // length / thickness (the run's nominal tube); 0 without a curve.
    double nominal = 0.0;
    // length / (2 * certified thickness); false when the polygon has no
    // certified thickness (fewer than 3 points, repeated points).
    bool certified = false;
    double certifiedThickness = 0.0;  // a radius, model units
    double ropelength = 0.0;
};

// In:  the closed curve x, y, z; thickness, the nominal tube diameter.
// Out: its figures (see CurveFigures), from the same measures as vek-relax's
//      summary: IdentifyKnot and the certified polygon thickness.
CurveFigures MeasureCurveFigures(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                                 double thickness);

}  // namespace vek
