#include "ideal/optimise_ideal.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <cstdlib>

#include "IpIpoptApplication.hpp"
#include "ideal/ideal_problem.h"
#include "ideal/polygon_pairs.h"
#include "ideal/polygon_measures.h"

namespace vek {

namespace {

// The optimiser works at tube radius 1.
constexpr double kRadius = 1.0;
// The start is scaled so that its closest strands are this much farther
// apart than 2 r: the solver starts with every strut satisfied.
constexpr double kStartClearance = 1.02;
// Edge pairs closer than 2 r (1 + kStrutMargin) become strut constraints;
// the set is found again until the solver's polygon has no close pair
// outside it closer than 2 r (1 + kStrutMargin / 2).
constexpr double kStrutMargin = 0.35;
// Each run moves no coordinate farther than this (times r): two points then
// come at most 2 sqrt(3) kStepBox closer, less than the margin, so no pair
// outside the strut set can come closer than 2 r within a run.
constexpr double kStepBox = 0.15;
// A run whose vertices all stayed this far inside the box was not held back.
constexpr double kBoxSlack = 0.9;
// Convergence tolerance of the solver (its scaled optimality error).
constexpr double kSolverTolerance = 1e-10;

struct Candidate {
    std::vector<double> points;
    PolygonThickness thickness;
    double ropelength = std::numeric_limits<double>::infinity();
    KnotType knot;
};

Candidate Certify(std::vector<double> points)
{
    Candidate c;
    const Coordinates xyz = SplitCoordinates(points);
    c.thickness = ComputePolygonThickness(xyz.x, xyz.y, xyz.z);
    c.ropelength = CertifiedRopelength(PolygonLength(points), c.thickness.thickness);
    c.knot = IdentifyKnot(xyz.x, xyz.y, xyz.z);
    c.points = std::move(points);
    return c;
}

// Smallest distance of two edges at least LocalGap(r, edge) apart, for the
// radius r that this distance gives (found again a few times, since the gap
// follows r); +infinity when no such pair exists.
double StrandClearance(const std::vector<double>& points)
{
    const int n = static_cast<int>(points.size() / 3);
    const double length = PolygonLength(points);
    double radius = length / 40.0;
    double nearest = std::numeric_limits<double>::infinity();
    for (int round = 0; round < 3; ++round) {
        nearest = std::numeric_limits<double>::infinity();
        for (const EdgePair& pair : CloseEdgePairs(points, LocalGap(radius, length / n), length))
            nearest = std::min(nearest, pair.distance);
        if (!std::isfinite(nearest))
            break;
        radius = nearest / 2.0;
    }
    return nearest;
}

struct SolveOutcome {
    std::vector<double> points;
    double edge = 0.0;
    int iterations = 0;
    bool converged = false;
    // Largest coordinate change against the start of the run.
    double largestMove = 0.0;
};

SolveOutcome SolveWithStruts(const std::vector<double>& points, double edge, const std::vector<EdgePair>& struts,
                             bool first, int maxIterations, const std::function<bool(int, double, double)>& progress)
{
    IdealProblemData data;
    data.start = points;
    data.startEdge = edge;
    data.radius = kRadius;
    data.stepBox = kStepBox * kRadius;
    for (const EdgePair& pair : struts)
        data.struts.emplace_back(pair.a, pair.b);
    data.progress = progress;
    auto* problem = new IdealProblem(std::move(data));
    Ipopt::SmartPtr<Ipopt::TNLP> owner = problem;

    Ipopt::SmartPtr<Ipopt::IpoptApplication> app = IpoptApplicationFactory();
    app->Options()->SetIntegerValue("print_level", 0);
    app->Options()->SetStringValue("sb", "yes");
    app->Options()->SetNumericValue("tol", kSolverTolerance);
    app->Options()->SetNumericValue("constr_viol_tol", 1e-12);
    app->Options()->SetIntegerValue("max_iter", maxIterations);
    // Measured on tight trefoils: the monotone barrier rule converges in a
    // third fewer iterations than the adaptive one here, and MUMPS's own
    // scaling of the saddle-point system costs time without helping.
    app->Options()->SetStringValue("mu_strategy", "monotone");
    app->Options()->SetIntegerValue("mumps_permuting_scaling", 0);
    app->Options()->SetIntegerValue("mumps_scaling", 0);
    if (!first) {
        // Later runs start next to the solution: a small barrier keeps
        // the solver from first pushing every strut away again.
        app->Options()->SetNumericValue("mu_init", 1e-6);
        app->Options()->SetNumericValue("bound_push", 1e-8);
    }
    SolveOutcome outcome;
    if (app->Initialize() != Ipopt::Solve_Succeeded)
        return outcome;
    const Ipopt::ApplicationReturnStatus status = app->OptimizeTNLP(owner);
    outcome.converged = status == Ipopt::Solve_Succeeded || status == Ipopt::Solved_To_Acceptable_Level;
    outcome.iterations = problem->Iterations();
    const std::vector<double>& result = problem->Result();
    if (!result.empty() && std::all_of(result.begin(), result.end(), [](double v) { return std::isfinite(v); })) {
        outcome.points = result;
        outcome.edge = problem->ResultEdge();
        for (size_t i = 0; i < result.size(); ++i)
            outcome.largestMove = std::max(outcome.largestMove, std::abs(result[i] - points[i]));
    }
    return outcome;
}

// Scales the points so that 2 * certified thickness >= tube; the factor
// is raised by rounding steps until the recomputed certificate holds.
Candidate ScaleToTube(const Candidate& best, double tube)
{
    double factor = tube / (2.0 * best.thickness.thickness);
    Candidate scaled;
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::vector<double> points = best.points;
        for (double& v : points)
            v *= factor;
        scaled = Certify(std::move(points));
        if (2.0 * scaled.thickness.thickness >= tube)
            break;
        factor *= 1.0 + 4.0 * std::numeric_limits<double>::epsilon() * (attempt + 1);
    }
    return scaled;
}

}  // namespace

