#include "dialogs/value_bounds.h"

#include <cmath>

#include "curve/constants.h"

std::string PrecisionRefusal(double precision, long long pointCount)
{
    if (!std::isfinite(precision))
        return "精度には有限の数を入力してください。";
    if (pointCount > vek::kMaxCurvePoints)
        return "この精度では点の数が多すぎます（" + std::to_string(pointCount) + " 点、上限 " +
               std::to_string(vek::kMaxCurvePoints) + " 点）。\nもっと小さい値を入力してください。";
    return {};
}

std::string TubeScaleRefusal(double scale)
{
    if (!std::isfinite(scale) || std::fabs(scale) > vek::kMaxTubeScale)
        return "太さには -1000000 から 1000000 までの数を入力してください。";
    return {};
}
