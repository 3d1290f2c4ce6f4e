// Knot identification and certified thickness of a tight trefoil resampled
// to about 6,500, 65,000 and 650,000 points.
#include <benchmark/benchmark.h>

#include <map>

#include "curve/constants.h"
#include "curve/curve_polygon.h"
#include "curve/curve_metrics.h"
#include "curve/resample_curve.h"
#include "knot/knot_type.h"
#include "knot/polygon_thickness.h"

#include "tight_trefoil.h"

namespace {

struct Curve {
    CDoubleArray x, y, z;
    bool ok = false;
};

// The tight trefoil resampled to about `points` points (made once per count).
const Curve& TrefoilWith(int points)
{
    static std::map<int, Curve> curves;
    auto [it, made] = curves.try_emplace(points);
    Curve& c = it->second;
    if (!made)
        return c;
    const TightTrefoil& t = Trefoil();
    if (!t.ok)
        return c;
    for (int k = 0; k < t.x.GetSize(); ++k) {
        c.x.Add(t.x[k]);
        c.y.Add(t.y[k]);
        c.z.Add(t.z[k]);
    }
    // The resampling spacing is kResampleSpacing / precision.
    const double precision = points * 0.0075 / CurveLength(c.x, c.y, c.z);
    c.ok = ResampleCurve(c.x, c.y, c.z, vek::kThickness, precision);
    return c;
}

void BM_IdentifyKnot(benchmark::State& state)
{
    const Curve& c = TrefoilWith(static_cast<int>(state.range(0)));
    if (!c.ok) {
        state.SkipWithError("could not make the curve");
        return;
    }
    for (auto _ : state) {
        const vek::KnotType type = vek::IdentifyKnot(CurvePolygon(c.x, c.y, c.z));
        benchmark::DoNotOptimize(type.determinant);
        if (type.name != "3_1")
            state.SkipWithError("not identified as 3_1");
    }
    state.counters["points"] = c.x.GetSize();
}

void BM_PolygonThickness(benchmark::State& state)
{
    const Curve& c = TrefoilWith(static_cast<int>(state.range(0)));
    if (!c.ok) {
        state.SkipWithError("could not make the curve");
        return;
    }
    for (auto _ : state) {
        const vek::PolygonThickness t = vek::ComputePolygonThickness(CurvePolygon(c.x, c.y, c.z));
        benchmark::DoNotOptimize(t.thickness);
    }
    state.counters["points"] = c.x.GetSize();
}

}  // namespace

BENCHMARK(BM_IdentifyKnot)->Arg(6500)->Arg(65000)->Arg(650000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonThickness)->Arg(6500)->Arg(65000)->Arg(650000)->Unit(benchmark::kMillisecond);
