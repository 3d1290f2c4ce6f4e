// The curve arrays as the one polygon view the geometry, the knot code and
// the optimiser take, and a polygon written back into them.
#pragma once

#include "curve/double_array.h"
#include "geom/polygon.h"

// In:  x, y, z: the curve's arrays (they must outlive the view and not be
//      resized while it is used).
// Out: the view of their points (as many as the shortest array holds).
vek::PolygonView CurvePolygon(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z);

// In:  a polygon that does not view x, y or z themselves.
// Out: x, y, z hold its vertices (its size each). Allocation failure throws
//      std::bad_alloc (see CDoubleArray::SetSize).
void SetCurvePoints(vek::PolygonView polygon, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);
