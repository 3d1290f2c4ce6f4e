#include "dialogs/value_bounds.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "curve/constants.h"
#include "render/tube_picture_options.h"
#include "res/string_table.h"

std::string PrecisionRefusal(double precision, long long pointCount)
{
    if (!std::isfinite(precision))
        return vek::text::kPrecisionNotFinite;
    if (pointCount == std::numeric_limits<long long>::max()) {
        char text[256];
        std::snprintf(text, sizeof text, vek::text::kPrecisionFarTooManyPoints, vek::kMaxCurvePoints);
        return text;
    }
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

std::string ViewTubeScaleRefusal(double scale)
{
    const double magnitude = std::fabs(scale);
    if (!(magnitude >= vek::kMinViewTubeScale && magnitude <= vek::kMaxViewTubeScale))
        return vek::text::kViewTubeScaleOutOfRange;
    return {};
}

std::string PictureSideRefusal(double side)
{
    if (side >= vek::kMinPictureSide && side <= vek::kMaxPictureSide && side == std::floor(side))
        return {};
    char text[256];
    std::snprintf(text, sizeof text, vek::text::kPictureSideOutOfRange, vek::kMinPictureSide, vek::kMaxPictureSide);
    return text;
}
