// vek-make-examples DIR: writes the example position data files into DIR,
// each a closed curve clicked by hand into the 2D sketch: x and y within
// -0.5 ... 0.5, depths between 0.05 and 0.15 (a deeper point, larger z, lies
// over a shallower one where the strands cross), the points a little
// irregular. The knots are torus-style drawings: the radius swings while the
// angle goes round, and the depth follows so that over- and under-passes
// alternate.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "io/points_file.h"

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
    return ok ? 0 : 1;
}
