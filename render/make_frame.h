// MakeFrame: two unit vectors v, w perpendicular to a direction d, chosen by
// a reference vector, so that (v, w, d/|d|) is a right-handed orthonormal
// frame (v x w = d/|d|). Used for every tube ring and once by the camera.
#pragma once

#include "geom/vec3.h"

// In:  d, the direction (any length, model units); ref, the reference that
//      picks where v points around d: v is perpendicular to ref and d, with
//      (ref, d, v) right-handed. Only the directions of d and ref matter.
// Out: v and w, unit vectors, always finite, whatever d and ref hold.
//
// The frame is u = d/|d|, v = (ref x u)/|ref x u|, w = u x v. When ref x u
// is zero or not a number the y axis takes the place of ref. Rules for the
// inputs that formula cannot handle:
// - d zero or with a component that is not finite (a tube point whose
//   neighbours coincide, one- and two-point curves): there is no tangent, so
//   the ring keeps the reference as it is: w = ref/|ref| (the y axis if ref
//   is unusable too) and v = MakeFrame(w, z axis).v, perpendicular to it.
//   The next ring is then built from the same reference as if this point
//   were not there, so the chain of frames runs on unbroken.
// - d along the y axis while ref is unusable (zero, parallel to d, or not
//   finite): the y-axis fallback is parallel to d as well, so the z axis is
//   the reference: v = (-1, 0, 0) for d = (0, +y, 0), as with ref = (0, 0, 1).
// - Vectors whose squared length underflows or overflows keep their
//   direction (see UnitDirection in geom/vec3.h).
void MakeFrame(Vec3 d, Vec3 ref, Vec3& v, Vec3& w);
