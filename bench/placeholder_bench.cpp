#include <benchmark/benchmark.h>
#include "curve/double_array.h"
static void BM_Append(benchmark::State& state)
{
    for (auto _ : state) {
        CDoubleArray a;
        for (int i = 0; i < 1000; ++i) a.Add(i);
        benchmark::DoNotOptimize(a.GetData());
    }
}
BENCHMARK(BM_Append);
