#include "knot/crossings.h"

#include <algorithm>
#include <cmath>

#include "curve/segment_tree.h"

namespace vek {

namespace {

// Distances below this fraction of the curve's extent are too close to call.
constexpr double kRelativeTolerance = 1e-9;

struct Frame {
    double u[3], v[3], d[3];
};

// A right-handed frame (u, v, d) with d along dir; false for a zero or
// non-finite direction.
bool MakeProjectionFrame(const double dir[3], Frame& f)
{
    const double len = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
    if (!(len > 0.0) || !std::isfinite(len))
        return false;
    for (int a = 0; a < 3; ++a)
        f.d[a] = dir[a] / len;
    // Any vector not parallel to d.
    double h[3] = {1.0, 0.0, 0.0};
    if (std::fabs(f.d[0]) > 0.6) {
        h[0] = 0.0;
        h[1] = 1.0;
    }
    // u = h x d, normalised; v = d x u.
    f.u[0] = h[1] * f.d[2] - h[2] * f.d[1];
    f.u[1] = h[2] * f.d[0] - h[0] * f.d[2];
    f.u[2] = h[0] * f.d[1] - h[1] * f.d[0];
    const double ul = std::sqrt(f.u[0] * f.u[0] + f.u[1] * f.u[1] + f.u[2] * f.u[2]);
    for (int a = 0; a < 3; ++a)
        f.u[a] /= ul;
    f.v[0] = f.d[1] * f.u[2] - f.d[2] * f.u[1];
    f.v[1] = f.d[2] * f.u[0] - f.d[0] * f.u[2];
    f.v[2] = f.d[0] * f.u[1] - f.d[1] * f.u[0];
    return true;
}

struct Passage {
    int segment;
    double param;
    int crossing;
    bool over;
};

}  // namespace

bool ProjectCrossings(std::span<const double> x, std::span<const double> y, std::span<const double> z,
                      const double dir[3], GaussCode& code)
{
    code.passages.clear();
    code.sign.clear();
    const int n = static_cast<int>(x.size());
    Frame f;
    if (n < 3 || !MakeProjectionFrame(dir, f))
        return false;
    std::vector<double> px(n), py(n), pz(n, 0.0), height(n);
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    double hlo = INFINITY, hhi = -INFINITY;
    for (int k = 0; k < n; ++k) {
        px[k] = x[k] * f.u[0] + y[k] * f.u[1] + z[k] * f.u[2];
        py[k] = x[k] * f.v[0] + y[k] * f.v[1] + z[k] * f.v[2];
        height[k] = x[k] * f.d[0] + y[k] * f.d[1] + z[k] * f.d[2];
        lo[0] = std::min(lo[0], px[k]);
        hi[0] = std::max(hi[0], px[k]);
        lo[1] = std::min(lo[1], py[k]);
        hi[1] = std::max(hi[1], py[k]);
        hlo = std::min(hlo, height[k]);
        hhi = std::max(hhi, height[k]);
    }
    const double extent = std::max({hi[0] - lo[0], hi[1] - lo[1], hhi - hlo});
    if (!(extent > 0.0) || !std::isfinite(extent))
        return false;
    const double tol = kRelativeTolerance * extent;

    const SegmentTree tree(px, py, pz);
    std::vector<Passage> passages;
    int crossings = 0;
    bool degenerate = false;
    for (int i = 0; i < n && !degenerate; ++i) {
        const int i1 = i + 1 == n ? 0 : i + 1;
        const double p0 = px[i], p1 = py[i];
        const double r0 = px[i1] - p0, r1 = py[i1] - p1;
        const double rl = std::sqrt(r0 * r0 + r1 * r1);
        const Box3 box = tree.SegmentBox(i);
        const int lastJ = i == 0 ? n - 2 : n - 1;  // segment n - 1 touches segment 0
        tree.Search(
            [&](const Box3& b, int first, int last) {
                return !degenerate && last > i + 1 && first <= lastJ && BoxesWithin(b, box, tol);
            },
            [&](int j) {
                if (j <= i + 1 || j > lastJ || degenerate)
                    return;
                const int j1 = j + 1 == n ? 0 : j + 1;
                const double s0 = px[j1] - px[j], s1 = py[j1] - py[j];
                const double sl = std::sqrt(s0 * s0 + s1 * s1);
                const double q0 = px[j] - p0, q1 = py[j] - p1;
                const double denom = r0 * s1 - r1 * s0;
                if (std::fabs(denom) <= 1e-12 * rl * sl) {
                    // Parallel in the projection: degenerate if on one line
                    // and overlapping.
                    if (!(rl > 0.0)) {
                        degenerate = true;
                        return;
                    }
                    const double off = std::fabs(q0 * r1 - q1 * r0) / rl;
                    if (off > tol)
                        return;
                    const double a = (q0 * r0 + q1 * r1) / (rl * rl);
                    const double b = a + (s0 * r0 + s1 * r1) / (rl * rl);
                    const double dt = tol / rl;
                    if (std::max(a, b) >= -dt && std::min(a, b) <= 1.0 + dt)
                        degenerate = true;
                    return;
                }
                const double t = (q0 * s1 - q1 * s0) / denom;
                const double u = (q0 * r1 - q1 * r0) / denom;
                const double dt = rl > 0.0 ? tol / rl : 1.0;
                const double du = sl > 0.0 ? tol / sl : 1.0;
                if (t < -dt || t > 1.0 + dt || u < -du || u > 1.0 + du)
                    return;
                if (t < dt || t > 1.0 - dt || u < du || u > 1.0 - du) {
                    degenerate = true;  // a vertex on (or next to) another edge
                    return;
                }
                const double hi_ = height[i] + t * (height[i1] - height[i]);
                const double hj = height[j] + u * (height[j1] - height[j]);
                if (std::fabs(hi_ - hj) <= tol) {
                    degenerate = true;  // the strands (nearly) meet
                    return;
                }
                const bool iOver = hi_ > hj;
                // Handedness: the 2D cross product of over and under
                // directions.
                const double c = iOver ? r0 * s1 - r1 * s0 : s0 * r1 - s1 * r0;
                code.sign.push_back(c > 0.0 ? 1 : -1);
                passages.push_back({i, t, crossings, iOver});
                passages.push_back({j, u, crossings, !iOver});
                ++crossings;
            });
    }
    if (degenerate) {
        code.sign.clear();
        return false;
    }
    std::sort(passages.begin(), passages.end(), [](const Passage& a, const Passage& b) {
        return a.segment != b.segment ? a.segment < b.segment : a.param < b.param;
    });
    code.passages.reserve(passages.size());
    for (size_t k = 0; k < passages.size(); ++k) {
        const Passage& p = passages[k];
        // Two crossings at one point of a strand: a triple point.
        if (k > 0 && passages[k - 1].segment == p.segment && p.param - passages[k - 1].param <= 1e-12) {
            code.passages.clear();
            code.sign.clear();
            return false;
        }
        code.passages.push_back({p.crossing, p.over});
    }
    return true;
}

}  // namespace vek