int DefaultIdealVertices(double length, double thickness)
{
    const double count = kIdealEdgesPerRadiusRopelength * length / (thickness / 2.0);
    if (!std::isfinite(count))
        return kMinDefaultIdealVertices;
    return static_cast<int>(std::clamp(std::round(count), double(kMinDefaultIdealVertices), double(kMaxIdealVertices)));
}

IdealResult OptimiseIdeal(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                          const KnotType& expected, const IdealOptions& options)
{
    IdealResult result;
    const std::vector<double> input = Interleave(x, y, z);
    if (input.size() < 9 || !std::all_of(input.begin(), input.end(), [](double v) { return std::isfinite(v); })) {
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
    std::vector<double> points = ResampleByArcLength(x, y, z, n);
    if (points.empty()) {
        result.error = "the curve has no length or a coordinate that is not a number";
        return result;
    }
    // Scale to radius 1 with every strut a little longer than 2.
    double clearance = StrandClearance(points);
    if (!std::isfinite(clearance))
        clearance = 2.0 * MinRadius(points);
    if (!(clearance > 0.0) || !std::isfinite(clearance)) {
        result.error = "the curve's strands touch or its points repeat";
        return result;
    }
    for (double& v : points)
        v *= 2.0 * kStartClearance * kRadius / clearance;

    Candidate best = Certify(points);
    const double startRopelength = best.ropelength;
    if (!SameKnotType(best.knot, expected) || !(best.thickness.thickness > 0.0)) {
        result.error = "the start polygon is not certified as the input's knot type";
        return result;
    }

    double edge = PolygonLength(points) / n;
    long long iterationBase = 0;
    int solve = 0;
    auto progress = [&](int iteration, double length, double violation) {
        if (options.progress)
            options.progress({solve, iterationBase + iteration, length / (2.0 * kRadius), violation});
        return true;
    };
    for (solve = 1; solve <= options.maxSolves; ++solve) {
        const int gap = LocalGap(kRadius, edge);
        const std::vector<EdgePair> struts =
            StrutCandidates(CloseEdgePairs(points, gap, 2.0 * kRadius * (1.0 + kStrutMargin)), n);
        SolveOutcome outcome =
            SolveWithStruts(points, edge, struts, solve == 1, options.maxIterations, progress);
        iterationBase += outcome.iterations;
        result.solves = solve;
        if (outcome.points.empty())
            break;
        Candidate candidate = Certify(outcome.points);
        // A polygon of another knot type is never taken, and the solver
        // goes on only from polygons of the right type.
        if (!SameKnotType(candidate.knot, expected))
            break;
        points = std::move(outcome.points);
        edge = outcome.edge;
        if (candidate.ropelength < best.ropelength)
            best = std::move(candidate);
        // Done when the run converged inside its step box: the box did not
        // hold any vertex back, so the run's optimum is the problem's.
        if (outcome.converged && outcome.largestMove < kBoxSlack * kStepBox * kRadius)
            break;
    }
    result.iterations = iterationBase;
    result.fellBack = !(best.ropelength < startRopelength);

    const Candidate scaled = ScaleToTube(best, options.tubeThickness);
    if (!SameKnotType(scaled.knot, expected) || !(2.0 * scaled.thickness.thickness >= options.tubeThickness)) {
        result.error = "the result could not be certified";
        return result;
    }
    const Coordinates xyz = SplitCoordinates(scaled.points);
    result.x = xyz.x;
    result.y = xyz.y;
    result.z = xyz.z;
    result.length = PolygonLength(scaled.points);
    result.thickness = scaled.thickness;
    result.ropelength = CertifiedRopelength(result.length, scaled.thickness.thickness);
    result.knot = scaled.knot;
    const double delta = scaled.thickness.thickness;
    result.activeStruts = static_cast<int>(
        CloseEdgePairs(scaled.points, LocalGap(delta, result.length / n), 2.0 * delta * (1.0 + kIdealActiveTolerance))
            .size());
    result.activeCurvature = CountMinRadBelow(scaled.points, delta * (1.0 + kIdealActiveTolerance));
    result.ok = true;
    return result;
}

}  // namespace vek
