#include "ideal/segment_distance.h"

#include <algorithm>

namespace vek {

namespace {

double Dot(const double* a, const double* b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double Clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

// Determinants below this fraction of |d1|^2 |d2|^2 count as parallel.
constexpr double kParallel = 1e-12;

}  // namespace

SegmentPair ClosestSegmentPoints(const double* a0, const double* a1, const double* b0, const double* b1)
{
    double d1[3], d2[3], r[3];
    for (int c = 0; c < 3; ++c) {
        d1[c] = a1[c] - a0[c];
        d2[c] = b1[c] - b0[c];
        r[c] = a0[c] - b0[c];
    }
    const double a = Dot(d1, d1), e = Dot(d2, d2), f = Dot(d2, r);
    double s = 0.0, t = 0.0;
    if (a <= 0.0 && e <= 0.0) {
        s = t = 0.0;
    } else if (a <= 0.0) {
        t = Clamp01(f / e);
    } else {
        const double c = Dot(d1, r);
        if (e <= 0.0) {
            s = Clamp01(-c / a);
        } else {
            const double b = Dot(d1, d2);
            const double denom = a * e - b * b;
            s = denom > kParallel * a * e ? Clamp01((b * f - c * e) / denom) : 0.0;
            t = (b * s + f) / e;
            if (t < 0.0) {
                t = 0.0;
                s = Clamp01(-c / a);
            } else if (t > 1.0) {
                t = 1.0;
                s = Clamp01((b - c) / a);
            }
        }
    }
    SegmentPair pair;
    pair.s = s;
    pair.t = t;
    for (int c = 0; c < 3; ++c) {
        const double d = r[c] + s * d1[c] - t * d2[c];
        pair.squared += d * d;
    }
    return pair;
}

}  // namespace vek
