// The direct relaxation step (RelaxStep) and the fast one (RelaxStepFast)
// side by side, on a tight trefoil resampled at precision 1, 10, 100 and
// 1000 (about 65, 650, 6,500 and 65,000 points), the fast step alone up to
// precision 15000 (975,000 points), and the time of one block
// of the run loop between two message drains: a resampling and 30 steps.
//
// Arguments: precision, method (0 direct, 1 fast), threads (fast only).
// per_point is the time per point and iteration. The direct step at
// precision 1000 takes seconds, so it runs a single iteration.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "curve/constants.h"
#include "curve/relax_step.h"
#include "curve/relax_step_fast.h"
#include "curve/resample_curve.h"
#include "io/points_file.h"
#include "relax/relax_cli.h"

#include "tight_trefoil.h"

namespace {

enum Method { kDirect = 0, kFast = 1 };

void SetCounters(benchmark::State& state, int n, int stepsPerIteration)
{
    state.counters["points"] = n;
    state.counters["per_point"] = benchmark::Counter(static_cast<double>(n) * stepsPerIteration,
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

// One step; the curve keeps relaxing from one timed step to the next, as in
// a run (being tight already, it hardly changes).
void BM_Step(benchmark::State& state)
{
    if (!Trefoil().ok) {
        state.SkipWithError("could not make the tight trefoil");
        return;
    }
    const double precision = static_cast<double>(state.range(0));
    const bool fast = state.range(1) == kFast;
    CDoubleArray x, y, z, nx, ny, nz;
    CopyTrefoil(x, y, z);
    if (!ResampleCurve(x, y, z, vek::kThickness, precision)) {
        state.SkipWithError("resampling refused");
        return;
    }
    CRelaxWorkspace workspace(static_cast<int>(state.range(2)));
    const double window = ExclusionWindow(vek::kThickness);
    for (auto _ : state) {
        if (fast)
            RelaxStepFast(x, y, z, vek::kThickness, window, nx, ny, nz, workspace);
        else
            RelaxStep(x, y, z, vek::kThickness, window, nx, ny, nz);
        benchmark::DoNotOptimize(x.GetData());
    }
    SetCounters(state, x.GetSize(), 1);
}

// One block of the run loop: resample, then 30 steps, from the same tight
// curve every time.
void BM_Block(benchmark::State& state)
{
    if (!Trefoil().ok) {
        state.SkipWithError("could not make the tight trefoil");
        return;
    }
    const double precision = static_cast<double>(state.range(0));
    const bool fast = state.range(1) == kFast;
    CDoubleArray x, y, z, nx, ny, nz;
    CRelaxWorkspace workspace(static_cast<int>(state.range(2)));
    const double window = ExclusionWindow(vek::kThickness);
    for (auto _ : state) {
        state.PauseTiming();
        CopyTrefoil(x, y, z);
        state.ResumeTiming();
        if (!ResampleCurve(x, y, z, vek::kThickness, precision)) {
            state.SkipWithError("resampling refused");
            return;
        }
        for (int step = 0; step < vek::kRunPeriod; ++step) {
            if (fast)
                RelaxStepFast(x, y, z, vek::kThickness, window, nx, ny, nz, workspace);
            else
                RelaxStep(x, y, z, vek::kThickness, window, nx, ny, nz);
        }
        benchmark::DoNotOptimize(x.GetData());
    }
    SetCounters(state, x.GetSize(), vek::kRunPeriod);
}

void StepArguments(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"precision", "fast", "threads"});
    for (int precision : {1, 10, 100}) {
        b->Args({precision, kDirect, 1});
        b->Args({precision, kFast, 1});
        b->Args({precision, kFast, 2});
    }
}

BENCHMARK(BM_Step)->Apply(StepArguments)->Unit(benchmark::kMicrosecond);
// About 10 s per direct step: one iteration is all it gets.
BENCHMARK(BM_Step)
    ->ArgNames({"precision", "fast", "threads"})
    ->Args({1000, kDirect, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Step)
    ->ArgNames({"precision", "fast", "threads"})
    ->Args({1000, kFast, 1})
    ->Args({1000, kFast, 2})
    ->Unit(benchmark::kMillisecond);

// The fast step from 65,000 to 975,000 points (precision 1000 ... 15000):
// per_point should stay about flat. A fixed count of steps, so that the
// same run serves instruction counts under callgrind.
BENCHMARK(BM_Step)
    ->ArgNames({"precision", "fast", "threads"})
    ->ArgsProduct({{1000, 3000, 6000, 15000}, {kFast}, {1, 2}})
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_Block)
    ->ArgNames({"precision", "fast", "threads"})
    ->Args({1, kDirect, 1})
    ->Args({1, kFast, 1})
    ->Args({10, kDirect, 1})
    ->Args({10, kFast, 1})
    ->Args({10, kFast, 2})
    ->Args({100, kFast, 1})
    ->Args({100, kFast, 2})
    ->Args({1000, kFast, 1})
    ->Args({1000, kFast, 2})
    ->Unit(benchmark::kMillisecond);
// 30 direct steps at precision 100 take a few seconds.
BENCHMARK(BM_Block)
    ->ArgNames({"precision", "fast", "threads"})
    ->Args({100, kDirect, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
