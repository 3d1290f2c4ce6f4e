// ResampleCurve: replaces the points of the closed curve by points placed
// along the same closed polyline at an even spacing s that follows from the
// tube thickness and the precision, so that the relaxation works on an
// evenly sampled curve whose point count follows its length.
#pragma once

#include "curve/double_array.h"

// The resampling spacing in model units: 0.25 * T' / P', where T' is the
// thickness clamped below at 0.01 (>= 0.01 kept) and P' the precision
// clamped below at 0.01 (> 0.01 kept). 0.0075 for thickness 0.03 and
// precision 1.
double ResampleSpacing(double thickness, double precision);

// Reads x, y, z (n points each, model units, closed curve) and replaces them
// with the resampled points: for every segment A = P[i] -> B = P[(i+1) mod n]
// the segment length is added to a carry, c = trunc(carry / s) points are
// placed at fractions 0, 1/c, ..., (c-1)/c of the segment (the first one
// exactly A), and c * s is taken off the carry. A segment with c = 0 places
// nothing; the carry left after the closing segment is dropped. The new
// count is about the curve length / s.
//
// Returns false and leaves the three arrays unchanged when the result would
// hold more than vek::kMaxCurvePoints points or a segment length is not
// finite (a coordinate that is infinite, not a number, or so large that the
// length overflows). Returns true otherwise, also when the curve becomes
// empty (n = 0, n = 1, all points equal, a curve shorter than s).
// If storage runs out on the way, std::bad_alloc propagates and the input
// points are put back first.
bool ResampleCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double precision);

// The number of points ResampleCurve would produce for x, y, z, by the same
// carry arithmetic and without allocating. A non-finite segment length, or a
// count past 2^62, gives the saturated value LLONG_MAX.
long long ResampleCount(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                        double precision);
