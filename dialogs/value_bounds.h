// Bounds on the two numbers of the settings dialogs. Any number the dialogs
// accept is stored as typed, zero and negative values included; only values
// that would break the program are refused, with a message that says why.
#pragma once

#include <string>

namespace vek {
// The largest display thickness factor: beyond it the tube's vertices leave
// the range that the graphics pipeline draws in single precision.
inline constexpr double kMaxTubeScale = 1.0e6;
}  // namespace vek

// "" when `precision` may be stored; otherwise the message to show.
// `pointCount` is the number of points the current curve would get at the
// next resampling with this precision.
std::string PrecisionRefusal(double precision, long long pointCount);

// "" when `scale` may be stored as the display thickness factor; otherwise
// the message to show.
std::string TubeScaleRefusal(double scale);
