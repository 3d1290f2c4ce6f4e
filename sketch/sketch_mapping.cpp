#include "sketch/sketch_mapping.h"

#include <cmath>
#include <limits>

namespace {

int32_t SaturateToInt32(int64_t v)
{
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

int32_t ClampAndTruncate(double v, double limit)
{
    if (std::isnan(v))
        return 0;
    if (v < -limit)
        v = -limit;
    else if (v > limit)
        v = limit;
    // The conversion truncates toward zero, as every pixel conversion must.
    return static_cast<int32_t>(v);
}

}  // namespace

bool PixelToModel(int px, int py, int w, int h, double& x, double& y)
{
    const SketchFrame frame{w, h};
    const int s = frame.Scale();
    if (s <= 0)
        return false;
    // 64-bit subtraction: a position far outside cannot overflow, and for
    // every real click it equals the 32-bit difference.
    const int64_t dx = static_cast<int64_t>(px) - frame.CentreX();
    const int64_t dy = static_cast<int64_t>(frame.CentreY()) - py;
    x = static_cast<double>(dx) / s;
    y = static_cast<double>(dy) / s;
    return true;
}

int32_t PixelFromDouble(double v)
{
    return ClampAndTruncate(v, vek::kPixelLimit);
}

bool ModelToPixel(double x, double y, int w, int h, int32_t& px, int32_t& py)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    const SketchFrame frame{w, h};
    const double s = frame.Scale();
    const double cx = frame.CentreX();
    const double cy = frame.CentreY();
    // Product first, then the half: the order fixes the last rounding and
    // so which pixel a point lands on.
    const double sx = x * s;
    const double sy = y * s;
    px = PixelFromDouble(sx + cx);
    py = PixelFromDouble(cy - sy);
    return true;
}

int32_t RingRadius(double depth)
{
    return ClampAndTruncate((depth + vek::kRadiusDepthOffset) * vek::kRadiusPixelsPerDepth,
                            vek::kRadiusLimit);
}

double WheelDepth(double depth, int delta)
{
    const double step = static_cast<double>(delta) * vek::kWheelDepthStep;
    const double next = step + depth;
    if (!std::isfinite(next))
        return depth;
    if (next < 0.0)
        return 0.0;
    return next;
}

CPixelRect CursorRingBox(int cx, int cy, double depth)
{
    const int64_t r = RingRadius(depth);
    CPixelRect box;
    box.left = SaturateToInt32(cx - r);
    box.top = SaturateToInt32(cy - r);
    box.right = SaturateToInt32(cx + r);
    box.bottom = SaturateToInt32(cy + r);
    return box;
}
