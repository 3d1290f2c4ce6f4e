#include "knot/knot_type.h"

#include <algorithm>
#include <cmath>

#include "knot/alexander.h"
#include "knot/crossings.h"
#include "knot/knot_name.h"
#include "knot/simplify_polygon.h"

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

// The diagram of the projection along direction k, reduced by the moves
// that lower its crossing count; raw: its crossings before. False when the
// projection has crossings too close to call.
bool ReducedDiagram(PolygonView polygon, int k, GaussCode& code, long long& raw)
{
    double dir[3];
    Direction(k, dir);
    if (!ProjectCrossings(polygon, dir, code))
        return false;
    raw = static_cast<long long>(code.sign.size());
    ReduceGaussCode(code);
    return true;
}

// After this many directions that all gave too many crossings, give up.
constexpr int kComplexTries = 3;

// A reduced diagram with this few crossings is taken without trying the
// other directions.
constexpr long long kQuickCrossings = 12;

// The polygon without repeated consecutive vertices (the closing vertex
// included) in px, py, pz; false when a coordinate is not finite.
bool DistinctVertices(PolygonView polygon, std::vector<double>& px, std::vector<double>& py, std::vector<double>& pz)
{
    const int n0 = polygon.Size();
    px.reserve(n0);
    py.reserve(n0);
    pz.reserve(n0);
    for (int k = 0; k < n0; ++k) {
        const double x = polygon.X(k), y = polygon.Y(k), z = polygon.Z(k);
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
            return false;
        if (!px.empty() && px.back() == x && py.back() == y && pz.back() == z)
            continue;
        px.push_back(x);
        py.push_back(y);
        pz.push_back(z);
    }
    while (px.size() > 1 && px.back() == px[0] && py.back() == py[0] && pz.back() == pz[0]) {
        px.pop_back();
        py.pop_back();
        pz.pop_back();
    }
    return true;
}

// The knot type from the projections of a polygon of distinct
// consecutive vertices.
KnotType IdentifyDistinct(PolygonView distinct)
{
    KnotType result;
    // The direction whose reduced diagram has the fewest crossings; a
    // diagram of few enough crossings is taken at once.
    int complexTries = 0;
    long long fewest = -1, fewestRaw = 0;
    GaussCode best;
    for (int k = 0; k < kDirections; ++k) {
        GaussCode code;
        long long raw = 0;
        if (!ReducedDiagram(distinct, k, code, raw))
            continue;
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
        // A projection error in that diagram: the first other direction
        // whose diagram evaluates.
        bool found = false;
        for (int k = 0; k < kDirections && !found; ++k) {
            GaussCode code;
            long long raw = 0;
            if (!ReducedDiagram(distinct, k, code, raw))
                continue;
            if (static_cast<long long>(code.sign.size()) > kMaxAlexanderCrossings ||
                !AlexanderPolynomial(code, alexander))
                continue;
            result.crossings = raw;
            result.reducedCrossings = static_cast<long long>(code.sign.size());
            best = std::move(code);
            found = true;
        }
        if (!found) {
            result.known = false;
            return result;
        }
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

}  // namespace

KnotType IdentifyKnot(PolygonView polygon)
{
    std::vector<double> px, py, pz;
    if (!DistinctVertices(polygon, px, py, pz) || px.size() < 3)
        return KnotType{};
    const PolygonView distinct(px, py, pz);
    KnotType result = IdentifyDistinct(distinct);
    if (result.known && result.homflyKnown)
        return result;
    // No projection, or none with few enough crossings for the polynomial
    // (a noisy curve's small kinks bury the knot's own crossings): again
    // with fewer vertices, dropped by moves that keep the knot. A smooth
    // curve never needs this, and keeps the time of its projections alone.
    const PolygonPoints simplified = SimplifyPolygon(distinct);
    if (simplified.Size() == distinct.Size())
        return result;
    KnotType again = IdentifyDistinct(simplified.View());
    const bool better = again.known && (!result.known || (again.homflyKnown && !result.homflyKnown) ||
                                        (result.alexander.empty() && !again.alexander.empty()));
    return better ? again : result;
}

bool SameKnotType(const KnotType& a, const KnotType& b)
{
    return a.known && b.known && !a.alexander.empty() && !b.alexander.empty() && a.alexander == b.alexander &&
           a.determinant == b.determinant && a.v2 == b.v2 &&
           (!a.homflyKnown || !b.homflyKnown || a.homfly == b.homfly);
}

}  // namespace vek
