#include "curve/degenerate_curve.h"

#include <cmath>

namespace {

// The point of the curve farthest from point `from`, and its distance.
int Farthest(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int from, double& distance)
{
    int best = from;
    distance = 0.0;
    for (int i = 0; i < x.GetSize(); ++i) {
        const double d = std::hypot(x[i] - x[from], y[i] - y[from], z[i] - z[from]);
        if (d > distance) {
            distance = d;
            best = i;
        }
    }
    return best;
}

}  // namespace

bool LiesOnOneLine(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    if (x.GetSize() < 2)
        return true;
    double extent = 0.0;
    const int a = Farthest(x, y, z, 0, extent);
    const int b = Farthest(x, y, z, a, extent);
    if (!(extent > 0.0))
        return true;
    const double ux = (x[b] - x[a]) / extent, uy = (y[b] - y[a]) / extent, uz = (z[b] - z[a]) / extent;
    const double tolerance = 1e-9 * extent;
    for (int i = 0; i < x.GetSize(); ++i) {
        const double px = x[i] - x[a], py = y[i] - y[a], pz = z[i] - z[a];
        // The distance from the line: the cross product with its direction.
        const double cx = py * uz - pz * uy, cy = pz * ux - px * uz, cz = px * uy - py * ux;
        if (std::hypot(cx, cy, cz) > tolerance)
            return false;
    }
    return true;
}
