#include "knot/knot_type.h"

#include <algorithm>
#include <cmath>

#include "knot/alexander.h"
#include "knot/crossings.h"
#include "knot/knot_name.h"

namespace vek {

namespace {

// Projection directions tried in turn: spread over the sphere, none along
// a coordinate axis or plane (sketches and test curves like those).
constexpr int kDirections = 16;

void Direction(int k, double dir[3])
{
    // A spiral of points on the sphere, turned off the axes.
    const double golden = 2.399963229728653;  // pi (3 - sqrt 5)
    const double zc = 1.0 - (2.0 * k + 1.0) / kDirections;
    const double r = std::sqrt(1.0 - zc * zc);
    const double a = 0.3183 + golden * k;
    const double d0 = r * std::cos(a), d1 = r * std::sin(a), d2 = zc;
    // A fixed generic rotation.
    dir[0] = 0.8137 * d0 - 0.4695 * d1 + 0.3425 * d2;
    dir[1] = 0.5430 * d0 + 0.8089 * d1 - 0.2254 * d2;
    dir[2] = -0.2112 * d0 + 0.3534 * d1 + 0.9113 * d2;
}

// After this many directions that all gave too many crossings, give up.
constexpr int kComplexTries = 3;

// A reduced diagram with this few crossings is taken without trying the
// other directions.
constexpr long long kQuickCrossings = 12;

}  // namespace

KnotType IdentifyKnot(std::span<const double> x, std::span<const double> y, std::span<const double> z)
{
    KnotType result;
    const size_t n0 = std::min({x.size(), y.size(), z.size()});
    // The polygon without repeated consecutive vertices.
    std::vector<double> px, py, pz;
    px.reserve(n0);
    py.reserve(n0);
    pz.reserve(n0);
    for (size_t k = 0; k < n0; ++k) {
        if (!std::isfinite(x[k]) || !std::isfinite(y[k]) || !std::isfinite(z[k]))
            return result;
        if (!px.empty() && px.back() == x[k] && py.back() == y[k] && pz.back() == z[k])
            continue;
        px.push_back(x[k]);
        py.push_back(y[k]);
        pz.push_back(z[k]);
    }
    while (px.size() > 1 && px.back() == px[0] && py.back() == py[0] && pz.back() == pz[0]) {
        px.pop_back();
        py.pop_back();
        pz.pop_back();
    }
    if (px.size() < 3)
        return result;

    // The direction whose reduced diagram has the fewest crossings; a
    // diagram of few enough crossings is taken at once.
    int complexTries = 0;
    long long fewest = -1, fewestRaw = 0;
    GaussCode best;
    for (int k = 0; k < kDirections; ++k) {
        double dir[3];
        Direction(k, dir);
        GaussCode code;
        if (!ProjectCrossings(px, py, pz, dir, code))
            continue;
        const long long raw = static_cast<long long>(code.sign.size());
        ReduceGaussCode(code);
        const long long reduced = static_cast<long long>(code.sign.size());
        if (fewest < 0 || reduced < fewest) {
            fewest = reduced;
            fewestRaw = raw;
            best = std::move(code);
        }
        if (fewest <= kQuickCrossings)
            break;
        if (reduced > kMaxAlexanderCrossings && ++complexTries >= kComplexTries)
            break;
    }
    if (fewest < 0)
        return result;
    result.known = true;
    result.name = "unknown";
    result.crossings = fewestRaw;
    result.reducedCrossings = fewest;
    if (fewest > kMaxAlexanderCrossings)
        return result;  // a valid diagram, but too large to evaluate
    std::vector<long long> alexander;
    if (!AlexanderPolynomial(best, alexander)) {
        result.known = false;
        return result;
    }
    result.alexander = std::move(alexander);
    result.determinant = KnotDeterminant(result.alexander);
    result.v2 = ConwayV2(result.alexander);
    KnotName named = NameKnotDiagram(GaussToDiagram(best));
    if (named.evaluated) {
        result.homflyKnown = true;
        result.homfly = std::move(named.homfly);
        result.name = std::move(named.name);
        result.candidates = std::move(named.candidates);
    }
    return result;
}

bool SameKnotType(const KnotType& a, const KnotType& b)
{
    return a.known && b.known && !a.alexander.empty() && !b.alexander.empty() && a.alexander == b.alexander &&
           a.determinant == b.determinant && a.v2 == b.v2 &&
           (!a.homflyKnown || !b.homflyKnown || a.homfly == b.homfly);
}

}  // namespace vek
