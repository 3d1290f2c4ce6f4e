// Bounds on the two numbers of the settings dialogs. Any number the dialogs
// accept is stored as typed; values that would break the program, or show
// nothing at all, are refused with a message that says why.
#pragma once

#include <string>

#include "curve/tube_scale.h"

namespace vek {
// The display thickness factors the view shows a tube for, by magnitude (a
// negative factor builds the same tube). Below the least, the tight tube is
// thinner than a pixel in the starting view; above the most, its radius
// (0.015 x factor) exceeds the view's half width of 1 model unit less the
// knot, so the tube covers the whole view; a factor of 0 draws nothing at all.
inline constexpr double kMinViewTubeScale = 0.1;
inline constexpr double kMaxViewTubeScale = 50.0;
}  // namespace vek

// "" when `precision` may be stored; otherwise the message to show.
// `pointCount` is the number of points the current curve would get at the
// next resampling with this precision; LLONG_MAX stands for a count too
// large to count, which the message does not show as a number.
std::string PrecisionRefusal(double precision, long long pointCount);

// "" when `scale` may be stored as the display thickness factor
// (vek::TubeScaleInRange); otherwise the message to show.
std::string TubeScaleRefusal(double scale);

// "" when `scale` may be stored as the view's display thickness factor (its
// magnitude within kMinViewTubeScale ... kMaxViewTubeScale, which
// TubeScaleRefusal also accepts); otherwise the message to show.
std::string ViewTubeScaleRefusal(double scale);

// "" when `side` (pixels, as typed) may be a side of a saved picture: a whole
// number from kMinPictureSide to kMaxPictureSide; otherwise the message.
std::string PictureSideRefusal(double side);
