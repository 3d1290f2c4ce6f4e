// Puts gathered points into the three curve arrays in one step that either
// completes or leaves the arrays as they were, so the arrays never end up
// of unequal length.
#pragma once

#include <vector>

#include "curve/double_array.h"

// Replaces the points of x, y, z by the n = xyz.size() / 3 points of `xyz`
// (x0 y0 z0 x1 y1 z1 ...). Should growing an array fail, std::bad_alloc
// propagates and x, y, z keep their points; more than
// CDoubleArray::kMaxSize points throw std::length_error, also before
// anything changes.
void ReplacePoints(const std::vector<double>& xyz, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);
