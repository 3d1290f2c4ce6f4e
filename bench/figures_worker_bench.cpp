// What the status bar's figures cost a run: blocks of the desktop program's
// run loop (30 fast steps on the process's threads) on a tight trefoil
// resampled at a precision, with and without the figures of each block
// asked of the figures worker, as the window asks them after every block
// of a run (rested).
// The time is wall clock: the worker's thread is not the benchmark's.
//
// Arguments: precision, figures (0 none, 1 after every block).
// Compare the two rows of one precision; the goal is a slowdown of at most
// 5 %.
#include <benchmark/benchmark.h>

#include <atomic>

#include "curve/constants.h"
#include "curve/relax_step.h"
#include "curve/relax_step_fast.h"
#include "curve/resample_curve.h"
#include "relax/figures_worker.h"

#include "tight_trefoil.h"

namespace {

void BM_BlockBesideFigures(benchmark::State& state)
{
    if (!Trefoil().ok) {
        state.SkipWithError("could not make the tight trefoil");
        return;
    }
    const double precision = static_cast<double>(state.range(0));
    const bool figures = state.range(1) != 0;
    CDoubleArray x, y, z, nx, ny, nz;
    CopyTrefoil(x, y, z);
    if (!ResampleCurve(x, y, z, vek::kThickness, precision)) {
        state.SkipWithError("resampling refused");
        return;
    }
    std::atomic<int> measured{0};
    CFiguresWorker worker([&measured](uint64_t, const vek::CurveFigures&) { ++measured; });
    CRelaxWorkspace workspace;
    const double window = ExclusionWindow(vek::kThickness);
    uint64_t ticket = 0;
    for (auto _ : state) {
        for (int step = 0; step < vek::kRunPeriod; ++step)
            RelaxStepFast(x, y, z, vek::kThickness, window, nx, ny, nz, workspace);
        if (figures)
            worker.Request(x, y, z, vek::kThickness, ++ticket, CFiguresWorker::Pace::Rested);
        benchmark::DoNotOptimize(x.GetData());
    }
    worker.WaitIdle();
    state.counters["points"] = x.GetSize();
    // How many of the requests were measured (the worker skips those that a
    // newer one overtook).
    state.counters["measured"] = measured.load();
}

BENCHMARK(BM_BlockBesideFigures)
    ->ArgNames({"precision", "figures"})
    ->ArgsProduct({{10, 100, 1000}, {0, 1}})
    ->UseRealTime()
    ->MinTime(5.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
