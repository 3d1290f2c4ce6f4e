#include "curve/run_limits.h"

#include "curve/constants.h"
#include "curve/resample_curve.h"

RunLimit ResampleLimit(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                       double precision)
{
    const long long count = ResampleCount(x, y, z, thickness, precision);
    if (count > vek::kMaxCurvePoints)
        return RunLimit::TooManyPoints;
    if (x.GetSize() >= vek::kMinRunPoints && count < vek::kMinRunPoints)
        return RunLimit::TooFewPoints;
    return RunLimit::None;
}

RunLimit GuardedRunLimit(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                         double precision, RunMoment moment)
{
    const bool start = moment == RunMoment::Start;
    if (start && x.GetSize() == 0)
        return RunLimit::NoCurve;
    // Also NaN: a precision that is not a number guards nothing.
    if (!(precision >= vek::kMinGuardedPrecision))
        return RunLimit::TooCoarse;
    if (start) {
        const long long count = ResampleCount(x, y, z, thickness, precision);
        if (count == 0)
            return RunLimit::NoCurve;
        if (static_cast<double>(count) * vek::kRunGrowthMargin > static_cast<double>(vek::kMaxCurvePoints))
            return RunLimit::TooManyPoints;
    }
    return ResampleLimit(x, y, z, thickness, precision);
}
