// The tube's OpenGL material: a tube colour (0x00BBGGRR) as the material's
// red, green, blue and opacity.
#pragma once

#include "curve/curve_state.h"

namespace vek {

// Opacity of the tube material.
inline constexpr float kTubeMaterialAlpha = 0.5f;

}  // namespace vek

// Material colour of a tube colour, written to rgba[0 .. 3]: red, green and
// blue bytes each multiplied in single precision by the float nearest
// 1/255 (so 255 gives exactly 1.0f, 170 gives 170 * k rounded to float),
// alpha 0.5. The high byte of cr is ignored.
void TubeMaterialColor(ColorRef cr, float rgba[4]);
