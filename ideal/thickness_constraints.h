// The thickness constraints of a closed polygon at tube radius r, as the
// constrained gradient descent needs them: every strut (two edges far apart
// along the polygon) at least 2 r long, every vertex with MinRad >= r, each
// with its value and its gradient with respect to the vertices.
#pragma once

#include <vector>

#include "geom/polygon.h"

namespace vek {

struct Constraint {
    // Strut: edges a < b (edge k from vertex k to k + 1 mod n). Curvature:
    // a = the vertex, b = kEdgeBefore or kEdgeAfter: the side of MinRad's
    // minimum that the constraint bounds (each side is smooth, their
    // minimum is not, so both are constraints of their own).
    int a = 0;
    int b = -1;
    // value >= 0 when satisfied: distance - 2 r, or MinRad - r.
    double value = 0.0;
    // The gradient's non-zero entries: vertex index and the three
    // derivatives by its x, y, z (at most four vertices, count used).
    int count = 0;
    int vertex[4] = {0, 0, 0, 0};
    double gradient[4][3] = {};
    bool IsStrut() const { return b >= 0; }
    static constexpr int kEdgeBefore = -1;
    static constexpr int kEdgeAfter = -2;
};

// In:  the n vertices of the closed polygon; radius r > 0;
//      slack >= 0: how far (relative to r) above its bound a constraint may
//      lie and still be listed.
// Out: the struts (a local minimum of the distance for every close pair
//      of strands, edges at least pi r apart along the
//      polygon) closer than 2 r (1 + slack), and each side of a vertex's
//      MinRad (CornerEdgeRad) below r (1 + slack), each with value and
//      gradient.
std::vector<Constraint> NearActiveConstraints(PolygonView polygon, double radius, double slack);

}  // namespace vek
