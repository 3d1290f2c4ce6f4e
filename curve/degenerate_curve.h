// Curves that have no tube to relax: all of their points on one straight
// line (a closed curve there doubles back on itself, and the relaxation
// pushes its coinciding strands apart without end).
#pragma once

#include "curve/double_array.h"

// In:  the closed curve x, y, z (n points, model units, finite).
// Out: true when every point lies within 1e-9 of the curve's extent of the
//      line through its two points farthest apart (found from the first
//      point and the point farthest from it), or the curve has fewer than
//      two distinct points. Time n.
bool LiesOnOneLine(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z);
