#include "knot/knot_layout.h"

#include <algorithm>
#include <array>
#include <cmath>

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

bool Layout(const PdCode& code, PlaneLayout& out)
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
    const int f = static_cast<int>(faces.size());
    const int vertices = 3 * n + f;
    std::vector<std::vector<int>> adj(vertices);
    auto link = [&](int a, int b) {
        adj[a].push_back(b);
        adj[b].push_back(a);
    };
    for (int i = 0; i < n; ++i)
        for (int s = 0; s < 4; ++s)
            link(i, n + code.crossings[i][s] - 1);
    int outer = 0;
    for (int k = 1; k < f; ++k)
        if (faces[k].size() > faces[outer].size())
            outer = k;
    // A face's boundary: per dart its crossing, then its arc's midpoint.
    auto boundary = [&](int k) {
        std::vector<int> b;
        for (int d : faces[k]) {
            b.push_back(d / 4);
            b.push_back(n + code.crossings[d / 4][d % 4] - 1);
        }
        return b;
    };
    for (int k = 0; k < f; ++k)
        if (k != outer)
            for (int v : boundary(k))
                link(3 * n + k, v);
    out.n = n;
    out.pos.assign(vertices, P2{});
    std::vector<char> fixed(vertices, 0);
    const std::vector<int> ring = boundary(outer);
    for (size_t k = 0; k < ring.size(); ++k) {
        if (fixed[ring[k]])
            return false;  // the outer face touches a vertex twice
        const double a = 2.0 * M_PI * static_cast<double>(k) / static_cast<double>(ring.size());
        out.pos[ring[k]] = {std::cos(a), std::sin(a)};
        fixed[ring[k]] = 1;
    }
    fixed[3 * n + outer] = 1;
    // Every free vertex at the mean of its neighbours (Gauss-Seidel).
    for (int it = 0; it < 200000; ++it) {
        double move = 0.0;
        for (int v = 0; v < vertices; ++v) {
            if (fixed[v] || adj[v].empty())
                continue;
            P2 sum;
            for (int w : adj[v])
                sum = sum + out.pos[w];
            const P2 p = (1.0 / static_cast<double>(adj[v].size())) * sum;
            move = std::max(move, Norm(p - out.pos[v]));
            out.pos[v] = p;
        }
        if (move < 1e-13)
            break;
    }
    return true;
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
        if (!Layout(code, plane)) {
            error = "the diagram's outer face meets a crossing twice: no layout (remove its kinks first)";
            return false;
        }
        // Which way round the layout is: slots 0 ... 3 counterclockwise
        // around each crossing; a mirrored layout is turned over.
        double turn = 0.0;
        for (int i = 0; i < n; ++i) {
            const P2 c = plane.pos[i];
            const auto& q = code.crossings[i];
            const P2 a = plane.pos[n + q[0] - 1] - c, b = plane.pos[n + q[1] - 1] - c;
            const P2 cc = plane.pos[n + q[2] - 1] - c, d = plane.pos[n + q[3] - 1] - c;
            turn += Cross(a, b) + Cross(b, cc) + Cross(cc, d) + Cross(d, a);
        }
        if (turn < 0.0)
            for (P2& p : plane.pos)
                p.x = -p.x;
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
