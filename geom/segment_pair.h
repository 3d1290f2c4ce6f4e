// The closest points of two segments in space: the one rule by which the
// certified thickness finds doubly-critical pairs and the optimiser places
// its struts, so that both pick the same points on the same contact.
#pragma once

#include <algorithm>

#include "geom/vec3.h"

namespace vek {

struct SegmentPair {
    // Closest points: a0 + s (a1 - a0) and b0 + t (b1 - b0), s, t in [0, 1].
    double s = 0.0;
    double t = 0.0;
    // Their squared distance.
    double squared = 0.0;
};

// Determinants a e - b^2 at or below this fraction of a e (|d1|^2 |d2|^2)
// count as parallel segments.
inline constexpr double kParallelSegments = 1e-14;

// In:  the end points a0, a1 of the first segment and b0, b1 of the second
//      (model units).
// Out: the closest points and their squared distance. Parallel segments
//      that overlap along their line give the middle of the overlap on the
//      first segment, so that an interior pair is found where one exists;
//      a segment of no length is its start point.
inline SegmentPair ClosestSegmentPoints(Vec3 a0, Vec3 a1, Vec3 b0, Vec3 b1)
{
    const Vec3 d1 = a1 - a0, d2 = b1 - b0, r = a0 - b0;
    const double a = Dot(d1, d1), e = Dot(d2, d2), f = Dot(d2, r);
    double s = 0.0, t = 0.0;
    if (a <= 0.0 && e <= 0.0) {
        // Two points.
    } else if (a <= 0.0) {
        t = std::clamp(f / e, 0.0, 1.0);
    } else {
        const double c = Dot(d1, r);
        if (e <= 0.0) {
            s = std::clamp(-c / a, 0.0, 1.0);
        } else {
            const double b = Dot(d1, d2);
            const double denom = a * e - b * b;
            if (denom <= kParallelSegments * a * e) {
                // Parallel: b's ends projected onto a's line.
                const double u0 = -c / a;
                const double u1 = (b - c) / a;
                const double lo = std::max(0.0, std::min(u0, u1));
                const double hi = std::min(1.0, std::max(u0, u1));
                s = lo <= hi ? 0.5 * (lo + hi) : (std::max(u0, u1) < 0.0 ? 0.0 : 1.0);
            } else {
                s = std::clamp((b * f - c * e) / denom, 0.0, 1.0);
            }
            t = (b * s + f) / e;
            if (t < 0.0) {
                t = 0.0;
                s = std::clamp(-c / a, 0.0, 1.0);
            } else if (t > 1.0) {
                t = 1.0;
                s = std::clamp((b - c) / a, 0.0, 1.0);
            }
        }
    }
    SegmentPair pair;
    pair.s = s;
    pair.t = t;
    pair.squared = SquaredLength(r + s * d1 - t * d2);
    return pair;
}

}  // namespace vek
