// Certified thickness of a closed polygon: the radius of the largest tube
// around it that does not pass through itself (the polygonal thickness of
// knot theory), and the figures derived from it.
#pragma once

#include "geom/polygon.h"

namespace vek {

struct PolygonThickness {
    // Delta = min(minRad, dcsd / 2), model units; 0 for a degenerate polygon
    // (fewer than 4 vertices, a zero-length edge, a turning angle of pi,
    // non-finite coordinates).
    double thickness = 0.0;
    // Smallest min(|e_{i-1}|, |e_i|) / (2 tan(theta_i / 2)) over the
    // vertices i (CornerMinRad); +infinity for a polygon with no turning at
    // all.
    double minRad = 0.0;
    int minRadVertex = -1;
    // Smallest doubly-critical distance between two non-adjacent edges;
    // +infinity when there is none.
    double dcsd = 0.0;
    // The edges (edge k runs from vertex k to vertex k + 1 mod n) that give
    // dcsd; -1 when there is none.
    int dcsdEdgeA = -1;
    int dcsdEdgeB = -1;
};

// How far the doubly-critical search goes: the whole dcsd, or only as far
// as the thickness needs (below 2 minRad; beyond that dcsd stays
// +infinity, its edges -1, and the thickness is minRad all the same).
enum class DcsdSearch { Full, ThicknessOnly };

// In:  the n vertices of the closed polygon (model units), no repeated
//      closing vertex; search: see DcsdSearch.
// Out: its certified thickness; see PolygonThickness.
PolygonThickness ComputePolygonThickness(PolygonView polygon, DcsdSearch search = DcsdSearch::Full);

// length / (2 * thickness): the certified ropelength; +infinity when the
// thickness is 0.
double CertifiedRopelength(double length, double thickness);

}  // namespace vek
