// Which knot a closed polygon is: invariants computed exactly from the
// crossings of a generic projection, and the name from the table of the
// unknot and the prime knots up to seven crossings.
#pragma once

#include <string>
#include <vector>

#include "geom/polygon.h"

namespace vek {

struct KnotType {
    // False when no usable projection was found (degenerate polygon,
    // non-finite coordinates, fewer than 3 vertices): nothing else is set.
    bool known = false;
    // "0_1", "3_1", ..., "7_7", or "unknown". A knot whose diagram stays too
    // large to evaluate after reduction is "unknown" with an empty
    // alexander (and determinant 0).
    std::string name;
    // Alexander polynomial, normalised: symmetric, positive leading
    // coefficient, lowest degree first.
    std::vector<long long> alexander;
    // |Delta(-1)|.
    long long determinant = 0;
    // Second Vassiliev invariant: the z^2 coefficient of the Conway
    // polynomial.
    long long v2 = 0;
    // Crossings of the projection used.
    long long crossings = 0;
    // Crossings left after removing those that Reidemeister moves I and II
    // remove.
    long long reducedCrossings = 0;
};

// In:  the n vertices of the closed polygon (model units).
// Out: its knot type (see KnotType).
KnotType IdentifyKnot(PolygonView polygon);

// Two polygons have the same knot type when both are known and their
// invariants agree (names alone do not tell unknown knots apart); false
// when either polynomial could not be evaluated.
bool SameKnotType(const KnotType& a, const KnotType& b);

}  // namespace vek
