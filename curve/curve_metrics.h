// Measures of a closed curve used to judge a relaxation: its length and how
// close its non-neighbouring parts come to each other.
#pragma once

#include <limits>
#include <vector>

#include "curve/double_array.h"

// The length of the closed polyline x, y, z (n points, model units),
// closing segment included, summed in index order. 0 for n < 2.
double CurveLength(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z);

// The smallest distance (model units) between a point i and a point j that
// lies outside i's exclusion windows of length `window` (the relaxation's
// candidate rule: WindowSteps and IsWindowCandidate). For a relaxed curve
// this is at most the tube thickness and close to it. +infinity when no
// point has a candidate (n < 2, or a curve shorter than about 2 * window).
// Time close to n log n.
//
// known2: Distance2 of a pair (i, j) already known to be such a pair, or
// +infinity. The search passes over everything farther than it, which is
// much quicker on a tight curve; the answer is the same.
double MinNonLocalDistance(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                           double known2 = std::numeric_limits<double>::infinity());

// The pair behind MinNonLocalDistance: its squared distance (+infinity when
// none comes closer than known2) and its points, i's window letting j
// through (-1 when there is none). Of pairs equally near, the first by the
// fixed order of the search. fwd, bwd: WindowCounts of the same window.
struct NonLocalPair {
    double d2 = std::numeric_limits<double>::infinity();
    int i = -1, j = -1;
};
NonLocalPair NearestNonLocalPair(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                                 const std::vector<int>& fwd, const std::vector<int>& bwd, double known2);
