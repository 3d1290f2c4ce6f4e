// New vertices along a closed polygon for the ideal-knot optimiser: even
// steps of arc length, and a smooth refinement to more vertices.
#pragma once

#include <vector>

#include "geom/polygon.h"

namespace vek {

// In:  the closed polygon (model units), at least 3 vertices; count >= 3.
// Out: count vertices placed along the same polygon at equal arc-length
//      steps, interleaved (x0, y0, z0, x1, ...), the first one at vertex 0;
//      empty when the polygon has no length or a coordinate is not finite.
std::vector<double> ResampleByArcLength(PolygonView polygon, int count);

// In:  the closed polygon; count > its vertices.
// Out: count vertices on a smooth curve through them (four-point
//      subdivision until there are at least 4 count, then even arc-length
//      steps), so that the turning angles shrink with the edges;
//      interleaved.
std::vector<double> RefinePolygon(PolygonView polygon, int count);

}  // namespace vek
