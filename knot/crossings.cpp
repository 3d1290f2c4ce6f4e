#include "knot/crossings.h"

#include <algorithm>
#include <cmath>

#include "geom/segment_tree.h"
#include "geom/vec3.h"

namespace vek {

namespace {

// Distances below this fraction of the curve's extent are too close to call.
constexpr double kRelativeTolerance = 1e-9;

struct Frame {
    Vec3 u, v, d;
};

// A right-handed frame (u, v, d) with d along dir; false for a zero or
// non-finite direction.
bool MakeProjectionFrame(const double dir[3], Frame& f)
{
    const Vec3 direction = {dir[0], dir[1], dir[2]};
    const double len = Length(direction);
    if (!(len > 0.0) || !std::isfinite(len))
        return false;
    f.d = direction / len;
    // Any vector not parallel to d.
    const Vec3 h = std::fabs(f.d.x) > 0.6 ? Vec3{0.0, 1.0, 0.0} : Vec3{1.0, 0.0, 0.0};
    // u = h x d, normalised; v = d x u.
    const Vec3 u = Cross(h, f.d);
    f.u = u / Length(u);
    f.v = Cross(f.d, f.u);
    return true;
}

// The polygon in the frame: plane coordinates, heights along the
// direction, and the tolerance of the decisions.
struct Projection {
    int n = 0;
    std::vector<double> px, py, pz, height;
    double tol = 0.0;
};

// False when the polygon has no extent (or a coordinate is not finite).
bool Project(PolygonView polygon, const Frame& f, Projection& p)
{
    const int n = polygon.Size();
    p.n = n;
    p.px.resize(n);
    p.py.resize(n);
    p.pz.assign(n, 0.0);
    p.height.resize(n);
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    double hlo = INFINITY, hhi = -INFINITY;
    for (int k = 0; k < n; ++k) {
        const Vec3 point = polygon.Point(k);
        p.px[k] = Dot(point, f.u);
        p.py[k] = Dot(point, f.v);
        p.height[k] = Dot(point, f.d);
        lo[0] = std::min(lo[0], p.px[k]);
        hi[0] = std::max(hi[0], p.px[k]);
        lo[1] = std::min(lo[1], p.py[k]);
        hi[1] = std::max(hi[1], p.py[k]);
        hlo = std::min(hlo, p.height[k]);
        hhi = std::max(hhi, p.height[k]);
    }
    const double extent = std::max({hi[0] - lo[0], hi[1] - lo[1], hhi - hlo});
    if (!(extent > 0.0) || !std::isfinite(extent))
        return false;
    p.tol = kRelativeTolerance * extent;
    return true;
}

struct Passage {
    int segment;
    double param;
    int crossing;
    bool over;
};

// What one pair of projected edges i < j gives.
enum class PairResult { None, Crossing, Degenerate };

// Edges i and j (not neighbours) of the projection: whether they cross,
// and if so the two passages and the sign of the crossing numbered
// `crossing`.
PairResult CrossEdges(const Projection& p, int i, int j, int crossing, Passage passages[2], int& sign)
{
    const int n = p.n;
    const double tol = p.tol;
    const int i1 = i + 1 == n ? 0 : i + 1;
    const int j1 = j + 1 == n ? 0 : j + 1;
    const double p0 = p.px[i], p1 = p.py[i];
    const double r0 = p.px[i1] - p0, r1 = p.py[i1] - p1;
    const double rl = std::sqrt(r0 * r0 + r1 * r1);
    const double s0 = p.px[j1] - p.px[j], s1 = p.py[j1] - p.py[j];
    const double sl = std::sqrt(s0 * s0 + s1 * s1);
    const double q0 = p.px[j] - p0, q1 = p.py[j] - p1;
    const double denom = r0 * s1 - r1 * s0;
    if (std::fabs(denom) <= 1e-12 * rl * sl) {
        // Parallel in the projection: degenerate if on one line and
        // overlapping.
        if (!(rl > 0.0))
            return PairResult::Degenerate;
        const double off = std::fabs(q0 * r1 - q1 * r0) / rl;
        if (off > tol)
            return PairResult::None;
        const double a = (q0 * r0 + q1 * r1) / (rl * rl);
        const double b = a + (s0 * r0 + s1 * r1) / (rl * rl);
        const double dt = tol / rl;
        return std::max(a, b) >= -dt && std::min(a, b) <= 1.0 + dt ? PairResult::Degenerate : PairResult::None;
    }
    const double t = (q0 * s1 - q1 * s0) / denom;
    const double u = (q0 * r1 - q1 * r0) / denom;
    const double dt = rl > 0.0 ? tol / rl : 1.0;
    const double du = sl > 0.0 ? tol / sl : 1.0;
    if (t < -dt || t > 1.0 + dt || u < -du || u > 1.0 + du)
        return PairResult::None;
    if (t < dt || t > 1.0 - dt || u < du || u > 1.0 - du)
        return PairResult::Degenerate;  // a vertex on (or next to) another edge
    const double hi = p.height[i] + t * (p.height[i1] - p.height[i]);
    const double hj = p.height[j] + u * (p.height[j1] - p.height[j]);
    if (std::fabs(hi - hj) <= tol)
        return PairResult::Degenerate;  // the strands (nearly) meet
    const bool iOver = hi > hj;
    // Handedness: the 2D cross product of over and under directions.
    const double c = iOver ? r0 * s1 - r1 * s0 : s0 * r1 - s1 * r0;
    sign = c > 0.0 ? 1 : -1;
    passages[0] = {i, t, crossing, iOver};
    passages[1] = {j, u, crossing, !iOver};
    return PairResult::Crossing;
}

// Every crossing of the projection, each pair of edges i < j once, with
// its passages and signs; false at the first degenerate pair.
bool FindCrossings(const Projection& p, std::vector<Passage>& passages, std::vector<int>& signs)
{
    const int n = p.n;
    const SegmentTree tree(PolygonView(p.px, p.py, p.pz));
    int crossings = 0;
    bool degenerate = false;
    for (int i = 0; i < n && !degenerate; ++i) {
        const Box3 box = tree.SegmentBox(i);
        const int lastJ = i == 0 ? n - 2 : n - 1;  // segment n - 1 touches segment 0
        tree.Search(
            [&](const Box3& b, int first, int last) {
                return !degenerate && last > i + 1 && first <= lastJ && BoxesWithin(b, box, p.tol);
            },
            [&](int j) {
                if (j <= i + 1 || j > lastJ || degenerate)
                    return;
                Passage pair[2];
                int sign = 0;
                switch (CrossEdges(p, i, j, crossings, pair, sign)) {
                case PairResult::None:
                    return;
                case PairResult::Degenerate:
                    degenerate = true;
                    return;
                case PairResult::Crossing:
                    signs.push_back(sign);
                    passages.push_back(pair[0]);
                    passages.push_back(pair[1]);
                    ++crossings;
                    return;
                }
            });
    }
    return !degenerate;
}

// The passages in the order of the curve, as the Gauss code's; false at a
// triple point (two crossings at one point of a strand).
bool OrderPassages(std::vector<Passage>& passages, std::vector<GaussPassage>& code)
{
    std::sort(passages.begin(), passages.end(), [](const Passage& a, const Passage& b) {
        return a.segment != b.segment ? a.segment < b.segment : a.param < b.param;
    });
    code.reserve(passages.size());
    for (size_t k = 0; k < passages.size(); ++k) {
        const Passage& p = passages[k];
        if (k > 0 && passages[k - 1].segment == p.segment && p.param - passages[k - 1].param <= 1e-12)
            return false;
        code.push_back({p.crossing, p.over});
    }
    return true;
}

}  // namespace

bool ProjectCrossings(PolygonView polygon, const double dir[3], GaussCode& code)
{
    code.passages.clear();
    code.sign.clear();
    Frame f;
    Projection projection;
    if (polygon.Size() < 3 || !MakeProjectionFrame(dir, f) || !Project(polygon, f, projection))
        return false;
    std::vector<Passage> passages;
    if (FindCrossings(projection, passages, code.sign) && OrderPassages(passages, code.passages))
        return true;
    code.passages.clear();
    code.sign.clear();
    return false;
}

}  // namespace vek
