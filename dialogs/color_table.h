// The tube colours of the colour and thickness dialog: radio position <->
// colour value, and the colour as an OpenGL material.
#pragma once

#include "curve/curve_state.h"

namespace vek {

// Radio positions of the three colours; -1 is "none selected".
inline constexpr int kColorIndexNone = -1;
inline constexpr int kColorCount = 3;
// Opacity of the tube material.
inline constexpr float kTubeMaterialAlpha = 0.5f;

}  // namespace vek

// Radio position of a tube colour (0x00BBGGRR): white 0x00FFFFFF -> 0,
// pink 0x00CCAAFF -> 1, light blue 0x00FFCCAA -> 2, any other value -> -1.
int ColorIndexFromTube(ColorRef cr);

// Tube colour of a radio position 0 .. 2; -1 or any other position keeps
// current.
ColorRef TubeFromColorIndex(int index, ColorRef current);

// Material colour of a tube colour, written to rgba[0 .. 3]: red, green and
// blue bytes each multiplied in single precision by the float nearest
// 1/255 (so 255 gives exactly 1.0f, 170 gives 170 * k rounded to float),
// alpha 0.5. The high byte of cr is ignored.
void TubeMaterialColor(ColorRef cr, float rgba[4]);
