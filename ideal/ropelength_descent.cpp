#include "ideal/ropelength_descent.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <unordered_set>

#include "geom/polygon_measures.h"
#include "ideal/cone_projection.h"
#include "ideal/length_metric.h"
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

PolygonView View(const std::vector<double>& points)
{
    return PolygonView::Interleaved(points);
}

double CertifiedThickness(const std::vector<double>& points)
{
    const double t = ComputePolygonThickness(View(points)).thickness;
    return std::isfinite(t) ? t : 0.0;
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
        const std::vector<Constraint> near = NearActiveConstraints(View(points), 1.0, kCorrectionSlack);
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
    double ropelength = PolygonLength(View(points)) / 2.0;
    std::vector<double> checked = points;
    double checkedRopelength = ropelength;
    std::unordered_set<long long> positive;
    std::deque<double> window;
    double step = kFirstStep;
    result.end = DescentEnd::Steps;
    bool stopped = false;
    for (result.steps = 0; result.steps < options.maxSteps; ++result.steps) {
        if (options.stop && options.stop()) {
            stopped = true;
            break;
        }
        const std::vector<Constraint> active = NearActiveConstraints(View(points), 1.0, kProjectionSlack);
        const std::vector<double> gradient = PolygonLengthGradient(View(points));
        std::vector<char> warm(active.size());
        for (size_t k = 0; k < active.size(); ++k)
            warm[k] = positive.count(ConstraintKey(active[k], n)) ? 1 : 0;
        const MetricDirection metric =
            LengthMetricDirection(points, active, gradient, warm, options.ordering, options.stop);
        const ConeSolve& cone = metric.cone;
        if (cone.stopped) {
            stopped = true;
            break;
        }
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
            direction[k] = metric.direction[k];
        for (int i = 0; i < n; ++i)
            largest = std::max(largest, std::hypot(direction[3 * i], direction[3 * i + 1], direction[3 * i + 2]));
        if (!(largest > 1e-14) || !std::isfinite(largest)) {
            result.end = DescentEnd::Settled;
            break;
        }
        bool taken = false;
        // The budget is asked inside the step too: at thousands of vertices
        // one correction can take minutes.
        while (!taken && step >= kSmallestStep) {
            if (options.stop && options.stop()) {
                stopped = true;
                break;
            }
            std::vector<double> trial = points;
            for (size_t k = 0; k < trial.size(); ++k)
                trial[k] += step / largest * direction[k];
            const double violation = Correct(trial, options.ordering, options.stop);
            const double thickness = AllFinite(trial) ? CertifiedThickness(trial) : 0.0;
            const double candidate = thickness > 0.0 ? PolygonLength(View(trial)) / (2.0 * thickness) : ropelength;
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
        if (stopped)
            break;
        if (!taken) {
            result.end = DescentEnd::Settled;
            break;
        }
        if (options.keepsType && (result.steps + 1) % options.checkEvery == 0) {
            if (!options.keepsType(View(points))) {
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
            if (before - ropelength < options.stallFraction * ropelength) {
                ++result.steps;
                result.end = DescentEnd::Settled;
                break;
            }
        }
    }
    if (!result.typeLost && options.keepsType && !options.keepsType(View(points)))
        result.typeLost = true;
    if (stopped)
        result.end = DescentEnd::Stopped;
    if (result.typeLost) {
        result.end = DescentEnd::TypeLost;
        points = std::move(checked);
        ropelength = checkedRopelength;
    }
    result.points = std::move(points);
    result.ropelength = ropelength;
    return result;
}

}  // namespace vek
