// Which knot a closed polygon is: invariants computed exactly from the
// crossings of a generic projection with few crossings, and the name from
// the built-in table of the unknot and the prime knots through 12 crossings
// (knot/knot_table.h) by the HOMFLY-PT polynomial.
#pragma once

#include <string>
#include <vector>

#include "geom/polygon.h"
#include "knot/laurent.h"

namespace vek {

struct KnotType {
    // False when no usable projection was found (degenerate polygon,
    // non-finite coordinates, fewer than 3 vertices): nothing else is set.
    bool known = false;
    // "0_1", a table name such as "8_19", the mirror image "8_19*", or
    // "unknown" (no knot of the table has the polynomial: beyond 12
    // crossings, or composite). A knot whose diagram stays too large to
    // evaluate after reduction is "unknown" with an empty alexander (and
    // determinant 0) and no homfly. When the polynomial is shared by several
    // names of the table, name is the first of candidates.
    std::string name;
    // Alexander polynomial, normalised: symmetric, positive leading
    // coefficient, lowest degree first.
    std::vector<long long> alexander;
    // |Delta(-1)|.
    long long determinant = 0;
    // Second Vassiliev invariant: the z^2 coefficient of the Conway
    // polynomial.
    long long v2 = 0;
    // Crossings of the projection used (of the polygon after
    // SimplifyPolygon, knot/simplify_polygon.h, where the polygon itself
    // gave no diagram small enough for the HOMFLY-PT polynomial).
    long long crossings = 0;
    // Crossings left after removing those that Reidemeister moves I and II
    // remove.
    long long reducedCrossings = 0;
    // The names the invariants cannot tell apart; empty when name is
    // certain.
    std::vector<std::string> candidates;
    // The HOMFLY-PT polynomial (knot/homfly.h's convention); homflyKnown
    // false when the diagram was too large for it.
    bool homflyKnown = false;
    Laurent2 homfly;
};

// In:  the n vertices of the closed polygon (model units).
// Out: its knot type (see KnotType).
KnotType IdentifyKnot(PolygonView polygon);

// Two polygons have the same knot type when both are known and their
// invariants agree (names alone do not tell unknown knots apart): the
// Alexander polynomial, determinant and v2, and the HOMFLY-PT polynomial
// when both have it; false when either Alexander polynomial could not be
// evaluated.
bool SameKnotType(const KnotType& a, const KnotType& b);

}  // namespace vek
