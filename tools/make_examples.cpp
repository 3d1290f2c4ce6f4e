// vek-make-examples DIR: writes the example position data files into DIR,
// each a closed curve clicked by hand into the 2D sketch: x and y within
// -0.5 ... 0.5, depths between 0.05 and 0.15 (a deeper point, larger z, lies
// over a shallower one where the strands cross), the points a little
// irregular. The knots are torus-style drawings: the radius swings while the
// angle goes round, and the depth follows so that over- and under-passes
// alternate.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "io/points_file.h"
#include "knot/knot_type.h"
#include "relax/relax_run.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A fixed sequence of small offsets in -1 ... 1, so that every run writes the
// same files.
class Jitter {
public:
    double Next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) / 4503599627370496.0 - 1.0;  // 2^52
    }

private:
    unsigned long long m_state = 20240601ULL;
};

struct Shape {
    double x, y, depth;  // depth in -1 ... 1
};

// Writes `count` points of shape(t), t going once round 0 ... 2 pi, scaled
// by `scale` in x and y; depth maps to 0.1 + 0.045 * depth.
bool WriteExample(const std::string& path, int count, double scale, const std::function<Shape(double)>& shape,
                  Jitter& jitter)
{
    CDoubleArray x, y, z;
    for (int k = 0; k < count; ++k) {
        const double t = 2.0 * kPi * (k + 0.25 * jitter.Next()) / count;
        const Shape p = shape(t);
        x.Add(scale * p.x + 0.006 * jitter.Next());
        y.Add(scale * p.y + 0.006 * jitter.Next());
        z.Add(0.1 + 0.045 * p.depth + 0.004 * jitter.Next());
    }
    std::string error;
    if (!WritePointsFile(path, x, y, z, error)) {
        std::fprintf(stderr, "vek-make-examples: %s\n", error.c_str());
        return false;
    }
    return true;
}

// The (2, q) torus knot drawn flat: q lobes, q crossings.
Shape TorusKnot(double t, int q)
{
    const double r = 2.0 + std::cos(q * t);
    return {r * std::cos(2.0 * t), r * std::sin(2.0 * t), -std::sin(q * t)};
}

// The figure-eight knot: three turns round the centre with the radius
// swinging twice, four crossings.
Shape FigureEight(double t)
{
    const double r = 2.0 + std::cos(2.0 * t);
    return {r * std::cos(3.0 * t), r * std::sin(3.0 * t), std::sin(4.0 * t)};
}

Shape Circle(double t)
{
    return {std::cos(t), std::sin(t), 0.0};
}

// ---- Knots without a simple formula ----------------------------------
// A person draws a knot as a closed loop in the plane and, going round it,
// lifts the pen's depth over one crossing and lowers it under the next. The
// knots 5_2 ... 6_3 are drawn so: a loop of three or four harmonics, clicked at
// `count` points, with the depths alternating at its crossings. The loops
// are tried in a fixed order until one gives the wanted knot with no more
// crossings than the knot needs and keeps it through a short relaxation.

struct Passage {
    double at;  // position along the loop: vertex index + edge parameter
    int crossing;
};

// The crossings of the closed planar polygon px, py as passages in curve
// order; false if two edges meet too close to a vertex to tell.
bool PlanarPassages(const std::vector<double>& px, const std::vector<double>& py, std::vector<Passage>& passages)
{
    const int n = static_cast<int>(px.size());
    passages.clear();
    int crossing = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;
            const int i1 = (i + 1) % n, j1 = (j + 1) % n;
            const double r0 = px[i1] - px[i], r1 = py[i1] - py[i];
            const double s0 = px[j1] - px[j], s1 = py[j1] - py[j];
            const double denom = r0 * s1 - r1 * s0;
            if (std::fabs(denom) < 1e-12)
                continue;
            const double q0 = px[j] - px[i], q1 = py[j] - py[i];
            const double t = (q0 * s1 - q1 * s0) / denom, u = (q0 * r1 - q1 * r0) / denom;
            if (t < 0.0 || t > 1.0 || u < 0.0 || u > 1.0)
                continue;
            // A sketch crossing should sit well inside both edges, and the
            // strands should not meet at a grazing angle.
            const double sine = std::fabs(denom) / std::hypot(r0, r1) / std::hypot(s0, s1);
            if (t < 0.15 || t > 0.85 || u < 0.15 || u > 0.85 || sine < 0.35)
                return false;
            passages.push_back({i + t, crossing});
            passages.push_back({j + u, crossing});
            ++crossing;
        }
    }
    std::sort(passages.begin(), passages.end(), [](const Passage& a, const Passage& b) { return a.at < b.at; });
    return true;
}

