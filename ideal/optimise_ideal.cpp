#include "ideal/optimise_ideal.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "geom/parallel.h"
#include "geom/polygon_measures.h"
#include "ideal/polygon_pairs.h"
#include "ideal/resample_polygon.h"
#include "ideal/ropelength_descent.h"

namespace vek {

namespace {

// Stall fractions of the descent: loose on the coarse levels (they only
// give the next level its start), tight on the last.
constexpr double kCoarseStall = 1e-5;
constexpr double kFineStall = 2e-7;
// Even resamplings of the last level, each followed by its descent.
constexpr int kEvenRounds = 8;

struct Candidate {
    std::vector<double> points;
    PolygonThickness thickness;
    double ropelength = std::numeric_limits<double>::infinity();
    KnotType knot;
};

PolygonView View(const std::vector<double>& points)
{
    return PolygonView::Interleaved(points);
}

Candidate Certify(std::vector<double> points)
{
    Candidate c;
    const PolygonView polygon = View(points);
    c.thickness = ComputePolygonThickness(polygon);
    c.ropelength = CertifiedRopelength(PolygonLength(polygon), c.thickness.thickness);
    c.knot = IdentifyKnot(polygon);
    c.points = std::move(points);
    return c;
}

// Smallest distance of two edges at least LocalGap(r, edge) apart, for the
// radius r that this distance gives (found again a few times, since the gap
// follows r); +infinity when no such pair exists.
double StrandClearance(PolygonView polygon)
{
    const int n = polygon.Size();
    const double length = PolygonLength(polygon);
    double radius = length / 40.0;
    double nearest = std::numeric_limits<double>::infinity();
    for (int round = 0; round < 3; ++round) {
        nearest = std::numeric_limits<double>::infinity();
        for (const EdgePair& pair : CloseEdgePairs(polygon, LocalGap(radius, length / n), length))
            nearest = std::min(nearest, pair.distance);
        if (!std::isfinite(nearest))
            break;
        radius = nearest / 2.0;
    }
    return nearest;
}

// Scales the points so that 2 * certified thickness >= tube, for the
// coordinates as written: rounding moves the vertices a little, so the
// factor is raised by what the recomputed certificate still lacks (and a
// growing margin) until it holds.
Candidate ScaleToTube(const Candidate& best, double tube, const std::function<void(PolygonPoints&)>& asWritten)
{
    double factor = tube / (2.0 * best.thickness.thickness);
    Candidate scaled;
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::vector<double> points = best.points;
        for (double& v : points)
            v *= factor;
        if (asWritten) {
            PolygonPoints written(std::move(points));
            asWritten(written);
            points = std::move(written.Coordinates());
        }
        scaled = Certify(std::move(points));
        const double reached = 2.0 * scaled.thickness.thickness;
        if (reached >= tube)
            break;
        const double lacking = reached > 0.0 ? tube / reached : 1.0;
        factor *= lacking * (1.0 + 4.0 * std::numeric_limits<double>::epsilon() * (attempt + 1) +
                             (asWritten ? 1e-7 * (attempt + 1) : 0.0));
    }
    return scaled;
}

// One coarse-to-fine descent from the input polygon: the best certified
// polygon of the expected type it reached, never worse than `start`.
struct LevelRun {
    Candidate best;
    long long steps = 0;
    int levels = 0;
};

LevelRun DescendLevels(PolygonView input, const std::vector<int>& counts, const KnotType& expected,
                       const IdealOptions& options, std::chrono::steady_clock::time_point deadline,
                       ConeOrdering ordering, bool reports, Candidate start)
{
    LevelRun run;
    run.best = std::move(start);
    Candidate& best = run.best;
    long long& steps = run.steps;
    std::vector<double> current = ResampleByArcLength(input, counts.front());
    int evenRounds = 0;
    for (size_t level = 0; level < counts.size(); ++level) {
        if (level > 0 && evenRounds == 0)
            current = RefinePolygon(View(current), counts[level]);
        DescentOptions descent;
        descent.ordering = ordering;
        descent.maxSteps = options.maxIterations;
        descent.stallFraction = level + 1 < counts.size() ? kCoarseStall : kFineStall;
        descent.keepsType = [&expected](PolygonView p) { return SameKnotType(IdentifyKnot(p), expected); };
        // Each level gets an equal share of the time that is left, so that a
        // slow coarse level cannot starve the finer ones.
        const auto now = std::chrono::steady_clock::now();
        const auto levelDeadline = now + (deadline - now) / static_cast<int>(counts.size() - level);
        descent.stop = [levelDeadline, &options] {
            return std::chrono::steady_clock::now() > levelDeadline || (options.cancelled && options.cancelled());
        };
        const int levelNumber = static_cast<int>(level) + 1;
        if (reports && options.progress)
            descent.progress = [&, levelNumber](long long step, double ropelength, double violation) {
                options.progress({levelNumber, steps + step, ropelength, violation});
            };
        DescentResult reached = DescendRopelength(current, descent);
        steps += reached.steps;
        run.levels = levelNumber;
        if (reached.points.empty() || (options.cancelled && options.cancelled()))
            break;
        current = std::move(reached.points);
        if (level + 1 < counts.size())
            continue;
        Candidate candidate = Certify(current);
        if (SameKnotType(candidate.knot, expected) && candidate.ropelength < best.ropelength)
            best = std::move(candidate);
        // The descent moves the vertices across the polygon much more than
        // along it, so unequal edges it leaves behind are slow to even out:
        // an even resampling, kept only when it certifies shorter, gives the
        // descent a new start.
        if (evenRounds >= kEvenRounds || std::chrono::steady_clock::now() > deadline)
            break;
        Candidate even = Certify(ResampleByArcLength(View(current), counts[level]));
        if (!SameKnotType(even.knot, expected) || !(even.ropelength < best.ropelength * (1.0 - kFineStall)))
            break;
        current = even.points;
        best = std::move(even);
        ++evenRounds;
        --level;  // the last level again, from the even polygon
    }
    return run;
}

}  // namespace

