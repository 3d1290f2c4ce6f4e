// RelaxStep: one iteration of the relaxation that turns the closed curve
// into the centre line of a tube of the given thickness that does not pass
// through itself. Every point is pulled towards its two neighbours and
// pushed straight away from the nearest point of another part of the curve
// that lies closer than the thickness; then the curve is shifted so that the
// mean of its points is the origin.
//
// This is the plain reference form, written to follow the rule step by step;
// faster forms must match it bit for bit.
#pragma once

#include "curve/constants.h"
#include "curve/double_array.h"

// The length of the exclusion window along the curve for a tube of the given
// thickness: vek::kWindowFactor (1.57) * thickness, in model units.
double ExclusionWindow(double thickness);

// The number of segments walked from point i, forwards (step +1) or
// backwards (step -1) along the closed curve x, y, z (n points), until the
// summed segment lengths first exceed `window`; the last segment counted is
// the one that crosses it. A walk that has gone once round the curve (n
// segments) without exceeding the window stops there and returns n: the
// window then covers the whole curve, as an endless walk would.
// Precondition: 0 <= i < n.
int WindowSteps(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int i, int step, double window);

// The walk of WindowSteps over given segment lengths: segment(k) is
// |P[k + 1 mod n] - P[k]|; the walk from i adds segment(i), segment(i + 1),
// ... forwards and segment(i - 1), segment(i - 2), ... backwards, in that
// order, so the same lengths give the same count. n >= 1, 0 <= i < n.
template <class SegmentLength>
int WindowStepsBy(int n, int i, int step, double window, const SegmentLength& segment)
{
    double sum = 0.0;
    int k = i;
    int count = 0;
    for (;;) {
        ++count;
        if (step > 0) {
            sum += segment(k);
            k = k + 1 == n ? 0 : k + 1;
        } else {
            k = k == 0 ? n - 1 : k - 1;
            sum += segment(k);
        }
        if (!(sum <= window))
            break;
        // Once round the curve without leaving the window: an endless walk
        // would never find a candidate either, and count = n already rules
        // every candidate out.
        if (count == n)
            break;
    }
    return count;
}

// Whether point j lies outside both exclusion windows of point i on a closed
// curve of n points, given the window step counts fwd and bwd of i: the
// cyclic offset t = (j - i) mod n satisfies fwd <= t <= n - bwd. The first
// point beyond each window is a candidate; i itself never is.
inline bool IsWindowCandidate(int i, int j, int n, int fwd, int bwd)
{
    int t = j - i;
    if (t < 0)
        t += n;
    return fwd <= t && t <= n - bwd;
}

// One iteration (a Jacobi update: everything is computed from the positions
// before the iteration).
//   x, y, z     in/out: the n curve points in model units; replaced by the
//               new, recentred points, n unchanged (n = 0 allowed).
//   thickness   the tube thickness T (0.03); pushes act below it.
//   window      the exclusion window length L, ExclusionWindow(thickness),
//               computed once per run by the caller.
//   nx, ny, nz  work arrays of the run: set to size n and overwritten;
//               afterwards they hold the new points before recentring.
// For each point i with a candidate: S = 0.2*(P[i-1]-P[i]) + 0.2*(P[i+1]-P[i]),
// pushed by T - d straight away from the nearest candidate when its
// distance d is below T; N[i] = P[i] + S. A point without a candidate stays
// where it is. Then P[k] = N[k] - mean(N).
void RelaxStep(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double window, CDoubleArray& nx,
               CDoubleArray& ny, CDoubleArray& nz);

// The neighbour pull of point i of the n points (n >= 1):
// S = 0.2*(P[i-1]-P[i]) + 0.2*(P[i+1]-P[i]) per coordinate, starting from 0
// and adding the previous neighbour's term first; the order fixes the
// rounding, so every relaxation step computes it through this one function.
// Coords: CDoubleArray or a pointer to the coordinates.
template <class Coords>
inline void NeighbourPull(const Coords& x, const Coords& y, const Coords& z, int i, int n, double& sx, double& sy,
                          double& sz)
{
    const int prev = i == 0 ? n - 1 : i - 1;
    const int next = i + 1 == n ? 0 : i + 1;
    sx = 0.0;
    sy = 0.0;
    sz = 0.0;
    sx = sx + vek::kPull * (x[prev] - x[i]);
    sy = sy + vek::kPull * (y[prev] - y[i]);
    sz = sz + vek::kPull * (z[prev] - z[i]);
    sx = sx + vek::kPull * (x[next] - x[i]);
    sy = sy + vek::kPull * (y[next] - y[i]);
    sz = sz + vek::kPull * (z[next] - z[i]);
}

// The push of point i away from its nearest candidate m at distance d,
// 0 < d < thickness: S = S - ((P[m] - P[i]) / d) * (thickness - d).
template <class Coords>
inline void PushAway(const Coords& x, const Coords& y, const Coords& z, int i, int m, double d, double thickness,
                     double& sx, double& sy, double& sz)
{
    sx = sx - ((x[m] - x[i]) / d) * (thickness - d);
    sy = sy - ((y[m] - y[i]) / d) * (thickness - d);
    sz = sz - ((z[m] - z[i]) / d) * (thickness - d);
}

// The last part of an iteration: P[k] = N[k] - mean(N) for the n new points
// nx, ny, nz (model units), the mean summed in index order; written into
// x, y, z, which already have n elements. Nothing happens for n = 0.
void RecentreCurve(const CDoubleArray& nx, const CDoubleArray& ny, const CDoubleArray& nz, CDoubleArray& x,
                   CDoubleArray& y, CDoubleArray& z);
