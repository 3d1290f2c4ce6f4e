#include "knot/polygon_thickness.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/block_split.h"
#include "curve/segment_tree.h"

namespace vek {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.14159265358979323846;

struct Vec {
    double x, y, z;
};

Vec Sub(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Add(const Vec& a, const Vec& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec Scale(const Vec& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Norm(const Vec& a) { return std::sqrt(Dot(a, a)); }

// The closest points p = a0 + s (a1 - a0), q = b0 + t (b1 - b0) of two
// segments of positive length. Parallel segments that overlap along their
// line give the middle of the overlap, so that an interior pair is found
// where one exists.
void ClosestPoints(const Vec& a0, const Vec& a1, const Vec& b0, const Vec& b1, double& s, double& t)
{
    const Vec d1 = Sub(a1, a0), d2 = Sub(b1, b0), r = Sub(a0, b0);
    const double a = Dot(d1, d1), e = Dot(d2, d2), f = Dot(d2, r), c = Dot(d1, r), b = Dot(d1, d2);
    const double denom = a * e - b * b;
    if (denom <= 1e-14 * a * e) {
        // Parallel: project b's ends onto a's line.
        const double u0 = -c / a;               // b0
        const double u1 = (b - c) / a;          // b1
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

struct Polygon {
    int n = 0;
    std::vector<Vec> v;
    std::vector<Vec> e;       // e[k] = v[k + 1] - v[k]
    std::vector<double> len;  // |e[k]|
    std::vector<double> turn; // turning angle at vertex k (between e[k-1] and e[k])
    std::vector<double> wedge; // min(1, tan(min(turn[k], 1.5))): widening of the slab ends

    int Next(int k) const { return k + 1 == n ? 0 : k + 1; }
    int Prev(int k) const { return k == 0 ? n - 1 : k - 1; }
};

// Whether the point p = v[k] + s e[k] (s 0 or 1 at an end, else inside) is
// a local minimum of the distance to q along the polygon.
bool IsCritical(const Polygon& poly, int k, double s, const Vec& p, const Vec& q)
{
    const Vec w = Sub(q, p);
    if (s <= 0.0)
        return Dot(w, poly.e[poly.Prev(k)]) >= 0.0;  // backwards along the edge before
    if (s >= 1.0)
        return Dot(w, poly.e[poly.Next(k)]) <= 0.0;  // forwards along the edge after
    return true;  // inside: perpendicular, since it is closest on its edge
}

// Edges j = i + m are never doubly critical with edge i for 1 <= m <=
// ahead[i] (and for j = i - m with m <= behind[i]): the polygon turns by
// less than pi between them, and a chord whose two ends are both critical
// needs a turn of at least pi.
void NonCriticalRanges(const Polygon& poly, std::vector<int>& ahead, std::vector<int>& behind)
{
    const int n = poly.n;
    std::vector<double> prefix(2 * static_cast<size_t>(n) + 1, 0.0);  // prefix[k] = turns of vertices < k
    for (int k = 0; k < 2 * n; ++k)
        prefix[k + 1] = prefix[k] + poly.turn[k % n];
    const double limit = kPi * (1.0 - 1e-9) - 1e-12 * prefix[n];
    ahead.assign(n, 1);
    behind.assign(n, 1);
    for (int i = 0; i < n; ++i) {
        // Forward: turns of vertices i + 1 ... i + m below the limit.
        int lo = 1, hi = n - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (prefix[i + mid + 1] - prefix[i + 1] < limit)
                lo = mid;
            else
                hi = mid - 1;
        }
        ahead[i] = lo;
        // Backward: turns of vertices i - m + 1 ... i, read at i + n.
        lo = 1, hi = n - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (prefix[i + n + 1] - prefix[i + n - mid + 1] < limit)
                lo = mid;
            else
                hi = mid - 1;
        }
        behind[i] = lo;
    }
}

struct DcsdPair {
    double d;
    int edgeA = -1, edgeB = -1;
};

// Smallest doubly-critical distance below `bound` with first edge in
// begin ... end - 1 (or `bound` itself and -1 edges when there is none).
// Of equal distances the first pair met is kept, edges in increasing order.
DcsdPair SearchDcsdFrom(const Polygon& poly, const SegmentTree& tree, const std::vector<int>& ahead,
                        const std::vector<int>& behind, double bound, int begin, int end)
{
    const int n = poly.n;
    double best = bound;
    int edgeA = -1, edgeB = -1;
    for (int i = begin; i < end; ++i) {
        const Box3 box = tree.SegmentBox(i);
        const Vec& a0 = poly.v[i];
        const Vec a1 = poly.v[poly.Next(i)];
        const Vec ei = Scale(poly.e[i], 1.0 / poly.len[i]);
        const int before = std::min(behind[i], n - 1);
        const int after = std::min(ahead[i], n - 1);
        const bool everything = before + after >= n - 1;
        if (everything)
            continue;
        tree.Search(
            [&](const Box3& b, int first, int last) {
                if (last <= i)
                    return false;
                const double r = best * (1.0 + 1e-9);
                if (!BoxesWithin(b, box, r))
                    return false;
                if (RunInsideCyclicRange(std::max(first, i + 1), last, i, n, before, after))
                    return false;
                // The chord must leave edge i inside its slab, widened at
                // the ends by the wedges between the neighbouring slabs.
                const double wStart = r * poly.wedge[i];
                const double wEnd = r * poly.wedge[poly.Next(i)];
                double lo = 0.0, hi = 0.0;
                const double c[3] = {ei.x, ei.y, ei.z};
                const double o[3] = {a0.x, a0.y, a0.z};
                for (int k = 0; k < 3; ++k) {
                    const double u = (b.lo[k] - o[k]) * c[k], w = (b.hi[k] - o[k]) * c[k];
                    lo += std::min(u, w);
                    hi += std::max(u, w);
                }
                const double slack = 1e-9 * (r + poly.len[i]);
                return hi >= -wStart - slack && lo <= poly.len[i] + wEnd + slack;
            },
            [&](int j) {
                if (j <= i)
                    return;
                const int offset = j - i;
                if (offset <= after || n - offset <= before)
                    return;
                const Vec& b0 = poly.v[j];
                const Vec b1 = poly.v[poly.Next(j)];
                double s, t;
                ClosestPoints(a0, a1, b0, b1, s, t);
                const Vec p = Add(a0, Scale(poly.e[i], s));
                const Vec q = Add(b0, Scale(poly.e[j], t));
                const double d = Norm(Sub(q, p));
                if (!(d < best))
                    return;
                if (!IsCritical(poly, i, s, p, q) || !IsCritical(poly, j, t, q, p))
                    return;
                best = d;
                edgeA = i;
                edgeB = j;
            });
    }
    return {best, edgeA, edgeB};
}

// SearchDcsdFrom over every edge, in blocks of edges side by side. Each
// block finds the first of its smallest pairs; the first block holding the
// smallest distance gives the pair, as one pass in edge order would.
double SearchDcsd(const Polygon& poly, const SegmentTree& tree, const std::vector<int>& ahead,
                  const std::vector<int>& behind, double bound, int& edgeA, int& edgeB)
{
    constexpr int kGrain = 512;
    std::vector<DcsdPair> found(static_cast<size_t>(BlockCount(poly.n, kGrain)));
    ForEachBlock(poly.n, kGrain, [&](int first, int last, int block) {
        found[static_cast<size_t>(block)] = SearchDcsdFrom(poly, tree, ahead, behind, bound, first, last);
    });
    DcsdPair best{bound};
    for (const DcsdPair& pair : found)
        if (pair.edgeA >= 0 && (best.edgeA < 0 || pair.d < best.d))
            best = pair;
    edgeA = best.edgeA;
    edgeB = best.edgeB;
    return best.d;
}

}  // namespace

PolygonThickness ComputePolygonThickness(std::span<const double> x, std::span<const double> y,
                                         std::span<const double> z, DcsdSearch search)
{
    PolygonThickness result;
    const size_t count = std::min({x.size(), y.size(), z.size()});
    if (count < 4 || count > static_cast<size_t>(std::numeric_limits<int>::max() / 2))
        return result;
    Polygon poly;
    poly.n = static_cast<int>(count);
    const int n = poly.n;
    poly.v.resize(n);
    for (int k = 0; k < n; ++k) {
        if (!std::isfinite(x[k]) || !std::isfinite(y[k]) || !std::isfinite(z[k]))
            return result;
        poly.v[k] = {x[k], y[k], z[k]};
    }
    poly.e.resize(n);
    poly.len.resize(n);
    poly.turn.resize(n);
    poly.wedge.resize(n);
    for (int k = 0; k < n; ++k) {
        poly.e[k] = Sub(poly.v[poly.Next(k)], poly.v[k]);
        poly.len[k] = Norm(poly.e[k]);
        if (!(poly.len[k] > 0.0) || !std::isfinite(poly.len[k]))
            return result;
    }
    // MinRad.
    result.minRad = kInf;
    for (int k = 0; k < n; ++k) {
        const Vec& a = poly.e[poly.Prev(k)];
        const Vec& b = poly.e[k];
        const double theta = std::atan2(Norm(Cross(a, b)), Dot(a, b));
        poly.turn[k] = theta;
        poly.wedge[k] = std::min(1.0, std::tan(std::min(theta, 1.5)));
        if (theta >= kPi)
            return PolygonThickness{};
        if (theta <= 0.0)
            continue;
        const double r = std::min(poly.len[poly.Prev(k)], poly.len[k]) / (2.0 * std::tan(0.5 * theta));
        if (r < result.minRad) {
            result.minRad = r;
            result.minRadVertex = k;
        }
    }
    if (!(result.minRad > 0.0))
        return PolygonThickness{};

    std::vector<double> px(n), py(n), pz(n);
    double diag2 = 0.0;
    double lo[3] = {kInf, kInf, kInf}, hi[3] = {-kInf, -kInf, -kInf};
    for (int k = 0; k < n; ++k) {
        px[k] = x[k];
        py[k] = y[k];
        pz[k] = z[k];
        const double c[3] = {x[k], y[k], z[k]};
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], c[a]);
            hi[a] = std::max(hi[a], c[a]);
        }
    }
    for (int a = 0; a < 3; ++a)
        diag2 += (hi[a] - lo[a]) * (hi[a] - lo[a]);
    const double diag = std::sqrt(diag2);
    const SegmentTree tree(px, py, pz);
    std::vector<int> ahead, behind;
    NonCriticalRanges(poly, ahead, behind);

    // First look only below 2 minRad (all the thickness needs), then widen.
    double bound = std::isfinite(result.minRad) ? 2.0 * result.minRad * (1.0 + 1e-12) : diag;
    result.dcsd = kInf;
    const double widest = 1.000001 * diag;
    while (true) {
        int ea, eb;
        const double d = SearchDcsd(poly, tree, ahead, behind, bound, ea, eb);
        if (ea >= 0) {
            result.dcsd = d;
            result.dcsdEdgeA = ea;
            result.dcsdEdgeB = eb;
            break;
        }
        if (!(bound < widest) || (search == DcsdSearch::ThicknessOnly && std::isfinite(result.minRad)))
            break;  // no two points are farther apart than the extent, or minRad decides
        bound = std::min(4.0 * bound, widest);
    }
    result.thickness = std::min(result.minRad, 0.5 * result.dcsd);
    if (!std::isfinite(result.thickness))
        result.thickness = 0.0;
    return result;
}

double CertifiedRopelength(double length, double thickness)
{
    if (!(thickness > 0.0) || !std::isfinite(length))
        return kInf;
    return length / (2.0 * thickness);
}

}  // namespace vek
