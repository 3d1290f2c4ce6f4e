// The mapping between client pixels and curve coordinates of the 2D sketch,
// the depth shown as a circle radius, and the wheel's change of the depth.
//
// The shorter side of the client area spans one curve unit (s pixels); the
// curve origin sits on the centre pixel (w / 2, h / 2), halves truncated in
// integers; curve x grows to the right, curve y upwards. Every double to
// pixel conversion truncates toward zero, never rounds.
#pragma once

#include <cstdint>

#include "curve/curve_state.h"

// The client area of one event or paint, in pixels.
struct SketchFrame {
    int w = 0;
    int h = 0;

    // One curve unit in pixels: min(w, h). Zero or below for an empty area.
    int Scale() const { return w < h ? w : h; }
    // The centre pixel, integer halves (641 / 2 = 320).
    int CentreX() const { return w / 2; }
    int CentreY() const { return h / 2; }
};

namespace vek {

// Projected pixel coordinates are clamped to +/- kPixelLimit and radii to
// +/- kRadiusLimit, so that a centre plus or minus a radius always fits a
// 32-bit int and a canvas never sees an overflowed box.
inline constexpr double kPixelLimit = 1073741824.0;   // 2^30
inline constexpr double kRadiusLimit = 536870912.0;   // 2^29

// Depth change per unit of wheel delta: the double nearest 1 / 12000, so
// that one notch of 120 moves the depth by 0.01.
inline constexpr double kWheelDepthStep = 1.0 / 12000.0;
static_assert(kWheelDepthStep == 8.333333333333333e-05);

// Depth offset and pixels per depth unit of the circle radius.
inline constexpr double kRadiusDepthOffset = 0.01;
inline constexpr double kRadiusPixelsPerDepth = 100.0;

}  // namespace vek

// Click to curve coordinates. In: press position (px, py) in client pixels,
// client size w x h. Out: x = (px - w/2) / s, y = (h/2 - py) / s in curve
// units, the subtractions in integers, then converted and divided by s.
// Returns false and leaves x, y untouched when s = min(w, h) <= 0: an empty
// client area has no scale, and the caller then appends no point.
bool PixelToModel(int px, int py, int w, int h, double& x, double& y);

// Truncates a pixel value toward zero after clamping it to +/- 2^30.
// Callers pass finite values only; NaN gives 0.
int32_t PixelFromDouble(double v);

// Curve coordinates to the pixel a point is drawn at. In: x, y in curve
// units, client size w x h. Out: px = trunc(x*s + w/2), py = trunc(h/2 -
// y*s), the product formed first, each clamped to +/- 2^30 before the
// truncation. Returns false (px, py untouched) when x or y is not finite:
// such a point has no place on the screen and the painter skips it.
bool ModelToPixel(double x, double y, int w, int h, int32_t& px, int32_t& py);

// Circle radius in pixels of a depth z: trunc((z + 0.01) * 100), clamped to
// +/- 2^29. Depth 0 gives 1, 0.1 gives 11, 0.06 gives 6 (the product is
// 6.999999999999999). A depth below -0.01 gives a negative radius. NaN gives
// 0 and infinities the clamp bounds; the painter skips non-finite depths
// before asking.
int32_t RingRadius(double depth);

// The pen depth after one wheel event. In: the current depth, the signed
// wheel delta (+120 per notch away from the user). Out: delta * k + depth
// with k = 1/12000; a result below 0 becomes exactly 0.0, there is no upper
// bound. A non-finite result keeps the current depth, so the pen never ends
// up at infinity or NaN.
double WheelDepth(double depth, int delta);

// The cursor ring's box around the cursor (cx, cy) in client pixels for the
// pen depth: (cx - r, cy - r, cx + r, cy + r) with r = RingRadius(depth).
// Each side saturates at the 32-bit range for a cursor far outside.
CPixelRect CursorRingBox(int cx, int cy, double depth);
