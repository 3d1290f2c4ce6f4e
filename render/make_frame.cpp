#include "render/make_frame.h"

namespace {

constexpr Vec3 kYAxis = {0.0, 1.0, 0.0};
constexpr Vec3 kZAxis = {0.0, 0.0, 1.0};

// The unit vector perpendicular to the unit vector u on the side given by
// ref, with the y axis standing in for an unusable ref, and the z axis
// standing in when u lies along the y axis as well.
Vec3 SideVector(Vec3 u, Vec3 ref)
{
    Vec3 side;
    // A cross product whose length comes out as zero is unusable even when
    // its components are tiny but not zero: the y axis then takes over, as
    // for a reference exactly parallel to u.
    const Vec3 fromRef = Cross(ref, u);
    if (SquaredLength(fromRef) != 0.0 && UnitDirection(fromRef, side))
        return side;
    // (0, 1, 0) x u, written out.
    const Vec3 fromY = {u.z, 0.0, -u.x};
    if (UnitDirection(fromY, side))
        return side;
    // u is (0, +-1, 0) here, so (0, 0, 1) x u = (-uy, 0, 0) is never zero.
    UnitDirection(Cross(kZAxis, u), side);
    return side;
}

}  // namespace

void MakeFrame(Vec3 d, Vec3 ref, Vec3& v, Vec3& w)
{
    Vec3 u;
    if (!UnitDirection(d, u)) {
        // No tangent: hand the reference on unchanged as w, so that the next
        // point's frame is the one it would get without this point.
        Vec3 keep;
        if (!UnitDirection(ref, keep))
            keep = kYAxis;
        v = SideVector(keep, kZAxis);
        w = keep;
        return;
    }
    v = SideVector(u, ref);
    w = Cross(u, v);
}
