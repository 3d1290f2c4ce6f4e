#include "ideal/polygon_measures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vek {

std::vector<double> Interleave(const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<double>& z)
{
    std::vector<double> points;
    points.reserve(3 * x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        points.push_back(x[i]);
        points.push_back(y[i]);
        points.push_back(z[i]);
    }
    return points;
}

Coordinates SplitCoordinates(const std::vector<double>& points)
{
    Coordinates c;
    const size_t n = points.size() / 3;
    c.x.resize(n);
    c.y.resize(n);
    c.z.resize(n);
    for (size_t i = 0; i < n; ++i) {
        c.x[i] = points[3 * i];
        c.y[i] = points[3 * i + 1];
        c.z[i] = points[3 * i + 2];
    }
    return c;
}

double PolygonLength(const std::vector<double>& points)
{
    const size_t n = points.size() / 3;
    double length = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        length += std::hypot(points[3 * j] - points[3 * i], points[3 * j + 1] - points[3 * i + 1],
                             points[3 * j + 2] - points[3 * i + 2]);
    }
    return length;
}

double CornerEdgeRad(const double* p0, const double* p1, const double* p2, CornerEdge edge)
{
    double a[3], b[3];
    for (int k = 0; k < 3; ++k) {
        a[k] = p1[k] - p0[k];
        b[k] = p2[k] - p1[k];
    }
    const double la = std::hypot(a[0], a[1], a[2]), lb = std::hypot(b[0], b[1], b[2]);
    const double cross = std::hypot(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
    const double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    if (!(la > 0.0) || !(lb > 0.0))
        return 0.0;
    if (cross == 0.0)
        return dot > 0.0 ? std::numeric_limits<double>::infinity() : 0.0;
    // tan(theta / 2) = |a x b| / (|a| |b| + a . b), stable for small angles.
    return (edge == CornerEdge::Before ? la : lb) * (la * lb + dot) / (2.0 * cross);
}

double CornerMinRad(const double* p0, const double* p1, const double* p2)
{
    return std::min(CornerEdgeRad(p0, p1, p2, CornerEdge::Before), CornerEdgeRad(p0, p1, p2, CornerEdge::After));
}

double VertexMinRad(const std::vector<double>& points, int i)
{
    const int n = static_cast<int>(points.size() / 3);
    return CornerMinRad(&points[3 * ((i + n - 1) % n)], &points[3 * i], &points[3 * ((i + 1) % n)]);
}

double MinRadius(const std::vector<double>& points)
{
    const int n = static_cast<int>(points.size() / 3);
    double smallest = std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i)
        smallest = std::min(smallest, VertexMinRad(points, i));
    return smallest;
}

int CountMinRadBelow(const std::vector<double>& points, double bound)
{
    const int n = static_cast<int>(points.size() / 3);
    int count = 0;
    for (int i = 0; i < n; ++i)
        count += VertexMinRad(points, i) <= bound ? 1 : 0;
    return count;
}

}  // namespace vek
