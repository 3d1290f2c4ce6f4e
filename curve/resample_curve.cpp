#include "curve/resample_curve.h"

#include <climits>
#include <cmath>
#include <vector>

#include "curve/constants.h"
#include "curve/vec_math.h"

namespace {

// Counts at or past this are reported as saturated: well inside long long,
// and any per-segment count below it converts exactly enough for the check.
constexpr double kCountLimit = 4611686018427387904.0;  // 2^62
constexpr long long kSaturated = LLONG_MAX;

// carry / s truncated toward zero, or -1 when it is not finite or would not
// fit a count. The caller has already added the segment length to carry.
long long SegmentPointCount(double carry, double spacing)
{
    const double q = carry / spacing;
    if (!(q < kCountLimit))  // also catches NaN and infinity
        return -1;
    return static_cast<long long>(q);
}

}  // namespace

double ResampleSpacing(double thickness, double precision)
{
    const double t = thickness >= vek::kSpacingClamp ? thickness : vek::kSpacingClamp;
    const double p = precision > vek::kSpacingClamp ? precision : vek::kSpacingClamp;
    return vek::kSpacingFactor * t / p;
}

namespace {

// The one pass of the resampling: for each segment i -> next of the n points
// in turn, its length is added to the carry, c = trunc(carry / s) is the
// segment's point count, and place(i, next, c) is called for c >= 1 before
// c * s is taken off the carry. Returns the total count, or kSaturated as
// soon as a length is not finite or the count reaches 2^62.
template <class Place>
long long ResamplePass(const double* x, const double* y, const double* z, int n, double s, const Place& place)
{
    double carry = 0.0;
    long long total = 0;
    for (int i = 0; i < n; ++i) {
        const int next = i + 1 == n ? 0 : i + 1;
        const double length = Distance(x, y, z, next, i);
        if (!std::isfinite(length))
            return kSaturated;
        carry += length;
        const long long c = SegmentPointCount(carry, s);
        if (c < 0)
            return kSaturated;
        // Both terms are below 2^62, so the sum cannot overflow.
        total += c;
        if (total >= static_cast<long long>(kCountLimit))
            return kSaturated;
        if (c >= 1) {
            place(i, next, c);
            carry -= static_cast<double>(c) * s;
        }
    }
    return total;
}

}  // namespace

long long ResampleCount(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                        double precision)
{
    return ResamplePass(x.GetData(), y.GetData(), z.GetData(), x.GetSize(), ResampleSpacing(thickness, precision),
                        [](int, int, long long) {});
}

bool ResampleCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double precision)
{
    // The count comes first, from the very same pass as the placing below,
    // so the output is sized once and every per-segment count fits an int.
    const long long count = ResampleCount(x, y, z, thickness, precision);
    if (count > vek::kMaxCurvePoints)
        return false;

    const int n = x.GetSize();
    const std::vector<double> qx(x.GetData(), x.GetData() + n);
    const std::vector<double> qy(y.GetData(), y.GetData() + n);
    const std::vector<double> qz(z.GetData(), z.GetData() + n);

    x.SetSize(0);
    y.SetSize(0);
    z.SetSize(0);

    try {
        x.SetSize(static_cast<int>(count));
        y.SetSize(static_cast<int>(count));
        z.SetSize(static_cast<int>(count));
        int k = 0;
        ResamplePass(qx.data(), qy.data(), qz.data(), n, ResampleSpacing(thickness, precision),
                     [&](int i, int next, long long c) {
                         for (long long j = 0; j < c; ++j, ++k) {
                             // The carry only decides how many points the
                             // segment gets; they always start at A and split
                             // the segment evenly.
                             const double f = static_cast<double>(j) / static_cast<double>(c);
                             x[k] = (1.0 - f) * qx[i] + f * qx[next];
                             y[k] = (1.0 - f) * qy[i] + f * qy[next];
                             z[k] = (1.0 - f) * qz[i] + f * qz[next];
                         }
                     });
    } catch (...) {
        // Out of storage half-way: give the caller its points back rather
        // than a truncated curve.
        x.SetSize(0);
        y.SetSize(0);
        z.SetSize(0);
        x.SetSize(n);
        y.SetSize(n);
        z.SetSize(n);
        for (int k = 0; k < n; ++k) {
            x[k] = qx[k];
            y[k] = qy[k];
            z[k] = qz[k];
        }
        throw;
    }
    return true;
}
