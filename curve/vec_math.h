// The distance arithmetic of the curve algorithms, written once so that
// every caller rounds the same way. Coords is a CDoubleArray or a pointer to
// the coordinates; points are given by index.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

// In:  points a and b of x, y, z.
// Out: |P[a] - P[b]|^2 as (x[a] - x[b])^2 + (y[a] - y[b])^2 + (z[a] - z[b])^2,
//      in that order (the same double for a, b and b, a).
template <class Coords>
inline double Distance2(const Coords& x, const Coords& y, const Coords& z, int a, int b)
{
    const double dx = x[a] - x[b];
    const double dy = y[a] - y[b];
    const double dz = z[a] - z[b];
    return dx * dx + dy * dy + dz * dz;
}

// In:  points a and b of x, y, z.
// Out: |P[a] - P[b]|, the square root of Distance2.
template <class Coords>
inline double Distance(const Coords& x, const Coords& y, const Coords& z, int a, int b)
{
    return std::sqrt(Distance2(x, y, z, a, b));
}

// In:  a difference (dx, dy, dz).
// Out: its length, sqrt(dx^2 + dy^2 + dz^2).
inline double Norm(double dx, double dy, double dz)
{
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// In:  reach, a distance.
// Out: the largest squared distance d2 whose root lies below reach, so that
//      d2 <= SquaredWithin(reach) exactly when std::sqrt(d2) < reach (the
//      root is correctly rounded, hence monotone) and a pair test needs no
//      root; -1 when no distance lies below reach (reach <= 0 or NaN).
//      Found by bisection over the bit patterns of the non-negative doubles,
//      which order them.
inline double SquaredWithin(double reach)
{
    if (!(std::sqrt(0.0) < reach))
        return -1.0;
    const auto value = [](std::uint64_t bits) {
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    };
    std::uint64_t below = 0, above = 0x7ff0000000000000ull;  // 0.0, infinity
    while (above - below > 1) {
        const std::uint64_t mid = below + (above - below) / 2;
        (std::sqrt(value(mid)) < reach ? below : above) = mid;
    }
    return value(below);
}
