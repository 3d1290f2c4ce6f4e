#include "geom/polygon_measures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vek {

double PolygonLength(PolygonView polygon)
{
    const int n = polygon.Size();
    if (n < 2)
        return 0.0;
    double length = 0.0;
    for (int k = 0; k < n; ++k)
        length += EdgeLength(polygon, k);
    return length;
}

std::vector<double> PolygonLengthGradient(PolygonView polygon)
{
    const int n = polygon.Size();
    std::vector<double> g(3 * static_cast<size_t>(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const int j = polygon.Next(i);
        const Vec3 e = polygon.Edge(i);
        const double length = Length(e);
        if (!(length > 0.0))
            continue;
        const Vec3 unit = e / length;
        const double u[3] = {unit.x, unit.y, unit.z};
        for (int k = 0; k < 3; ++k) {
            g[3 * j + k] += u[k];
            g[3 * i + k] -= u[k];
        }
    }
    return g;
}

double CornerEdgeRad(Vec3 p0, Vec3 p1, Vec3 p2, CornerEdge edge)
{
    const Vec3 a = p1 - p0, b = p2 - p1;
    const double la = std::hypot(a.x, a.y, a.z), lb = std::hypot(b.x, b.y, b.z);
    const Vec3 c = Cross(a, b);
    const double cross = std::hypot(c.x, c.y, c.z);
    const double dot = Dot(a, b);
    if (!(la > 0.0) || !(lb > 0.0))
        return 0.0;
    if (cross == 0.0)
        return dot > 0.0 ? std::numeric_limits<double>::infinity() : 0.0;
    const double side = edge == CornerEdge::Before ? la : lb;
    // tan(theta / 2) = |a x b| / (|a| |b| + a . b) = (|a| |b| - a . b) / |a x b|:
    // the first where the corner turns by less than a right angle, the
    // second beyond it, so that neither sum cancels.
    if (dot >= 0.0)
        return side * (la * lb + dot) / (2.0 * cross);
    return side * cross / (2.0 * (la * lb - dot));
}

double CornerMinRad(Vec3 p0, Vec3 p1, Vec3 p2)
{
    return std::min(CornerEdgeRad(p0, p1, p2, CornerEdge::Before), CornerEdgeRad(p0, p1, p2, CornerEdge::After));
}

double VertexMinRad(PolygonView polygon, int i)
{
    return CornerMinRad(polygon.Point(polygon.Prev(i)), polygon.Point(i), polygon.Point(polygon.Next(i)));
}

double MinRadius(PolygonView polygon)
{
    double smallest = std::numeric_limits<double>::infinity();
    for (int i = 0; i < polygon.Size(); ++i)
        smallest = std::min(smallest, VertexMinRad(polygon, i));
    return smallest;
}

int CountMinRadBelow(PolygonView polygon, double bound)
{
    int count = 0;
    for (int i = 0; i < polygon.Size(); ++i)
        count += VertexMinRad(polygon, i) <= bound ? 1 : 0;
    return count;
}

}  // namespace vek
