#include "relax/ideal_starts.h"

#include <chrono>

#include "curve/curve_polygon.h"
#include "relax/knot_curve.h"

namespace vek {

IdealRun RunIdealFromLayouts(const std::string& knot, const std::string& pd, CDoubleArray& x, CDoubleArray& y,
                             CDoubleArray& z, const IdealRunOptions& options)
{
    const auto begin = std::chrono::steady_clock::now();
    IdealRun best = RunIdeal(x, y, z, options);
    bool cutByTime = best.ok && best.result.stoppedBy == IdealStop::Time;
    int starts = 1;
    for (int rank = 1; rank < kIdealLayoutStarts && !cutByTime; ++rank) {
        CDoubleArray ax, ay, az;
        std::string error;
        if (MakeKnotCurve(knot, pd, ax, ay, az, error, rank) != KnotCurveResult::Made)
            break;  // no layout of this rank: the diagram has no more
        if (options.cancelled && options.cancelled())
            break;
        IdealRunOptions next = options;
        next.timeLimit = options.timeLimit - std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        if (!(next.timeLimit > 0.0)) {
            cutByTime = true;
            break;
        }
        IdealRun other = RunIdeal(ax, ay, az, next);
        ++starts;
        cutByTime = cutByTime || (other.ok && other.result.stoppedBy == IdealStop::Time);
        if (other.ok && (!best.ok || other.result.ropelength < best.result.ropelength)) {
            other.start = rank + 1;
            best = std::move(other);
        }
    }
    if (best.ok && best.start > 1)
        SetCurvePoints(best.result.polygon.View(), x, y, z);
    best.starts = starts;
    best.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // Another start cut short might have ended shorter: the result depends
    // on the clock, and says so.
    if (best.ok && cutByTime)
        best.result.stoppedBy = IdealStop::Time;
    return best;
}

}  // namespace vek
