// The signature of a knot from a planar diagram, by the Goeritz matrix of a
// checkerboard colouring and the correction of Gordon and Litherland:
// sigma = sign(G) - mu, mu the sum of eta(c) over the crossings where the
// oriented smoothing joins the two shaded corners. Positive knots have
// negative signature in this convention (the positive trefoil: -2); the
// mirror image has the opposite one.
#pragma once

#include "knot/link_diagram.h"
#include "knot/pd_code.h"

namespace vek {

// The planar diagram code of a one-component diagram (the signs give the
// counterclockwise order at each crossing).
PdCode DiagramToPd(const LinkDiagram& diagram);

// In:  a planar diagram code of a knot (ParsePdCode's checks passed).
// Out: true with the signature, or false when the matrix is too large or
//      too close to singular to trust.
bool KnotSignature(const PdCode& code, int& signature);

}  // namespace vek
