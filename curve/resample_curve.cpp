#include "curve/resample_curve.h"

#include <climits>
#include <cmath>
#include <vector>

#include "curve/constants.h"

namespace {

// Counts at or past this are reported as saturated: well inside long long,
// and any per-segment count below it converts exactly enough for the check.
constexpr double kCountLimit = 4611686018427387904.0;  // 2^62
constexpr long long kSaturated = LLONG_MAX;

double SegmentLength(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int a, int b)
{
    const double dx = x[b] - x[a];
    const double dy = y[b] - y[a];
    const double dz = z[b] - z[a];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

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

long long ResampleCount(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                        double precision)
{
    const int n = x.GetSize();
    const double s = ResampleSpacing(thickness, precision);
    double carry = 0.0;
    long long total = 0;
    for (int i = 0; i < n; ++i) {
        const int next = i + 1 == n ? 0 : i + 1;
        const double length = SegmentLength(x, y, z, i, next);
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
        if (c >= 1)
            carry -= static_cast<double>(c) * s;
    }
    return total;
}

bool ResampleCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double precision)
{
    // The count check runs first, with the very same arithmetic as the pass
    // below, so every per-segment count there fits an int.
    if (ResampleCount(x, y, z, thickness, precision) > vek::kMaxCurvePoints)
        return false;

    const int n = x.GetSize();
    const std::vector<double> qx(x.GetData(), x.GetData() + n);
    const std::vector<double> qy(y.GetData(), y.GetData() + n);
    const std::vector<double> qz(z.GetData(), z.GetData() + n);

    x.SetSize(0);
    y.SetSize(0);
    z.SetSize(0);

    try {
        const double s = ResampleSpacing(thickness, precision);
        double carry = 0.0;
        for (int i = 0; i < n; ++i) {
            const int next = i + 1 == n ? 0 : i + 1;
            const double dx = qx[next] - qx[i];
            const double dy = qy[next] - qy[i];
            const double dz = qz[next] - qz[i];
            carry += std::sqrt(dx * dx + dy * dy + dz * dz);
            const int c = static_cast<int>(SegmentPointCount(carry, s));
            if (c < 1)
                continue;  // the carry passes the whole length on
            for (int j = 0; j < c; ++j) {
                // The carry only decides how many points the segment gets;
                // they always start at A and split the segment evenly.
                const double f = static_cast<double>(j) / static_cast<double>(c);
                x.SetAtGrow(x.GetSize(), (1.0 - f) * qx[i] + f * qx[next]);
                y.SetAtGrow(y.GetSize(), (1.0 - f) * qy[i] + f * qy[next]);
                z.SetAtGrow(z.GetSize(), (1.0 - f) * qz[i] + f * qz[next]);
            }
            carry -= static_cast<double>(c) * s;
        }
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
