// Bounds on the two numbers of the settings dialogs. Any number the dialogs
// accept is stored as typed, zero and negative values included; only values
// that would break the program are refused, with a message that says why.
#pragma once

#include <string>

#include "curve/tube_scale.h"

// "" when `precision` may be stored; otherwise the message to show.
// `pointCount` is the number of points the current curve would get at the
// next resampling with this precision.
std::string PrecisionRefusal(double precision, long long pointCount);

// "" when `scale` may be stored as the display thickness factor
// (vek::TubeScaleInRange); otherwise the message to show.
std::string TubeScaleRefusal(double scale);
