// Fewer vertices, the same knot: a closed polygon reduced by triangle moves
// before its knot type is computed. A vertex b between its neighbours a and
// c is dropped when the triangle a b c meets no other edge of the polygon,
// and the two edges that go on from a and c only at a and c. The curve then
// slides across the triangle onto the chord a c: an isotopy, so the knot
// type, chirality included, is kept exactly. A noisy curve of thousands of
// points shrinks to a few dozen, and its projections lose the small
// crossings that would bury the knot's own.
//
// Every test that a rounding could decide wrongly counts as blocked: no
// other edge may come within 1e-9 of the polygon's size of the triangle
// (within the triangle's inradius more where it is too thin for its plane
// to be trusted), and an edge at a or c is blocked when its direction lies
// within 1e-8 of the triangle's corner.
#pragma once

#include "geom/polygon.h"

namespace vek {

// In:  the n vertices of a closed polygon (model units; coordinates finite,
//      no two consecutive vertices equal).
// Out: the vertices kept, in their order: a subsequence of the input, all
//      of it when n < 4 or when no vertex can be dropped, otherwise at
//      least 3. The work is bounded (about 256 edge tests per vertex), so
//      a curve that would take more keeps more vertices. The same input
//      gives the same output.
PolygonPoints SimplifyPolygon(PolygonView polygon);

}  // namespace vek
