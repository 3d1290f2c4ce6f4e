// The summary's contact count and nearest distances on the tight trefoil
// resampled from 65,000 to 975,000 points (precision 1000 ... 15000): the
// cost per point should grow no faster than the tree's depth, not with the
// number of pairs (billions at the finest).
#include <benchmark/benchmark.h>

#include "curve/constants.h"
#include "curve/curve_contacts.h"
#include "curve/relax_step.h"
#include "curve/resample_curve.h"

#include "tight_trefoil.h"

namespace {

void BM_Contacts(benchmark::State& state)
{
    if (!Trefoil().ok) {
        state.SkipWithError("could not make the tight trefoil");
        return;
    }
    CDoubleArray x, y, z;
    CopyTrefoil(x, y, z);
    if (!ResampleCurve(x, y, z, vek::kThickness, static_cast<double>(state.range(0)))) {
        state.SkipWithError("resampling refused");
        return;
    }
    const double window = ExclusionWindow(vek::kThickness);
    long long count = 0;
    for (auto _ : state) {
        const CurveContacts contacts = CountCurveContacts(x, y, z, window, vek::kContactFactor * vek::kThickness);
        count = contacts.count;
        benchmark::DoNotOptimize(contacts);
    }
    state.counters["points"] = x.GetSize();
    state.counters["contacts"] = static_cast<double>(count);
    state.counters["per_point"] = benchmark::Counter(static_cast<double>(x.GetSize()),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

BENCHMARK(BM_Contacts)->ArgName("precision")->Arg(1000)->Arg(3000)->Arg(6000)->Arg(15000)->Iterations(1)->Unit(
    benchmark::kMillisecond);

}  // namespace
