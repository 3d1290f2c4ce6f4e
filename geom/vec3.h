// Vec3: a point or direction in model or eye coordinates (three 64-bit
// floats), with the few operations the geometry, the tube and the camera
// need.
//
// Every operation is written out in the order of its formula; the build
// forbids fused multiply-add, so the roundings are the same on every machine.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>

struct Vec3 {
    double x, y, z;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline Vec3 operator/(Vec3 a, double s) { return {a.x / s, a.y / s, a.z / s}; }

// a x b = (ay*bz - az*by, az*bx - ax*bz, ax*by - ay*bx).
inline Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// ax*bx + ay*by + az*bz, summed left to right.
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// x*x + y*y + z*z, summed left to right.
inline double SquaredLength(Vec3 a) { return a.x * a.x + a.y * a.y + a.z * a.z; }
inline double Length(Vec3 a) { return std::sqrt(SquaredLength(a)); }

inline bool IsFinite(Vec3 a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); }

// The unit vector of direction a, written to out; returns false and leaves
// out alone when a has no direction (zero, or a component not finite).
//
// When x*x + y*y + z*z is a finite normal number the result is exactly
// a / sqrt(x*x + y*y + z*z), component by component. Outside that range the
// plain quotient is wrong although a has a perfectly good direction: the
// squares overflow (giving 0 or NaN) or underflow (a vector of length 1e-162
// would come out with length 0.45). Such a vector is first scaled by a power
// of two that brings its largest component into [1, 2), which keeps its
// direction, and then divided by its length.
inline bool UnitDirection(Vec3 a, Vec3& out)
{
    const double squared = SquaredLength(a);
    if (std::isfinite(squared) && squared >= DBL_MIN) {
        const double length = std::sqrt(squared);
        out = a / length;
        return true;
    }
    if (!IsFinite(a))
        return false;
    const double largest = std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(a.z)});
    if (largest == 0.0)
        return false;
    const int exponent = std::ilogb(largest);
    const Vec3 scaled = {std::scalbn(a.x, -exponent), std::scalbn(a.y, -exponent), std::scalbn(a.z, -exponent)};
    out = scaled / Length(scaled);
    return true;
}
