// Squared distance between two segments in space, with its gradient and
// Hessian with respect to the four end points, as the strut constraints of
// the ideal-knot optimiser need them.
#pragma once

#include <array>

namespace vek {

struct SegmentPair {
    // Closest points: a0 + s (a1 - a0) and b0 + t (b1 - b0), s, t in [0, 1].
    double s = 0.0;
    double t = 0.0;
    // Their squared distance.
    double squared = 0.0;
};

// In:  the end points a0, a1 of the first segment and b0, b1 of the second
//      (model units).
// Out: the closest points and their squared distance. Parallel segments
//      (no unique pair) get one of the closest pairs.
SegmentPair ClosestSegmentPoints(const double* a0, const double* a1, const double* b0, const double* b1);

}  // namespace vek
