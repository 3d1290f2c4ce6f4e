// The crossings of a closed polygon's projection along a direction, read
// off as the Gauss code of the diagram: the crossings in the order the curve
// passes them, each passage over or under.
#pragma once

#include <vector>

#include "geom/polygon.h"

namespace vek {

struct GaussPassage {
    int crossing = 0;
    bool over = false;
};

struct GaussCode {
    // Two passages per crossing, in the order of the curve.
    std::vector<GaussPassage> passages;
    // Per crossing: +1 or -1, the handedness of the two strands (one fixed
    // convention for all crossings).
    std::vector<int> sign;
};

// In:  the n vertices of the closed polygon, no two consecutive vertices
//      equal; dir: the projection direction (need not be unit).
// Out: true with the diagram's Gauss code in `code`, or false when the
//      projection is too close to degenerate to trust: a vertex lying (to
//      within a tiny fraction of the curve's size) on another edge's
//      projection, two edges projected onto one line, or two strands at
//      nearly the same height where they cross. Time close to n log n.
bool ProjectCrossings(PolygonView polygon, const double dir[3], GaussCode& code);

}  // namespace vek
