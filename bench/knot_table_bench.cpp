// Identification of the table's knots by crossing number.
//
// BM_IdentifyTableKnots: up to 24 knots of the table per crossing number
// (spread over it), each as the curve vek-relax --knot makes, resampled at
// precision 1. Those curves are a few times longer than the tight shapes.
//
// BM_IdentifyTightKnots: every tight curve of the folder named by the
// environment variable VEK_TIGHT_KNOTS, as scripts/measure/
// check-knot-table.sh --tight --keep DIR leaves them (NAME.txt, and
// NAME_mirror.txt for NAME*), by crossing number.
//
// Counters: the median and worst seconds of one identification over the
// knots, from the last iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/double_array.h"
#include "curve/resample_curve.h"
#include "io/points_file.h"
#include "knot/knot_layout.h"
#include "knot/knot_table.h"
#include "knot/knot_type.h"

namespace {

struct Sample {
    std::vector<std::string> names;
    std::vector<std::vector<double>> x, y, z;
};

const Sample& SampleOf(int crossings)
{
    static std::map<int, Sample> samples;
    auto [it, made] = samples.try_emplace(crossings);
    Sample& s = it->second;
    if (!made)
        return s;
    std::vector<const vek::KnotTableRow*> rows;
    for (const vek::KnotTableRow& r : vek::KnotTable())
        if (r.crossings == crossings)
            rows.push_back(&r);
    const size_t want = std::min<size_t>(24, rows.size());
    for (size_t k = 0; k < want; ++k) {
        const vek::KnotTableRow& r = *rows[k * rows.size() / want];
        vek::PdCode code;
        std::string error;
        std::vector<double> px, py, pz;
        if (!vek::KnotPdByName(r.name, code, error) || !vek::LayOutKnot(code, {}, px, py, pz, error))
            continue;
        CDoubleArray x, y, z;
        for (size_t i = 0; i < px.size(); ++i) {
            x.Add(px[i]);
            y.Add(py[i]);
            z.Add(pz[i]);
        }
        if (!ResampleCurve(x, y, z, vek::kThickness, 1.0))
            continue;
        s.names.push_back(r.name);
        s.x.emplace_back(x.GetData(), x.GetData() + x.GetSize());
        s.y.emplace_back(y.GetData(), y.GetData() + y.GetSize());
        s.z.emplace_back(z.GetData(), z.GetData() + z.GetSize());
    }
    return s;
}

// Identifies every curve of the sample once per iteration; the counters
// come from the last.
void IdentifyAll(benchmark::State& state, const Sample& s)
{
    if (s.names.empty()) {
        state.SkipWithError("no curves");
        return;
    }
    std::vector<double> seconds(s.names.size());
    for (auto _ : state) {
        for (size_t k = 0; k < s.names.size(); ++k) {
            const auto t0 = std::chrono::steady_clock::now();
            const vek::KnotType type = vek::IdentifyKnot(vek::PolygonView(s.x[k], s.y[k], s.z[k]));
            seconds[k] = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            const bool among = std::find(type.candidates.begin(), type.candidates.end(), s.names[k]) !=
                               type.candidates.end();
            if (type.name != s.names[k] && !among)
                state.SkipWithError(("not identified: " + s.names[k]).c_str());
        }
    }
    std::vector<double> sorted = seconds;
    std::sort(sorted.begin(), sorted.end());
    state.counters["knots"] = static_cast<double>(s.names.size());
    state.counters["median_s"] = sorted[sorted.size() / 2];
    state.counters["worst_s"] = sorted.back();
}

void BM_IdentifyTableKnots(benchmark::State& state)
{
    IdentifyAll(state, SampleOf(static_cast<int>(state.range(0))));
}

// The tight curves of VEK_TIGHT_KNOTS with this crossing number, in table
// order; nothing when the variable is unset.
const Sample& TightOf(int crossings)
{
    static std::map<int, Sample> samples;
    auto [it, made] = samples.try_emplace(crossings);
    Sample& s = it->second;
    const char* folder = std::getenv("VEK_TIGHT_KNOTS");
    if (!made || folder == nullptr)
        return s;
    for (const vek::KnotTableRow& r : vek::KnotTable()) {
        if (r.crossings != crossings)
            continue;
        for (const bool mirror : {false, true}) {
            const std::filesystem::path file =
                std::filesystem::path(folder) / (r.name + (mirror ? "_mirror.txt" : ".txt"));
            CDoubleArray x, y, z;
            std::string error;
            if (!std::filesystem::exists(file) || !ReadPointsFile(file.string(), x, y, z, error))
                continue;
            s.names.push_back(mirror ? r.name + "*" : r.name);
            s.x.emplace_back(x.GetData(), x.GetData() + x.GetSize());
            s.y.emplace_back(y.GetData(), y.GetData() + y.GetSize());
            s.z.emplace_back(z.GetData(), z.GetData() + z.GetSize());
        }
    }
    return s;
}

void BM_IdentifyTightKnots(benchmark::State& state)
{
    if (std::getenv("VEK_TIGHT_KNOTS") == nullptr) {
        state.SkipWithError("VEK_TIGHT_KNOTS names no folder of tight curves (check-knot-table.sh --keep DIR)");
        return;
    }
    IdentifyAll(state, TightOf(static_cast<int>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_IdentifyTableKnots)->DenseRange(3, 12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentifyTightKnots)->DenseRange(3, 12)->Iterations(1)->Unit(benchmark::kMillisecond);
