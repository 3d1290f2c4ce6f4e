// The closest points of two segments in space and their squared distance,
// as the strut constraints of the ideal-knot optimiser need them.
#pragma once

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
