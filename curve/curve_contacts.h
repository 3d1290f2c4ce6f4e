// CurveContacts: where a relaxed curve's tube touches itself, counted as
// pairs of points of different parts of the curve that lie about one
// thickness apart.
#pragma once

#include "curve/double_array.h"

namespace vek {
// Two non-neighbouring points closer than this multiple of the thickness
// are in contact: a tight knot holds its strands at one thickness, and the
// relaxation leaves them a little inside it.
inline constexpr double kContactFactor = 1.01;
}  // namespace vek

struct CurveContacts {
    // Unordered pairs (i, j) in contact.
    long long count = 0;
    // The smallest distance of such a pair (model units); +infinity when
    // there is none.
    double nearest = 0.0;
    // The smallest distance between a point and a candidate of it by its
    // own window, MinNonLocalDistance of the same window (model units).
    double nonLocal = 0.0;
};

// In:  x, y, z: the n points of the closed curve (model units);
//      window: the exclusion window length (ExclusionWindow(thickness));
//      reach: the contact distance (kContactFactor * thickness).
// Out: the pairs i < j that are candidates of each other by the
//      relaxation's window rule (IsWindowCandidate with the WindowSteps of
//      both points) and lie closer than `reach`, and their smallest
//      distance, and the curve's MinNonLocalDistance. A run of pairs that
//      all lie within `reach` is counted without visiting it, so the time
//      stays close to n log n even where thousands of points touch each.
CurveContacts CountCurveContacts(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                                 double reach);
