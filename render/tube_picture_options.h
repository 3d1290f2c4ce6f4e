// The size and style of a picture of the tube: what the command-line tools
// take as options, apart from the offscreen drawing that uses them.
#pragma once

#include <array>
#include <cstdint>

#include "curve/constants.h"
#include "curve/curve_state.h"

namespace vek {
// Part of the picture's width or height that a fitted tube takes.
inline constexpr double kPictureFill = 0.92;
// Picture size when none is asked for, in pixels.
inline constexpr int kDefaultPictureSize = 480;
// Each side of a picture: at least this many pixels ...
inline constexpr int kMinPictureSide = 16;
// ... and at most this many.
inline constexpr int kMaxPictureSide = 8192;
}  // namespace vek

struct TubePictureOptions {
    int width = vek::kDefaultPictureSize;   // pixels
    int height = vek::kDefaultPictureSize;  // pixels
    ColorRef colour = vek::kColorWhite;     // tube colour, 0x00BBGGRR
    double tubeScale = vek::kDefaultTubeScale;  // display thickness factor
    bool fit = false;    // zoom so that the tube fills the picture
    double turnX = 0.0;  // degrees about the eye x axis, as a drag down
    double turnY = 0.0;  // degrees about the eye y axis, as a drag right
    std::array<uint8_t, 3> background = {0, 0, 0};  // red, green, blue
};

