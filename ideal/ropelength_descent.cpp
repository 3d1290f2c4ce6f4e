#include "ideal/ropelength_descent.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <unordered_set>

#include "ideal/cone_projection.h"
#include "ideal/polygon_measures.h"
#include "ideal/polygon_pairs.h"
#include "ideal/thickness_constraints.h"
#include "knot/polygon_thickness.h"

namespace vek {

namespace {

// Constraints within this fraction of the radius above their bound take
// part in the projection; the correction looks at a narrower band.
constexpr double kProjectionSlack = 0.001;
constexpr double kCorrectionSlack = 0.002;
constexpr int kCorrectionRounds = 2;
// The largest vertex move of a step, relative to the radius: first, most,
// least before the descent gives up.
constexpr double kFirstStep = 0.02;
constexpr double kLargestStep = 0.2;
constexpr double kSmallestStep = 1e-9;
constexpr double kGrowth = 1.3;

double CertifiedThickness(const std::vector<double>& points)
{
    const Coordinates xyz = SplitCoordinates(points);
    const double t = ComputePolygonThickness(xyz.x, xyz.y, xyz.z).thickness;
    return std::isfinite(t) ? t : 0.0;
}

std::vector<double> LengthGradient(const std::vector<double>& points)
{
    const int n = static_cast<int>(points.size() / 3);
    std::vector<double> g(points.size(), 0.0);
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        double e[3];
        for (int k = 0; k < 3; ++k)
            e[k] = points[3 * j + k] - points[3 * i + k];
        const double length = std::hypot(e[0], e[1], e[2]);
        if (!(length > 0.0))
            continue;
        for (int k = 0; k < 3; ++k) {
            g[3 * j + k] += e[k] / length;
            g[3 * i + k] -= e[k] / length;
        }
    }
    return g;
}

long long ConstraintKey(const Constraint& c, int n)
{
    return c.IsStrut() ? static_cast<long long>(c.a) * n + c.b : -1 - 2LL * c.a - (c.b == Constraint::kEdgeAfter ? 1 : 0);
}

// The shortest move with J d >= -c for the near-active constraints, twice;
// returns the largest violation it found (relative to the radius 1).
double Correct(std::vector<double>& points, ConeOrdering ordering, const std::function<bool()>& stop)
{
    const int n = static_cast<int>(points.size() / 3);
    double worst = 0.0;
    for (int round = 0; round < kCorrectionRounds; ++round) {
        const std::vector<Constraint> near = NearActiveConstraints(points, 1.0, kCorrectionSlack);
        std::vector<double> b(near.size());
        std::vector<char> start(near.size());
        double violation = 0.0;
        for (size_t k = 0; k < near.size(); ++k) {
            b[k] = -near[k].value;
            start[k] = near[k].value < 0.0 ? 1 : 0;
            violation = std::max(violation, -near[k].value);
        }
        if (round == 0)
            worst = violation;
        if (!(violation > 0.0))
            break;
        const ConeSolve move = SolveNonNegative(near, b, n, start, ordering, stop);
        for (size_t k = 0; k < points.size(); ++k)
            points[k] += move.move[k];
    }
    return worst;
}

bool AllFinite(const std::vector<double>& v)
{
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

}  // namespace

DescentResult DescendRopelength(std::vector<double> points, const DescentOptions& options)
{
    DescentResult result;
    const int n = static_cast<int>(points.size() / 3);
    const double start = CertifiedThickness(points);
    if (n < 4 || !(start > 0.0))
        return result;
    for (double& v : points)
        v /= start;
    double ropelength = PolygonLength(points) / 2.0;
    std::vector<double> checked = points;
    double checkedRopelength = ropelength;
    std::unordered_set<long long> positive;
    std::deque<double> window;
    double step = kFirstStep;
    for (result.steps = 0; result.steps < options.maxSteps; ++result.steps) {
        if (options.stop && options.stop())
            break;
        const std::vector<Constraint> active = NearActiveConstraints(points, 1.0, kProjectionSlack);
        const std::vector<double> gradient = LengthGradient(points);
        std::vector<char> warm(active.size());
        for (size_t k = 0; k < active.size(); ++k)
            warm[k] = positive.count(ConstraintKey(active[k], n)) ? 1 : 0;
        const ConeSolve cone =
            SolveNonNegative(active, ConstraintRates(active, gradient), n, warm, options.ordering, options.stop);
        if (cone.stopped)
            break;
        positive.clear();
        result.activeStruts = result.activeCurvature = 0;
        for (size_t k = 0; k < active.size(); ++k)
            if (cone.multipliers[k] > 0.0) {
                positive.insert(ConstraintKey(active[k], n));
                ++(active[k].IsStrut() ? result.activeStruts : result.activeCurvature);
            }
        std::vector<double> direction(points.size());
        double largest = 0.0;
        for (size_t k = 0; k < points.size(); ++k)
            direction[k] = cone.move[k] - gradient[k];
        for (int i = 0; i < n; ++i)
            largest = std::max(largest, std::hypot(direction[3 * i], direction[3 * i + 1], direction[3 * i + 2]));
        if (!(largest > 1e-14) || !std::isfinite(largest))
            break;
        bool taken = false;
        // The budget is asked inside the step too: at thousands of vertices
        // one correction can take minutes.
        while (!taken && step >= kSmallestStep && !(options.stop && options.stop())) {
            std::vector<double> trial = points;
            for (size_t k = 0; k < trial.size(); ++k)
                trial[k] += step / largest * direction[k];
            const double violation = Correct(trial, options.ordering, options.stop);
            const double thickness = AllFinite(trial) ? CertifiedThickness(trial) : 0.0;
            const double candidate = thickness > 0.0 ? PolygonLength(trial) / (2.0 * thickness) : ropelength;
            if (candidate < ropelength) {
                for (double& v : trial)
                    v /= thickness;
                points = std::move(trial);
                ropelength = candidate;
                step = std::min(step * kGrowth, kLargestStep);
                taken = true;
                if (options.progress)
                    options.progress(result.steps + 1, ropelength, violation);
            } else {
                step *= 0.5;
            }
        }
        if (!taken)
            break;
        if (options.keepsType && (result.steps + 1) % options.checkEvery == 0) {
            if (!options.keepsType(points)) {
                result.typeLost = true;
                break;
            }
            checked = points;
            checkedRopelength = ropelength;
        }
        window.push_back(ropelength);
        if (static_cast<int>(window.size()) > kDescentWindow) {
            const double before = window.front();
            window.pop_front();
            if (before - ropelength < options.stallFraction * ropelength)
                break;
        }
    }
    if (!result.typeLost && options.keepsType && !options.keepsType(points))
        result.typeLost = true;
    if (result.typeLost) {
        points = std::move(checked);
        ropelength = checkedRopelength;
    }
    result.points = std::move(points);
    result.ropelength = ropelength;
    return result;
}

std::vector<double> RefinePolygon(const std::vector<double>& points, int count)
{
    std::vector<double> fine = points;
    while (static_cast<int>(fine.size() / 3) < 4 * count) {
        const int n = static_cast<int>(fine.size() / 3);
        std::vector<double> next(6 * static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const int h = (i + n - 1) % n, j = (i + 1) % n, l = (i + 2) % n;
            for (int k = 0; k < 3; ++k) {
                next[6 * i + k] = fine[3 * i + k];
                next[6 * i + 3 + k] =
                    (-fine[3 * h + k] + 9.0 * fine[3 * i + k] + 9.0 * fine[3 * j + k] - fine[3 * l + k]) / 16.0;
            }
        }
        fine = std::move(next);
    }
    const Coordinates xyz = SplitCoordinates(fine);
    return ResampleByArcLength(xyz.x, xyz.y, xyz.z, count);
}

}  // namespace vek
