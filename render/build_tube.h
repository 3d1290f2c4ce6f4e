// BuildTube: the vertices of the tube drawn around the closed curve, one ring
// of ringSegments vertices around every curve point, each ring in the plane
// perpendicular to the curve's tangent there.
#pragma once

#include "curve/double_array.h"

namespace vek {
// 2 pi as the ring angles use it.
inline constexpr double kTwoPi = 6.283185307179586;
}  // namespace vek

// In:  x, y, z: the N curve points P0 ... PN-1 (model units), arrays of equal
//      size; the curve is closed (PN-1 is followed by P0).
//      ringSegments: n, vertices per ring (>= 0).
//      thickness: tube diameter (model units); tubeScale: display factor.
// Out: tubeX, tubeY, tubeZ, resized (in this order) to N * n and completely
//      written: vertex j of ring i is element i * n + j, at
//      Pi + r * (cos(t) * vi + sin(t) * wi), t = (j / n) * 2 pi,
//      r = tubeScale * thickness * 0.5 (a negative r turns vertex j by pi).
//      vi, wi come from MakeFrame of the normalised central difference
//      P(i+1) - P(i-1), with the previous ring's w as reference ((0, 0, 1)
//      for ring 0). N * n = 0 releases the storage of the three arrays, and
//      so does a tube under half the storage they hold (SetSizeForOverwrite).
//
// A point whose neighbours coincide (every point of a one- or two-point
// curve) has no tangent; its ring lies around the reference handed on by the
// previous ring (see MakeFrame). A curve point that is not finite gives a ring
// of non-finite vertices, but frames stay finite, so no other ring suffers.
//
// Throws, before touching the tube arrays, std::invalid_argument when the
// three curve arrays differ in size or n < 0, and std::length_error when
// N * n exceeds CDoubleArray::kMaxSize. If the storage cannot be obtained
// (std::bad_alloc), all three tube arrays are released before
// the exception leaves, so they never disagree in size.
void BuildTube(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int ringSegments,
               double thickness, double tubeScale, CDoubleArray& tubeX, CDoubleArray& tubeY, CDoubleArray& tubeZ);
