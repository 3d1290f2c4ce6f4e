#include "ideal/thickness_constraints.h"

#include <cmath>
#include <limits>

#include "ideal/polygon_measures.h"
#include "ideal/polygon_pairs.h"
#include "ideal/segment_distance.h"

namespace vek {

namespace {

Constraint StrutConstraint(const std::vector<double>& points, int n, int a, int b, double radius)
{
    const int a1 = (a + 1) % n, b1 = (b + 1) % n;
    const double* pa0 = &points[3 * a];
    const double* pa1 = &points[3 * a1];
    const double* pb0 = &points[3 * b];
    const double* pb1 = &points[3 * b1];
    const SegmentPair pair = ClosestSegmentPoints(pa0, pa1, pb0, pb1);
    Constraint c;
    c.a = a;
    c.b = b;
    const double distance = std::sqrt(pair.squared);
    c.value = distance - 2.0 * radius;
    double u[3];
    for (int k = 0; k < 3; ++k) {
        const double p = pa0[k] + pair.s * (pa1[k] - pa0[k]);
        const double q = pb0[k] + pair.t * (pb1[k] - pb0[k]);
        u[k] = distance > 0.0 ? (p - q) / distance : 0.0;
    }
    const int vertex[4] = {a, a1, b, b1};
    const double weight[4] = {1.0 - pair.s, pair.s, -(1.0 - pair.t), -pair.t};
    c.count = 4;
    for (int v = 0; v < 4; ++v) {
        c.vertex[v] = vertex[v];
        for (int k = 0; k < 3; ++k)
            c.gradient[v][k] = weight[v] * u[k];
    }
    return c;
}

// Central differences over the nine coordinates of one side of MinRad at
// vertex i, a smooth function where it is finite.
Constraint CurvatureConstraint(const std::vector<double>& points, int n, int i, CornerEdge edge, double value,
                               double radius)
{
    const int vertex[3] = {(i + n - 1) % n, i, (i + 1) % n};
    double corner[9];
    for (int v = 0; v < 3; ++v)
        for (int k = 0; k < 3; ++k)
            corner[3 * v + k] = points[3 * vertex[v] + k];
    const double length = std::hypot(corner[3] - corner[0], corner[4] - corner[1], corner[5] - corner[2]);
    const double h = 1e-6 * length;
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
            const double up = CornerEdgeRad(corner, corner + 3, corner + 6, edge);
            coordinate = kept - h;
            const double down = CornerEdgeRad(corner, corner + 3, corner + 6, edge);
            coordinate = kept;
            const double slope = (up - down) / (2.0 * h);
            c.gradient[v][k] = std::isfinite(slope) ? slope : 0.0;
        }
    }
    return c;
}

}  // namespace

std::vector<Constraint> NearActiveConstraints(const std::vector<double>& points, double radius, double slack)
{
    const int n = static_cast<int>(points.size() / 3);
    std::vector<Constraint> constraints;
    if (n < 4)
        return constraints;
    const int gap = LocalGap(radius, PolygonLength(points) / n);
    const std::vector<EdgePair> close = CloseEdgePairs(points, gap, 2.0 * radius * (1.0 + slack));
    for (const EdgePair& pair : StrutCandidates(close, n))
        constraints.push_back(StrutConstraint(points, n, pair.a, pair.b, radius));
    for (int i = 0; i < n; ++i) {
        const double* p0 = &points[3 * ((i + n - 1) % n)];
        const double* p1 = &points[3 * i];
        const double* p2 = &points[3 * ((i + 1) % n)];
        for (const CornerEdge edge : {CornerEdge::Before, CornerEdge::After}) {
            const double value = CornerEdgeRad(p0, p1, p2, edge);
            if (value < radius * (1.0 + slack))
                constraints.push_back(CurvatureConstraint(points, n, i, edge, value, radius));
        }
    }
    return constraints;
}

}  // namespace vek
