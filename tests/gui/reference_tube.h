// The reference picture of the tube: sent quad by quad in immediate mode,
// in double precision, straight from the curve and tube arrays of the view
// (vertex j of ring i at i * n + j), each normal computed on the spot. The
// view's indexed draw list must draw exactly this.
#pragma once

#include "curve/curve_state.h"

// Clears colour and depth, sets the tube material as the view's paint does,
// and draws the quads; nothing more for a tube that does not match the
// curve. The caller's context is current with the view's viewport and
// camera loaded.
void DrawReferenceTube(const CCurveState& state);
