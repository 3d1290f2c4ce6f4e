// The tube colours of the colour and thickness dialog: radio position <->
// colour value.
#pragma once

#include "curve/curve_state.h"

namespace vek {

// Radio positions of the three colours; -1 is "none selected".
inline constexpr int kColorIndexNone = -1;
inline constexpr int kColorCount = 3;

}  // namespace vek

// Radio position of a tube colour (0x00BBGGRR): white 0x00FFFFFF -> 0,
// pink 0x00CCAAFF -> 1, light blue 0x00FFCCAA -> 2, any other value -> -1.
int ColorIndexFromTube(ColorRef cr);

// Tube colour of a radio position 0 .. 2; -1 or any other position keeps
// current.
ColorRef TubeFromColorIndex(int index, ColorRef current);

