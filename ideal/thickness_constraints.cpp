#include "ideal/thickness_constraints.h"

#include <cmath>
#include <limits>

#include "geom/polygon_measures.h"
#include "geom/segment_pair.h"
#include "ideal/polygon_pairs.h"

namespace vek {

namespace {

Constraint StrutConstraint(PolygonView polygon, int a, int b, double radius)
{
    const int a1 = polygon.Next(a), b1 = polygon.Next(b);
    const Vec3 pa0 = polygon.Point(a), pa1 = polygon.Point(a1);
    const Vec3 pb0 = polygon.Point(b), pb1 = polygon.Point(b1);
    const SegmentPair pair = ClosestSegmentPoints(pa0, pa1, pb0, pb1);
    Constraint c;
    c.a = a;
    c.b = b;
    const double distance = std::sqrt(pair.squared);
    c.value = distance - 2.0 * radius;
    const Vec3 p = pa0 + pair.s * (pa1 - pa0);
    const Vec3 q = pb0 + pair.t * (pb1 - pb0);
    const Vec3 u = distance > 0.0 ? (p - q) / distance : Vec3{0.0, 0.0, 0.0};
    const int vertex[4] = {a, a1, b, b1};
    const double weight[4] = {1.0 - pair.s, pair.s, -(1.0 - pair.t), -pair.t};
    c.count = 4;
    for (int v = 0; v < 4; ++v) {
        c.vertex[v] = vertex[v];
        c.gradient[v][0] = weight[v] * u.x;
        c.gradient[v][1] = weight[v] * u.y;
        c.gradient[v][2] = weight[v] * u.z;
    }
    return c;
}

// Central differences over the nine coordinates of one side of MinRad at
// vertex i, a smooth function where it is finite.
Constraint CurvatureConstraint(PolygonView polygon, int i, CornerEdge edge, double value, double radius)
{
    const int vertex[3] = {polygon.Prev(i), i, polygon.Next(i)};
    double corner[9];
    for (int v = 0; v < 3; ++v) {
        corner[3 * v] = polygon.X(vertex[v]);
        corner[3 * v + 1] = polygon.Y(vertex[v]);
        corner[3 * v + 2] = polygon.Z(vertex[v]);
    }
    const auto point = [&corner](int v) { return Vec3{corner[3 * v], corner[3 * v + 1], corner[3 * v + 2]}; };
    const double h = 1e-6 * Length(point(1) - point(0));
    Constraint c;
    c.a = i;
    c.b = edge == CornerEdge::Before ? Constraint::kEdgeBefore : Constraint::kEdgeAfter;
    c.value = value - radius;
    c.count = 3;
    for (int v = 0; v < 3; ++v) {
        c.vertex[v] = vertex[v];
        for (int k = 0; k < 3; ++k) {
            double& coordinate = corner[3 * v + k];
            const double kept = coordinate;
            coordinate = kept + h;
            const double up = CornerEdgeRad(point(0), point(1), point(2), edge);
            coordinate = kept - h;
            const double down = CornerEdgeRad(point(0), point(1), point(2), edge);
            coordinate = kept;
            const double slope = (up - down) / (2.0 * h);
            c.gradient[v][k] = std::isfinite(slope) ? slope : 0.0;
        }
    }
    return c;
}

}  // namespace

std::vector<Constraint> NearActiveConstraints(PolygonView polygon, double radius, double slack)
{
    const int n = polygon.Size();
    std::vector<Constraint> constraints;
    if (n < 4)
        return constraints;
    const int gap = LocalGap(radius, PolygonLength(polygon) / n);
    const std::vector<EdgePair> close = CloseEdgePairs(polygon, gap, 2.0 * radius * (1.0 + slack));
    for (const EdgePair& pair : StrutCandidates(close, n))
        constraints.push_back(StrutConstraint(polygon, pair.a, pair.b, radius));
    for (int i = 0; i < n; ++i) {
        const Vec3 p0 = polygon.Point(polygon.Prev(i)), p1 = polygon.Point(i), p2 = polygon.Point(polygon.Next(i));
        for (const CornerEdge edge : {CornerEdge::Before, CornerEdge::After}) {
            const double value = CornerEdgeRad(p0, p1, p2, edge);
            if (value < radius * (1.0 + slack))
                constraints.push_back(CurvatureConstraint(polygon, i, edge, value, radius));
        }
    }
    return constraints;
}

}  // namespace vek
