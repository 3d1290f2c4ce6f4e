// Closed polygons of known knot type for the knot tests and benchmarks:
// torus knots, the figure-eight knot, connected sums, and rigid motions.
#pragma once

#include <cmath>
#include <span>
#include <vector>

#include "geom/polygon.h"

namespace knotcurves {

constexpr double kPi = 3.14159265358979323846;

struct Polygon {
    std::vector<double> x, y, z;
    int Size() const { return static_cast<int>(x.size()); }
    vek::PolygonView View() const { return {x, y, z}; }
    void Add(double a, double b, double c)
    {
        x.push_back(a);
        y.push_back(b);
        z.push_back(c);
    }
};

// The torus knot T(p, q) on a torus of radii a and b: n vertices.
inline Polygon TorusKnot(int p, int q, int n, double a = 2.0, double b = 1.0)
{
    Polygon poly;
    for (int k = 0; k < n; ++k) {
        const double t = 2.0 * kPi * k / n;
        const double r = a + b * std::cos(q * t);
        poly.Add(r * std::cos(p * t), r * std::sin(p * t), b * std::sin(q * t));
    }
    return poly;
}

// The figure-eight knot: three turns round the axis, the radius swinging
// twice, the height four times.
inline Polygon FigureEight(int n)
{
    Polygon poly;
    for (int k = 0; k < n; ++k) {
        const double t = 2.0 * kPi * k / n;
        const double r = 2.0 + std::cos(2.0 * t);
        poly.Add(r * std::cos(3.0 * t), r * std::sin(3.0 * t), std::sin(4.0 * t));
    }
    return poly;
}

// A regular n-gon of radius r in the plane z = 0.
inline Polygon RegularPolygon(int n, double r)
{
    Polygon poly;
    for (int k = 0; k < n; ++k)
        poly.Add(r * std::cos(2.0 * kPi * k / n), r * std::sin(2.0 * kPi * k / n), 0.0);
    return poly;
}

inline Polygon Mirror(Polygon poly)
{
    for (double& c : poly.z)
        c = -c;
    return poly;
}

// a # b: each cut open at its outermost vertex (b's leftmost, a's
// rightmost), b moved far to the right, and the open ends joined by two
// straight bridges. A plane between the two separates them, so the result
// is their connected sum.
inline Polygon ConnectedSum(const Polygon& a, const Polygon& b)
{
    auto extreme = [](const Polygon& p, bool right) {
        int best = 0;
        for (int k = 1; k < p.Size(); ++k) {
            if (right ? p.x[k] > p.x[best] : p.x[k] < p.x[best])
                best = k;
        }
        return best;
    };
    const int ia = extreme(a, true), ib = extreme(b, false);
    double span = 0.0;
    for (int k = 0; k < a.Size(); ++k)
        span = std::max(span, std::fabs(a.x[k]));
    for (int k = 0; k < b.Size(); ++k)
        span = std::max(span, std::fabs(b.x[k]));
    const double shift = 3.0 * span;
    Polygon sum;
    // a from its rightmost vertex round to the vertex before it.
    for (int k = 0; k < a.Size(); ++k) {
        const int j = (ia + 1 + k) % a.Size();
        sum.Add(a.x[j], a.y[j], a.z[j]);
    }
    // Then b from its leftmost vertex round to the one before it.
    for (int k = 0; k < b.Size(); ++k) {
        const int j = (ib + k) % b.Size();
        sum.Add(b.x[j] + shift, b.y[j], b.z[j]);
    }
    return sum;
}

// Turned by the angles (radians) about z, then x, then moved by (dx, dy, dz).
inline Polygon Moved(const Polygon& p, double az, double ax, double dx, double dy, double dz)
{
    Polygon out;
    for (int k = 0; k < p.Size(); ++k) {
        const double x1 = std::cos(az) * p.x[k] - std::sin(az) * p.y[k];
        const double y1 = std::sin(az) * p.x[k] + std::cos(az) * p.y[k];
        const double y2 = std::cos(ax) * y1 - std::sin(ax) * p.z[k];
        const double z2 = std::sin(ax) * y1 + std::cos(ax) * p.z[k];
        out.Add(x1 + dx, y2 + dy, z2 + dz);
    }
    return out;
}

}  // namespace knotcurves
