// The range of the display thickness factor (the tube radius is thickness *
// factor / 2), shared by the settings dialog and the command-line tools.
#pragma once

#include <cmath>

namespace vek {

// The largest display thickness factor: beyond it the tube's vertices leave
// the range that the graphics pipeline draws in single precision.
inline constexpr double kMaxTubeScale = 1.0e6;

// Whether `scale` may be the display thickness factor: finite and at most
// kMaxTubeScale in magnitude (zero and negative factors are drawn).
inline bool TubeScaleInRange(double scale)
{
    return std::isfinite(scale) && std::fabs(scale) <= kMaxTubeScale;
}

}  // namespace vek
