#include "dialogs/value_bounds.h"

#include <cmath>
#include <cstdio>

#include "curve/constants.h"
#include "res/string_table.h"

std::string PrecisionRefusal(double precision, long long pointCount)
{
    if (!std::isfinite(precision))
        return vek::text::kPrecisionNotFinite;
    if (pointCount > vek::kMaxCurvePoints) {
        char text[256];
        std::snprintf(text, sizeof text, vek::text::kPrecisionTooManyPoints, pointCount, vek::kMaxCurvePoints);
        return text;
    }
    return {};
}

std::string TubeScaleRefusal(double scale)
{
    if (!vek::TubeScaleInRange(scale))
        return vek::text::kTubeScaleOutOfRange;
    return {};
}
