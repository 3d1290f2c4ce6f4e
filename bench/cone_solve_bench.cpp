// The cone solve of the ideal-shape descent on a nearly ideal trefoil (272
// vertices): the projection of the length gradient onto the near-active
// thickness constraints, from a cold start and from the solve's own
// positive set (the best a warm start from the previous step can do), in
// the plain metric and in the length's own (the descent's direction).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "geom/polygon.h"
#include "geom/polygon_measures.h"
#include "ideal/cone_projection.h"
#include "ideal/length_metric.h"
#include "ideal/thickness_constraints.h"
#include "io/vect_file.h"
#include "knot/polygon_thickness.h"

namespace {

struct ConeProblem {
    std::vector<double> points;  // thickness 1
    std::vector<double> gradient;
    std::vector<vek::Constraint> constraints;
    std::vector<double> rates;
    std::vector<char> warm;
    int n = 0;
};

const ConeProblem& Problem()
{
    static const ConeProblem* problem = [] {
        auto* p = new ConeProblem;
        std::vector<double> xyz;
        std::string error;
        if (!GatherVectFile(std::string(VEK_SOURCE_DIR) + "/bench/data/trefoil-272.vect", xyz, error)) {
            std::fprintf(stderr, "benchmark: %s\n", error.c_str());
            return p;
        }
        const double thickness = vek::ComputePolygonThickness(vek::PolygonView::Interleaved(xyz)).thickness;
        for (double& v : xyz)
            v /= thickness;
        const vek::PolygonView polygon = vek::PolygonView::Interleaved(xyz);
        p->n = polygon.Size();
        p->constraints = vek::NearActiveConstraints(polygon, 1.0, 0.001);
        const std::vector<double> gradient = vek::PolygonLengthGradient(polygon);
        p->rates = vek::ConstraintRates(p->constraints, gradient);
        p->points = xyz;
        p->gradient = gradient;
        const vek::ConeSolve cold = vek::SolveNonNegative(p->constraints, p->rates, p->n, {});
        p->warm.resize(cold.multipliers.size());
        for (size_t k = 0; k < cold.multipliers.size(); ++k)
            p->warm[k] = cold.multipliers[k] > 0.0 ? 1 : 0;
        return p;
    }();
    return *problem;
}

void Solve(benchmark::State& state, bool warm, vek::ConeOrdering ordering)
{
    const ConeProblem& p = Problem();
    if (p.constraints.empty()) {
        state.SkipWithError("no constraints");
        return;
    }
    vek::ConeSolve solve;
    for (auto _ : state) {
        solve = vek::SolveNonNegative(p.constraints, p.rates, p.n, warm ? p.warm : std::vector<char>{}, ordering);
        benchmark::DoNotOptimize(solve.move.data());
    }
    int passive = 0;
    for (const double m : solve.multipliers)
        passive += m > 0.0 ? 1 : 0;
    state.counters["constraints"] = static_cast<double>(p.constraints.size());
    state.counters["positive"] = passive;
    state.counters["factorisations"] = solve.factorisations;
    state.counters["updates"] = solve.updates;
    state.counters["converged"] = solve.converged ? 1 : 0;
}

void BM_ConeSolveCold(benchmark::State& state)
{
    Solve(state, false, vek::ConeOrdering::MinimumDegree);
}
void BM_ConeSolveWarm(benchmark::State& state)
{
    Solve(state, true, vek::ConeOrdering::MinimumDegree);
}
void BM_ConeSolveWarmNatural(benchmark::State& state)
{
    Solve(state, true, vek::ConeOrdering::Natural);
}

// The descent's whole direction: the metric's Gram matrix and the solve on
// it, cold and from its own positive set.
void Direction(benchmark::State& state, bool warm)
{
    const ConeProblem& p = Problem();
    if (p.constraints.empty()) {
        state.SkipWithError("no constraints");
        return;
    }
    std::vector<char> start;
    if (warm) {
        const vek::MetricDirection cold = vek::LengthMetricDirection(p.points, p.constraints, p.gradient, {},
                                                                     vek::ConeOrdering::MinimumDegree, {});
        for (const double m : cold.cone.multipliers)
            start.push_back(m > 0.0 ? 1 : 0);
    }
    vek::MetricDirection d;
    for (auto _ : state) {
        d = vek::LengthMetricDirection(p.points, p.constraints, p.gradient, start, vek::ConeOrdering::MinimumDegree, {});
        benchmark::DoNotOptimize(d.direction.data());
    }
    int passive = 0;
    for (const double m : d.cone.multipliers)
        passive += m > 0.0 ? 1 : 0;
    state.counters["positive"] = passive;
    state.counters["updates"] = d.cone.updates;
    state.counters["converged"] = d.cone.converged ? 1 : 0;
}
void BM_MetricDirectionCold(benchmark::State& state)
{
    Direction(state, false);
}
void BM_MetricDirectionWarm(benchmark::State& state)
{
    Direction(state, true);
}

}  // namespace

BENCHMARK(BM_MetricDirectionCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MetricDirectionWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConeSolveCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConeSolveWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConeSolveWarmNatural)->Unit(benchmark::kMillisecond);
