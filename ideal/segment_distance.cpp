#include "ideal/segment_distance.h"

#include <algorithm>
#include <cmath>

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

void SegmentDistanceDerivatives(const double* a0, const double* a1, const double* b0, const double* b1,
                                const SegmentPair& pair, double* gradient, double* hessian)
{
    const double s = pair.s, t = pair.t;
    // The difference of the closest points is x = sum_j w_j p_j.
    const double w[4] = {1.0 - s, s, -(1.0 - t), -t};
    const double* p[4] = {a0, a1, b0, b1};
    double x[3] = {0, 0, 0}, ea[3], eb[3];
    for (int c = 0; c < 3; ++c) {
        for (int j = 0; j < 4; ++j)
            x[c] += w[j] * p[j][c];
        ea[c] = a1[c] - a0[c];
        eb[c] = b1[c] - b0[c];
    }
    for (int j = 0; j < 4; ++j)
        for (int c = 0; c < 3; ++c)
            gradient[3 * j + c] = 2.0 * w[j] * x[c];

    std::fill(hessian, hessian + 144, 0.0);
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < 4; ++k)
            for (int c = 0; c < 3; ++c)
                hessian[(3 * j + c) * 12 + 3 * k + c] = 2.0 * w[j] * w[k];

    // Parameters strictly inside (0, 1) move with the points; their share
    // -g_pz g_zz^-1 g_zp comes off the fixed-pair Hessian.
    const bool freeS = s > 0.0 && s < 1.0, freeT = t > 0.0 && t < 1.0;
    if (!freeS && !freeT)
        return;
    // g_zp rows: d/dp of dg/ds = 2 x.ea and of dg/dt = -2 x.eb.
    const double ds[4] = {-1.0, 1.0, 0.0, 0.0}, dt[4] = {0.0, 0.0, 1.0, -1.0};
    double gs[12], gt[12];
    for (int j = 0; j < 4; ++j)
        for (int c = 0; c < 3; ++c) {
            gs[3 * j + c] = 2.0 * (w[j] * ea[c] + x[c] * ds[j]);
            gt[3 * j + c] = 2.0 * (-w[j] * eb[c] + x[c] * dt[j]);
        }
    const double gss = 2.0 * Dot(ea, ea), gtt = 2.0 * Dot(eb, eb), gst = -2.0 * Dot(ea, eb);
    double i00 = 0, i01 = 0, i11 = 0;  // inverse of the free block of g_zz
    if (freeS && freeT) {
        const double det = gss * gtt - gst * gst;
        if (!(det > kParallel * gss * gtt))
            return;  // parallel: no unique pair; keep the fixed-pair Hessian
        i00 = gtt / det;
        i11 = gss / det;
        i01 = -gst / det;
    } else if (freeS) {
        if (!(gss > 0.0))
            return;
        i00 = 1.0 / gss;
    } else {
        if (!(gtt > 0.0))
            return;
        i11 = 1.0 / gtt;
    }
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 12; ++c)
            hessian[r * 12 + c] -= gs[r] * (i00 * gs[c] + i01 * gt[c]) + gt[r] * (i01 * gs[c] + i11 * gt[c]);
}

}  // namespace vek
