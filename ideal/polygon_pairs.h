// The strut candidates of the ideal-knot optimiser: edge pairs of a closed
// polygon that are far apart along it but close in space.
#pragma once

#include <vector>

#include "geom/polygon.h"

namespace vek {

struct EdgePair {
    int a = 0;
    int b = 0;
    double distance = 0.0;
};

// In:  the closed polygon (n vertices); minGap: the fewest edges between
//      the two edges of a pair, counted the shorter way round (pairs closer
//      along the polygon are local, not struts); maxDistance: model units.
// Out: every edge pair a < b (edge k from vertex k to k + 1 mod n) at least
//      minGap apart along the polygon whose segments come closer than
//      maxDistance (ClosestSegmentPoints), with that distance, ordered by a
//      and then b; none for fewer than 4 vertices, a coordinate that is not
//      finite or a maxDistance that is not a positive number. A query on
//      the polygon's segment tree, close to n log n.
std::vector<EdgePair> CloseEdgePairs(PolygonView polygon, int minGap, double maxDistance);

// In:  pairs from CloseEdgePairs of a polygon of n vertices.
// Out: the pairs that are a local minimum of the distance over one of
//      their edges with the other held: one or two per contact of two
//      strands instead of every close pair, which keeps the solver's
//      systems small and their constraints independent.
std::vector<EdgePair> StrutCandidates(const std::vector<EdgePair>& pairs, int n);

// The number of edges between arc length pi * radius and the edge length
// `edge`: the smallest gap CloseEdgePairs should use for tube radius radius.
int LocalGap(double radius, double edge);

}  // namespace vek
