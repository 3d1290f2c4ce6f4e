#include "curve/curve_metrics.h"

#include <cmath>
#include <limits>

#include "curve/relax_step.h"
#include "curve/vec_math.h"

double CurveLength(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    const int n = x.GetSize();
    double length = 0.0;
    for (int i = 0; i < n; ++i) {
        const int next = i + 1 == n ? 0 : i + 1;
        length += Distance(x, y, z, next, i);
    }
    return length;
}

double MinNonLocalDistance(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window)
{
    const int n = x.GetSize();
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i) {
        const int fwd = WindowSteps(x, y, z, i, +1, window);
        const int bwd = WindowSteps(x, y, z, i, -1, window);
        for (int j = 0; j < n; ++j) {
            if (!IsWindowCandidate(i, j, n, fwd, bwd))
                continue;
            const double d = Distance(x, y, z, j, i);
            if (d < best)
                best = d;
        }
    }
    return best;
}
