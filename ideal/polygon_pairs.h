// Closed-polygon helpers of the ideal-knot optimiser: even resampling by
// arc length and the search for edge pairs that are far apart along the
// polygon but close in space (the strut candidates).
#pragma once

#include <vector>

namespace vek {

// In:  x, y, z: the closed polygon's vertices (model units), at least 3;
//      count >= 3.
// Out: count vertices placed along the same polygon at equal arc-length
//      steps, interleaved (x0, y0, z0, x1, ...), the first one at vertex 0;
//      empty when the polygon has no length or a coordinate is not finite.
std::vector<double> ResampleByArcLength(const std::vector<double>& x, const std::vector<double>& y,
                                        const std::vector<double>& z, int count);

struct EdgePair {
    int a = 0;
    int b = 0;
    double distance = 0.0;
};

// In:  points: n interleaved vertices of a closed polygon; minGap: the
//      fewest edges between the two edges of a pair, counted the shorter way
//      round (pairs closer along the polygon are local, not struts);
//      maxDistance: model units.
// Out: every edge pair a < b (edge k from vertex k to k + 1 mod n) at least
//      minGap apart along the polygon whose segments come closer than
//      maxDistance, with that distance. A uniform grid of the edges keeps
//      this near linear in n.
std::vector<EdgePair> CloseEdgePairs(const std::vector<double>& points, int minGap, double maxDistance);

// In:  pairs from CloseEdgePairs of a polygon of n vertices.
// Out: the pairs that are, or are next to, a local minimum of the distance
//      over one of their edges with the other held: one small cluster per
//      contact of two strands instead of every close pair, which keeps the
//      solver's systems sparse.
std::vector<EdgePair> StrutCandidates(const std::vector<EdgePair>& pairs, int n);

// The number of edges between arc length pi * radius and the edge length
// `edge`: the smallest gap CloseEdgePairs should use for tube radius radius.
int LocalGap(double radius, double edge);

}  // namespace vek
