#include "knot/polygon_thickness.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "geom/parallel.h"
#include "geom/polygon_measures.h"
#include "geom/segment_pair.h"
#include "geom/segment_tree.h"
#include "geom/vec3.h"

namespace vek {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = 3.14159265358979323846;

struct Polygon {
    int n = 0;
    std::vector<Vec3> v;
    std::vector<Vec3> e;       // e[k] = v[k + 1] - v[k]
    std::vector<double> len;  // |e[k]|
    std::vector<double> turn; // turning angle at vertex k (between e[k-1] and e[k])
    std::vector<double> wedge; // min(1, tan(min(turn[k], 1.5))): widening of the slab ends

    int Next(int k) const { return k + 1 == n ? 0 : k + 1; }
    int Prev(int k) const { return k == 0 ? n - 1 : k - 1; }
};

// Whether the point p = v[k] + s e[k] (s 0 or 1 at an end, else inside) is
// a local minimum of the distance to q along the polygon.
bool IsCritical(const Polygon& poly, int k, double s, Vec3 p, Vec3 q)
{
    const Vec3 w = q - p;
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
        const Vec3 a0 = poly.v[i];
        const Vec3 a1 = poly.v[poly.Next(i)];
        const Vec3 ei = (1.0 / poly.len[i]) * poly.e[i];
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
                const Vec3 b0 = poly.v[j];
                const Vec3 b1 = poly.v[poly.Next(j)];
                const SegmentPair pair = ClosestSegmentPoints(a0, a1, b0, b1);
                const double s = pair.s, t = pair.t;
                const Vec3 p = a0 + s * poly.e[i];
                const Vec3 q = b0 + t * poly.e[j];
                const double d = Length(q - p);
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

// The vertices, edges and edge lengths of the polygon; false for fewer
// than 4 vertices, a coordinate that is not finite or an edge of no length.
bool MakePolygon(PolygonView polygon, Polygon& poly)
{
    const int n = polygon.Size();
    if (n < 4 || n > std::numeric_limits<int>::max() / 2 || !polygon.AllFinite())
        return false;
    poly.n = n;
    poly.v.resize(n);
    poly.e.resize(n);
    poly.len.resize(n);
    for (int k = 0; k < n; ++k)
        poly.v[k] = polygon.Point(k);
    for (int k = 0; k < n; ++k) {
        poly.e[k] = poly.v[poly.Next(k)] - poly.v[k];
        poly.len[k] = Length(poly.e[k]);
        if (!(poly.len[k] > 0.0) || !std::isfinite(poly.len[k]))
            return false;
    }
    return true;
}

// The turning angles and slab wedges of every vertex, and MinRad with its
// vertex into result; false where the polygon turns back on itself or
// MinRad is not positive.
bool MeasureTurns(Polygon& poly, PolygonThickness& result)
{
    const int n = poly.n;
    poly.turn.resize(n);
    poly.wedge.resize(n);
    result.minRad = kInf;
    for (int k = 0; k < n; ++k) {
        const Vec3 a = poly.e[poly.Prev(k)];
        const Vec3 b = poly.e[k];
        const double theta = std::atan2(Length(Cross(a, b)), Dot(a, b));
        poly.turn[k] = theta;
        poly.wedge[k] = std::min(1.0, std::tan(std::min(theta, 1.5)));
        if (theta >= kPi)
            return false;
        if (theta <= 0.0)
            continue;
        const double r = CornerMinRad(poly.v[poly.Prev(k)], poly.v[k], poly.v[poly.Next(k)]);
        if (r < result.minRad) {
            result.minRad = r;
            result.minRadVertex = k;
        }
    }
    return result.minRad > 0.0;
}

// The diagonal of the polygon's bounding box.
double ExtentDiagonal(const Polygon& poly)
{
    double lo[3] = {kInf, kInf, kInf}, hi[3] = {-kInf, -kInf, -kInf};
    for (const Vec3& v : poly.v) {
        const double c[3] = {v.x, v.y, v.z};
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], c[a]);
            hi[a] = std::max(hi[a], c[a]);
        }
    }
    double diag2 = 0.0;
    for (int a = 0; a < 3; ++a)
        diag2 += (hi[a] - lo[a]) * (hi[a] - lo[a]);
    return std::sqrt(diag2);
}

// The smallest doubly-critical distance into result: first only below
// 2 minRad (all the thickness needs), then, for a full search, wider.
void FindDcsd(const Polygon& poly, PolygonView polygon, DcsdSearch search, PolygonThickness& result)
{
    const double diag = ExtentDiagonal(poly);
    const SegmentTree tree(polygon);
    std::vector<int> ahead, behind;
    NonCriticalRanges(poly, ahead, behind);
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
}

}  // namespace

PolygonThickness ComputePolygonThickness(PolygonView polygon, DcsdSearch search)
{
    PolygonThickness result;
    Polygon poly;
    if (!MakePolygon(polygon, poly) || !MeasureTurns(poly, result))
        return PolygonThickness{};
    FindDcsd(poly, polygon, search, result);
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
