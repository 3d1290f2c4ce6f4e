// The curve of vek-relax --knot NAME or --pd CODE: a closed polygon of that
// knot, laid out from its diagram at the clearance the relaxation needs.
#pragma once

#include <string>

#include "curve/double_array.h"

namespace vek {

enum class KnotCurveResult { Made, BadArgument, Failed };

// In:  knot, a name of the table ("8_19", "8_19*" for the mirror image),
//      or, when knot is empty, pd, a planar diagram code.
//      layoutRank: which layout of the diagram (KnotLayoutOptions::
//      outerRank; 0, the best, for the curve the user asks for).
// Out: Made with the curve in x, y, z; BadArgument (a name not in the table,
//      a code that is not one closed oriented planar component) or Failed
//      (no layout, or none of that rank) with a message in error.
KnotCurveResult MakeKnotCurve(const std::string& knot, const std::string& pd, CDoubleArray& x, CDoubleArray& y,
                              CDoubleArray& z, std::string& error, int layoutRank = 0);

}  // namespace vek