int DefaultIdealVertices(double length, double thickness)
{
    const double count = kIdealEdgesPerRadiusRopelength * length / (thickness / 2.0);
    if (!std::isfinite(count))
        return kMinDefaultIdealVertices;
    return static_cast<int>(std::clamp(std::round(count), double(kMinDefaultIdealVertices), double(kMaxIdealVertices)));
}

IdealResult OptimiseIdeal(PolygonView input, const KnotType& expected, const IdealOptions& options)
{
    IdealResult result;
    if (input.Size() < 3 || !input.AllFinite()) {
        result.error = "the curve has fewer than 3 points or a coordinate that is not a number";
        return result;
    }
    int n = options.vertices;
    if (n <= 0) {
        // The start's own thickness: its strands' clearance, or for a curve
        // without close strands its MinRad.
        double clearance = StrandClearance(input);
        if (!std::isfinite(clearance))
            clearance = 2.0 * MinRadius(input);
        n = DefaultIdealVertices(PolygonLength(input), clearance);
    }
    n = std::clamp(n, kMinIdealVertices, kMaxIdealVertices);
    std::vector<double> points = ResampleByArcLength(input, n);
    if (points.empty()) {
        result.error = "the curve has no length or a coordinate that is not a number";
        return result;
    }
    Candidate best = Certify(points);
    const double startRopelength = best.ropelength;
    if (!SameKnotType(best.knot, expected) || !(best.thickness.thickness > 0.0)) {
        result.error = "the start polygon is not certified as the input's knot type";
        return result;
    }

    // Coarse to fine: the descent first at a quarter and half the count,
    // each result refined smoothly for the next. Two descents run side by
    // side, one on each core, with the factors ordered differently: the
    // descent is sensitive enough that they often end in different local
    // optima, and the shorter certified one is kept.
    std::vector<int> counts{n};
    while (counts.size() < 3 && counts.front() / 2 >= kCoarsestIdealVertices)
        counts.insert(counts.begin(), counts.front() / 2);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(options.maxSeconds));
    // The second descent's failure (no thread, no memory) only loses its
    // result: it then stays at +infinity and the first one is kept.
    LevelRun first, second;
    RunSideBySide([&](int which) {
        if (which == 0) {
            first = DescendLevels(input, counts, expected, options, deadline, ConeOrdering::MinimumDegree, true, best);
            return;
        }
        try {
            second = DescendLevels(input, counts, expected, options, deadline, ConeOrdering::Natural, false, best);
        } catch (...) {
            second = LevelRun();
        }
    });
    LevelRun& chosen = second.best.ropelength < first.best.ropelength ? second : first;
    best = std::move(chosen.best);
    const long long steps = chosen.steps;
    result.levels = chosen.levels;
    result.iterations = steps;
    result.fellBack = !(best.ropelength < startRopelength);

    const Candidate scaled = ScaleToTube(best, options.tubeThickness, options.asWritten);
    if (!SameKnotType(scaled.knot, expected) || !(2.0 * scaled.thickness.thickness >= options.tubeThickness)) {
        result.error = "the result could not be certified";
        return result;
    }
    result.polygon = PolygonPoints(scaled.points);
    const PolygonView polygon = result.polygon.View();
    result.length = PolygonLength(polygon);
    result.thickness = scaled.thickness;
    result.ropelength = CertifiedRopelength(result.length, scaled.thickness.thickness);
    result.knot = scaled.knot;
    const double delta = scaled.thickness.thickness;
    result.activeStruts = static_cast<int>(
        CloseEdgePairs(polygon, LocalGap(delta, result.length / n), 2.0 * delta * (1.0 + kIdealActiveTolerance))
            .size());
    result.activeCurvature = CountMinRadBelow(polygon, delta * (1.0 + kIdealActiveTolerance));
    result.ok = true;
    return result;
}

}  // namespace vek
