// The cone solve of the ideal-shape descent on a nearly ideal trefoil (272
// vertices): the projection of the length gradient onto the near-active
// thickness constraints, from a cold start and from the solve's own
// positive set (the best a warm start from the previous step can do).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "geom/polygon.h"
#include "ideal/cone_projection.h"
#include "ideal/thickness_constraints.h"
#include "io/vect_file.h"
#include "knot/polygon_thickness.h"

namespace {

struct ConeProblem {
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
        // The gradient of the length: the unit edge vectors' differences.
        std::vector<double> gradient(xyz.size(), 0.0);
        for (int i = 0; i < p->n; ++i) {
            const int j = polygon.Next(i);
            const Vec3 e = polygon.Edge(i);
            const double length = Length(e);
            const double u[3] = {e.x / length, e.y / length, e.z / length};
            for (int k = 0; k < 3; ++k) {
                gradient[3 * j + k] += u[k];
                gradient[3 * i + k] -= u[k];
            }
        }
        p->rates = vek::ConstraintRates(p->constraints, gradient);
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

}  // namespace

BENCHMARK(BM_ConeSolveCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConeSolveWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConeSolveWarmNatural)->Unit(benchmark::kMillisecond);
