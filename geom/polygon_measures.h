// The measures of a closed polygon that every part of the program takes
// from here: edge and polygon lengths and MinRad, the curvature bound of a
// polygon's thickness.
#pragma once

#include <vector>

#include "geom/polygon.h"
#include "geom/vec3.h"

namespace vek {

// |P[k + 1 mod n] - P[k]| as sqrt(dx*dx + dy*dy + dz*dz), the differences
// taken as next minus this: the one expression of an edge length, so that
// the relaxation, its window walks and the measures round alike.
inline double EdgeLength(PolygonView polygon, int k)
{
    return Length(polygon.Edge(k));
}

// The sum of the edge lengths in index order, the closing edge last; 0 for
// fewer than 2 vertices.
double PolygonLength(PolygonView polygon);

// The gradient of PolygonLength by the vertices: 3 n values, interleaved
// (x0, y0, z0, x1, ...); vertex i gets the unit vector of the edge into it
// minus that of the edge out of it. An edge of length 0 adds nothing.
std::vector<double> PolygonLengthGradient(PolygonView polygon);

// MinRad at the corner p1 between the edges a = p1 - p0 and b = p2 - p1:
// min(|a|, |b|) / (2 tan(theta / 2)), theta the turning angle, with
// tan(theta / 2) from |a x b| and a . b (no arc tangent), to the last few
// roundings at every angle. +infinity where the polygon does not turn, 0
// where it turns back on itself or an edge has no length.
double CornerMinRad(Vec3 p0, Vec3 p1, Vec3 p2);

// One side of that minimum: |a| / (2 tan(theta / 2)) for the edge before
// the corner, |b| / (2 tan(theta / 2)) for the edge after it. Each side is
// smooth where it is finite; MinRad is not where the two edges have equal
// length.
enum class CornerEdge { Before, After };
double CornerEdgeRad(Vec3 p0, Vec3 p1, Vec3 p2, CornerEdge edge);

// CornerMinRad at vertex i of the closed polygon (n >= 3).
double VertexMinRad(PolygonView polygon, int i);

// The smallest VertexMinRad (+infinity for no vertices), and how many
// vertices have one at most `bound`.
double MinRadius(PolygonView polygon);
int CountMinRadBelow(PolygonView polygon, double bound);

}  // namespace vek