// The depths (-1 ... 1) of the vertices: +1 at every other passage, -1 at
// the ones between, linear in between along the loop.
std::vector<double> AlternatingDepths(int n, const std::vector<Passage>& passages)
{
    std::vector<double> depth(static_cast<size_t>(n), 0.0);
    const int m = static_cast<int>(passages.size());
    if (m == 0)
        return depth;
    for (int k = 0; k < n; ++k) {
        int next = 0;
        while (next < m && passages[next].at < k)
            ++next;
        const int prev = (next + m - 1) % m;
        const int nextIndex = next % m;
        double a = passages[prev].at, b = passages[nextIndex].at;
        double pos = k;
        if (b <= a)
            b += n;
        if (pos < a)
            pos += n;
        const double w = b > a ? (pos - a) / (b - a) : 0.0;
        const double da = prev % 2 == 0 ? 1.0 : -1.0, db = nextIndex % 2 == 0 ? 1.0 : -1.0;
        depth[k] = da + w * (db - da);
    }
    return depth;
}

vek::KnotType TypeOf(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    const size_t n = static_cast<size_t>(x.GetSize());
    return vek::IdentifyKnot({x.GetData(), n}, {y.GetData(), n}, {z.GetData(), n});
}

// Writes the first loop of the search that gives `name` with `crossings`
// crossings (see above).
bool WriteAlternatingExample(const std::string& path, const std::string& name, int crossings, int count)
{
    Jitter shapes;
    for (int attempt = 0; attempt < 400000; ++attempt) {
        // Three harmonics first, then four.
        const int harmonics = attempt < 200000 ? 3 : 4;
        double a[5], b[5], c[5], d[5];
        for (int k = 1; k <= harmonics; ++k) {
            a[k] = shapes.Next() / k;
            b[k] = shapes.Next() / k;
            c[k] = shapes.Next() / k;
            d[k] = shapes.Next() / k;
        }
        Jitter clicks;
        std::vector<double> px, py;
        for (int k = 0; k < count; ++k) {
            const double t = 2.0 * kPi * (k + 0.25 * clicks.Next()) / count;
            double sx = 0.0, sy = 0.0;
            for (int h = 1; h <= harmonics; ++h) {
                sx += a[h] * std::cos(h * t) + b[h] * std::sin(h * t);
                sy += c[h] * std::cos(h * t) + d[h] * std::sin(h * t);
            }
            px.push_back(sx);
            py.push_back(sy);
        }
        std::vector<Passage> passages;
        if (!PlanarPassages(px, py, passages) || static_cast<int>(passages.size()) != 2 * crossings)
            continue;
        // Fit into the sketch: the larger side 0.7 wide.
        const auto [xlo, xhi] = std::minmax_element(px.begin(), px.end());
        const auto [ylo, yhi] = std::minmax_element(py.begin(), py.end());
        const double size = std::max(*xhi - *xlo, *yhi - *ylo);
        const double cx = 0.5 * (*xhi + *xlo), cy = 0.5 * (*yhi + *ylo);
        const std::vector<double> depth = AlternatingDepths(count, passages);
        CDoubleArray x, y, z;
        for (int k = 0; k < count; ++k) {
            x.Add(0.7 * (px[k] - cx) / size + 0.006 * clicks.Next());
            y.Add(0.7 * (py[k] - cy) / size + 0.006 * clicks.Next());
            z.Add(0.1 + 0.05 * depth[k] + 0.004 * clicks.Next());
        }
        if (TypeOf(x, y, z).name != name)
            continue;
        CDoubleArray rx, ry, rz;
        for (int k = 0; k < count; ++k) {
            rx.Add(x[k]);
            ry.Add(y[k]);
            rz.Add(z[k]);
        }
        vek::RelaxCurve(rx, ry, rz, 600, vek::kThickness, 1.0);
        if (TypeOf(rx, ry, rz).name != name)
            continue;
        std::string error;
        if (!WritePointsFile(path, x, y, z, error)) {
            std::fprintf(stderr, "vek-make-examples: %s\n", error.c_str());
            return false;
        }
        return true;
    }
    std::fprintf(stderr, "vek-make-examples: no sketch of %s found\n", name.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vek-make-examples DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    Jitter jitter;
    bool ok = true;
    ok = WriteExample(dir + "/trefoil.txt", 24, 0.1, [](double t) { return TorusKnot(t, 3); }, jitter) && ok;
    ok = WriteExample(dir + "/figure-eight.txt", 32, 0.07, FigureEight, jitter) && ok;
    ok = WriteExample(dir + "/cinquefoil.txt", 40, 0.08, [](double t) { return TorusKnot(t, 5); }, jitter) && ok;
    ok = WriteExample(dir + "/circle.txt", 12, 0.15, Circle, jitter) && ok;
    ok = WriteAlternatingExample(dir + "/5_2.txt", "5_2", 5, 30) && ok;
    ok = WriteAlternatingExample(dir + "/6_1.txt", "6_1", 6, 34) && ok;
    ok = WriteAlternatingExample(dir + "/6_2.txt", "6_2", 6, 34) && ok;
    ok = WriteAlternatingExample(dir + "/6_3.txt", "6_3", 6, 34) && ok;
    ok = WriteExample(dir + "/7_1.txt", 40, 0.075, [](double t) { return TorusKnot(t, 7); }, jitter) && ok;
    return ok ? 0 : 1;
}
