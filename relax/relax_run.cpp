#include "relax/relax_run.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "curve/run_relaxation.h"

namespace vek {

long long RelaxCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long iterations, double thickness,
                     double precision, const std::shared_ptr<CRelaxWorkspace>& workspace)
{
    return RunRelaxationFor(iterations, thickness, EngineRunHooks(x, y, z, thickness, precision, workspace));
}

long long RelaxCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long iterations, double thickness,
                     double precision)
{
    return RelaxCurve(x, y, z, iterations, thickness, precision, std::make_shared<CRelaxWorkspace>());
}

TightRun RunUntilSteady(long long maxIterations, const std::function<long long(long long)>& runBlock,
                        const std::function<double()>& length)
{
    constexpr size_t kGroup = kTightSpan / kRunPeriod;
    static_assert(kGroup * kRunPeriod == kTightSpan && kGroup >= 2, "the span is whole run periods");
    // The lengths after the last 2 * kGroup blocks, oldest first.
    std::vector<double> lengths;
    const auto meanAndVariance = [&](size_t first, double& mean, double& variance) {
        double sum = 0.0;
        for (size_t k = first; k < first + kGroup; ++k)
            sum += lengths[k];
        mean = sum / static_cast<double>(kGroup);
        double squares = 0.0;
        for (size_t k = first; k < first + kGroup; ++k)
            squares += (lengths[k] - mean) * (lengths[k] - mean);
        variance = squares / static_cast<double>(kGroup - 1);
    };

    TightRun run;
    while (run.iterations < maxIterations) {
        const long long asked = std::min<long long>(kRunPeriod, maxIterations - run.iterations);
        const long long done = runBlock(asked);
        run.iterations += done;
        if (done < asked) {
            run.refused = true;
            return run;
        }
        if (lengths.size() == 2 * kGroup)
            lengths.erase(lengths.begin());
        lengths.push_back(length());
        if (asked != kRunPeriod || lengths.size() < 2 * kGroup)
            continue;
        double before = 0.0, beforeVariance = 0.0, now = 0.0, nowVariance = 0.0;
        meanAndVariance(0, before, beforeVariance);
        meanAndVariance(kGroup, now, nowVariance);
        const double change = std::fabs(now - before);
        const double standardError = std::sqrt((beforeVariance + nowVariance) / static_cast<double>(kGroup));
        if (change == 0.0 || change < kTightTolerance * now || change <= kTightNoiseFactor * standardError) {
            run.converged = true;
            return run;
        }
    }
    return run;
}

TightRun RelaxUntilTight(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long maxIterations, double thickness,
                         double precision)
{
    // Each block is a RelaxCurve run of its own: it resamples before its
    // first iteration, which is where the uninterrupted schedule resamples.
    // The workspace serves all blocks.
    const auto workspace = std::make_shared<CRelaxWorkspace>();
    return RelaxUntilTight(x, y, z, maxIterations, [&](long long count) {
        return RelaxCurve(x, y, z, count, thickness, precision, workspace);
    });
}

TightRun RelaxUntilTight(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, long long maxIterations,
                         const BlockRunner& runBlock)
{
    return RunUntilSteady(maxIterations, runBlock, [&] { return CurveLength(x, y, z); });
}

}  // namespace vek
