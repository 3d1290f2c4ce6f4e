#include "knot/simplify_polygon.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geom/segment_grid.h"
#include "geom/segment_pair.h"
#include "geom/segment_tree.h"

namespace vek {

namespace {

// How near another edge may come to a dropped triangle, as a fraction of
// the diagonal of the polygon's box: far above the roundings of the tests
// below, far below any gap a curve of the program has.
constexpr double kMargin = 1e-9;
// A triangle whose inradius is below this fraction of the diagonal is too
// thin for its plane to be computed reliably; it is tested through its
// three sides alone, with the inradius added to the margin (no point of a
// triangle lies farther than its inradius from its sides).
constexpr double kThinInradius = 1e-5;
// The tests at a corner: a direction within this (relative) of the
// corner's plane and wedge counts as entering it.
constexpr double kCornerMargin = 1e-8;
// A corner whose two sides make an angle with a sine below this has no
// plane to trust; its wedge is then a sliver round one side, and an edge
// within kSliverAngle of that side counts as entering it.
constexpr double kFlatCorner = 1e-6;
constexpr double kSliverAngle = 1e-5;
// Passes over the polygon. Each drops at most every other vertex, so a
// curve of a million points needs about 20.
constexpr int kMaxPasses = 64;
// The grid's cells are never finer than this fraction of the diagonal.
constexpr double kFinestCell = 1e-6;
// The work is bounded, whatever the curve: a triangle near more edges than
// kMaxNearEdges stays (as if blocked), and the passes end once all tests
// together have looked at kWorkPerVertex edges per vertex. Stopping early
// only leaves more vertices, never a wrong knot. (A zigzag of long parallel
// edges puts every edge into every triangle's cells.)
constexpr int kMaxNearEdges = 256;
constexpr long long kWorkPerVertex = 256;

Box3 SegmentBox(Vec3 p, Vec3 q, double r)
{
    return {{std::min(p.x, q.x) - r, std::min(p.y, q.y) - r, std::min(p.z, q.z) - r},
            {std::max(p.x, q.x) + r, std::max(p.y, q.y) + r, std::max(p.z, q.z) + r}};
}

// A triangle that the curve would slide across, with what the tests of the
// other edges need.
struct Triangle {
    Vec3 v[3];
    // Unit normal, (v1 - v0) x (v2 - v0) in direction; only when !thin.
    Vec3 normal{0.0, 0.0, 0.0};
    bool thin = true;
    // An edge at this distance or nearer blocks the move.
    double reach = 0.0;
    // The triangle's box grown by reach.
    Box3 box{};
};

Triangle MakeTriangle(Vec3 a, Vec3 b, Vec3 c, double margin, double diagonal)
{
    Triangle t;
    t.v[0] = a;
    t.v[1] = b;
    t.v[2] = c;
    const double ab = Length(b - a), bc = Length(c - b), ca = Length(a - c);
    // The normal from the corner opposite the longest side, whose two
    // sides are the shortest: the least rounding relative to its length.
    Vec3 n;
    if (ca >= ab && ca >= bc)
        n = Cross(c - b, a - b);
    else if (ab >= bc)
        n = Cross(a - c, b - c);
    else
        n = Cross(b - a, c - a);
    const double perimeter = ab + bc + ca;
    const double inradius = perimeter > 0.0 ? Length(n) / perimeter : 0.0;
    t.thin = !(inradius > kThinInradius * diagonal) || !UnitDirection(n, t.normal);
    t.reach = t.thin ? inradius + 2.0 * margin : 2.0 * margin;
    const Box3 ab3 = SegmentBox(a, b, t.reach), c3 = SegmentBox(c, c, t.reach);
    for (int k = 0; k < 3; ++k) {
        t.box.lo[k] = std::min(ab3.lo[k], c3.lo[k]);
        t.box.hi[k] = std::max(ab3.hi[k], c3.hi[k]);
    }
    return t;
}

// Whether point x, taken in the triangle's plane, lies inside its sides.
bool InsideSides(const Triangle& t, Vec3 x)
{
    for (int k = 0; k < 3; ++k) {
        const Vec3 p = t.v[k], q = t.v[(k + 1) % 3];
        if (Dot(Cross(q - p, x - p), t.normal) < 0.0)
            return false;
    }
    return true;
}

// Whether segment p q comes within the triangle's reach. Where they do not
// cross, the nearest points are an end of the segment and the triangle's
// inside, or the segment and a side.
bool SegmentNearTriangle(const Triangle& t, Vec3 p, Vec3 q)
{
    if (!BoxesWithin(SegmentBox(p, q, 0.0), t.box, 0.0))
        return false;
    const double r = t.reach;
    if (!t.thin) {
        const double dp = Dot(t.normal, p - t.v[0]), dq = Dot(t.normal, q - t.v[0]);
        if ((dp > r && dq > r) || (dp < -r && dq < -r))
            return false;
        if ((dp < 0.0 && dq > 0.0) || (dp > 0.0 && dq < 0.0)) {
            const Vec3 x = p + (dp / (dp - dq)) * (q - p);
            if (InsideSides(t, x))
                return true;
        }
        if ((std::fabs(dp) <= r && InsideSides(t, p)) || (std::fabs(dq) <= r && InsideSides(t, q)))
            return true;
    }
    for (int k = 0; k < 3; ++k)
        if (ClosestSegmentPoints(p, q, t.v[k], t.v[(k + 1) % 3]).squared <= r * r)
            return true;
    return false;
}

// Whether the edge from corner v to w may enter the triangle beyond v; u1
// and u2 are the triangle's other corners. A segment meets a convex set in
// one piece, so an edge that leaves v outside the corner's wedge meets the
// triangle at v alone.
bool EdgeEntersCorner(Vec3 v, Vec3 u1, Vec3 u2, Vec3 w)
{
    const Vec3 d = w - v, e1 = u1 - v, e2 = u2 - v;
    const double ld = Length(d), l1 = Length(e1), l2 = Length(e2);
    const Vec3 m = Cross(e1, e2);
    const double lm = Length(m);
    if (!(lm >= kFlatCorner * l1 * l2)) {
        if (Dot(e1, e2) <= 0.0)
            return true;  // v lies (nearly) on the opposite side: leave it
        return Dot(d, e1) > 0.0 && Length(Cross(d, e1)) <= kSliverAngle * ld * l1;
    }
    const Vec3 normal = m / lm;
    if (std::fabs(Dot(d, normal)) > kCornerMargin * ld)
        return false;
    return Dot(Cross(e1, d), normal) >= -kCornerMargin * l1 * ld &&
           Dot(Cross(d, e2), normal) >= -kCornerMargin * ld * l2;
}

}  // namespace

PolygonPoints SimplifyPolygon(PolygonView polygon)
{
    const int n = polygon.Size();
    if (n < 4)
        return PolygonPoints(polygon);
    std::vector<Vec3> p(static_cast<size_t>(n));
    double lo[3] = {polygon.X(0), polygon.Y(0), polygon.Z(0)}, hi[3] = {lo[0], lo[1], lo[2]};
    for (int i = 0; i < n; ++i) {
        p[i] = polygon.Point(i);
        const double c[3] = {p[i].x, p[i].y, p[i].z};
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], c[k]);
            hi[k] = std::max(hi[k], c[k]);
        }
    }
    const double diagonal = Length(Vec3{hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
    if (!(diagonal > 0.0) || !std::isfinite(diagonal))
        return PolygonPoints(polygon);
    const double margin = kMargin * diagonal;

    std::vector<int> next(n), prev(n), touched(n, -1);
    std::vector<char> alive(n, 1);
    for (int i = 0; i < n; ++i) {
        next[i] = i + 1 == n ? 0 : i + 1;
        prev[i] = i == 0 ? n - 1 : i - 1;
    }
    int count = n;
    std::vector<double> lengths;
    const long long budget = kWorkPerVertex * static_cast<long long>(n);
    long long work = 0;
    for (int pass = 0; pass < kMaxPasses && count > 3 && work < budget; ++pass) {
        // Cells about one edge long: a triangle of two edges then looks at
        // a few cells only.
        lengths.clear();
        for (int i = 0; i < n; ++i)
            if (alive[i])
                lengths.push_back(Length(p[next[i]] - p[i]));
        std::nth_element(lengths.begin(), lengths.begin() + lengths.size() / 2, lengths.end());
        const double cell = std::max(lengths[lengths.size() / 2], kFinestCell * diagonal);
        const double origin[3] = {lo[0] - cell, lo[1] - cell, lo[2] - cell};
        SegmentGrid grid(origin, cell, n);
        for (int i = 0; i < n; ++i)
            if (alive[i])
                grid.Add(i, SegmentBox(p[i], p[next[i]], 0.0));

        int dropped = 0;
        for (int b = 0; b < n && count > 3 && work < budget; ++b) {
            // A vertex whose edges were made in this pass waits for the
            // next: every triangle of a pass is two edges of its start.
            if (!alive[b] || touched[b] == pass)
                continue;
            const int a = prev[b], c = next[b];
            if (SquaredLength(p[c] - p[a]) <= margin * margin)
                continue;
            if (EdgeEntersCorner(p[a], p[b], p[c], p[prev[a]]) || EdgeEntersCorner(p[c], p[a], p[b], p[next[c]]))
                continue;
            const Triangle t = MakeTriangle(p[a], p[b], p[c], margin, diagonal);
            const int before = prev[a];
            int near = 0;
            const bool clear = grid.Search(t.box, [&](int id) {
                ++work;
                if (++near > kMaxNearEdges)
                    return false;
                if (!alive[id] || id == a || id == b || id == before || id == c)
                    return true;
                return !SegmentNearTriangle(t, p[id], p[next[id]]);
            });
            if (!clear)
                continue;
            next[a] = c;
            prev[c] = a;
            alive[b] = 0;
            --count;
            touched[a] = touched[c] = pass;
            grid.Add(a, SegmentBox(p[a], p[c], 0.0));
            ++dropped;
        }
        if (dropped == 0)
            break;
    }

    std::vector<double> xyz;
    xyz.reserve(3 * static_cast<size_t>(count));
    for (int i = 0; i < n; ++i)
        if (alive[i]) {
            xyz.push_back(p[i].x);
            xyz.push_back(p[i].y);
            xyz.push_back(p[i].z);
        }
    return PolygonPoints(std::move(xyz));
}

}  // namespace vek
