#include "curve/relax_step.h"

#include <cmath>

#include "curve/constants.h"
#include "curve/vec_math.h"

double ExclusionWindow(double thickness)
{
    return vek::kWindowFactor * thickness;
}

int WindowSteps(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int i, int step, double window)
{
    const int n = x.GetSize();
    // |P[k+1] - P[k]|; backwards the walk takes |P[k-1] - P[k]|, the same
    // double, as a difference and its negation have the same square.
    return WindowStepsBy(n, i, step, window,
                         [&](int k) { return Distance(x, y, z, k + 1 == n ? 0 : k + 1, k); });
}

void RelaxStep(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double window, CDoubleArray& nx,
               CDoubleArray& ny, CDoubleArray& nz)
{
    const int n = x.GetSize();
    nx.SetSize(n);
    ny.SetSize(n);
    nz.SetSize(n);
    if (n == 0)
        return;
    for (int k = 0; k < n; ++k) {
        nx[k] = x[k];
        ny[k] = y[k];
        nz[k] = z[k];
    }

    for (int i = 0; i < n; ++i) {
        double sx, sy, sz;
        NeighbourPull(x, y, z, i, n, sx, sy, sz);

        const int fwd = WindowSteps(x, y, z, i, +1, window);
        const int bwd = WindowSteps(x, y, z, i, -1, window);

        double best = vek::kLargestDouble;
        int m = -1;
        for (int j = 0; j < n; ++j) {
            if (!IsWindowCandidate(i, j, n, fwd, bwd))
                continue;
            const double d2 = Distance2(x, y, z, j, i);
            if (d2 < best) {  // strict: among equal distances the lowest index wins
                best = d2;
                m = j;
            }
        }
        if (m < 0)
            continue;  // no candidate: the point stays, without pull or push

        const double d = std::sqrt(best);
        // A candidate at distance 0 gives no direction to push in; dividing by
        // it would put NaN into this point and, through the recentring, into
        // every point. Such a point only gets its pull this time; once the
        // pulls have moved the two copies apart, the push has a direction.
        if (d < thickness && d > 0.0) {
            PushAway(x, y, z, i, m, d, thickness, sx, sy, sz);
        }
        nx[i] = nx[i] + sx;
        ny[i] = ny[i] + sy;
        nz[i] = nz[i] + sz;
    }

    RecentreCurve(nx, ny, nz, x, y, z);
}

void RecentreCurve(const CDoubleArray& nx, const CDoubleArray& ny, const CDoubleArray& nz, CDoubleArray& x,
                   CDoubleArray& y, CDoubleArray& z)
{
    const int n = nx.GetSize();
    if (n == 0)
        return;
    // The centroid of the points (not weighted by arc length), summed in
    // index order.
    double sumX = 0.0;
    double sumY = 0.0;
    double sumZ = 0.0;
    for (int k = 0; k < n; ++k) {
        sumX += nx[k];
        sumY += ny[k];
        sumZ += nz[k];
    }
    const double meanX = sumX / n;
    const double meanY = sumY / n;
    const double meanZ = sumZ / n;
    for (int k = 0; k < n; ++k) {
        x[k] = nx[k] - meanX;
        y[k] = ny[k] - meanY;
        z[k] = nz[k] - meanZ;
    }
}
