// PaintSketch: the 2D sketch of the curve points onto a canvas.
#pragma once

#include "curve/curve_state.h"
#include "curve/double_array.h"
#include "sketch/sketch_canvas.h"

// In: client size w x h in pixels; the curve arrays x, y, z (n points, n
// the size of x; curve units; only read); the cursor ring's box in client
// pixels. Out: drawing calls on canvas, in this order:
//   1. Rectangle (0, 0, w, h): the white background with its black frame.
//   2. For i = 0 .. n-2: MoveTo point i, LineTo point i+1; then, when n is
//      at least 3, MoveTo point n-1, LineTo point 0: the closing segment, so
//      the sketch shows the curve closed, as it is relaxed.
//   3. One Ellipse per point, box (px - r, py - r, px + r, py + r) with
//      r = RingRadius(z), in ascending depth, equal depths in ascending
//      index, so deeper circles cover shallower ones.
//   4. Ellipse(cursor) exactly as passed: the ring covers everything.
// A point with a non-finite x, y or z has no pixel: it gets no circle and
// no segment to or from it. Projections are clamped (see ModelToPixel,
// RingRadius), so no box overflows. Should the paint's order and depth
// buffers not be allocatable, only steps 1 and 4 are drawn: a half-drawn
// sketch (lines without circles) would look like a different curve.
// If the three arrays differ in size, only the common length is drawn.
void PaintSketch(SketchCanvas& canvas, int w, int h, const CDoubleArray& x,
                 const CDoubleArray& y, const CDoubleArray& z, const CPixelRect& cursor);
