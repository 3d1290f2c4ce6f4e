#include "knot/knot_layout.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <Eigen/Sparse>

namespace vek {

namespace {

struct P2 {
    double x = 0.0, y = 0.0;
};

P2 operator-(P2 a, P2 b) { return {a.x - b.x, a.y - b.y}; }
P2 operator+(P2 a, P2 b) { return {a.x + b.x, a.y + b.y}; }
P2 operator*(double s, P2 a) { return {s * a.x, s * a.y}; }
double Norm(P2 a) { return std::hypot(a.x, a.y); }
double Cross(P2 a, P2 b) { return a.x * b.y - a.y * b.x; }

double SegmentDistance2(P2 p, P2 q, P2 r, P2 s);

double PointSegment(P2 p, P2 a, P2 b)
{
    const P2 ab = b - a;
    const double l2 = ab.x * ab.x + ab.y * ab.y;
    double t = l2 > 0.0 ? ((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / l2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return Norm(p - (a + t * ab));
}

// Distance of two segments in the plane.
double SegmentDistance2(P2 p, P2 q, P2 r, P2 s)
{
    const double d1 = Cross(q - p, r - p), d2 = Cross(q - p, s - p);
    const double d3 = Cross(s - r, p - r), d4 = Cross(s - r, q - r);
    if (((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)))
        return 0.0;
    return std::min({PointSegment(p, r, s), PointSegment(q, r, s), PointSegment(r, p, q), PointSegment(s, p, q)});
}

// The plane layout of a diagram: crossings, arc midpoints and face centres.
struct PlaneLayout {
    int n = 0;
    // Vertex ids: crossing i is i, the midpoint of arc a (1 ... 2n) is
    // n + a - 1, face f's centre 3n + f.
    std::vector<P2> pos;
};

// The arcs' two darts: dart 4i + s is slot s of crossing i.
std::vector<std::array<int, 2>> ArcDarts(const PdCode& code)
{
    const int n = static_cast<int>(code.crossings.size());
    std::vector<std::array<int, 2>> darts(2 * n + 1, {-1, -1});
    for (int i = 0; i < n; ++i)
        for (int s = 0; s < 4; ++s) {
            auto& d = darts[code.crossings[i][s]];
            d[d[0] < 0 ? 0 : 1] = 4 * i + s;
        }
    return darts;
}

// The plane graph of a diagram made a triangulated disc: crossings, a
// midpoint on every arc, and a centre in every face but the outer one,
// joined to the corners and midpoints around its face. The outer face's
// boundary is the disc's rim.
struct PlaneGraph {
    int vertices = 0;
    std::vector<std::array<int, 2>> edges;
    std::vector<int> rim;
    // The curve's edges (crossing - midpoint): one per dart.
    std::vector<std::array<int, 2>> strands;
    // The triangles fanned from the inner faces' centres.
    std::vector<std::array<int, 3>> triangles;
};

// The faces of a diagram, each as its darts in order (dart 4i + s is slot
// s of crossing i): orbits of "along the arc, then the next slot
// counterclockwise".
std::vector<std::vector<int>> Faces(const PdCode& code)
{
    const int n = static_cast<int>(code.crossings.size());
    const auto darts = ArcDarts(code);
    // Faces: orbits of "along the arc, then the next slot counterclockwise".
    std::vector<int> faceOf(4 * n, -1);
    std::vector<std::vector<int>> faces;
    for (int start = 0; start < 4 * n; ++start) {
        if (faceOf[start] >= 0)
            continue;
        std::vector<int> face;
        int d = start;
        while (faceOf[d] < 0) {
            faceOf[d] = static_cast<int>(faces.size());
            face.push_back(d);
            const auto& pair = darts[code.crossings[d / 4][d % 4]];
            const int other = pair[0] == d ? pair[1] : pair[0];
            d = (other / 4) * 4 + (other % 4 + 1) % 4;
        }
        faces.push_back(std::move(face));
    }
    return faces;
}

bool BuildGraph(const PdCode& code, const std::vector<std::vector<int>>& faces, int outer, PlaneGraph& g)
{
    const int n = static_cast<int>(code.crossings.size());
    const int f = static_cast<int>(faces.size());
    g.vertices = 3 * n + f;
    for (int i = 0; i < n; ++i)
        for (int s = 0; s < 4; ++s)
            g.strands.push_back({i, n + code.crossings[i][s] - 1});
    g.edges = g.strands;
    // A face's boundary: per dart its crossing, then its arc's midpoint.
    auto boundary = [&](int k) {
        std::vector<int> b;
        for (int d : faces[k]) {
            b.push_back(d / 4);
            b.push_back(n + code.crossings[d / 4][d % 4] - 1);
        }
        return b;
    };
    for (int k = 0; k < f; ++k) {
        if (k == outer)
            continue;
        const std::vector<int> b = boundary(k);
        for (size_t j = 0; j < b.size(); ++j) {
            g.edges.push_back({3 * n + k, b[j]});
            g.triangles.push_back({3 * n + k, b[j], b[(j + 1) % b.size()]});
        }
    }
    g.rim = boundary(outer);
    std::vector<char> seen(g.vertices, 0);
    for (int v : g.rim) {
        if (seen[v])
            return false;  // the outer face touches a vertex twice
        seen[v] = 1;
    }
    return true;
}

// Every vertex off the rim at the weighted mean of its neighbours, the rim
// fixed: with positive weights and a convex rim the triangles never fold
// over, so the drawing stays an embedding whatever the weights.
bool SolveMeans(const PlaneGraph& g, const std::vector<double>& weight, const std::vector<char>& fixed,
                std::vector<P2>& pos)
{
    std::vector<int> index(g.vertices, -1);
    int free = 0;
    for (int v = 0; v < g.vertices; ++v)
        if (!fixed[v])
            index[v] = free++;
    if (free == 0)
        return true;
    std::vector<Eigen::Triplet<double>> entries;
    Eigen::VectorXd bx = Eigen::VectorXd::Zero(free), by = Eigen::VectorXd::Zero(free);
    std::vector<double> diagonal(free, 0.0);
    for (size_t e = 0; e < g.edges.size(); ++e) {
        const auto [a, b] = g.edges[e];
        const double w = weight[e];
        for (const auto [v, u] : {std::array<int, 2>{a, b}, std::array<int, 2>{b, a}}) {
            if (index[v] < 0)
                continue;
            diagonal[index[v]] += w;
            if (index[u] >= 0) {
                entries.emplace_back(index[v], index[u], -w);
            } else {
                bx[index[v]] += w * pos[u].x;
                by[index[v]] += w * pos[u].y;
            }
        }
    }
    for (int k = 0; k < free; ++k)
        entries.emplace_back(k, k, diagonal[k]);
    Eigen::SparseMatrix<double> m(free, free);
    m.setFromTriplets(entries.begin(), entries.end());
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> solver(m);
    if (solver.info() != Eigen::Success)
        return false;
    const Eigen::VectorXd sx = solver.solve(bx), sy = solver.solve(by);
    for (int v = 0; v < g.vertices; ++v)
        if (index[v] >= 0)
            pos[v] = {sx[index[v]], sy[index[v]]};
    return sx.allFinite() && sy.allFinite();
}

// Signed area (doubled) of a triangle.
double Orientation(P2 a, P2 b, P2 c) { return Cross(b - a, c - a); }

// Whether every triangle of the drawing turns clockwise, as it must: the
// rim follows the outer face's boundary counterclockwise round the circle,
// so, with slots 0 ... 3 counterclockwise around each crossing, every inner
// face's boundary (and each triangle fanned from its centre) turns
// clockwise. A drawing that folds a triangle over, or lies flat, would
// turn crossings the other way and mirror the knot.
bool TurnsClockwise(const PlaneGraph& g, const std::vector<P2>& pos)
{
    for (const auto& t : g.triangles)
        if (!(Orientation(pos[t[0]], pos[t[1]], pos[t[2]]) < 0.0))
            return false;
    return true;
}

// The smallest plane distance between strand edges that share no vertex.
double StrandGap(const PlaneGraph& g, const std::vector<P2>& pos)
{
    double gap = INFINITY;
    for (size_t e = 0; e < g.strands.size(); ++e)
        for (size_t k = e + 1; k < g.strands.size(); ++k) {
            const auto& a = g.strands[e];
            const auto& b = g.strands[k];
            if (a[0] == b[0] || a[0] == b[1] || a[1] == b[0] || a[1] == b[1])
                continue;
            gap = std::min(gap, SegmentDistance2(pos[a[0]], pos[a[1]], pos[b[0]], pos[b[1]]));
        }
    return gap;
}

double StrandLength(const PlaneGraph& g, const std::vector<P2>& pos)
{
    double length = 0.0;
    for (const auto& e : g.strands)
        length += Norm(pos[e[0]] - pos[e[1]]);
    return length;
}

// Steps of the spring refinement below, and how often its drawing is
// weighed.
constexpr int kSpringSteps = 300;
constexpr int kSpringWeighEvery = 5;

// Spreads a drawing of the disc further: springs along the edges, every
// pair of vertices pushing apart (as in a spring embedder), the rim held.
// The drawing given turns every triangle clockwise; a vertex moves only as
// far as keeps every triangle around it so, so the drawing stays an
// embedding of the same chirality. The step shrinks as it goes. The
// drawing weighed best on the way (gap over length) is kept.
double SpringLayout(const PlaneGraph& g, const std::vector<char>& fixed, std::vector<P2>& pos, double quality)
{
    const int nv = g.vertices;
    std::vector<std::vector<int>> around(nv), neighbours(nv);
    for (size_t t = 0; t < g.triangles.size(); ++t)
        for (int v : g.triangles[t])
            around[v].push_back(static_cast<int>(t));
    for (const auto& e : g.edges) {
        neighbours[e[0]].push_back(e[1]);
        neighbours[e[1]].push_back(e[0]);
    }
    std::vector<int> used;
    for (int v = 0; v < nv; ++v)
        if (!neighbours[v].empty())
            used.push_back(v);
    // The natural length: the rim's disc shared among the vertices.
    const double k = std::sqrt(M_PI / static_cast<double>(used.size()));
    std::vector<P2> best = pos;
    for (int step = 1; step <= kSpringSteps; ++step) {
        const double reach = 0.1 * k * (1.0 - static_cast<double>(step - 1) / kSpringSteps);
        for (int v : used) {
            if (fixed[v])
                continue;
            P2 force;
            for (int u : used) {
                if (u == v)
                    continue;
                const P2 d = pos[v] - pos[u];
                const double r2 = std::max(d.x * d.x + d.y * d.y, 1e-18);
                force = force + (k * k / r2) * d;
            }
            for (int u : neighbours[v]) {
                const P2 d = pos[u] - pos[v];
                force = force + (Norm(d) / k) * d;
            }
            const double size = Norm(force);
            if (!(size > 0.0))
                continue;
            P2 move = (std::min(size, reach) / size) * force;
            const P2 from = pos[v];
            for (int attempt = 0; attempt < 6; ++attempt, move = 0.5 * move) {
                pos[v] = from + move;
                bool kept = true;
                for (int t : around[v]) {
                    const auto& tr = g.triangles[t];
                    const double o = Orientation(pos[tr[0]], pos[tr[1]], pos[tr[2]]);
                    // Folding over, or nearly flat (see TurnsClockwise).
                    if (!(o < -1e-12)) {
                        kept = false;
                        break;
                    }
                }
                if (kept)
                    break;
                pos[v] = from;
            }
        }
        if (step % kSpringWeighEvery == 0) {
            const double q = StrandGap(g, pos) / StrandLength(g, pos);
            if (q > quality) {
                quality = q;
                best = pos;
            }
        }
    }
    pos = best;
    return quality;
}

// Rounds of the weight refinement below, and how many of the largest
// faces are tried outside.
constexpr int kSpreadRounds = 40;
constexpr int kOuterFaces = 8;

// The drawing of the disc with `outer` outside whose strands keep the
// largest gap for their length, and that ratio (0 when the rim touches a
// vertex twice).
double SpreadLayout(const PdCode& code, const std::vector<std::vector<int>>& faces, int outer, std::vector<P2>& out)
{
    PlaneGraph g;
    if (!BuildGraph(code, faces, outer, g))
        return 0.0;
    std::vector<P2> pos(g.vertices, P2{});
    std::vector<char> fixed(g.vertices, 1);
    for (const auto& e : g.edges)
        fixed[e[0]] = fixed[e[1]] = 0;
    for (size_t k = 0; k < g.rim.size(); ++k) {
        const double a = 2.0 * M_PI * static_cast<double>(k) / static_cast<double>(g.rim.size());
        pos[g.rim[k]] = {std::cos(a), std::sin(a)};
        fixed[g.rim[k]] = 1;
    }
    // Equal weights (the barycentric layout) crowd the vertices far from
    // the rim, so the curve must be scaled up far for its strands there to
    // be apart. Each round multiplies every edge's weight by its length
    // over the mean: long edges pull harder and shorten, short ones
    // lengthen, and the drawing evens out. The round whose strands keep
    // the largest gap for their length is kept (never worse than the
    // barycentric one, the first).
    std::vector<double> weight(g.edges.size(), 1.0);
    double best = 0.0;
    for (int round = 0; round <= kSpreadRounds; ++round) {
        if (!SolveMeans(g, weight, fixed, pos))
            break;
        const double quality = StrandGap(g, pos) / StrandLength(g, pos);
        if (quality > best && TurnsClockwise(g, pos)) {
            best = quality;
            out = pos;
        }
        double mean = 0.0;
        std::vector<double> length(g.edges.size());
        for (size_t e = 0; e < g.edges.size(); ++e)
            mean += length[e] = Norm(pos[g.edges[e][0]] - pos[g.edges[e][1]]);
        mean /= static_cast<double>(g.edges.size());
        for (size_t e = 0; e < g.edges.size(); ++e)
            weight[e] = std::clamp(weight[e] * length[e] / mean, 1e-6, 1e6);
    }
    if (best > 0.0) {
        pos = out;
        best = SpringLayout(g, fixed, pos, best);
        out = pos;
    }
    return best;
}

bool Layout(const PdCode& code, int rank, PlaneLayout& out, std::string& error)
{
    const auto faces = Faces(code);
    out.n = static_cast<int>(code.crossings.size());
    // The largest faces first (in the diagram's order among equals), each
    // tried outside; the layouts are ranked by their ratio of gap to
    // length, the earlier one of equals first.
    std::vector<int> order(faces.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<int>(k);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return faces[a].size() > faces[b].size(); });
    order.resize(std::min<size_t>(order.size(), kOuterFaces));
    std::vector<std::pair<double, std::vector<P2>>> layouts;
    bool rimTwice = false;
    for (int outer : order) {
        std::vector<P2> pos;
        const double quality = SpreadLayout(code, faces, outer, pos);
        rimTwice = rimTwice || pos.empty();
        if (quality > 0.0)
            layouts.emplace_back(quality, std::move(pos));
    }
    std::stable_sort(layouts.begin(), layouts.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    if (rank >= 0 && static_cast<size_t>(rank) < layouts.size()) {
        out.pos = std::move(layouts[rank].second);
        return true;
    }
    if (!layouts.empty()) {
        error = "the diagram has " + std::to_string(layouts.size()) + " layouts, not " + std::to_string(rank + 1);
        return false;
    }
    error = rimTwice ? "the diagram's outer face meets a crossing twice: no layout (remove its kinks first)"
                     : "the diagram's layout degenerates (strands meet in the plane)";
    return false;
}

struct P3 {
    double x, y, z;
};

double Dist(const P3& a, const P3& b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z)); }

// Points every `step` along the closed polyline.
std::vector<P3> Resample(const std::vector<P3>& poly, double step)
{
    std::vector<P3> out;
    const size_t m = poly.size();
    double carry = 0.0;
    for (size_t k = 0; k < m; ++k) {
        const P3& a = poly[k];
        const P3& b = poly[(k + 1) % m];
        const double len = Dist(a, b);
        double t = carry;
        while (t < len) {
            const double u = t / len;
            out.push_back({a.x + u * (b.x - a.x), a.y + u * (b.y - a.y), a.z + u * (b.z - a.z)});
            t += step;
        }
        carry = t - len;
    }
    return out;
}

// The smallest distance between points further apart along the closed
// polyline (of even spacing `step`) than `window`.
double NonLocalDistance(const std::vector<P3>& pts, double step, double window)
{
    const int m = static_cast<int>(pts.size());
    const int skip = static_cast<int>(std::ceil(window / step));
    double best = INFINITY;
    for (int i = 0; i < m; ++i)
        for (int j = i + skip; j < m && j <= i + m - skip; ++j)
            best = std::min(best, Dist(pts[i], pts[j]));
    return best;
}

}  // namespace

bool LayOutKnot(const PdCode& code, const KnotLayoutOptions& options, std::vector<double>& x, std::vector<double>& y,
                std::vector<double>& z, std::string& error)
{
    x.clear();
    y.clear();
    z.clear();
    const int n = static_cast<int>(code.crossings.size());
    std::vector<P3> poly;
    if (n > kMaxLayoutCrossings) {
        error = "diagrams of more than " + std::to_string(kMaxLayoutCrossings) + " crossings are not laid out";
        return false;
    }
    if (n == 0) {
        // The unknot: a round circle.
        for (int k = 0; k < 12; ++k) {
            const double a = 2.0 * M_PI * k / 12.0;
            poly.push_back({std::cos(a), std::sin(a), 0.0});
        }
    } else {
        PlaneLayout plane;
        if (!Layout(code, options.outerRank, plane, error))
            return false;
        // Every triangle of the layout turns clockwise (see TurnsClockwise),
        // so slots 0 ... 3 run counterclockwise around each crossing as in
        // the code: the knot keeps its chirality.
        // The graph's edges (crossing - midpoint), for the plane clearance.
        std::vector<std::array<int, 2>> edges;
        for (int i = 0; i < n; ++i)
            for (int s = 0; s < 4; ++s)
                edges.push_back({i, n + code.crossings[i][s] - 1});
        double delta = INFINITY;
        for (size_t e = 0; e < edges.size(); ++e)
            for (size_t g = e + 1; g < edges.size(); ++g) {
                const auto& a = edges[e];
                const auto& b = edges[g];
                if (a[0] == b[0] || a[0] == b[1] || a[1] == b[0] || a[1] == b[1])
                    continue;
                delta = std::min(delta, SegmentDistance2(plane.pos[a[0]], plane.pos[a[1]], plane.pos[b[0]],
                                                         plane.pos[b[1]]));
            }
        if (!(delta > 1e-9)) {
            error = "the diagram's layout degenerates (strands meet in the plane)";
            return false;
        }
        const double h = 0.5 * delta;
        // The passage at the end of every arc: crossing, slot it enters by,
        // the slot it leaves by.
        const int arcs = 2 * n;
        std::vector<std::array<int, 3>> passage(arcs + 1, {-1, -1, -1});
        for (int i = 0; i < n; ++i) {
            const auto& q = code.crossings[i];
            passage[q[0]] = {i, 0, 2};
            const bool fromB = q[3] == (q[1] == arcs ? 1 : q[1] + 1) && q[1] != q[0];
            passage[fromB ? q[1] : q[3]] = {i, fromB ? 1 : 3, fromB ? 3 : 1};
        }
        for (int arc = 1; arc <= arcs; ++arc) {
            const auto [i, in, outSlot] = passage[arc];
            const P2 c = plane.pos[i];
            const P2 mIn = plane.pos[n + code.crossings[i][in] - 1];
            const P2 mOut = plane.pos[n + code.crossings[i][outSlot] - 1];
            double reach = INFINITY;
            for (int s = 0; s < 4; ++s)
                reach = std::min(reach, Norm(plane.pos[n + code.crossings[i][s] - 1] - c));
            const double eps = std::min(0.25 * reach, 0.3 * delta);
            P2 u = mOut - mIn;
            u = (1.0 / Norm(u)) * u;
            const double height = (in == 0 ? -h : h);
            poly.push_back({mIn.x, mIn.y, 0.0});
            for (double t : {-eps, 0.0, eps})
                poly.push_back({c.x + t * u.x, c.y + t * u.y, height});
        }
    }
    // Even spacing, then scaled to the clearance.
    double length = 0.0;
    for (size_t k = 0; k < poly.size(); ++k)
        length += Dist(poly[k], poly[(k + 1) % poly.size()]);
    const double step = length / 4000.0;
    std::vector<P3> even = Resample(poly, step);
    double shortest = INFINITY;
    for (size_t k = 0; k < poly.size(); ++k)
        shortest = std::min(shortest, Dist(poly[k], poly[(k + 1) % poly.size()]));
    // Points closer along the curve than this are neighbours.
    const double window = n == 0 ? length / 4.0 : std::max(4.0 * shortest, length / (8.0 * n));
    const double clear = NonLocalDistance(even, step, window);
    if (!(clear > 0.0) || !std::isfinite(clear)) {
        error = "the diagram's layout degenerates (strands meet)";
        return false;
    }
    const double scale = n == 0 ? options.clearance * 8.0 : options.clearance / clear;
    for (P3& p : poly)
        p = {p.x * scale, p.y * scale, p.z * scale};
    for (const P3& p : Resample(poly, options.spacing)) {
        x.push_back(p.x);
        y.push_back(p.y);
        z.push_back(p.z);
    }
    return true;
}

}  // namespace vek
