// One relaxation iteration on a tight trefoil at several point counts. The
// iteration is quadratic in the number of points; per_point shows the time
// per point, which should grow linearly with the count.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "curve/constants.h"
#include "curve/relax_step.h"
#include "curve/resample_curve.h"
#include "io/points_file.h"
#include "relax/relax_cli.h"

#include "tight_trefoil.h"

namespace {

void BM_RelaxStep(benchmark::State& state)
{
    const TightTrefoil& trefoil = Trefoil();
    if (!trefoil.ok) {
        state.SkipWithError("could not make the tight trefoil");
        return;
    }
    CDoubleArray x, y, z;
    for (int k = 0; k < trefoil.x.GetSize(); ++k) {
        x.Add(trefoil.x[k]);
        y.Add(trefoil.y[k]);
        z.Add(trefoil.z[k]);
    }
    const double precision = static_cast<double>(state.range(0));
    if (!ResampleCurve(x, y, z, vek::kThickness, precision)) {
        state.SkipWithError("resampling refused");
        return;
    }
    CDoubleArray nx, ny, nz;
    const double window = ExclusionWindow(vek::kThickness);
    const int n = x.GetSize();
    // The curve keeps relaxing from one timed iteration to the next, as in
    // a run; being tight already, it hardly changes.
    for (auto _ : state) {
        RelaxStep(x, y, z, vek::kThickness, window, nx, ny, nz);
        benchmark::DoNotOptimize(x.GetData());
    }
    state.counters["points"] = n;
    state.counters["per_point"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_RelaxStep)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
