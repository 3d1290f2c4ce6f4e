// The exclusion window counts of every point of a closed curve at once, in
// time close to linear in the number of points.
#pragma once

#include <vector>

#include "curve/double_array.h"

// In:  x, y, z: the n points of the closed curve (model units); window: the
//      exclusion window length.
// Out: fwd[i] = WindowSteps(x, y, z, i, +1, window) and bwd[i] =
//      WindowSteps(x, y, z, i, -1, window) for every i, equal to them: a
//      count is read off prefix sums of the segment lengths only where a
//      bound on their rounding proves that the walk's own sum lands on the
//      same side of the window; otherwise the walk is done.
void WindowCounts(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                  std::vector<int>& fwd, std::vector<int>& bwd);
